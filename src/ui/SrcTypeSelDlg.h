// The dialog in which the user chooses the extensions a counting run counts, and adds, edits
// and deletes extensions.
#pragma once

#include "CountingManager.h"

#include <wx/arrstr.h>
#include <wx/dialog.h>

class FileExtension;
class wxButton;
class wxCheckBox;
class wxCheckListBox;
class wxStaticLine;
class wxStaticText;

class SrcTypeSelDlg : public wxDialog {
public:
    // The identifier, position and size are not used: the dialog lays itself out.
    SrcTypeSelDlg(wxWindow* parent, wxWindowID id = wxID_ANY,
                  const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    virtual ~SrcTypeSelDlg() = default;

    static const long ID_STATICTEXT1;
    static const long ID_CHECKLISTBOX1;
    static const long ID_CHECKBOX1;
    static const long ID_BUTTON1;
    static const long ID_BUTTON2;
    static const long ID_BUTTON3;
    static const long ID_STATICLINE1;

    // After OK: the key of every checked item, each followed by ";".
    wxString m_strTypes;
    // The manager's maps, edited in place; set by the caller before ShowModal.
    CountingManager::RuleMap* m_pRuleMap = nullptr;
    CountingManager::ExtMap* m_pExtMap = nullptr;

    wxStaticText* m_pLabel = nullptr;
    wxCheckListBox* m_pTypeList = nullptr;
    wxCheckBox* m_pChkSelectAll = nullptr;
    wxButton* m_pBtnAdd = nullptr;
    wxButton* m_pBtnEdit = nullptr;
    wxButton* m_pBtnDelete = nullptr;
    wxStaticLine* m_pLine = nullptr;
    wxButton* m_pBtnOk = nullptr;
    wxButton* m_pBtnCancel = nullptr;

    // Lists every extension of the map, checked when it is selected for counting.
    void FillTypeList();
    // Edit and Delete work on the highlighted item only.
    void UpdateButtons();
    // The extension of the highlighted item, or null.
    FileExtension* GetSelectedExtension();

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnTypeListSelect(wxCommandEvent& event);
    void OnSelectAllClick(wxCommandEvent& event);
    void OnAddClick(wxCommandEvent& event);
    void OnEditClick(wxCommandEvent& event);
    void OnDeleteClick(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    // Add, Edit and Delete change only their own item, so the list keeps its scroll place
    // and the user's unconfirmed checks; no item is highlighted afterwards.
    void EndChange();

    // The map key of each list item, in list order: an item's text cannot be cut back into
    // its extension when the extension holds the " - " separator's '-'.
    wxArrayString m_itemKeys;
};
