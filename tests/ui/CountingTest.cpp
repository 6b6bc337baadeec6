// A counting run from the window: the input checks, the run, Stop, the lists, sorting,
// filters and the grids.
#include "CountingManager.h"
#include "FileExtension.h"
#include "Preference.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <unistd.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/propgrid/propgrid.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {
std::string Lines(int code, int comments = 0, int blanks = 0) {
    std::string text;
    for (int i = 0; i < code; ++i)
        text += "x = 1;\n";
    for (int i = 0; i < comments; ++i)
        text += "// note\n";
    for (int i = 0; i < blanks; ++i)
        text += "\n";
    return text;
}

// Whether the list draws every title and cell in full: it cuts a cell whose text is wider
// than its column less 8 pixels, and a title wider than its column less its margins and the
// sort arrow.
testing::AssertionResult NothingCut(wxListCtrl* list) {
    for (int column = 0; column < list->GetColumnCount(); ++column) {
        const int width = list->GetColumnWidth(column);
        wxListItem title;
        title.SetMask(wxLIST_MASK_TEXT);
        list->GetColumn(column, title);
        if (list->GetTextExtent(title.GetText()).x > width - 24)
            return testing::AssertionFailure() << "title " << title.GetText();
        for (long row = 0; row < list->GetItemCount(); ++row)
            if (list->GetTextExtent(list->GetItemText(row, column)).x > width - 8)
                return testing::AssertionFailure() << list->GetItemText(row, column);
    }
    return testing::AssertionSuccess();
}

class CountingTest : public uitest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // One folder of three files and a subfolder of one; names and sizes chosen to show
        // numeric and case-sensitive order.
        root = uitest::WorkDir() + "/tree";
        uitest::WriteFile("tree/src/a.c", Lines(9, 1));
        uitest::WriteFile("tree/src/B.c", Lines(10, 0, 2));
        uitest::WriteFile("tree/src/c.h", Lines(1));
        uitest::WriteFile("tree/src/notes.txt", Lines(3));
        uitest::WriteFile("tree/src/lib/d.c", Lines(100, 20));
    }
    void Run() {
        uitest::Command(frame, TallywickFrame::ID_MENU_START);
        ASSERT_TRUE(frame->m_pBtnStart->IsEnabled()); // the run has returned
    }
    wxString Cell(long row, long column) const {
        return frame->m_pFileList->GetItemText(row, column);
    }
    wxString Status(int field) const { return frame->m_pStatusBar->GetStatusText(field); }
    void Refresh() { uitest::Command(frame->m_pBtnRefreshDir, wxEVT_BUTTON); }
    // Four hundred more files, enough for a run that can be interrupted.
    void PrepareLongRun() {
        for (int i = 0; i < 400; ++i)
            uitest::WriteFile(wxString::Format("tree/many/f%03d.c", i), Lines(5));
        uitest::PrepareRun(frame, wxArrayString(1, &root), wxArrayString(1, ".c"));
    }

    wxString root;
};

TEST_F(CountingTest, StartChecksItsInputsInOrder) {
    wxTEST_DIALOG(Run(), uitest::ExpectMessage("Please add source directory.", wxID_OK, wxOK));
    frame->m_pSourceDirList->Append(root);
    wxTEST_DIALOG(
        Run(), uitest::ExpectMessage("Please check counting directory.", wxID_OK, wxOK | wxCENTRE));
    frame->m_pSourceDirList->Check(0, true);
    wxTEST_DIALOG(Run(),
                  uitest::ExpectMessage("Please select source types.", wxID_OK, wxOK | wxCENTRE));
    EXPECT_EQ(Status(0), "Ready");
    EXPECT_EQ(frame->m_pCountingManager->m_nState, CountingManager::STATE_IDLE);
}

