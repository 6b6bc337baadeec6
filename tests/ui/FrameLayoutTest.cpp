// The main window as a user first sees it, and its window-state commands.
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>

namespace {
class FrameLayoutTest : public uitest::ProgramTest {};

TEST_F(FrameLayoutTest, PanesPagesAndToolbarAreWhereTheUserExpectsThem) {
    wxAuiManager* aui = frame->m_pAuiManager;
    struct PaneCase {
        const char* name;
        int direction;
        bool closable;
    };
    const PaneCase panes[] = {
        {"Result", wxAUI_DOCK_CENTER, false},
        {"Counting Settings", wxAUI_DOCK_LEFT, false},
        {"Analysis Parameter", wxAUI_DOCK_LEFT, false},
        {"Directory Filter", wxAUI_DOCK_RIGHT, true},
        {"Modified Date Filter", wxAUI_DOCK_RIGHT, true},
        {"Extension Filter", wxAUI_DOCK_RIGHT, true},
    };
    for (const PaneCase& c : panes) {
        const wxAuiPaneInfo& pane = aui->GetPane(c.name);
        ASSERT_TRUE(pane.IsOk()) << c.name;
        EXPECT_EQ(pane.caption, c.name);
        EXPECT_EQ(pane.dock_direction, c.direction) << c.name;
        EXPECT_EQ(pane.HasCloseButton(), c.closable) << c.name;
        EXPECT_TRUE(pane.IsShown()) << c.name;
    }
    EXPECT_FALSE(aui->GetPane("Counting Settings").IsRightDockable());
    EXPECT_TRUE(aui->GetPane("PaneName").IsToolbar());

    wxAuiNotebook* book = frame->m_pNotebook;
    ASSERT_EQ(book->GetPageCount(), 4u);
    const char* const pages[] = {"File", "Dir&Type", "Summary", "Report"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(book->GetPageText(i), pages[i]);
    EXPECT_EQ(book->GetSelection(), 3);

    wxAuiToolBar* bar = frame->m_pToolBar;
    EXPECT_EQ(bar->GetToolCount(), 7u); // six tools and a separator
    EXPECT_TRUE(bar->GetToolDropDown(TallywickFrame::ID_TOOL_EXPORT));
    EXPECT_TRUE(bar->GetToolDropDown(TallywickFrame::ID_TOOL_FILTER));
    EXPECT_FALSE(bar->GetToolDropDown(TallywickFrame::ID_TOOL_FULLSCREEN));
    EXPECT_EQ(bar->GetToolShortHelp(TallywickFrame::ID_TOOL_FILTER), "Show/Hide filter");
    for (int id : {TallywickFrame::ID_TOOL_EXPORT, TallywickFrame::ID_TOOL_ABOUT})
        EXPECT_TRUE(bar->FindTool(id)->GetBitmapBundle().IsOk());

    wxMenuBar* menus = frame->GetMenuBar();
    ASSERT_EQ(menus->GetMenuCount(), 3u);
    EXPECT_EQ(menus->GetMenuLabel(1), "&Tools");
    EXPECT_EQ(menus->FindItem(TallywickFrame::ID_MENU_STOP)->GetItemLabel(), "Stop\tAlt-T");
    EXPECT_EQ(menus->GetHelpString(TallywickFrame::ID_MENU_QUIT), "Quit the application");
    EXPECT_EQ(menus->FindItem(TallywickFrame::ID_MENU_ABOUT)->GetItemLabel(), "&About...\tF1");
    EXPECT_EQ(frame->m_menuFilter.GetMenuItemCount(), 5u);

    wxStatusBar* status = frame->m_pStatusBar;
    ASSERT_EQ(status->GetFieldsCount(), 4);
    EXPECT_EQ(status->GetStatusText(1), "");
    EXPECT_EQ(status->GetStatusText(2), "Filtering result by: None");
    const wxSize size = frame->GetSize();
    EXPECT_EQ(status->GetStatusText(3),
              wxString::Format("Frame Size: w = %d, h = %d", size.x, size.y));

    EXPECT_EQ(frame->GetDefaultItem(), frame->m_pBtnRefreshExt);
    const std::pair<const char*, wxWindow*> names[] = {
        {"ID_CHECKLISTBOX_DATE", frame->m_pDateFilterList},
        {"ID_BITMAPBUTTON5", frame->m_pBtnRefreshDate},
        {"ID_PANEL5", frame->m_pPanelExtFilter}};
    for (const auto& [name, window] : names)
        EXPECT_EQ(wxWindow::FindWindowByName(name, frame), window) << name;
    EXPECT_TRUE(frame->m_pChkRecursive->GetValue());
    EXPECT_FALSE(frame->m_pChkAllDirs->GetValue());
    EXPECT_EQ(frame->m_pFileList->GetColumnCount(), 16);
    EXPECT_EQ(frame->m_pDirList->GetColumnCount(), 8);
    EXPECT_TRUE(frame->m_pBtnStart->GetBitmapDisabled().IsOk());
    EXPECT_FALSE(frame->m_pBtnStop->IsEnabled()); // nothing to stop yet
}

TEST_F(FrameLayoutTest, FullscreenTwiceGivesTheNormalWindowBack) {
    uitest::Command(frame, TallywickFrame::ID_MENU_FULLSCREEN);
    EXPECT_TRUE(uitest::WaitFor([&] { return frame->IsFullScreen(); }));
    EXPECT_TRUE(frame->m_pToolBar->GetToolSticky(TallywickFrame::ID_TOOL_FULLSCREEN));
    EXPECT_TRUE(frame->m_pToolBar->IsShown());
    uitest::Command(frame, TallywickFrame::ID_MENU_FULLSCREEN);
    EXPECT_TRUE(uitest::WaitFor([&] { return !frame->IsFullScreen(); }));
    EXPECT_FALSE(frame->m_pToolBar->GetToolSticky(TallywickFrame::ID_TOOL_FULLSCREEN));
    EXPECT_TRUE(frame->GetMenuBar()->IsShown());
    EXPECT_TRUE(frame->m_pStatusBar->IsShown());
}

TEST_F(FrameLayoutTest, TheDropDownArrowOpensItsMenu) {
    // The popup menu is modal: note it opened, then dismiss it with Escape.
    wxMenu* opened = nullptr;
    frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
        opened = event.GetMenu();
        frame->CallAfter([] { wxUIActionSimulator().Char(WXK_ESCAPE); });
        event.Skip();
    });
    wxAuiToolBarEvent arrow(wxEVT_AUITOOLBAR_TOOL_DROPDOWN, TallywickFrame::ID_TOOL_FILTER);
    arrow.SetDropDownClicked(true);
    arrow.SetEventObject(frame->m_pToolBar);
    frame->m_pToolBar->ProcessWindowEvent(arrow);
    EXPECT_EQ(opened, &frame->m_menuFilter);
}
} // namespace
