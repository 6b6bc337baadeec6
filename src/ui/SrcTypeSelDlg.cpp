// The source-type selection dialog.
#include "SrcTypeSelDlg.h"

#include "ConfirmBox.h"
#include "CounterRuleDlg.h"
#include "FileExtension.h"

#include <iterator>
#include <memory>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>

const long SrcTypeSelDlg::ID_STATICTEXT1 = wxNewId();
const long SrcTypeSelDlg::ID_CHECKLISTBOX1 = wxNewId();
const long SrcTypeSelDlg::ID_CHECKBOX1 = wxNewId();
const long SrcTypeSelDlg::ID_BUTTON1 = wxNewId();
const long SrcTypeSelDlg::ID_BUTTON2 = wxNewId();
const long SrcTypeSelDlg::ID_BUTTON3 = wxNewId();
const long SrcTypeSelDlg::ID_STATICLINE1 = wxNewId();

namespace {
wxString ItemText(const FileExtension& ext) {
    // Shortened here only: the item keeps its key, and the editor the whole description.
    return CounterRuleDlg::Shown(ext.m_strExt) + " - " + CounterRuleDlg::Shown(ext.m_strDesc) +
           " ( " + CounterRuleDlg::Shown(ext.m_strRuleType) + " style )";
}
} // namespace

SrcTypeSelDlg::SrcTypeSelDlg(wxWindow* parent, wxWindowID, const wxPoint&, const wxSize&) {
    Create(parent, wxID_ANY, _("Select types dialog"), wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_DIALOG_STYLE, "wxID_ANY");
    auto* mainSizer = new wxBoxSizer(wxVERTICAL);
    m_pLabel = new wxStaticText(this, ID_STATICTEXT1, _("Se&lect source file types for counting:"),
                                wxDefaultPosition, wxDefaultSize, 0, "ID_STATICTEXT1");
    mainSizer->Add(m_pLabel, 0, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 5);
    m_pTypeList = new wxCheckListBox(this, ID_CHECKLISTBOX1, wxDefaultPosition, wxSize(180, 220), 0,
                                     nullptr, wxLB_HSCROLL, wxDefaultValidator, "ID_CHECKLISTBOX1");
    mainSizer->Add(m_pTypeList, 0, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 5);

    auto* toolRow = new wxBoxSizer(wxHORIZONTAL);
    m_pChkSelectAll =
        new wxCheckBox(this, ID_CHECKBOX1, _("&Select all file types"), wxDefaultPosition,
                       wxDefaultSize, 0, wxDefaultValidator, "ID_CHECKBOX1");
    m_pChkSelectAll->SetValue(false);
    toolRow->Add(m_pChkSelectAll, 0, wxALL | wxEXPAND, 5);
    toolRow->Add(0, 0, 1, wxALIGN_CENTER, 5);
    m_pBtnAdd = new wxButton(this, ID_BUTTON1, _("&Add..."), wxDefaultPosition, wxDefaultSize, 0,
                             wxDefaultValidator, "ID_BUTTON1");
    toolRow->Add(m_pBtnAdd, 0, wxALL | wxALIGN_CENTER, 5);
    m_pBtnEdit = new wxButton(this, ID_BUTTON2, _("&Edit..."), wxDefaultPosition, wxDefaultSize, 0,
                              wxDefaultValidator, "ID_BUTTON2");
    m_pBtnEdit->Disable();
    toolRow->Add(m_pBtnEdit, 0, wxALL | wxALIGN_CENTER, 5);
    m_pBtnDelete = new wxButton(this, ID_BUTTON3, _("&Delete"), wxDefaultPosition, wxDefaultSize, 0,
                                wxDefaultValidator, "ID_BUTTON3");
    m_pBtnDelete->Disable();
    toolRow->Add(m_pBtnDelete, 0, wxALL | wxALIGN_CENTER, 5);
    mainSizer->Add(toolRow, 0, 0, 5);

    m_pLine = new wxStaticLine(this, ID_STATICLINE1, wxDefaultPosition, wxSize(10, -1),
                               wxLI_HORIZONTAL, "ID_STATICLINE1");
    mainSizer->Add(m_pLine, 0, wxALL | wxEXPAND, 5);

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    m_pBtnOk = new wxButton(this, wxID_OK, _("&OK"), wxDefaultPosition, wxDefaultSize, 0,
                            wxDefaultValidator, "wxID_OK");
    buttonRow->Add(m_pBtnOk, 2, wxALL | wxALIGN_CENTER, 5);
    m_pBtnCancel = new wxButton(this, wxID_CANCEL, _("&Cancel"), wxDefaultPosition, wxDefaultSize,
                                0, wxDefaultValidator, "wxID_CANCEL");
    buttonRow->Add(m_pBtnCancel, 2, wxALL | wxALIGN_CENTER, 5);
    mainSizer->Add(buttonRow, 0, wxBOTTOM, 5);

    SetSizer(mainSizer);
    mainSizer->Fit(this);
    mainSizer->SetSizeHints(this);
    Centre(wxBOTH);

    Bind(wxEVT_INIT_DIALOG, &SrcTypeSelDlg::OnInitDialog, this);
    Bind(wxEVT_LISTBOX, &SrcTypeSelDlg::OnTypeListSelect, this, ID_CHECKLISTBOX1);
    Bind(wxEVT_CHECKBOX, &SrcTypeSelDlg::OnSelectAllClick, this, ID_CHECKBOX1);
    Bind(wxEVT_BUTTON, &SrcTypeSelDlg::OnAddClick, this, ID_BUTTON1);
    Bind(wxEVT_BUTTON, &SrcTypeSelDlg::OnEditClick, this, ID_BUTTON2);
    Bind(wxEVT_BUTTON, &SrcTypeSelDlg::OnDeleteClick, this, ID_BUTTON3);
    Bind(wxEVT_BUTTON, &SrcTypeSelDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &SrcTypeSelDlg::OnCancel, this, wxID_CANCEL);
}

