// The three result filters and the refresh.
#include "TallywickFrame.h"

#include <wx/statusbr.h>

void TallywickFrame::UpdateFilterStatus() {
    wxString text;
    if (m_filterParam.m_bFilterDir)
        text += _("Directory | ");
    if (m_filterParam.m_bFilterExt)
        text += _("Extension | ");
    if (m_filterParam.m_bFilterDate)
        text += _("Modified Date");
    text.Trim(true);
    if (text.empty())
        text = _("None");
    else if (text.EndsWith("|"))
        text.RemoveLast(2);
    m_pStatusBar->SetStatusText(_("Filtering result by: ") + text, 2);
}

void TallywickFrame::OnRefreshResultClick(wxCommandEvent&) {}

void TallywickFrame::OnCheckBoxSelectAllClick(wxCommandEvent&) {}

void TallywickFrame::OnFilterMenu(wxCommandEvent&) {}
