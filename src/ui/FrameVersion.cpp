// The Update command and the latest-version text that the version check fills.
#include "TallywickFrame.h"

#include "ConfirmBox.h"
#include <wx/utils.h>

namespace {
// The version check calls in from its own thread: the message goes to the GUI thread.
void ReportLockFailure(TallywickFrame* frame) {
    frame->CallAfter([] { ShowConfirm("Lock not ok!", wxOK | wxCENTRE); });
}
} // namespace

void TallywickFrame::OnCheckUpdate(wxCommandEvent&) {
    wxLaunchDefaultBrowser(CheckVerThread::UPDATE_PAGE_URL, wxBROWSER_NEW_WINDOW);
}

void TallywickFrame::SetLatestVersion(const wxString& version) {
    wxMutexLocker lock(m_mutexVersion);
    if (!lock.IsOk()) {
        ReportLockFailure(this);
        return;
    }
    m_strLatestVersion = version;
}

void TallywickFrame::PrefixLatestVersion() {
    wxMutexLocker lock(m_mutexVersion);
    if (!lock.IsOk()) {
        ReportLockFailure(this);
        return;
    }
    if (!m_strLatestVersion.empty())
        m_strLatestVersion = _("Latest Version - ") + m_strLatestVersion;
}