void SrcTypeSelDlg::OnInitDialog(wxInitDialogEvent&) {
    FillTypeList();
}

void SrcTypeSelDlg::FillTypeList() {
    if (!m_pTypeList->IsEmpty())
        m_pTypeList->Clear();
    m_itemKeys.Clear();
    if (!m_pExtMap)
        return;
    for (const auto& [key, ext] : *m_pExtMap) {
        const int item = m_pTypeList->Append(ItemText(*ext));
        m_itemKeys.Add(key);
        if (ext->m_bSelected)
            m_pTypeList->Check(item, true);
    }
}

void SrcTypeSelDlg::EndChange() {
    m_pTypeList->SetSelection(wxNOT_FOUND);
    UpdateButtons();
}

void SrcTypeSelDlg::UpdateButtons() {
    const bool highlighted = m_pTypeList->GetSelection() != wxNOT_FOUND;
    m_pBtnEdit->Enable(highlighted);
    m_pBtnDelete->Enable(highlighted);
}

FileExtension* SrcTypeSelDlg::GetSelectedExtension() {
    const int item = m_pTypeList->GetSelection();
    if (item == wxNOT_FOUND || !m_pExtMap)
        return nullptr;
    // Each item keeps its own map key, so the entry is found exactly.
    const auto found = m_pExtMap->find(m_itemKeys[item]);
    return found == m_pExtMap->end() ? nullptr : found->second.get();
}

void SrcTypeSelDlg::OnTypeListSelect(wxCommandEvent&) {
    UpdateButtons();
}

void SrcTypeSelDlg::OnSelectAllClick(wxCommandEvent&) {
    const bool check = m_pChkSelectAll->GetValue();
    for (unsigned i = 0; i < m_pTypeList->GetCount(); ++i)
        m_pTypeList->Check(i, check);
}

void SrcTypeSelDlg::OnAddClick(wxCommandEvent&) {
    if (!m_pExtMap)
        return;
    auto ext = std::make_unique<FileExtension>("tmp", "tmp", "tmp", false);
    CounterRuleDlg dialog(this, CounterRuleDlg::MODE_ADD, wxID_ANY, wxDefaultPosition,
                          wxDefaultSize);
    dialog.m_pRuleMap = m_pRuleMap;
    dialog.m_pFileExt = ext.get();
    dialog.m_pExtMap = m_pExtMap;
    if (dialog.ShowModal() != wxID_OK)
        return;
    // The editor refuses a known extension itself; this holds for any other editor too.
    if (m_pExtMap->count(ext->m_strExt)) {
        ShowConfirm(_("Extension has existed!"), wxOK | wxCENTRE);
        return;
    }
    // Inserted where the map puts it, and brought into view.
    const auto added = m_pExtMap->emplace(ext->m_strExt, std::move(ext)).first;
    const int item = static_cast<int>(std::distance(m_pExtMap->begin(), added));
    m_pTypeList->Insert(ItemText(*added->second), item);
    m_itemKeys.Insert(added->first, item);
    EndChange();
    m_pTypeList->EnsureVisible(item);
}

void SrcTypeSelDlg::OnEditClick(wxCommandEvent&) {
    FileExtension* ext = GetSelectedExtension();
    if (!ext) {
        ShowConfirm("Error!", wxOK | wxCENTRE);
        return;
    }
    CounterRuleDlg dialog(this, CounterRuleDlg::MODE_EDIT, wxID_ANY, wxDefaultPosition,
                          wxDefaultSize);
    dialog.m_pRuleMap = m_pRuleMap;
    dialog.m_pFileExt = ext;
    if (dialog.ShowModal() != wxID_OK)
        return;
    m_pTypeList->SetString(m_pTypeList->GetSelection(), ItemText(*ext));
    EndChange();
}

void SrcTypeSelDlg::OnDeleteClick(wxCommandEvent&) {
    if (ShowConfirm(_("Do you want to delete it?"), wxYES_NO, this) != wxYES)
        return;
    if (!GetSelectedExtension()) {
        ShowConfirm("Error!", wxOK | wxCENTRE);
        return;
    }
    const int item = m_pTypeList->GetSelection();
    m_pExtMap->erase(m_itemKeys[item]);
    m_pTypeList->Delete(item);
    m_itemKeys.RemoveAt(item);
    EndChange();
}

void SrcTypeSelDlg::OnOK(wxCommandEvent&) {
    if (m_pExtMap) {
        for (auto& entry : *m_pExtMap)
            entry.second->m_bSelected = false;
        for (unsigned i = 0; i < m_pTypeList->GetCount(); ++i) {
            if (!m_pTypeList->IsChecked(i))
                continue;
            m_strTypes += m_itemKeys[i] + ";";
            const auto found = m_pExtMap->find(m_itemKeys[i]);
            if (found != m_pExtMap->end())
                found->second->m_bSelected = true;
        }
    }
    SetReturnCode(wxID_OK); // also for a modeless showing
    EndDialog(wxID_OK);
}

void SrcTypeSelDlg::OnCancel(wxCommandEvent&) {
    SetReturnCode(wxID_CANCEL);
    EndDialog(wxID_CANCEL);
}
