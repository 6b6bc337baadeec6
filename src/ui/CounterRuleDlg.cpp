// The source-type editor dialog.
#include "CounterRuleDlg.h"

#include "ConfirmBox.h"
#include "CounterRule.h"
#include "FileExtension.h"
#include "ResultText.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/odcombo.h>
#include <wx/sizer.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

const long CounterRuleDlg::ID_STATICTEXT1 = wxNewId();
const long CounterRuleDlg::ID_TEXTCTRL1 = wxNewId();
const long CounterRuleDlg::ID_STATICTEXT3 = wxNewId();
const long CounterRuleDlg::ID_TEXTCTRL2 = wxNewId();
const long CounterRuleDlg::ID_STATICTEXT2 = wxNewId();
const long CounterRuleDlg::ID_COMBOBOX1 = wxNewId();
const long CounterRuleDlg::ID_STATICTEXT7 = wxNewId();
const long CounterRuleDlg::ID_TEXTCTRL6 = wxNewId();
const long CounterRuleDlg::ID_STATICTEXT4 = wxNewId();
const long CounterRuleDlg::ID_TEXTCTRL3 = wxNewId();
const long CounterRuleDlg::ID_STATICTEXT5 = wxNewId();
const long CounterRuleDlg::ID_TEXTCTRL4 = wxNewId();
const long CounterRuleDlg::ID_STATICTEXT6 = wxNewId();
const long CounterRuleDlg::ID_TEXTCTRL5 = wxNewId();
const long CounterRuleDlg::ID_STATICLINE1 = wxNewId();

namespace {
wxStaticText* MakeLabel(wxWindow* parent, long id, const wxString& label, const char* name) {
    return new wxStaticText(parent, id, label, wxDefaultPosition, wxDefaultSize, 0, name);
}

wxTextCtrl* MakeText(wxWindow* parent, long id, long style, const wxSize& size, const char* name) {
    return new wxTextCtrl(parent, id, wxEmptyString, wxDefaultPosition, size, style,
                          wxDefaultValidator, name);
}

// One read-only comment-marker row: spacer, label, field. The field has no typing limit: the
// user cannot type into it, and the toolkit would show nothing of a longer marker.
wxTextCtrl* AddMarkerRow(wxWindow* parent, wxSizer* mainSizer, long labelId, const wxString& label,
                         const char* labelName, long textId, const char* textName,
                         wxStaticText*& labelCtrl) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(0, 0, 0, wxLEFT | wxRIGHT | wxALIGN_CENTER, 5);
    labelCtrl = MakeLabel(parent, labelId, label, labelName);
    row->Add(labelCtrl, 2, wxALL, 5);
    wxTextCtrl* text = MakeText(parent, textId, wxTE_READONLY, wxDefaultSize, textName);
    text->Disable();
    row->Add(text, 3, wxLEFT | wxRIGHT | wxTOP, 5);
    mainSizer->Add(row, 0, wxLEFT | wxRIGHT | wxEXPAND, 5);
    return text;
}
} // namespace

