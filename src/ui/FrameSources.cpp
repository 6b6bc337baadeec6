// Source directories and source types of the Counting Settings pane.
#include "TallywickFrame.h"

#include "ConfirmBox.h"
#include "CountingManager.h"
#include "Preference.h"
#include "SrcTypeSelDlg.h"

#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/dirdlg.h>

void TallywickFrame::LoadSourceDirs() {
    m_pSourceDirList->Clear();
    m_pSourceDirList->Append(m_pPreference->m_arrDirectory);
}

void TallywickFrame::OnAddDirClick(wxCommandEvent&) {
    if (m_bCounting)
        return;
    if (m_pDirDialog->ShowModal() != wxID_OK)
        return;
    const int item = m_pSourceDirList->Append(m_pDirDialog->GetPath());
    m_pSourceDirList->Check(item, true);
}

void TallywickFrame::OnDeleteDirClick(wxCommandEvent&) {
    const int item = m_pSourceDirList->GetSelection();
    if (item == wxNOT_FOUND)
        return;
    if (ShowConfirm(_("Are you sure you want to delete it?"), wxYES_NO, this) == wxYES)
        m_pSourceDirList->Delete(item);
}

void TallywickFrame::OnSelectSourceType(wxCommandEvent&) {
    // The dialog edits the extension set, which a running count is reading.
    if (m_bCounting)
        return;
    SrcTypeSelDlg dialog(this, wxID_ANY, wxDefaultPosition, wxDefaultSize);
    dialog.m_pRuleMap = &m_pCountingManager->m_ruleMap;
    dialog.m_pExtMap = &m_pCountingManager->m_extMap;
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxString types = dialog.m_strTypes;
    m_pSourceTypeCombo->SetSelection(m_pSourceTypeCombo->Append(types));
}