TEST_F(CountingTest, ARunFillsEveryViewAndASecondRunStartsAfresh) {
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.h", ';'));
    Run();
    EXPECT_EQ(Status(0), "Completed");
    EXPECT_EQ(Status(2), "Filtering result by: None");
    EXPECT_EQ(frame->m_pNotebook->GetSelection(), 0);
    EXPECT_TRUE(frame->m_pBtnStart->IsEnabled());
    EXPECT_FALSE(frame->m_pBtnStop->IsEnabled());

    // Rows in counting order: the folder's own files, then the subfolder's.
    ASSERT_EQ(frame->m_pFileList->GetItemCount(), 4);
    EXPECT_EQ(Cell(3, 0), "d.c");
    EXPECT_EQ(Cell(3, 1), ".c");
    EXPECT_EQ(Cell(3, 3), "120");
    EXPECT_EQ(Cell(3, 6), "20");
    EXPECT_TRUE(Cell(3, 9).Matches("*.??")); // drawn with two decimals
    EXPECT_EQ(frame->m_pDirList->GetItemCount(), 2);
    EXPECT_EQ(frame->m_pTypeList->GetItemCount(), 2);

    wxCheckListBox* exts = frame->m_pExtFilterList;
    ASSERT_EQ(exts->GetCount(), 2u);
    EXPECT_EQ(exts->GetString(0), ".c");
    EXPECT_TRUE(exts->IsChecked(0) && exts->IsChecked(1));
    EXPECT_EQ(frame->m_pDirFilterList->GetCount(), 2u);
    EXPECT_EQ(frame->m_pDateFilterList->GetCount(), 1u);

    wxPropertyGrid* sum = frame->m_pSummaryGrid;
    EXPECT_EQ(sum->GetPropertyValueAsLong("TotalLines"), 10 + 12 + 1 + 120);
    EXPECT_EQ(sum->GetPropertyValueAsLong("CommLines"), 21);
    EXPECT_EQ(sum->GetPropertyValueAsLong("Files"), 4);
    // 120 code lines at 4,000 lines and 10,000 dollars a man-month; design costs 100 %.
    const double coding = (9 + 10 + 1 + 100) / 4000.0 * 10000;
    EXPECT_NEAR(sum->GetPropertyValueAsDouble("CDCost"), coding, 0.01);
    EXPECT_NEAR(sum->GetPropertyValueAsDouble("LLDCost"), coding, 0.01);
    EXPECT_EQ(sum->GetPropertyValueAsString("CDCost"), "300.00");

    // A second run starts afresh; what could not be read is told once, as a warning.
    uitest::WriteFile("tree/src/lib/e.c", Lines(1));
    const wxString dangling = root + "/src/lib/gone.c";
    ASSERT_EQ(symlink("/nonexistent/gone.c", dangling.utf8_str()), 0);
    frame->m_pDirFilterList->Check(0, false);
    Run();
    EXPECT_EQ(frame->m_pSummaryGrid->GetPropertyValueAsLong("TotalLines"), 10 + 12 + 1 + 120 + 1);
    EXPECT_TRUE(frame->m_pDirFilterList->IsChecked(0));
    ASSERT_FALSE(uitest::LoggedMessages().empty());
    EXPECT_TRUE(uitest::LoggedMessages().Last().Contains("1 file or folder could not be read:\n" +
                                                         dangling));
    uitest::SaveScreenshot("counting-en");
}

TEST_F(CountingTest, StopEndsTheRunWithItsPartialResults) {
    PrepareLongRun();
    // Stop as a user would while the rows come in.
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (frame->m_pCountingManager->m_fileResults.size() >= 20)
            uitest::Command(frame->m_pBtnStop, wxEVT_BUTTON);
        else
            timer.StartOnce(1);
    });
    timer.StartOnce(1);
    Run();
    EXPECT_EQ(Status(0), "Canceled");
    const long rows = frame->m_pFileList->GetItemCount();
    EXPECT_GE(rows, 20);
    EXPECT_LT(rows, 403);
    EXPECT_EQ(frame->m_pSummaryGrid->GetPropertyValueAsLong("Files"), rows);
    EXPECT_GT(frame->m_pDirFilterList->GetCount(), 0u);
    EXPECT_TRUE(frame->m_pBtnStart->IsEnabled());
}

TEST_F(CountingTest, RowsAreDrawnAndFollowedWhileCounting) {
    PrepareLongRun();
    wxListCtrl* list = frame->m_pFileList;
    wxWindow* rows = list->GetChildren().front(); // the area below the titles
    std::size_t slowFile = 0;
    long top = -1, bottom = -1;
    wxImage drawn;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        const std::size_t counted = frame->m_pCountingManager->m_fileResults.size();
        if (counted >= 100 && !slowFile) {
            // A file that takes longer than the progress interval: the next one is shown.
            slowFile = counted;
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        } else if (slowFile) {
            top = list->GetTopItem();
            bottom = top + list->GetCountPerPage();
            // Between two steps the list may have to draw itself again, as when the pointer
            // passes over it.
            rows->Refresh();
            rows->Update();
            drawn = uitest::Drawn(rows);
            return;
        }
        timer.StartOnce(1);
    });
    timer.StartOnce(1);
    Run();
    EXPECT_GT(top, 0);
    EXPECT_GE(bottom, static_cast<long>(slowFile) - 2);
    // Rows of text on the list's background, not a blank or never painted area.
    EXPECT_FALSE(uitest::InkBounds(drawn).IsEmpty());
    EXPECT_GT(uitest::Share(drawn, rows->GetBackgroundColour()), 0.5);
}

