// The window at the size of a first start, after a run over a tree with long folder names, in
// each interface language: what a user reads without widening or scrolling anything.
#include "ColumnWidths.h"
#include "CountingManager.h"
#include "DockingManager.h"
#include "FileResult.h"
#include "ResultText.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/propgrid/propgrid.h>

namespace {
class DefaultSizeTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        wxConfigBase::Get()->Write("ui_language", GetParam());
        frame = uitest::StartProgram();
        ASSERT_NE(frame, nullptr);
        // Long names at every level, as in a checkout of a large project.
        root = uitest::WorkDir() + "/deep";
        wxString dir = root;
        for (const char* level :
             {"/an_application_with_a_descriptive_name", "/platform_independent_sources",
              "/communication_and_networking_layer", "/protocol_implementations_version_two"}) {
            dir += level;
            uitest::WriteFile(dir.Mid(uitest::WorkDir().length() + 1) +
                                  "/a_source_file_with_a_long_name.c",
                              "int x;\n// note\n\n");
        }
        // Enough lines for costs in the millions, the widest figures of the summary.
        std::string lines;
        for (int i = 0; i < 2000000; ++i)
            lines += "x;\n";
        uitest::WriteFile(dir.Mid(uitest::WorkDir().length() + 1) + "/big.c", lines);
    }
    void TearDown() override {
        if (frame)
            uitest::CloseProgram(frame);
    }
    void Show(int page) {
        frame->m_pNotebook->SetSelection(page);
        uitest::Idle(200);
    }

    TallywickFrame* frame = nullptr;
    wxString root;
};

// Whether the column starts and ends inside the part of the list that shows, as drawn.
testing::AssertionResult InView(wxListCtrl* list, int column) {
    wxRect cell;
    if (!list->GetSubItemRect(0, column, cell))
        return testing::AssertionFailure() << "no row";
    const int visible = list->GetClientSize().x;
    if (cell.GetLeft() < 0 || cell.GetRight() >= visible)
        return testing::AssertionFailure()
               << list->GetName() << " column " << column << " at " << cell.GetLeft() << ".."
               << cell.GetRight() << ", visible up to " << visible;
    return testing::AssertionSuccess();
}

// Whether every summary label and value shows whole, units included.
testing::AssertionResult SummaryReadsWhole(wxPropertyGrid* grid) {
    wxPropertyGridPageState* state = grid->GetState();
    const auto room = [grid](const wxString& text) {
        return grid->GetTextExtent(text).x + 2 * wxPG_XBEFORETEXT;
    };
    for (wxPropertyGridIterator it = grid->GetIterator(); !it.AtEnd(); ++it) {
        wxPGProperty* property = *it;
        const wxString value = property->GetDisplayedString() + " " +
                               property->GetAttribute(wxPG_ATTR_UNITS).GetString();
        if (room(property->GetLabel()) > state->GetColumnWidth(0) ||
            room(value) > state->GetColumnWidth(1))
            return testing::AssertionFailure() << property->GetLabel() << ": " << value;
    }
    return testing::AssertionSuccess();
}

