// The Report page: the index page and the analysis report, made from templates.
#include "TallywickFrame.h"

#include "CountingManager.h"
#include "CrvHtmlWin.h"
#include "ExecutablePath.h"
#include "ReportFields.h"

namespace {
const char* const BUILT_IN_PAGE =
    "<html><body><h2>Welcome to use Tallywick!</h2>\t\t\t\t\t\t\t<br>The default report page "
    "seems to be missing...</body></html>";

wxString LatestVersion(TallywickFrame& frame) {
    wxMutexLocker lock(frame.m_mutexVersion);
    return frame.m_strLatestVersion;
}
} // namespace

void TallywickFrame::LoadHtmlTemplate(const wxString& relativePath) {
    s_strHtmlPage = PageTemplate::Read(GetExecutableDir() + relativePath).value_or(BUILT_IN_PAGE);
}

void TallywickFrame::ShowIndexPage() {
    LoadHtmlTemplate(INDEX_PAGE_FILE);
    PageTemplate fields;
    AddVersionFields(fields, LatestVersion(*this));
    s_strHtmlPage = fields.Fill(s_strHtmlPage);
    m_pHtmlWin->SetPage(s_strHtmlPage);
}

void TallywickFrame::GenerateReport() {
    LoadHtmlTemplate(REPORT_TEMPLATE_FILE);
    ReportRun run;
    run.canceled = m_bRunCanceled;
    run.latestVersion = LatestVersion(*this);
    s_strHtmlPage =
        ReportFields(m_pCountingManager->m_totalResult, m_pCountingManager->m_extResults,
                     m_analysisParam, m_filterParam, run)
            .Fill(s_strHtmlPage);
    m_pHtmlWin->SetPage(s_strHtmlPage);
}