TEST_F(CountingTest, ShortcutsWorkDuringARunWhateverHasTheFocus) {
    PrepareLongRun();
    frame->Raise();
    wxAuiTabCtrl* tabs = nullptr;
    for (wxWindow* child : frame->m_pNotebook->GetChildren())
        if (!tabs)
            tabs = dynamic_cast<wxAuiTabCtrl*>(child);
    ASSERT_NE(tabs, nullptr);
    const auto centre = [](const wxWindow* window, const wxRect& area) {
        return window->ClientToScreen(area.GetPosition() + area.GetSize() / 2);
    };
    // The first run starts with a click on Start, each other one with Alt-S in the state the
    // last run left. While it counts the user clicks somewhere, then presses Alt-T or Alt-X.
    struct Case {
        const char* clicked;
        wxPoint click;
        char key;
    };
    const Case cases[] = {
        {"nothing", wxDefaultPosition, 'T'},
        {"the file list", centre(frame->m_pFileList, frame->m_pFileList->GetClientRect()), 'T'},
        {"the Report tab", centre(tabs, tabs->GetPage(3).rect), 'T'},
        {"nothing", wxDefaultPosition, 'X'},
    };
    wxUIActionSimulator user;
    const Case* current = nullptr;
    int files = 0;
    bool acting = false;
    // The disk is slow, a few milliseconds a file; between files the user acts. Simulated
    // input waits until the toolkit has handled it, and files are still counted meanwhile.
    wxTimer slowDisk;
    slowDisk.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        slowDisk.StartOnce(1);
        if (wxTopLevelWindows.empty() || frame->m_pBtnStart->IsEnabled() || acting)
            return;
        acting = true;
        if (++files == 5 && current->click != wxDefaultPosition) {
            user.MouseMove(current->click);
            user.MouseClick();
        } else if (files == 15) {
            user.Char(current->key, wxMOD_ALT);
        }
        acting = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    });
    slowDisk.StartOnce(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(wxString::Format("Alt-%c after clicking %s", c.key, c.clicked));
        current = &c;
        files = 0;
        if (&c == cases) {
            user.MouseMove(centre(frame->m_pBtnStart, frame->m_pBtnStart->GetClientRect()));
            user.MouseClick();
        } else {
            user.Char('s', wxMOD_ALT);
        }
        if (c.key == 'X') {
            EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }));
            frame = nullptr;
            break;
        }
        ASSERT_TRUE(uitest::WaitFor([&] { return files > 0 && frame->m_pBtnStart->IsEnabled(); }));
        EXPECT_EQ(Status(0), "Canceled");
        EXPECT_LT(frame->m_pFileList->GetItemCount(), 100);
    }
}

TEST_F(CountingTest, ClosingDuringARunStopsItAndClosesWhenItHasReturned) {
    PrepareLongRun();
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { frame->Close(); });
    timer.StartOnce(1);
    uitest::Command(frame, TallywickFrame::ID_MENU_START);
    EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }));
    frame = nullptr;
}

TEST_F(CountingTest, PickingAnEarlierSourceTypeEntryCountsWhatItShows) {
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.zzz", ';'));
    uitest::PrepareRun(frame, wxArrayString(), wxArrayString(1, ".h"));
    frame->m_pCountingManager->GetFileExtension(".c")->m_bSelected = false;
    wxComboBox* types = frame->m_pSourceTypeCombo;
    types->SetSelection(0);
    uitest::Command(types, wxEVT_COMBOBOX);
    EXPECT_EQ(types->GetValue(), ".c;"); // the type that no longer exists is dropped
    Run();
    EXPECT_EQ(frame->m_pFileList->GetItemCount(), 3);
    EXPECT_EQ(frame->m_pExtFilterList->GetCount(), 1u);
}

TEST_F(CountingTest, HeaderClicksSortAndRefreshLeavesAscending) {
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.h", ';'));
    Run();
    const auto click = [&](int column) {
        wxListEvent event(wxEVT_LIST_COL_CLICK, TallywickFrame::ID_LC_DETAIL);
        event.m_col = column;
        frame->OnFileListColClick(event);
    };
    click(0);
    EXPECT_EQ(Cell(0, 0), "B.c"); // character order: capitals first
    click(0);
    EXPECT_EQ(Cell(0, 0), "d.c");
    click(3);
    EXPECT_EQ(Cell(0, 0), "c.h");
    EXPECT_EQ(Cell(1, 3), "10");
    EXPECT_EQ(Cell(2, 3), "12"); // numeric order, not text order
    click(3);
    EXPECT_EQ(Cell(0, 3), "120");
    Refresh();
    EXPECT_EQ(Cell(0, 3), "1");
    click(3);
    EXPECT_EQ(Cell(0, 3), "120");
}