CounterRuleDlg::CounterRuleDlg(wxWindow* parent, int mode, wxWindowID, const wxPoint&,
                               const wxSize&)
    : m_nMode(mode) {
    Create(parent, wxID_ANY, _("File type setting dialog"), wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_DIALOG_STYLE, "wxID_ANY");
    auto* mainSizer = new wxBoxSizer(wxVERTICAL);

    auto* extRow = new wxBoxSizer(wxHORIZONTAL);
    m_pLabelExt = MakeLabel(this, ID_STATICTEXT1, _("&Extension:"), "ID_STATICTEXT1");
    extRow->Add(m_pLabelExt, 1, wxALL, 5);
    m_pTxtExt = MakeText(this, ID_TEXTCTRL1, 0, wxDefaultSize, "ID_TEXTCTRL1");
    m_pTxtExt->SetMaxLength(9);
    extRow->Add(m_pTxtExt, 2, wxLEFT | wxRIGHT | wxTOP, 5);
    mainSizer->Add(extRow, 0, wxLEFT | wxRIGHT | wxTOP | wxEXPAND, 5);

    // The multi-line fields get no SetMaxLength: this toolkit refuses it on them. They wrap at
    // spaces only: the toolkit takes seconds to break up one long word, and most of a minute
    // for a word of 150,000 characters, which a rules file may hold.
    auto* descRow = new wxBoxSizer(wxHORIZONTAL);
    m_pLabelDesc = MakeLabel(this, ID_STATICTEXT3, _("&Description:"), "ID_STATICTEXT3");
    descRow->Add(m_pLabelDesc, 1, wxALL, 5);
    m_pTxtDesc = MakeText(this, ID_TEXTCTRL2, wxTE_MULTILINE | wxTE_WORDWRAP, wxSize(-1, 60),
                          "ID_TEXTCTRL2");
    descRow->Add(m_pTxtDesc, 2, wxLEFT | wxRIGHT | wxTOP | wxALIGN_CENTER, 5);
    mainSizer->Add(descRow, 1, wxLEFT | wxRIGHT | wxEXPAND, 5);

    auto* styleRow = new wxBoxSizer(wxHORIZONTAL);
    m_pLabelStyle = MakeLabel(this, ID_STATICTEXT2, _("&Source style:"), "ID_STATICTEXT2");
    styleRow->Add(m_pLabelStyle, 1, wxALL, 5);
    m_pComboStyle = new wxOwnerDrawnComboBox(this, ID_COMBOBOX1, wxEmptyString, wxDefaultPosition,
                                             wxDefaultSize, 0, nullptr, wxCB_READONLY,
                                             wxDefaultValidator, "ID_COMBOBOX1");
    styleRow->Add(m_pComboStyle, 2, wxLEFT | wxRIGHT | wxTOP, 5);
    mainSizer->Add(styleRow, 0, wxLEFT | wxRIGHT | wxEXPAND, 5);

    auto* styleDescRow = new wxBoxSizer(wxHORIZONTAL);
    styleDescRow->Add(0, 0, 0, wxLEFT | wxRIGHT, 5);
    m_pLabelStyleDesc = MakeLabel(this, ID_STATICTEXT7, _("S&tyle Description:"), "ID_STATICTEXT7");
    styleDescRow->Add(m_pLabelStyleDesc, 2, wxALL, 5);
    m_pTxtStyleDesc = MakeText(this, ID_TEXTCTRL6, wxTE_MULTILINE | wxTE_WORDWRAP, wxSize(-1, 60),
                               "ID_TEXTCTRL6");
    styleDescRow->Add(m_pTxtStyleDesc, 3, wxLEFT | wxRIGHT | wxTOP, 5);
    mainSizer->Add(styleDescRow, 1, wxLEFT | wxRIGHT | wxEXPAND, 5);

    m_pTxtSingle = AddMarkerRow(this, mainSizer, ID_STATICTEXT4, _("Sing&le line comment:"),
                                "ID_STATICTEXT4", ID_TEXTCTRL3, "ID_TEXTCTRL3", m_pLabelSingle);
    m_pTxtMultiBegin =
        AddMarkerRow(this, mainSizer, ID_STATICTEXT5, _("Multi-line comment &begin:"),
                     "ID_STATICTEXT5", ID_TEXTCTRL4, "ID_TEXTCTRL4", m_pLabelMultiBegin);
    m_pTxtMultiEnd = AddMarkerRow(this, mainSizer, ID_STATICTEXT6, _("Multi-line comment &end:"),
                                  "ID_STATICTEXT6", ID_TEXTCTRL5, "ID_TEXTCTRL5", m_pLabelMultiEnd);

    m_pLine = new wxStaticLine(this, ID_STATICLINE1, wxDefaultPosition, wxSize(10, -1),
                               wxLI_HORIZONTAL, "ID_STATICLINE1");
    mainSizer->Add(m_pLine, 0, wxALL | wxEXPAND, 5);

    auto* buttonRow = new wxBoxSizer(wxHORIZONTAL);
    m_pBtnOk = new wxButton(this, wxID_OK, _("&OK"), wxDefaultPosition, wxDefaultSize, 0,
                            wxDefaultValidator, "wxID_OK");
    buttonRow->Add(m_pBtnOk, 1, wxALL, 5);
    m_pBtnCancel = new wxButton(this, wxID_CANCEL, _("&Cancel"), wxDefaultPosition, wxDefaultSize,
                                0, wxDefaultValidator, "wxID_CANCEL");
    buttonRow->Add(m_pBtnCancel, 1, wxALL, 5);
    mainSizer->Add(buttonRow, 0, wxLEFT | wxRIGHT | wxBOTTOM, 5);

    SetSizer(mainSizer);
    mainSizer->Fit(this);
    mainSizer->SetSizeHints(this);
    Centre(wxBOTH);

    Bind(wxEVT_INIT_DIALOG, &CounterRuleDlg::OnInitDialog, this);
    Bind(wxEVT_COMBOBOX, &CounterRuleDlg::OnStyleSelected, this, ID_COMBOBOX1);
    Bind(wxEVT_TEXT, &CounterRuleDlg::OnDescriptionText, this, ID_TEXTCTRL2);
    Bind(wxEVT_TEXT, &CounterRuleDlg::OnDescriptionText, this, ID_TEXTCTRL6);
    Bind(wxEVT_BUTTON, &CounterRuleDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CounterRuleDlg::OnCancel, this, wxID_CANCEL);
}

