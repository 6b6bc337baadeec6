// The three result filters, the refresh and the filter menu.
#include "TallywickFrame.h"

#include "CountingManager.h"
#include "Preference.h"
#include "StatusField.h"

#include <wx/aui/framemanager.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/statusbr.h>

namespace {
// Fills the accepted values from a check-list; true when some item is left unchecked.
bool ReadCheckList(const ShortenedCheckListBox* list, wxArrayString& accepted, bool& changed) {
    for (unsigned i = 0; i < list->GetCount(); ++i) {
        const wxString& text = list->GetKey(i);
        const int found = accepted.Index(text, true);
        if (list->IsChecked(i) && found == wxNOT_FOUND) {
            accepted.Add(text);
            changed = true;
        } else if (!list->IsChecked(i) && found != wxNOT_FOUND) {
            accepted.RemoveAt(found);
            changed = true;
        }
    }
    return accepted.size() != list->GetCount();
}
} // namespace

void TallywickFrame::ReadFilterParam() {
    m_filterParam.Clear();
    m_filterParam.m_bFilterDir =
        ReadCheckList(m_pDirFilterList, m_filterParam.m_arrDirs, m_filterParam.m_bChanged);
    m_filterParam.m_bFilterExt =
        ReadCheckList(m_pExtFilterList, m_filterParam.m_arrExts, m_filterParam.m_bChanged);
    m_filterParam.m_bFilterDate =
        ReadCheckList(m_pDateFilterList, m_filterParam.m_arrDates, m_filterParam.m_bChanged);
    m_filterParam.Sort();
    UpdateFilterStatus();
}

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
    m_pStatusBar->SetStatusText(_("Filtering result by: ") + text, StatusField::FILTERS);
    FitStatusFields();
}

void TallywickFrame::OnRefreshResultClick(wxCommandEvent&) {
    ReadAnalysisParam();
    ReadFilterParam();
    SetCursor(wxCursor(wxCURSOR_WAIT));
    m_pCountingManager->m_nState = CountingManager::STATE_BUSY;
    EnableControls();
    // With file records the filter always applies: a choice that unchecks everything after an
    // earlier refresh must still change the views that the status bar describes.
    if (m_analysisParam.m_bValid || m_filterParam.m_bChanged ||
        !m_pCountingManager->m_fileResults.empty()) {
        // The directory rows point into records that the filter rebuilds.
        m_dirRows.clear();
        m_pDirList->SetItemCount(0);
        m_pCountingManager->Filter(&m_analysisParam, &m_filterParam);
    }
    m_filterParam.m_bChanged = false;
    m_pCountingManager->m_nState = CountingManager::STATE_STOPPED;
    EnableControls();
    // Switched off and on within this handler, the lists are drawn anew in their on state
    // rather than left as a paint during the refresh may have drawn them.
    for (wxCheckListBox* list : {m_pDirFilterList, m_pExtFilterList, m_pDateFilterList})
        list->Refresh();
    SetCursor(wxCursor(wxCURSOR_ARROW));
}

void TallywickFrame::OnCheckBoxSelectAllClick(wxCommandEvent& event) {
    wxCheckListBox* list = event.GetId() == ID_CHECKBOX_DIR    ? m_pDirFilterList
                           : event.GetId() == ID_CHECKBOX_EXT  ? m_pExtFilterList
                           : event.GetId() == ID_CHECKBOX_DATE ? m_pDateFilterList
                                                               : nullptr;
    if (!list)
        return;
    const bool on = event.GetInt() != 0;
    for (unsigned i = 0; i < list->GetCount(); ++i)
        list->Check(i, on);
}

void TallywickFrame::OnFilterMenu(wxCommandEvent& event) {
    struct FilterPane {
        wxPanel* panel;
        int* flag;
    };
    const FilterPane panes[] = {
        {m_pPanelDirFilter, &m_pPreference->m_nShowFilterDirectory},
        {m_pPanelExtFilter, &m_pPreference->m_nShowFilterExtension},
        {m_pPanelDateFilter, &m_pPreference->m_nShowFilterModifiedDate},
    };
    const auto show = [this](const FilterPane& pane, bool on) {
        m_pAuiManager->GetPane(pane.panel).Show(on);
        *pane.flag = on ? 1 : 0;
    };
    const int id = event.GetId();
    if (id == ID_MENU_ALL_FILTERS) {
        bool anyHidden = false;
        for (const FilterPane& pane : panes)
            anyHidden = anyHidden || !m_pAuiManager->GetPane(pane.panel).IsShown();
        for (const FilterPane& pane : panes)
            show(pane, anyHidden);
    } else {
        const int index = id == ID_MENU_FILTER_DIR ? 0 : id == ID_MENU_FILTER_EXT ? 1 : 2;
        show(panes[index], !m_pAuiManager->GetPane(panes[index].panel).IsShown());
    }
    m_pAuiManager->Update();
}
