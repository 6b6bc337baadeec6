// Stopping the program on a signal, dialogs first.
#include "StopSignals.h"

#include "NativeDialog.h"

#include <csignal>
#include <iterator>
#include <wx/app.h>
#include <wx/dialog.h>

namespace {
// The toolkit calls a plain function; there is one program to stop.
StopSignals* g_stop = nullptr;
} // namespace

StopSignals::~StopSignals() {
    if (g_stop == this)
        g_stop = nullptr;
}

void StopSignals::Install(std::function<void()> close) {
    m_close = std::move(close);
    if (!m_retry) {
        m_retry = std::make_unique<wxTimer>();
        m_retry->Bind(wxEVT_TIMER, [this](wxTimerEvent&) { EndNext(); });
    }
    if (g_stop != this)
        Register();
    g_stop = this;
    // The toolkit runs these handlers from the main context, which the loops of dialogs and
    // of native boxes run too.
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        wxTheApp->SetSignalHandler(signal, OnSignal);
}

void StopSignals::OnSignal(int) {
    if (g_stop)
        g_stop->Stop();
}

void StopSignals::Stop() {
    m_bArrived = true;
    m_bEnding = true;
    // Told at once, the window puts its close off until the dialogs have ended, and drops
    // the commands queued before the stop that would otherwise run as they end.
    if (!m_open.empty() && m_close)
        m_close();
    EndNext();
}

int StopSignals::Enter(wxDialog* dialog) {
    m_open.push_back(dialog);
    // Code after an ended dialog may open another: it ends as soon as its loop runs. (Refusing
    // it here would leave the hooks called before this one without their Exit.)
    if (m_bEnding)
        wxTheApp->CallAfter([this] { EndNext(); });
    return wxID_NONE;
}

void StopSignals::Exit(wxDialog* dialog) {
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
        if (*it == dialog) {
            m_open.erase(std::next(it).base());
            break;
        }
    }
    // The next one is ended from its own loop, once the code after this one has run.
    if (m_bEnding)
        wxTheApp->CallAfter([this] { EndNext(); });
}

void StopSignals::EndNext() {
    if (!m_bEnding)
        return;
    if (m_open.empty()) {
        m_bEnding = false;
        if (m_close)
            m_close();
        return;
    }
    wxDialog* dialog = m_open.back();
    // A question of GTK's own over the dialog runs a loop inside the dialog's: it ends first.
    if (CancelQuestionsOver(dialog))
        EndNextLater();
    else if (dialog->IsModal())
        dialog->EndModal(wxID_CANCEL);
    else if (!CancelNativeDialog(dialog))
        EndNextLater(); // its loop has not begun yet
}

void StopSignals::EndNextLater() {
    const int RETRY_MS = 20;
    m_retry->StartOnce(RETRY_MS);
}
