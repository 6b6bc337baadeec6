// Source directories and source types of the Counting Settings pane.
#include "TallywickFrame.h"

#include "ConfirmBox.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "Preference.h"
#include "ResultText.h"
#include "SrcTypeSelDlg.h"

#include <wx/checklst.h>
#include <wx/clntdata.h>
#include <wx/combobox.h>
#include <wx/dirdlg.h>
#include <wx/filefn.h>
#include <wx/utils.h>

namespace {
// Far more than the box shows, and few enough for the toolkit to lay out at once.
constexpr size_t MAX_SHOWN_TYPES = 1024;
} // namespace

void TallywickFrame::LoadSourceDirs() {
    m_pSourceDirList->Clear();
    m_pSourceDirList->Append(m_pPreference->m_arrDirectory);
}

void TallywickFrame::OnAddDirClick(wxCommandEvent&) {
    // On a real folder, not the chooser's "Recent", so that a path typed with Enter, or Open
    // at once, is taken: the folder added last, or home.
    const unsigned count = m_pSourceDirList->GetCount();
    wxString start = count ? m_pSourceDirList->GetString(count - 1) : wxString();
    if (start.empty() || !wxDirExists(start))
        start = wxGetHomeDir();
    m_pDirDialog->SetPath(start);
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
    SrcTypeSelDlg dialog(this, wxID_ANY, wxDefaultPosition, wxDefaultSize);
    dialog.m_pRuleMap = &m_pCountingManager->m_ruleMap;
    dialog.m_pExtMap = &m_pCountingManager->m_extMap;
    if (dialog.ShowModal() != wxID_OK)
        return;
    InsertTypeChoice(dialog.m_strTypes, m_pSourceTypeCombo->GetCount());
    m_pSourceTypeCombo->SetSelection(m_pSourceTypeCombo->GetCount() - 1);
}

void TallywickFrame::InsertTypeChoice(const wxString& types, unsigned at) {
    m_pSourceTypeCombo->Insert(ShownName(types, MAX_SHOWN_TYPES), at,
                               new wxStringClientData(types));
}

wxString TallywickFrame::ChosenTypes() const {
    const int item = m_pSourceTypeCombo->GetSelection();
    const auto* whole =
        item == wxNOT_FOUND || !m_pSourceTypeCombo->HasClientObjectData()
            ? nullptr
            : static_cast<const wxStringClientData*>(m_pSourceTypeCombo->GetClientObject(item));
    return whole ? whole->GetData() : m_pSourceTypeCombo->GetValue();
}

void TallywickFrame::OnSourceTypePicked(wxCommandEvent&) {
    // An earlier selection picked from the box becomes what is counted; types deleted since
    // then are dropped from it.
    const int item = m_pSourceTypeCombo->GetSelection();
    if (item == wxNOT_FOUND)
        return;
    const wxString chosen = ChosenTypes();
    wxArrayString picked = wxSplit(chosen, ';', '\0');
    wxString kept;
    for (auto& entry : m_pCountingManager->m_extMap)
        entry.second->m_bSelected = false;
    for (const wxString& ext : picked) {
        FileExtension* found = m_pCountingManager->GetFileExtension(ext);
        if (!found)
            continue;
        found->m_bSelected = true;
        kept += ext + ";";
    }
    if (kept != chosen) {
        m_pSourceTypeCombo->Delete(item);
        InsertTypeChoice(kept, item);
        m_pSourceTypeCombo->SetSelection(item);
    }
}