TEST_P(DefaultSizeTest, TheFiguresTabsAndSummaryReadWholeAfterARun) {
    const wxString language = GetParam();
    uitest::Count(frame, {root}, {".c"});
    // The first figures beside the names, on both lists; the names shortened in the middle,
    // and whole in a column the user widens.
    const std::tuple<int, wxListCtrl*, int, const char*> lists[] = {
        {0, frame->m_pFileList, 2, "file"}, {1, frame->m_pDirList, 0, "dirtype"}};
    for (const auto& [page, list, folder, name] : lists) {
        Show(page);
        for (int column : {3, 4})
            EXPECT_TRUE(InView(list, column));
        const long deepest = list->GetItemCount() - 1;
        const wxString shown = list->GetItemText(deepest, folder);
        const wxString start = shown.BeforeFirst('.'), end = shown.AfterLast('.');
        EXPECT_TRUE(shown.Contains("...") && start.length() > 1 && end.length() > 1 &&
                    root.StartsWith(start) && wxString("version_two").EndsWith(end))
            << shown;
        uitest::SaveScreenshot(wxString("default-") + name + "-" + language);
        uitest::WidenColumnsByHand(list);
        frame->SetSize(frame->GetSize() + wxSize(0, 1)); // resizing keeps the user's widths
        uitest::Idle(200);
        EXPECT_TRUE(list->GetItemText(deepest, folder).EndsWith("version_two"));
    }

    // The four tabs and every summary label and value.
    Show(2);
    wxAuiTabCtrl* tabs = frame->m_pNotebook->GetActiveTabCtrl();
    wxClientDC dc(tabs);
    for (size_t page = 0; page < 4; ++page)
        EXPECT_TRUE(tabs->IsTabVisible(page, tabs->GetTabOffset(), &dc, tabs)) << page;
    EXPECT_TRUE(SummaryReadsWhole(frame->m_pSummaryGrid));
    uitest::SaveScreenshot("default-summary-" + language);

    // A new run shows the names again, whichever column the last one was scrolled to.
    Show(0);
    frame->m_pFileList->Scroll(50, -1);
    ASSERT_GT(frame->m_pFileList->GetViewStart().x, 0);
    uitest::Count(frame, {root}, {".c"});
    EXPECT_EQ(frame->m_pFileList->GetViewStart().x, 0);
    EXPECT_TRUE(InView(frame->m_pFileList, 0));
}

// As the window narrows, the filters give way first and then the settings, each down to its
// minimum, while the results keep what they need; widened again, the window is as before.
TEST_P(DefaultSizeTest, TheSidePanesGiveWayAsTheWindowNarrows) {
    uitest::Count(frame, {root}, {".c"});
    Show(2);
    DockingManager* docks = frame->m_pAuiManager;
    const int left = docks->DockWidth(wxAUI_DOCK_LEFT), right = docks->DockWidth(wxAUI_DOCK_RIGHT);
    const wxSize start = frame->GetClientSize();
    const auto atMinimum = [docks](int direction) {
        return docks->DockWidth(direction) == docks->DockMinWidth(direction);
    };
    for (const wxSize& size : {wxSize(800, 600), wxSize(650, 500), wxSize(500, 380), start}) {
        frame->SetClientSize(size);
        uitest::Idle(300);
        const bool leftGaveWay = docks->DockWidth(wxAUI_DOCK_LEFT) < left;
        EXPECT_TRUE(!leftGaveWay || atMinimum(wxAUI_DOCK_RIGHT)) << size.x;
        EXPECT_TRUE(SummaryReadsWhole(frame->m_pSummaryGrid) ||
                    (atMinimum(wxAUI_DOCK_LEFT) && atMinimum(wxAUI_DOCK_RIGHT)))
            << size.x;
        EXPECT_GT(docks->GetPane(frame->m_pNotebook).rect.width, 50) << size.x;
        if (size.x == 500) { // nothing left to give
            EXPECT_TRUE(atMinimum(wxAUI_DOCK_LEFT) && atMinimum(wxAUI_DOCK_RIGHT));
        }
    }
    EXPECT_EQ(docks->DockWidth(wxAUI_DOCK_LEFT), left);
    EXPECT_EQ(docks->DockWidth(wxAUI_DOCK_RIGHT), right);
}

