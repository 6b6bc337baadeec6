// The dialog that defines one file extension: its text, its description and the source style
// that counts it; it also changes the style's description.
#pragma once

#include "CountingManager.h"

#include <wx/arrstr.h>
#include <wx/dialog.h>

class CounterRule;
class FileExtension;
class wxButton;
class wxOwnerDrawnComboBox;
class wxStaticLine;
class wxStaticText;
class wxTextCtrl;

class CounterRuleDlg : public wxDialog {
public:
    enum { MODE_ADD = 0, MODE_EDIT = 1 };

    // The identifier, position and size are not used: the dialog lays itself out.
    CounterRuleDlg(wxWindow* parent, int mode, wxWindowID id = wxID_ANY,
                   const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    virtual ~CounterRuleDlg() = default;

    static const long ID_STATICTEXT1;
    static const long ID_TEXTCTRL1;
    static const long ID_STATICTEXT3;
    static const long ID_TEXTCTRL2;
    static const long ID_STATICTEXT2;
    static const long ID_COMBOBOX1;
    static const long ID_STATICTEXT7;
    static const long ID_TEXTCTRL6;
    static const long ID_STATICTEXT4;
    static const long ID_TEXTCTRL3;
    static const long ID_STATICTEXT5;
    static const long ID_TEXTCTRL4;
    static const long ID_STATICTEXT6;
    static const long ID_TEXTCTRL5;
    static const long ID_STATICLINE1;

    // Typing cannot make a description field longer than this, or than the text it was given
    // when that was longer: a long text from the rules file is never cut by an edit.
    static constexpr size_t MAX_DESCRIPTION_LENGTH = 128;
    // A text of the rules where the two source-type dialogs only show it (an extension, a
    // style, a marker, a description in the list): control characters marked, and shortened
    // to the length a description can be typed.
    static wxString Shown(const wxString& text);

    int m_nMode;
    // Set by the caller before ShowModal; none is owned.
    CountingManager::RuleMap* m_pRuleMap = nullptr;
    FileExtension* m_pFileExt = nullptr;
    // In add mode, the extensions that already exist: a known one is refused.
    const CountingManager::ExtMap* m_pExtMap = nullptr;

    wxStaticText* m_pLabelExt = nullptr;
    wxTextCtrl* m_pTxtExt = nullptr;
    wxStaticText* m_pLabelDesc = nullptr;
    wxTextCtrl* m_pTxtDesc = nullptr;
    wxStaticText* m_pLabelStyle = nullptr;
    // Drawn by the toolkit itself: the native box takes seconds for a few thousand styles.
    wxOwnerDrawnComboBox* m_pComboStyle = nullptr;
    wxStaticText* m_pLabelStyleDesc = nullptr;
    wxTextCtrl* m_pTxtStyleDesc = nullptr;
    wxStaticText* m_pLabelSingle = nullptr;
    wxTextCtrl* m_pTxtSingle = nullptr;
    wxStaticText* m_pLabelMultiBegin = nullptr;
    wxTextCtrl* m_pTxtMultiBegin = nullptr;
    wxStaticText* m_pLabelMultiEnd = nullptr;
    wxTextCtrl* m_pTxtMultiEnd = nullptr;
    wxStaticLine* m_pLine = nullptr;
    wxButton* m_pBtnOk = nullptr;
    wxButton* m_pBtnCancel = nullptr;

    // Shows the description and the comment markers of the style the box names.
    void UpdateStyleFields();

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnStyleSelected(wxCommandEvent& event);
    void OnDescriptionText(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    // The rule type of the style chosen in the box, whole as the rules hold it; empty when
    // none is chosen.
    wxString ChosenStyle() const;
    // The rule the source-style box names, or null.
    CounterRule* FindChosenRule() const;
    // The typed extension made into a key (".cpp"), or empty when it is not one.
    wxString NormalizedExtension() const;
    // Shows a description in its field and sets how long typing may make it.
    void ShowDescription(wxTextCtrl* field, const wxString& text);
    size_t& LengthCap(const wxTextCtrl* field);

    // The rule type of each item of the style box, in its order: the box shows them shortened.
    wxArrayString m_styleKeys;
    size_t m_nDescCap = MAX_DESCRIPTION_LENGTH;
    size_t m_nStyleDescCap = MAX_DESCRIPTION_LENGTH;
};