TEST_F(CountingTest, TitlesStayOverTheirColumnsHoweverTheFileListIsScrolledSideways) {
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.h", ';'));
    Run();
    frame->Raise();
    wxListCtrl* list = frame->m_pFileList;
    wxWindow* titles = list->GetChildren().back();
    const wxRect area = list->GetScreenRect();
    const wxPoint row = area.GetPosition() + wxPoint(area.width / 2, titles->GetSize().y + 10);
    wxUIActionSimulator user;
    // Touchpads scroll through the same way as the scroll bar and the wheel.
    const std::pair<const char*, std::function<void()>> scrolls[] = {
        {"a click at the scroll bar's far end",
         [&] {
             // The bar shows once the pointer is near it; until then clicks fall on the rows.
             const int before = list->GetViewStart().x;
             user.MouseMove(area.GetBottomRight() - wxPoint(40, 5));
             uitest::WaitFor([&] {
                 user.MouseClick();
                 return list->GetViewStart().x != before;
             });
         }},
        {"the wheel over the rows",
         [&] {
             user.MouseMove(row);
             uitest::WheelSideways(-1);
         }},
        {"the Left key",
         [&] {
             user.MouseMove(row);
             user.MouseClick();
             user.Char(WXK_LEFT);
         }},
    };
    for (const auto& [how, scroll] : scrolls) {
        const int before = list->GetViewStart().x;
        scroll();
        ASSERT_TRUE(uitest::WaitFor([&] { return list->GetViewStart().x != before; })) << how;
        // The titles as drawn, against the same titles drawn afresh at this place.
        const wxImage drawn = uitest::Drawn(titles);
        titles->Refresh();
        titles->Update();
        const wxImage afresh = uitest::Drawn(titles);
        EXPECT_TRUE(std::equal(drawn.GetData(),
                               drawn.GetData() + drawn.GetWidth() * drawn.GetHeight() * 3,
                               afresh.GetData()))
            << "titles out of step after " << how;
    }
    // A click on the first title drawn whole sorts by that column.
    int unit = 0;
    list->GetScrollPixelsPerUnit(&unit, nullptr);
    int column = 0;
    int left = -list->GetViewStart().x * unit;
    for (; left < 0; ++column)
        left += list->GetColumnWidth(column);
    user.MouseMove(titles->ClientToScreen(wxPoint(left + 10, titles->GetSize().y / 2)));
    user.MouseClick();
    EXPECT_TRUE(uitest::WaitFor([&] { return frame->m_nSortColumn == column; })) << column;
}

TEST_F(CountingTest, FiltersHideWhatIsUncheckedAndTheStatusBarSaysWhich) {
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.h", ';'));
    Run();
    wxCheckListBox* dirs = frame->m_pDirFilterList;
    const int lib = dirs->FindString(root + "/src/lib");
    ASSERT_NE(lib, wxNOT_FOUND) << dirs->GetString(0);
    dirs->Check(lib, false);
    Refresh();
    EXPECT_EQ(frame->m_pFileList->GetItemCount(), 3);
    EXPECT_EQ(Status(2), "Filtering result by: Directory");
    EXPECT_EQ(frame->m_pSummaryGrid->GetPropertyValueAsLong("Files"), 3);

    // "Select All" checks everything on its first click and clears on its second.
    frame->m_pChkAllDirs->SetValue(true);
    uitest::Command(frame->m_pChkAllDirs, wxEVT_CHECKBOX, 1);
    EXPECT_TRUE(dirs->IsChecked(lib));
    uitest::Command(frame->m_pChkAllDirs, wxEVT_CHECKBOX, 0);
    EXPECT_FALSE(dirs->IsChecked(0));

    for (wxCheckListBox* list : {frame->m_pExtFilterList, frame->m_pDateFilterList})
        for (unsigned i = 0; i < list->GetCount(); ++i)
            list->Check(i, false);
    Refresh();
    Refresh(); // a second refresh still shows what the status bar says
    EXPECT_EQ(frame->m_pFileList->GetItemCount(), 0);
    EXPECT_EQ(Status(2), "Filtering result by: Directory | Extension | Modified Date");
    EXPECT_EQ(frame->m_pSummaryGrid->GetPropertyValueAsLong("Files"), 0);
}