void CounterRuleDlg::OnInitDialog(wxInitDialogEvent&) {
    m_styleKeys.clear();
    if (m_pRuleMap) {
        // In one call, so that the list is laid out once; Set, so that a second
        // initialisation does not list the styles twice.
        wxArrayString styles;
        styles.reserve(m_pRuleMap->size());
        m_styleKeys.reserve(m_pRuleMap->size());
        for (const auto& entry : *m_pRuleMap) {
            styles.push_back(Shown(entry.second->m_strType));
            m_styleKeys.push_back(entry.second->m_strType);
        }
        m_pComboStyle->Set(styles);
    }
    if (m_nMode == MODE_ADD) {
        if (!m_pComboStyle->IsListEmpty())
            m_pComboStyle->SetSelection(0);
    } else if (m_pFileExt) {
        // Shown only: the typing limit would make the toolkit show nothing of a longer one.
        m_pTxtExt->SetMaxLength(0);
        m_pTxtExt->ChangeValue(Shown(m_pFileExt->m_strExt));
        m_pTxtExt->Disable();
        ShowDescription(m_pTxtDesc, m_pFileExt->m_strDesc);
        // A rule type that names no rule leaves the box without a choice. Found ignoring case,
        // as the box itself finds a text.
        const int style = m_styleKeys.Index(m_pFileExt->m_strRuleType, false);
        if (style != wxNOT_FOUND)
            m_pComboStyle->SetSelection(style);
    }
    UpdateStyleFields();
}

wxString CounterRuleDlg::ChosenStyle() const {
    const int style = m_pComboStyle->GetSelection();
    return style == wxNOT_FOUND ? wxString() : m_styleKeys[style];
}

CounterRule* CounterRuleDlg::FindChosenRule() const {
    if (!m_pRuleMap || m_pComboStyle->GetSelection() == wxNOT_FOUND)
        return nullptr;
    const auto found = m_pRuleMap->find(ChosenStyle());
    return found == m_pRuleMap->end() ? nullptr : found->second.get();
}

void CounterRuleDlg::UpdateStyleFields() {
    const CounterRule* rule = FindChosenRule();
    ShowDescription(m_pTxtStyleDesc, rule ? rule->m_strDesc : wxString());
    m_pTxtSingle->ChangeValue(rule ? Shown(rule->m_strSingleLineComment) : wxString());
    m_pTxtMultiBegin->ChangeValue(rule ? Shown(rule->m_strMultiLineCommentBegin) : wxString());
    m_pTxtMultiEnd->ChangeValue(rule ? Shown(rule->m_strMultiLineCommentEnd) : wxString());
}

wxString CounterRuleDlg::Shown(const wxString& text) {
    return ShownName(text, MAX_DESCRIPTION_LENGTH);
}

void CounterRuleDlg::OnStyleSelected(wxCommandEvent&) {
    UpdateStyleFields();
}

size_t& CounterRuleDlg::LengthCap(const wxTextCtrl* field) {
    return field == m_pTxtDesc ? m_nDescCap : m_nStyleDescCap;
}

void CounterRuleDlg::ShowDescription(wxTextCtrl* field, const wxString& text) {
    field->ChangeValue(text);
    LengthCap(field) = std::max(MAX_DESCRIPTION_LENGTH, text.length());
}

void CounterRuleDlg::OnDescriptionText(wxCommandEvent& event) {
    auto* field = static_cast<wxTextCtrl*>(event.GetEventObject());
    size_t& cap = LengthCap(field);
    wxString text = field->GetValue();
    if (text.length() > cap) {
        text.Truncate(cap);
        field->ChangeValue(text);
        field->SetInsertionPointEnd();
    }
    // Deleting from an over-long text lowers the cap again, down to the limit.
    cap = std::max(MAX_DESCRIPTION_LENGTH, text.length());
}

wxString CounterRuleDlg::NormalizedExtension() const {
    wxString ext = m_pTxtExt->GetValue();
    ext.Trim(true).Trim(false);
    for (const wxUniChar c : ext)
        if (c == ';' || wxIsspace(c))
            return wxString();
    if (!ext.empty() && !ext.StartsWith("."))
        ext.Prepend(".");
    return ext.Lower();
}

void CounterRuleDlg::OnOK(wxCommandEvent&) {
    CounterRule* rule = FindChosenRule();
    const bool adding = m_nMode == MODE_ADD;
    const wxString ext = adding ? NormalizedExtension() : wxString();
    wxString problem;
    if (!rule)
        problem = _("Please select a source style!");
    else if (m_pTxtDesc->GetValue().empty())
        problem = _("Please input file extension description!");
    else if (adding && ext.empty())
        problem = _("Please input file extension!");
    else if (m_pTxtStyleDesc->GetValue().empty())
        problem = _("Please input style description!");
    else if (adding && m_pExtMap && m_pExtMap->count(ext))
        problem = _("Extension has existed!");
    if (!problem.empty()) {
        ShowConfirm(problem, wxOK | wxCENTRE);
        return;
    }

    if (adding)
        m_pFileExt->m_strExt = ext;
    m_pFileExt->m_strDesc = m_pTxtDesc->GetValue();
    m_pFileExt->m_strRuleType = ChosenStyle();
    rule->m_strDesc = m_pTxtStyleDesc->GetValue();
    SetReturnCode(wxID_OK); // also for a modeless showing
    EndDialog(wxID_OK);
}

void CounterRuleDlg::OnCancel(wxCommandEvent&) {
    SetReturnCode(wxID_CANCEL);
    EndDialog(wxID_CANCEL);
}