// The File list's name, type, folder and first figures, over trees of short, long and mixed
// names: the names take what they need first, the folders what is left, and between them they
// fill the width; no column is wider than its texts need.
TEST_P(DefaultSizeTest, NamesTakeTheirRoomBeforeFolders) {
    const std::pair<const char*, std::vector<const char*>> trees[] = {
        {"long", {"a_folder_with_a_long_descriptive_name/a_source_file_with_a_long_name.c"}},
        {"mixed", {"a_folder_with_a_long_descriptive_name/main.c", "s/the_longest_name_here.c"}},
        {"short", {"s/report_gen.cpp", "s/short1.c", "s/short2.c", "s/short3.c"}}};
    wxListCtrl* list = frame->m_pFileList;
    for (const auto& [tree, files] : trees) {
        for (const char* file : files)
            uitest::WriteFile(wxString("names/") + tree + "/" + file, "int x;\n");
        uitest::Count(frame, {uitest::WorkDir() + "/names/" + tree}, {".c", ".cpp"});
        Show(0);
        ColumnWidths texts(list);
        for (const auto& file : frame->m_pCountingManager->m_fileResults)
            for (int column : {0, 1, 2})
                texts.Offer(column, FileRowText(*file, column));
        const std::vector<int> needed = texts.Needed(), floors = texts.TitleWidths();
        const int name = list->GetColumnWidth(0), folder = list->GetColumnWidth(2);
        int used = 0;
        for (int column = 0; column <= 4; ++column)
            used += list->GetColumnWidth(column);
        EXPECT_TRUE(name <= needed[0] && folder <= needed[2]) << tree;
        // The names take no room from the settings beside them.
        EXPECT_TRUE(SummaryReadsWhole(frame->m_pAnalysisGrid)) << tree;
        // Unsorted, the folder's title needs no room for the sort arrow.
        const int folderFloor = floors[2] - ColumnWidths::SORT_ARROW_WIDTH;
        EXPECT_TRUE(name == needed[0] || folder == folderFloor) << tree << ": " << name;
        EXPECT_TRUE(used == list->GetClientSize().x || (name == needed[0] && folder == needed[2]))
            << tree << ": " << used;
        // Sorted by folder, its title gets the arrow's room back.
        wxListEvent click(wxEVT_LIST_COL_CLICK, list->GetId());
        click.SetEventObject(list);
        click.m_col = 2;
        list->GetEventHandler()->ProcessEvent(click);
        EXPECT_GE(list->GetColumnWidth(2), std::min(floors[2], needed[2])) << tree;
        click.m_col = 0;
        list->GetEventHandler()->ProcessEvent(click);
    }
    // The last tree's short names read whole.
    for (long row = 0; row < list->GetItemCount(); ++row)
        EXPECT_FALSE(list->GetItemText(row, 0).Contains("...")) << list->GetItemText(row, 0);
    uitest::SaveScreenshot(wxString("default-file-short-") + GetParam());
}

// The columns follow every size of the window, reached in one step or many, until a column is
// dragged; the next run fits them again.
TEST_P(DefaultSizeTest, TheColumnsFollowEverySizeUntilOneIsDragged) {
    uitest::Count(frame, {root}, {".c"});
    Show(0);
    wxListCtrl* list = frame->m_pFileList;
    wxWindow* titles = list->GetChildren().back();
    const auto widths = [list] {
        std::vector<int> widths;
        for (int column = 0; column <= 4; ++column)
            widths.push_back(list->GetColumnWidth(column));
        return widths;
    };
    const auto resize = [this](const wxRect& rect) {
        frame->SetSize(rect);
        uitest::Idle(300);
    };
    const auto drawnTitles = [&] {
        const wxImage image = uitest::Drawn(titles);
        return image.GetSubImage(wxRect(0, 0, list->GetClientSize().x, image.GetHeight()));
    };
    resize(wxRect(0, 0, 1400, 900));
    const std::vector<int> wide = widths();
    const wxImage drawn = drawnTitles();
    // Shrunk, then moved and sized, or only sized, in one step, as a maximise or a snap does;
    // also while another page shows.
    const std::pair<wxRect, int> steps[] = {
        {wxRect(0, 0, 1400, 900), 0}, {wxRect(-1, -1, 1400, 900), 0}, {wxRect(0, 0, 1400, 900), 2}};
    for (const auto& [size, page] : steps) {
        resize(wxRect(50, 40, 640, 480));
        ASSERT_NE(widths(), wide);
        Show(page);
        resize(size);
        Show(0);
        EXPECT_EQ(widths(), wide) << size.x << ", page " << page;
        const wxImage now = drawnTitles();
        EXPECT_TRUE(std::equal(drawn.GetData(),
                               drawn.GetData() + drawn.GetWidth() * drawn.GetHeight() * 3,
                               now.GetData()))
            << size.x;
    }
    uitest::WidenColumnsByHand(list, 300);
    resize(wxRect(0, 0, 1300, 900));
    EXPECT_EQ(widths(), std::vector<int>(5, 300)); // the user's widths stay
    uitest::Count(frame, {root}, {".c"});
    resize(wxRect(0, 0, 1400, 900));
    EXPECT_EQ(widths(), wide);
}

INSTANTIATE_TEST_SUITE_P(Languages, DefaultSizeTest, testing::Values("en", "zh_CN", "ja"));
} // namespace
