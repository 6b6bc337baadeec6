// The version check over HTTP.
#include "CheckVerThread.h"

#include "TallywickFrame.h"

#include "ConfirmBox.h"
#include <algorithm>
#include <memory>
#include <wx/protocol/http.h>
#include <wx/socket.h>

const wxString CheckVerThread::VERSION_HOST = "code.corvane.example";
const unsigned short CheckVerThread::VERSION_PORT = 80;
const wxString CheckVerThread::VERSION_PATH = "/corvanes";
const wxString CheckVerThread::UPDATE_PAGE_URL =
    "https://blog.corvane.example/corvane/article/details/10000001";
const int CheckVerThread::TIMEOUT_SECONDS = 10;
const std::size_t CheckVerThread::MAX_REPLY_BYTES = 64 * 1024;

void CheckVerThread::Joiner::operator()(CheckVerThread* thread) const {
    thread->Delete(nullptr, wxTHREAD_WAIT_BLOCK);
    delete thread;
}

CheckVerThread::CheckVerThread(TallywickFrame* frame)
    : wxThread(wxTHREAD_JOINABLE), m_pFrame(frame), m_strHost(VERSION_HOST), m_nPort(VERSION_PORT) {
    wxASSERT(wxIsMainThread());
    // Undone by the toolkit's socket module at exit.
    if (!wxSocketBase::IsInitialized())
        wxSocketBase::Initialize();
}

wxThread::ExitCode CheckVerThread::Entry() {
    if (TestDestroy())
        return nullptr;
    try {
        CheckVersion();
    } catch (...) {
        ReportFailure(false);
    }
    return nullptr;
}

bool CheckVerThread::Cancelled() {
    // Only the thread itself may ask; a direct call on another thread runs to its end.
    return This() == this && TestDestroy();
}

void CheckVerThread::CheckVersion() {
    wxHTTP http;
    http.SetHeader("Connection", "Close");
    http.SetFlags(wxSOCKET_WAITALL | wxSOCKET_BLOCK);
    http.SetDefaultTimeout(TIMEOUT_SECONDS);
    if (!http.Connect(m_strHost, m_nPort)) {
        ReportFailure(true);
        return;
    }
    const std::unique_ptr<wxInputStream> stream(http.GetInputStream(VERSION_PATH));
    if (!stream) {
        // A server that answered with an error needs no hint about the connection.
        ReportFailure(http.GetError() != wxPROTO_NOFILE);
        return;
    }
    // A redirect or any other answer is no version page.
    if (http.GetResponse() != 200)
        return;
    std::string reply;
    char buffer[4096];
    while (reply.size() < MAX_REPLY_BYTES && !Cancelled()) {
        stream->Read(buffer, std::min(sizeof buffer, MAX_REPLY_BYTES - reply.size()));
        if (stream->LastRead() == 0)
            break;
        reply.append(buffer, stream->LastRead());
    }
    if (http.IsConnected())
        http.Close();
    const wxString version = FindVersion(reply);
    if (!version.empty() && !Cancelled())
        m_pFrame->SetLatestVersion(version);
}

wxString CheckVerThread::FindVersion(const std::string& reply) {
    const auto digit = [](char ch) { return ch >= '0' && ch <= '9'; };
    for (std::size_t open = reply.find('$'); open != std::string::npos;
         open = reply.find('$', open + 1)) {
        std::size_t pos = open + 1;
        int parts = 0;
        for (;;) {
            const std::size_t start = pos;
            while (pos < reply.size() && digit(reply[pos]))
                ++pos;
            if (pos == start) {
                parts = 0; // an empty group: no version
                break;
            }
            if (++parts == 4 || pos >= reply.size() || reply[pos] != '.')
                break;
            ++pos;
        }
        if (parts >= 2 && pos < reply.size() && reply[pos] == '$')
            return wxString::FromAscii(reply.data() + open + 1, pos - open - 1);
    }
    return wxString();
}

void CheckVerThread::ReportFailure(bool connectionHint) const {
    // Windows belong to the GUI thread; the text is translated there too.
    m_pFrame->CallAfter([connectionHint] {
        wxString text = _("An unknown error occurred while checking for updates.");
        if (connectionHint)
            text += _("\nPlease check your internet connection and try again.");
        ShowConfirm(text, wxOK | wxCENTRE);
    });
}
