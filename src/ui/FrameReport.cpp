// The Report page: the index page and the analysis report, made from templates.
#include "TallywickFrame.h"

#include "CrvHtmlWin.h"
#include "ExecutablePath.h"

#include <wx/ffile.h>
#include <wx/filefn.h>
#include <wx/log.h>

namespace {
const char* const VERSION = "4.0.2.0";
const char* const BUILT_IN_PAGE =
    "<html><body><h2>Welcome to use Tallywick!</h2>\t\t\t\t\t\t\t<br>The default report page "
    "seems to be missing...</body></html>";
} // namespace

void TallywickFrame::LoadHtmlTemplate(const wxString& relativePath) {
    s_strHtmlPage.clear();
    // Read with the file classes: the virtual file system would misread paths with '#' or '%'.
    const wxString path = GetExecutableDir() + relativePath;
    wxString bytes;
    wxLogNull quiet; // a missing template shows the built-in page, not an error box
    wxFFile file;
    if (!wxFileExists(path) || !file.Open(path, "rb") || !file.ReadAll(&bytes, wxConvISO8859_1)) {
        s_strHtmlPage = BUILT_IN_PAGE;
        return;
    }
    const wxScopedCharBuffer raw = bytes.To8BitData();
    s_strHtmlPage = wxString::FromUTF8(raw.data(), raw.length());
    if (s_strHtmlPage.empty() && raw.length() != 0)
        s_strHtmlPage = bytes; // not UTF-8: show the bytes as Latin-1 rather than nothing
}

void TallywickFrame::ShowIndexPage() {
    LoadHtmlTemplate(INDEX_PAGE_FILE);
    s_strHtmlPage.Replace("$your_version$", _("Your Version - ") + VERSION, false);
    {
        wxMutexLocker lock(m_mutexVersion);
        s_strHtmlPage.Replace("$latest_version$", _("Latest Version - ") + m_strLatestVersion,
                              false);
    }
    m_pHtmlWin->SetPage(s_strHtmlPage);
}

void TallywickFrame::GenerateReport() {}
