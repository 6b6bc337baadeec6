// The frame's window state: full screen, the toolbar's drop-down menus, the size text,
// shortcuts, closing and the destructor.
#include "TallywickFrame.h"

#include "ConfirmBox.h"
#include "CountingManager.h"
#include "NativeDialog.h"
#include "Preference.h"
#include "StatusField.h"

#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/checklst.h>
#include <wx/filename.h>
#include <wx/statusbr.h>

TallywickFrame::~TallywickFrame() {
    m_pPreference->m_arrDirectory.Clear();
    for (unsigned i = 0; i < m_pSourceDirList->GetCount(); ++i)
        m_pPreference->m_arrDirectory.Add(m_pSourceDirList->GetString(i));
    m_pPreference->Save();
    delete m_pPreference;
    m_pPreference = nullptr;
    if (m_pCountingManager->m_nState == CountingManager::STATE_BUSY)
        m_pCountingManager->m_nState = CountingManager::STATE_STOPPED;
    delete m_pCountingManager;
    m_pCountingManager = nullptr;
    // The docking manager must let go of the frame before the child windows are destroyed.
    m_pAuiManager->UnInit();
    delete m_pAuiManager;
    m_pAuiManager = nullptr;
}

void TallywickFrame::CloseIfDue() {
    if (m_loops.CloseDue())
        Close(true);
}

void TallywickFrame::OnClose(wxCloseEvent& event) {
    const NestedLoops::Close verdict = m_loops.RequestClose();
    if (verdict != NestedLoops::Close::NOW) {
        // A run, a dialog or a menu is on the stack and would be destroyed under its feet:
        // stop the run; the close follows once they have returned.
        if (verdict == NestedLoops::Close::PUT_OFF &&
            m_pCountingManager->m_nState == CountingManager::STATE_BUSY)
            m_pCountingManager->Stop();
        // A menu would stay open until the user closes it.
        if (verdict == NestedLoops::Close::PUT_OFF && m_loops.OpenMenu())
            CloseNativeMenu(m_loops.OpenMenu());
        if (event.CanVeto())
            event.Veto();
        return;
    }
    // The rules are written here, once, so that a failed save can still be told.
    if (!m_pCountingManager->SaveRules())
        ShowConfirm(wxString::Format(_("The rules file could not be written: %s"),
                                     wxFileName(CountingManager::RULES_FILE).GetAbsolutePath()),
                    wxOK | wxCENTRE | wxICON_ERROR);
    m_loops.Closed();
    // A stop can come between a press on a tool and its release, while the tool holds the
    // pointer: a window destroyed with it would crash later.
    if (wxWindow* captured = GetCapture())
        captured->ReleaseMouse();
    Destroy();
}

void TallywickFrame::OnFullscreen(wxCommandEvent&) {
    const bool on = !IsFullScreen();
    long style = wxFULLSCREEN_NOBORDER | wxFULLSCREEN_NOCAPTION;
    if (m_pPreference->m_nHideMenuBar == 1)
        style |= wxFULLSCREEN_NOMENUBAR;
    if (m_pPreference->m_nHideStatusBar == 1)
        style |= wxFULLSCREEN_NOSTATUSBAR;
    ShowFullScreen(on, style);
    m_pToolBar->SetToolSticky(ID_TOOL_FULLSCREEN, on);
    m_pToolBar->RefreshRect(wxRect(m_pToolBar->GetPosition(), m_pToolBar->GetSize()), false);
}

void TallywickFrame::OnToolExportDropDown(wxCommandEvent&) {
    PopupToolMenu(ID_TOOL_EXPORT, m_menuExport);
}

void TallywickFrame::OnToolFilterDropDown(wxCommandEvent&) {
    PopupToolMenu(ID_TOOL_FILTER, m_menuFilter);
}

void TallywickFrame::OnToolDropDown(wxAuiToolBarEvent& event) {
    if (!event.IsDropDownClicked()) {
        event.Skip();
        return;
    }
    if (event.GetId() == ID_TOOL_EXPORT)
        PopupToolMenu(ID_TOOL_EXPORT, m_menuExport);
    else
        PopupToolMenu(ID_TOOL_FILTER, m_menuFilter);
}

void TallywickFrame::PopupToolMenu(long toolId, wxMenu& menu) {
    // Just below the tool, converted from the toolbar's coordinates to the frame's.
    const wxRect rect = m_pToolBar->GetToolRect(toolId);
    const wxPoint corner = m_pToolBar->ClientToScreen(rect.GetBottomRight());
    const NestedLoops::Scope popup = m_loops.Popup(menu);
    PopupMenu(&menu, ScreenToClient(corner - wxPoint(std::min(8, rect.width), 0)));
}

void TallywickFrame::OnSize(wxSizeEvent&) {
    ShowFrameSize();
    if (m_pAuiManager) // the docking manager has laid the panes out for the new size
        m_pAuiManager->FitDocks();
}

void TallywickFrame::ShowFrameSize() {
    if (!m_pStatusBar)
        return; // size events arrive while the frame is still being built
    const wxSize size = GetSize();
    m_pStatusBar->SetStatusText(
        wxString::Format(_("Frame Size: w = %d, h = %d"), size.GetWidth(), size.GetHeight()),
        StatusField::FRAME_SIZE);
    FitStatusFields();
}

void TallywickFrame::OnQuit(wxCommandEvent&) {
    Close(false);
}

void TallywickFrame::OnCharHook(wxKeyEvent& event) {
    // On this toolkit Alt with a letter opens the menu with that mnemonic (Alt-T: Tools)
    // before the item's own shortcut is seen.
    if (event.GetModifiers() == wxMOD_ALT) {
        long id = wxID_NONE;
        switch (event.GetKeyCode()) {
        case 'S':
            id = ID_MENU_START;
            break;
        case 'T':
            id = ID_MENU_STOP;
            break;
        case 'X':
            id = ID_MENU_QUIT;
            break;
        }
        if (id != wxID_NONE) {
            wxCommandEvent command(wxEVT_MENU, id);
            command.SetEventObject(this);
            ProcessWindowEvent(command);
            return;
        }
    }
    event.Skip();
}
