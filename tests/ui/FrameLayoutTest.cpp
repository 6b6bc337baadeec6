// The main window as a user first sees it, in English and in Chinese, and its window-state
// commands. Texts are compared with their catalog's: one shown without the lookup stays
// English where the Chinese is expected.
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <array>
#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/config.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/propgrid/propgrid.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>

namespace {
using F = TallywickFrame;

wxString T(const char* text) {
    return *text ? wxGetTranslation(text) : wxString();
}

class FrameLayoutTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        wxConfigBase::Get()->Write("ui_language", GetParam());
        frame = uitest::StartProgram();
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override { uitest::CloseProgram(frame); }
    TallywickFrame* frame = nullptr;
};

TEST_P(FrameLayoutTest, PanesPagesBarsMenusAndTitlesAreWhereTheUserExpectsThem) {
    wxAuiManager* aui = frame->m_pAuiManager;
    const std::tuple<const char*, int, bool> panes[] = {
        {"Result", wxAUI_DOCK_CENTER, false},
        {"Counting Settings", wxAUI_DOCK_LEFT, false},
        {"Analysis Parameter", wxAUI_DOCK_LEFT, false},
        {"Directory Filter", wxAUI_DOCK_RIGHT, true},
        {"Modified Date Filter", wxAUI_DOCK_RIGHT, true},
        {"Extension Filter", wxAUI_DOCK_RIGHT, true},
    };
    for (const auto& [name, direction, closable] : panes) {
        const wxAuiPaneInfo& pane = aui->GetPane(name);
        ASSERT_TRUE(pane.IsOk()) << name;
        EXPECT_EQ(pane.caption, T(name));
        EXPECT_EQ(pane.dock_direction, direction) << name;
        EXPECT_EQ(pane.HasCloseButton(), closable) << name;
        EXPECT_TRUE(pane.IsShown()) << name;
    }
    EXPECT_FALSE(aui->GetPane("Counting Settings").IsRightDockable());
    EXPECT_TRUE(aui->GetPane("PaneName").IsToolbar());

    wxAuiNotebook* book = frame->m_pNotebook;
    ASSERT_EQ(book->GetPageCount(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(book->GetPageText(i), T(std::array{"File", "Dir&Type", "Summary", "Report"}[i]));
    EXPECT_EQ(book->GetSelection(), 3);

    // Six tools, a separator after the third.
    wxAuiToolBar* bar = frame->m_pToolBar;
    ASSERT_EQ(bar->GetToolCount(), 7u);
    const std::tuple<long, const char*, bool> tools[] = {
        {F::ID_TOOL_EXPORT, "Export Result", true},
        {F::ID_TOOL_FILTER, "Show/Hide filter", true},
        {F::ID_TOOL_FULLSCREEN, "Fullscreen", false},
        {F::ID_TOOL_LANGUAGE, "UI Language", false},
        {F::ID_TOOL_UPDATE, "Check for update", false},
        {F::ID_TOOL_ABOUT, "About", false}};
    for (int i = 0; i < 6; ++i) {
        const auto& [id, tip, dropDown] = tools[i];
        const wxAuiToolBarItem* tool = bar->FindToolByIndex(i < 3 ? i : i + 1);
        EXPECT_EQ(tool->GetId(), id) << tip;
        EXPECT_EQ(tool->GetShortHelp(), T(tip));
        EXPECT_EQ(tool->HasDropDown(), dropDown) << tip;
        EXPECT_TRUE(tool->GetBitmapBundle().IsOk()) << tip;
    }

    wxMenuBar* menus = frame->GetMenuBar();
    ASSERT_EQ(menus->GetMenuCount(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(menus->GetMenuLabel(i), T(std::array{"&File", "&Tools", "&Help"}[i]));
    wxMenu *file = menus->GetMenu(0), *tools2 = menus->GetMenu(1), *help = menus->GetMenu(2);
    wxMenu *exports = &frame->m_menuExport, *filters = &frame->m_menuFilter;
    const std::tuple<wxMenu*, long, const char*, const char*> items[] = {
        {file, F::ID_MENU_ADDDIR, "Add directory...", "Add directory"},
        {file, F::ID_MENU_SELTYPE, "Select source type...", "Select source type"},
        {file, F::ID_MENU_START, "Start\tAlt-S", "Start counting"},
        {file, F::ID_MENU_STOP, "Stop\tAlt-T", "Stop counting"},
        {file, F::ID_MENU_QUIT, "Quit\tAlt-X", "Quit the application"},
        {tools2, F::ID_MENU_LANGUAGE, "UI &Language...", "Change UI Language"},
        {tools2, F::ID_MENU_FULLSCREEN, "Fullscreen\tF11", "Fullscreen"},
        {help, F::ID_MENU_UPDATE, "Check for update...", "Check for update"},
        {help, F::ID_MENU_ABOUT, "&About...\tF1", "Show info about this application"},
        {exports, F::ID_MENU_EXPORT_HTML, "Export HTML...", "Export result as HTML file"},
        {exports, F::ID_MENU_EXPORT_CSV, "Export CSV...", "Export result as CSV file"},
        {&frame->m_menuListContext, F::ID_MENU_OPEN_DIR, "Open Directory", ""},
        {&frame->m_menuListContext, F::ID_MENU_OPEN_FILE, "Open File", ""},
        {filters, F::ID_MENU_ALL_FILTERS, "All Filters", "Show All Filters"},
        {filters, F::ID_MENU_FILTER_DIR, "Directory Filter", "Directory Filter"},
        {filters, F::ID_MENU_FILTER_EXT, "Extension Filter", "Extension Filter"},
        {filters, F::ID_MENU_FILTER_DATE, "Modified Date Filter", "Modified Date Filter"}};
    for (const auto& [menu, id, text, tip] : items) {
        const wxMenuItem* item = menu->FindItem(id);
        ASSERT_NE(item, nullptr) << text;
        EXPECT_EQ(item->GetItemLabel(), T(text));
        EXPECT_EQ(item->GetHelp(), T(tip)) << text;
    }
    EXPECT_EQ(frame->m_menuFilter.GetMenuItemCount(), 5u);

    ASSERT_EQ(frame->m_pStatusBar->GetFieldsCount(), 4);
    const wxSize size = frame->GetSize();
    const wxString fields[] = {T("Ready"), "", T("Filtering result by: ") + T("None"),
                               wxString::Format(T("Frame Size: w = %d, h = %d"), size.x, size.y)};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame->m_pStatusBar->GetStatusText(i), fields[i]) << i;

    const std::pair<wxListCtrl*, std::vector<const char*>> columns[] = {
        {frame->m_pFileList,
         {"File", "Type", "Folder", "Total Lines", "Code lines", "Code//Comment", "Comment lines",
          "Blank lines", "Size", "Man-hour", "Cost", "UT Cases", "UT Defects", "IT Cases",
          "IT Defects", "Modified Date"}},
        {frame->m_pDirList,
         {"Directory", "Count", "Size", "Lines", "Code lines", "Code//Comment", "Comment lines",
          "Blank lines"}},
        {frame->m_pTypeList,
         {"Type", "Count", "Size", "Lines", "Code lines", "Code//Comment", "Comment lines",
          "Blank lines"}}};
    for (const auto& [list, names] : columns) {
        ASSERT_EQ(list->GetColumnCount(), static_cast<int>(names.size()));
        wxListItem title;
        title.SetMask(wxLIST_MASK_TEXT);
        for (int i = 0; i < list->GetColumnCount() && list->GetColumn(i, title); ++i)
            EXPECT_EQ(title.GetText(), T(names[i])) << list->GetName() << ", " << i;
    }
    // Every label and unit of both grids is translated; only "%" stays as it is.
    for (wxPropertyGrid* grid : {frame->m_pAnalysisGrid, frame->m_pSummaryGrid})
        for (auto it = grid->GetIterator(wxPG_ITERATE_ALL); !it.AtEnd(); ++it)
            for (const wxString& text :
                 {(*it)->GetLabel(), (*it)->GetAttribute(wxPG_ATTR_UNITS).GetString()})
                EXPECT_TRUE(text == "%" || text.empty() ||
                            text.IsAscii() == (T("Files") == "Files"))
                    << text;

    EXPECT_EQ(frame->GetDefaultItem(), frame->m_pBtnRefreshExt);
    const std::pair<const char*, wxWindow*> names[] = {
        {"ID_CHECKLISTBOX_DATE", frame->m_pDateFilterList},
        {"ID_BITMAPBUTTON5", frame->m_pBtnRefreshDate},
        {"ID_PANEL5", frame->m_pPanelExtFilter}};
    for (const auto& [name, window] : names)
        EXPECT_EQ(wxWindow::FindWindowByName(name, frame), window) << name;
    EXPECT_TRUE(frame->m_pChkRecursive->GetValue());
    for (wxCheckBox* all : {frame->m_pChkAllDirs, frame->m_pChkAllExts, frame->m_pChkAllDates})
        EXPECT_FALSE(all->GetValue());
    EXPECT_TRUE(frame->m_pBtnStart->GetBitmapDisabled().IsOk());
    EXPECT_FALSE(frame->m_pBtnStop->IsEnabled()); // nothing to stop yet
}

TEST_P(FrameLayoutTest, F11AndTheMenuSwitchFullScreenAndToolsOpenTheirMenus) {
    frame->Raise();
    frame->m_pBtnStart->SetFocus();
    wxUIActionSimulator().Char(WXK_F11);
    EXPECT_TRUE(uitest::WaitFor([&] { return frame->IsFullScreen(); }));
    EXPECT_TRUE(frame->m_pToolBar->GetToolSticky(F::ID_TOOL_FULLSCREEN));
    EXPECT_TRUE(frame->m_pToolBar->IsShown());
    uitest::Command(frame, F::ID_MENU_FULLSCREEN);
    EXPECT_TRUE(uitest::WaitFor([&] { return !frame->IsFullScreen(); }));
    EXPECT_FALSE(frame->m_pToolBar->GetToolSticky(F::ID_TOOL_FULLSCREEN));
    EXPECT_TRUE(frame->GetMenuBar()->IsShown());
    EXPECT_TRUE(frame->m_pStatusBar->IsShown());

    // The export and filter tools open their own menus. A popup menu is modal: note which opened,
    // then dismiss it with Escape.
    wxMenu* opened = nullptr;
    frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
        opened = event.GetMenu();
        frame->CallAfter([] { wxUIActionSimulator().Char(WXK_ESCAPE); });
        event.Skip();
    });
    const std::pair<long, wxMenu*> tools[] = {{F::ID_TOOL_EXPORT, &frame->m_menuExport},
                                              {F::ID_TOOL_FILTER, &frame->m_menuFilter}};
    for (const auto& [id, menu] : tools)
        for (bool arrow : {false, true}) {
            opened = nullptr;
            wxAuiToolBarEvent click(arrow ? wxEVT_AUITOOLBAR_TOOL_DROPDOWN : wxEVT_MENU, id);
            click.SetDropDownClicked(arrow);
            click.SetEventObject(frame->m_pToolBar);
            frame->m_pToolBar->ProcessWindowEvent(click);
            EXPECT_EQ(opened, menu) << (arrow ? "arrow of tool " : "tool ") << id;
        }
}

INSTANTIATE_TEST_SUITE_P(Languages, FrameLayoutTest, testing::Values("en", "zh_CN"));
} // namespace