TEST_F(CountingTest, TheFilterMenuShowsAndHidesThePanesAndRemembersThem) {
    wxAuiManager* aui = frame->m_pAuiManager;
    uitest::Command(frame, TallywickFrame::ID_MENU_FILTER_EXT);
    EXPECT_FALSE(aui->GetPane("Extension Filter").IsShown());
    EXPECT_EQ(frame->m_pPreference->m_nShowFilterExtension, 0);
    uitest::Command(frame, TallywickFrame::ID_MENU_ALL_FILTERS);
    EXPECT_TRUE(aui->GetPane("Extension Filter").IsShown());
    EXPECT_EQ(frame->m_pPreference->m_nShowFilterExtension, 1);
    uitest::Command(frame, TallywickFrame::ID_MENU_ALL_FILTERS);
    EXPECT_FALSE(aui->GetPane("Directory Filter").IsShown());
    EXPECT_EQ(frame->m_pPreference->m_nShowFilterModifiedDate, 0);
}

TEST_F(CountingTest, NoTitleOrFigureIsCut) {
    uitest::WriteFile("tree/a folder whose long name is read in full/big.c", Lines(100000));
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.h", ';'));
    Run();
    // After the run, and after a refresh that makes every cost ten times as large.
    for (int pass = 0; pass < 2; ++pass) {
        for (wxListCtrl* list : {frame->m_pFileList, frame->m_pDirList, frame->m_pTypeList})
            EXPECT_TRUE(NothingCut(list)) << list->GetName() << ", pass " << pass;
        frame->m_pAnalysisGrid->ChangePropertyValue("ManMonthCost", 100000L);
        frame->m_pAnalysisGrid->GetProperty("ManMonthCost")
            ->SetFlagRecursively(wxPG_PROP_MODIFIED, true);
        Refresh();
    }
}

TEST_F(CountingTest, TheSummaryShowsTwoDecimalsAndCannotBeTypedOver) {
    uitest::PrepareRun(frame, wxArrayString(1, &root), wxSplit(".c;.h", ';'));
    Run();
    frame->m_pNotebook->SetSelection(2);
    wxPropertyGrid* sum = frame->m_pSummaryGrid;
    // 120 lines of code, drawn as the cells show them (units aside).
    const std::pair<const char*, const char*> drawn[] = {
        {"UTCase", "6.00"}, {"UTDefect", "1.20"},  {"ITDefect", "0.24"},
        {"CDMM", "0.03"},   {"LLDCost", "300.00"}, {"TotalLines", "143"}};
    for (const auto& [name, text] : drawn)
        EXPECT_EQ(sum->GetProperty(name)->GetDisplayedString(), text) << name;

    // The user clicks a value and types over it.
    wxPGProperty* defects = sum->GetProperty("UTDefect");
    const wxRect cell = sum->GetPropertyRect(defects, defects);
    wxUIActionSimulator user;
    user.MouseMove(
        sum->ClientToScreen(wxPoint(sum->GetSplitterPosition() + 20, cell.y + cell.height / 2)));
    user.MouseClick();
    ASSERT_TRUE(uitest::WaitFor([&] { return sum->GetSelection() == defects; }));
    user.Text("999");
    user.Char(WXK_RETURN);
    uitest::Idle(200);
    auto* editor = wxDynamicCast(sum->GetEditorControl(), wxTextCtrl);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), "1.20");
    EXPECT_EQ(defects->GetDisplayedString(), "1.20");
    uitest::SaveScreenshot("summary-en");
}

TEST_F(CountingTest, TheAnalysisGridKeepsItsBoundsAndAnEditIsRead) {
    wxPropertyGrid* grid = frame->m_pAnalysisGrid;
    wxPGProperty* days = grid->GetProperty("ManMonthDays");
    ASSERT_NE(days, nullptr);
    wxPGValidationInfo info;
    wxVariant value(31L);
    EXPECT_TRUE(days->ValidateValue(value, info));
    value = 32L;
    EXPECT_FALSE(days->ValidateValue(value, info));
    EXPECT_EQ(grid->GetPropertyValueAsLong("LLD"), 100);

    frame->ReadAnalysisParam();
    EXPECT_FALSE(frame->m_analysisParam.m_bValid);
    grid->ChangePropertyValue("ManMonthDays", 22L); // as an edit of the user's
    grid->GetProperty("ManMonthDays")->SetFlagRecursively(wxPG_PROP_MODIFIED, true);
    frame->ReadAnalysisParam();
    EXPECT_TRUE(frame->m_analysisParam.m_bValid);
    EXPECT_EQ(frame->m_analysisParam.m_nManMonthDays, 22);
}
} // namespace
