// A counting run from the window: the input checks, what the lists, filters and grids show,
// sorting, filtering, Stop and the shortcuts during a run.
#include "ColumnWidths.h"
#include "CountingManager.h"
#include "Preference.h"
#include "ResultText.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include "CrvHtmlWin.h"
#include <algorithm>
#include <chrono>
#include <set>
#include <thread>
#include <unistd.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/propgrid/propgrid.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {
// Lines of code, of code with a comment, of comments and blank lines, in that order.
std::string Lines(int code, int codeComment = 0, int comments = 0, int blanks = 0) {
    std::string text;
    for (int i = 0; i < code; ++i)
        text += "x = 1;\n";
    for (int i = 0; i < codeComment; ++i)
        text += "x = 1; // c\n";
    for (int i = 0; i < comments; ++i)
        text += "// note\n";
    return text.append(blanks, '\n');
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
        // A title leaves room for the sort arrow where the arrow shows.
        const int margins =
            column == list->GetSortIndicator() ? 24 : 24 - ColumnWidths::SORT_ARROW_WIDTH;
        if (list->GetTextExtent(title.GetText()).x > width - margins)
            return testing::AssertionFailure() << "title " << title.GetText();
        for (long row = 0; row < list->GetItemCount(); ++row)
            if (list->GetTextExtent(list->GetItemText(row, column)).x > width - 8)
                return testing::AssertionFailure() << list->GetItemText(row, column);
    }
    return testing::AssertionSuccess();
}

// The filter's items whole, as it reads them; long ones show shortened.
std::vector<wxString> Items(const ShortenedCheckListBox* list, bool checkedOnly = false) {
    std::vector<wxString> items;
    for (unsigned i = 0; i < list->GetCount(); ++i)
        if (!checkedOnly || list->IsChecked(i))
            items.push_back(list->GetKey(i));
    return items;
}

// The folders that the report's view lists under "Folders".
std::vector<wxString> ReportedFolders(CrvHtmlWin* view) {
    std::vector<wxString> folders;
    bool listed = false;
    for (const wxString& line : wxSplit(view->ToText(), '\n', '\0')) {
        if (line == _("Source types"))
            break;
        if (listed && !line.empty())
            folders.push_back(line);
        listed = listed || line == _("Folders");
    }
    return folders;
}

// Each title sorts its column both ways; figures by value, names by character code
// (capitals first), dates as written; a refresh sorts ascending.
void ExpectSortable(wxListCtrl* list, wxWindow* refresh) {
    const auto click = [&](int column) {
        wxListEvent event(wxEVT_LIST_COL_CLICK, list->GetId());
        event.SetEventObject(list);
        event.m_col = column;
        list->GetEventHandler()->ProcessEvent(event);
    };
    const auto sorted = [&](int column, bool ascending) {
        for (long row = 1; row < list->GetItemCount(); ++row) {
            const wxString a = list->GetItemText(row - 1, column),
                           b = list->GetItemText(row, column);
            double x = 0, y = 0;
            const bool figures = column >= 3 && column <= 14 && a.ToCDouble(&x) && b.ToCDouble(&y);
            const int order = figures ? (x > y) - (x < y) : a.compare(b);
            EXPECT_FALSE(ascending ? order > 0 : order < 0) << column << ": " << a << ", " << b;
        }
    };
    for (int column = 0; column < 16; ++column)
        for (bool ascending : {true, false}) {
            click(column);
            sorted(column, ascending);
        }
    uitest::Command(refresh, wxEVT_BUTTON);
    sorted(15, true);
    click(15);
    sorted(15, false);
}

class CountingTest : public uitest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Each column puts the four files in another order, and a run meets the types and
        // days out of order: the folder holds the newest file, the only .h, before its
        // subfolder.
        root = uitest::WorkDir() + "/tree";
        const std::tuple<const char*, std::string, const char*> files[] = {
            {"c.h", Lines(5, 10, 9, 2), "2023-11-30"},
            {"lib/a.c", Lines(10, 8, 5, 4), "2019-01-02"},
            {"lib/B.c", Lines(7, 7, 10, 12), "2020-07-04"},
            {"lib/d.c", Lines(100, 2, 20), "2021-06-15"},
            {"notes.txt", Lines(3), "2022-02-02"}};
        for (const auto& [path, text, day] : files) {
            wxDateTime noon;
            noon.ParseISODate(day);
            noon.SetHour(12);
            wxFileName(uitest::WriteFile("tree/" + wxString(path), text))
                .SetTimes(&noon, &noon, nullptr);
        }
    }
    void Run() { uitest::Command(frame, TallywickFrame::ID_MENU_START); }
    wxString Status(int field) const { return frame->m_pStatusBar->GetStatusText(field); }
    long Rows() const { return frame->m_pFileList->GetItemCount(); }
    long Files() const { return frame->m_pSummaryGrid->GetPropertyValueAsLong("Files"); }
    std::size_t Counted() const { return frame->m_pCountingManager->m_fileResults.size(); }
    bool Running() const { return !frame->m_pBtnStart->IsEnabled(); }
    // Four hundred more files, enough for a run that can be interrupted.
    void PrepareLongRun() {
        for (int i = 0; i < 400; ++i)
            uitest::WriteFile(wxString::Format("tree/many/f%03d.c", i), Lines(5));
        uitest::Count(frame, {root}, {".c"}, false);
    }

    wxString root;
};

// Start checks its inputs in order; the analysis grid keeps its bounds.
TEST_F(CountingTest, BeforeARunStartChecksItsInputsAndTheGridItsBounds) {
    const std::pair<const char*, long> told[] = {
        {"Please add source directory.", wxOK},
        {"Please check counting directory.", wxOK | wxCENTRE},
        {"Please select source types.", wxOK | wxCENTRE}};
    for (const auto& [text, style] : told) {
        wxTEST_DIALOG(Run(), uitest::ExpectMessage(text, wxID_OK, style));
        if (frame->m_pSourceDirList->IsEmpty())
            frame->m_pSourceDirList->Append(root);
        else
            frame->m_pSourceDirList->Check(0, true);
    }
    EXPECT_EQ(Status(0), "Ready");
    EXPECT_EQ(frame->m_pCountingManager->m_nState, CountingManager::STATE_IDLE);
    // The analysis grid at its defaults, and the bounds it keeps: name, start, lowest, highest.
    const std::tuple<const char*, long, long, long> rows[] = {{"ManMonthLines", 4000, 1000, 100000},
                                                              {"ManMonthDays", 20, 15, 31},
                                                              {"ManMonthCost", 10000, 1, 100000},
                                                              {"UTCaseDensity", 50, 1, 200},
                                                              {"UTDefectDensity", 10, 1, 20},
                                                              {"ITCaseDensity", 20, 1, 100},
                                                              {"ITDefectDensity", 2, 1, 10},
                                                              {"LLD", 100, 10, 500},
                                                              {"UT", 100, 10, 500},
                                                              {"IT", 40, 10, 500}};
    for (const auto& [name, start, min, max] : rows) {
        wxPGProperty* property = frame->m_pAnalysisGrid->GetProperty(name);
        ASSERT_NE(property, nullptr) << name;
        EXPECT_EQ(property->GetValue().GetLong(), start) << name;
        for (long value : {min - 1, min, max, max + 1}) {
            wxVariant variant(value);
            wxPGValidationInfo info;
            EXPECT_EQ(property->ValidateValue(variant, info), value >= min && value <= max)
                << name << " " << value;
        }
    }
}

TEST_F(CountingTest, ARunShowsEachFigureInItsColumnRowAndList) {
    // Estimates from 1,000 lines a man-month and design and unit tests at 120 and 80 % of
    // coding, as the user enters them; every figure below then differs from its neighbours.
    for (const auto& [name, value] :
         {std::pair("ManMonthLines", 1000L), {"LLD", 120L}, {"UT", 80L}}) {
        frame->m_pAnalysisGrid->ChangePropertyValue(name, value);
        frame->m_pAnalysisGrid->GetProperty(name)->SetFlagRecursively(wxPG_PROP_MODIFIED, true);
    }
    uitest::Count(frame, {root}, {".c", ".h"});
    EXPECT_EQ(Status(0), "Completed");
    EXPECT_EQ(Status(2), "Filtering result by: None");
    EXPECT_EQ(frame->m_pNotebook->GetSelection(), 0);
    EXPECT_TRUE(frame->m_pBtnStart->IsEnabled());
    EXPECT_FALSE(frame->m_pBtnStop->IsEnabled());

    const std::tuple<wxListCtrl*, long, std::vector<wxString>> rows[] = {
        {frame->m_pFileList,
         4,
         {"a.c", ".c", root + "/lib", "27", "10", "8", "5", "4", "210", "2.88", "180.00", "0.90",
          "0.18", "0.36", "0.04", "2019-01-02"}},
        {frame->m_pDirList, 2, {root + "/lib", "3", "1319", "185", "117", "17", "35", "16"}},
        {frame->m_pTypeList, 2, {".h", "1", "229", "26", "5", "10", "9", "2"}}};
    for (const auto& [list, count, cells] : rows) {
        ASSERT_EQ(list->GetItemCount(), count) << list->GetName();
        uitest::WidenColumnsByHand(list); // folders are shortened at this size
        const long row = list->FindItem(-1, cells[0]);
        ASSERT_NE(row, -1) << cells[0];
        for (std::size_t column = 0; column < cells.size(); ++column)
            EXPECT_EQ(list->GetItemText(row, column), cells[column]) << cells[0] << ", " << column;
    }
    // Folders in the order met, types and days sorted; all checked.
    const std::pair<ShortenedCheckListBox*, std::vector<wxString>> filters[] = {
        {frame->m_pDirFilterList, {root, root + "/lib"}},
        {frame->m_pExtFilterList, {".c", ".h"}},
        {frame->m_pDateFilterList, {"2019-01-02", "2020-07-04", "2021-06-15", "2023-11-30"}}};
    for (const auto& [list, items] : filters)
        EXPECT_EQ(Items(list, true), items);
    // As the cells show them, units aside.
    const std::pair<const char*, const char*> summary[] = {
        {"TotalLines", "211"}, {"CodeLines", "122"},  {"CodeCommLines", "27"},
        {"CommLines", "44"},   {"BlankLines", "18"},  {"UTCase", "7.45"},
        {"UTDefect", "1.49"},  {"ITCase", "2.98"},    {"ITDefect", "0.30"},
        {"Files", "4"},        {"Size", "1548"},      {"LLDCost", "1788.00"},
        {"LLDMM", "0.18"},     {"CDCost", "1490.00"}, {"CDMM", "0.15"},
        {"UTCost", "1192.00"}, {"UTMM", "0.12"},      {"ITCost", "596.00"},
        {"ITMM", "0.06"}};
    for (const auto& [name, text] : summary)
        EXPECT_EQ(frame->m_pSummaryGrid->GetProperty(name)->GetDisplayedString(), text) << name;

    // A second run, without subfolders, starts afresh. Files that cannot be read are listed
    // and told once, with the first ten names.
    for (int i = 0; i < 11; ++i)
        ASSERT_EQ(symlink("/nonexistent", (root + wxString::Format("/gone%d.h", i)).utf8_str()), 0);
    frame->m_pDirFilterList->Check(0, false);
    frame->m_pChkRecursive->SetValue(false);
    Run();
    EXPECT_EQ(Rows(), 12);
    EXPECT_EQ(frame->m_pDirList->GetItemCount(), 1);
    EXPECT_EQ(frame->m_pTypeList->GetItemCount(), 1);
    EXPECT_EQ(Items(frame->m_pDirFilterList, true), std::vector<wxString>{root});
    EXPECT_EQ(Items(frame->m_pExtFilterList, true), std::vector<wxString>{".h"});
    EXPECT_EQ(Items(frame->m_pDateFilterList, true).size(), 2u); // the links' and c.h's days
    ASSERT_FALSE(uitest::LoggedMessages().empty());
    const wxArrayString told = wxSplit(uitest::LoggedMessages().Last(), '\n', '\0');
    ASSERT_EQ(told.size(), 12u) << uitest::LoggedMessages().Last();
    EXPECT_TRUE(told[0].EndsWith("11 files or folders could not be read:")) << told[0];
    for (std::size_t i = 1; i < 11; ++i)
        EXPECT_TRUE(told[i].StartsWith(root + "/gone")) << told[i];
    EXPECT_EQ(told[11], "...");
    uitest::SaveScreenshot("counting-en");
}

TEST_F(CountingTest, DuringARunOnlyStopIsOnAndStopKeepsWhatWasCounted) {
    PrepareLongRun();
    wxWindow* const inputs[] = {
        frame->m_pSourceDirList,  frame->m_pBtnAddDir,       frame->m_pBtnDeleteDir,
        frame->m_pChkRecursive,   frame->m_pSourceTypeCombo, frame->m_pBtnSelectType,
        frame->m_pBtnStart,       frame->m_pAnalysisGrid,    frame->m_pBtnRefreshAnalysis,
        frame->m_pDirFilterList,  frame->m_pChkAllDirs,      frame->m_pBtnRefreshDir,
        frame->m_pExtFilterList,  frame->m_pChkAllExts,      frame->m_pBtnRefreshExt,
        frame->m_pDateFilterList, frame->m_pChkAllDates,     frame->m_pBtnRefreshDate,
        frame->m_pFileList,       frame->m_pDirList,         frame->m_pTypeList};
    std::vector<wxString> onDuringRun;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (Counted() < 20) {
            timer.StartOnce(1);
            return;
        }
        for (wxWindow* input : inputs)
            if (input->IsEnabled())
                onDuringRun.push_back(input->GetName());
        EXPECT_TRUE(frame->m_pBtnStop->IsEnabled());
        // Commands whose dialogs would change what is counted do nothing (a dialog fails the
        // test); Start does not start another run.
        for (long id : {TallywickFrame::ID_MENU_ADDDIR, TallywickFrame::ID_MENU_SELTYPE,
                        TallywickFrame::ID_MENU_EXPORT_HTML, TallywickFrame::ID_MENU_EXPORT_CSV,
                        TallywickFrame::ID_MENU_START})
            uitest::Command(frame, id);
        uitest::Command(frame->m_pBtnSelectType, wxEVT_BUTTON);
        uitest::Command(frame->m_pBtnStop, wxEVT_BUTTON);
    });
    timer.StartOnce(1);
    Run();
    EXPECT_EQ(onDuringRun, std::vector<wxString>());
    for (wxWindow* input : inputs)
        EXPECT_TRUE(input->IsEnabled()) << input->GetName();
    EXPECT_FALSE(frame->m_pBtnStop->IsEnabled());
    EXPECT_EQ(Status(0), "Canceled");
    EXPECT_GE(Rows(), 20);
    EXPECT_LT(Rows(), 403);
    EXPECT_EQ(Files(), Rows());
    EXPECT_GT(frame->m_pDirFilterList->GetCount(), 0u);
    // The report says so, also after a refresh.
    EXPECT_TRUE(frame->m_pHtmlWin->ToText().Contains("Canceled"));
    uitest::Command(frame->m_pBtnRefreshAnalysis, wxEVT_BUTTON);
    EXPECT_TRUE(frame->m_pHtmlWin->ToText().Contains("Canceled"));
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
        if (Counted() >= 100 && !slowFile) {
            // A file that takes longer than the progress interval: the next one is shown.
            slowFile = Counted();
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

// While one large file is read (one line of a gigabyte, a data file with a source type), the
// rows counted before it are drawn, also after a click on a column title, and the state field
// names the file; Stop ends the run within it, and the file is left out.
TEST_F(CountingTest, RowsCountedBeforeALargeFileAreDrawnWhileItIsRead) {
    // The folders are counted in the order of their names: the large file comes last.
    for (int i = 0; i < 50; ++i)
        uitest::WriteFile(wxString::Format("large/a/f%02d.c", i), Lines(3));
    const wxString large = uitest::WriteFile("large/b/zz.c", "");
    ASSERT_EQ(0, truncate(large.fn_str(), 1L << 30)); // sparse: no disk, no time to write
    uitest::Count(frame, {uitest::WorkDir() + "/large"}, {".c"}, false);
    wxListCtrl* list = frame->m_pFileList;
    wxWindow* rows = list->GetChildren().front(); // the area below the titles
    // Whether the screen shows the 50 rows as far as they fit: text in the last row in view.
    const auto allDrawn = [&] {
        const long lastInView = std::min(49L, list->GetTopItem() + list->GetCountPerPage() - 1);
        wxRect last;
        if (list->GetItemCount() != 50 || !list->GetItemRect(lastInView, last))
            return false;
        const wxImage drawn = uitest::Drawn(rows);
        last.Intersect(wxRect(drawn.GetSize()));
        return !last.IsEmpty() && !uitest::InkBounds(drawn.GetSubImage(last)).IsEmpty();
    };
    enum { Counting, Reading, Sorted, Stopped } step = Counting;
    wxString stateDuring;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        const bool reading = Running() && Counted() == 50; // only the large file is left
        if (step == Counting && reading) {
            step = Reading;
        } else if (step == Reading && reading && allDrawn()) {
            stateDuring = Status(0);
            uitest::SaveWindowScreenshot("counting-large-file", frame);
            wxListEvent click(wxEVT_LIST_COL_CLICK, list->GetId());
            click.SetEventObject(list);
            click.m_col = 3; // Lines
            list->GetEventHandler()->ProcessEvent(click);
            step = Sorted;
        } else if (step == Sorted && reading && allDrawn()) {
            uitest::Command(frame->m_pBtnStop, wxEVT_BUTTON);
            step = Stopped;
        }
        if (step != Stopped && Running())
            timer.StartOnce(1);
    });
    timer.StartOnce(1);
    Run();
    EXPECT_EQ(step, Stopped) << "the large file was read to its end first";
    EXPECT_EQ(stateDuring, large);
    EXPECT_EQ(Status(0), "Canceled");
    EXPECT_EQ(Rows(), 50);
    EXPECT_EQ(Files(), 50);
}

// The state field tells the run's state and, during it, a file counted lately; the others
// keep what they say.
TEST_F(CountingTest, TheStatusBarShowsTheFileBeingCountedInTheStateField) {
    PrepareLongRun();
    const auto fields = [&] {
        std::vector<wxString> shown;
        for (int field = 0; field < frame->m_pStatusBar->GetFieldsCount(); ++field)
            shown.push_back(Status(field));
        return shown;
    };
    const std::vector<wxString> before = fields();
    std::vector<wxString> during;
    std::size_t slowFile = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (Counted() >= 100 && !slowFile) {
            // Longer than the progress interval: the next file counted is shown.
            slowFile = Counted();
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
        } else if (slowFile && Counted() > slowFile) {
            during = fields();
            // Any file since the slow one: later ones may have taken its place by now.
            const auto& counted = frame->m_pCountingManager->m_fileResults;
            if (std::any_of(counted.begin() + slowFile, counted.end(),
                            [&](const auto& file) { return file->m_strPath == during[0]; }))
                during[0] = "a file counted after the slow one";
            return;
        }
        timer.StartOnce(1);
    });
    timer.StartOnce(1);
    Run();
    const wxString filters = "Filtering result by: None";
    const wxSize frameSize = frame->GetSize();
    const wxString size = wxString::Format("Frame Size: w = %d, h = %d", frameSize.x, frameSize.y);
    const std::tuple<const char*, std::vector<wxString>, std::vector<wxString>> cases[] = {
        {"before Start", before, {"Ready", "", filters, size}},
        {"after a slow file", during, {"a file counted after the slow one", "", filters, size}},
        {"after the run", fields(), {"Completed", "", filters, size}},
    };
    for (const auto& [moment, shown, expected] : cases)
        EXPECT_EQ(shown, expected) << moment;
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
    using Case = std::tuple<const char*, wxPoint, char>; // what is clicked, where, the key
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
        if (wxTopLevelWindows.empty() || !Running() || acting)
            return;
        acting = true;
        const auto& [clicked, click, key] = *current;
        if (++files == 5 && click != wxDefaultPosition) {
            user.MouseMove(click);
            user.MouseClick();
        } else if (files == 15) {
            user.Char(key, wxMOD_ALT);
        }
        acting = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    });
    slowDisk.StartOnce(1);
    for (const Case& c : cases) {
        const auto& [clicked, click, key] = c;
        SCOPED_TRACE(wxString::Format("Alt-%c after clicking %s", key, clicked));
        current = &c;
        files = 0;
        if (&c == cases) {
            user.MouseMove(centre(frame->m_pBtnStart, frame->m_pBtnStart->GetClientRect()));
            user.MouseClick();
        } else {
            user.Char('s', wxMOD_ALT);
        }
        if (key == 'X') {
            EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }));
            frame = nullptr;
            break;
        }
        ASSERT_TRUE(uitest::WaitFor([&] { return files > 0 && !Running(); }));
        EXPECT_EQ(Status(0), "Canceled");
        EXPECT_LT(Counted(), 100u);
    }
}

TEST_F(CountingTest, PickingAnEarlierSourceTypeEntryCountsWhatItShows) {
    uitest::Count(frame, {root}, {".c", ".zzz"}, false);
    uitest::Count(frame, {root}, {".h"}, false);
    wxComboBox* types = frame->m_pSourceTypeCombo;
    types->SetSelection(0);
    uitest::Command(types, wxEVT_COMBOBOX);
    EXPECT_EQ(types->GetValue(), ".c;"); // the type that no longer exists is dropped
    Run();
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Items(frame->m_pExtFilterList), std::vector<wxString>{".c"});
}

// Only the checked folders are counted, with their subfolders when recursive, wherever the
// unchecked ones stand in the list.
TEST_F(CountingTest, OnlyTheCheckedFoldersAreCounted) {
    uitest::WriteFile("other/e.c", Lines(1));
    const std::tuple<const char*, bool, const char*> cases[] = {
        // the list below the working folder, checked (+) or not (-); recursive; files counted
        {"tree- tree/lib- other+", true, "other/e.c"},
        {"tree+ tree/lib- other-", false, "tree/c.h"},
        {"tree+ tree/lib- other-", true, "tree/c.h tree/lib/B.c tree/lib/a.c tree/lib/d.c"},
        {"other- tree- tree/lib+", false, "tree/lib/B.c tree/lib/a.c tree/lib/d.c"},
        {"tree/lib+ tree- other+", false, "other/e.c tree/lib/B.c tree/lib/a.c tree/lib/d.c"},
    };
    for (const auto& [listed, recursive, files] : cases) {
        SCOPED_TRACE(wxString(listed) + (recursive ? ", recursive" : ""));
        const wxArrayString entries = wxSplit(listed, ' ');
        std::vector<wxString> dirs;
        for (const wxString& entry : entries)
            dirs.push_back(uitest::WorkDir() + "/" + entry.Left(entry.length() - 1));
        uitest::Count(frame, dirs, {".c", ".h"}, false);
        for (unsigned i = 0; i < entries.size(); ++i)
            frame->m_pSourceDirList->Check(i, entries[i].EndsWith("+"));
        frame->m_pChkRecursive->SetValue(recursive);
        Run();
        uitest::WidenColumnsByHand(frame->m_pFileList); // folders whole
        wxArrayString counted;
        for (long row = 0; row < Rows(); ++row)
            counted.Add(wxFileName(frame->m_pFileList->GetItemText(row, 2),
                                   frame->m_pFileList->GetItemText(row, 0))
                            .GetFullPath()
                            .Mid(uitest::WorkDir().length() + 1));
        counted.Sort();
        EXPECT_EQ(wxJoin(counted, ' ', '\0'), wxString(files));
    }
}

// A new run starts with no filter, whatever the last one filtered, and the report names the
// folders of the new run alone.
TEST_F(CountingTest, ANewRunOverFewerFoldersKeepsNoFilterOfTheLast) {
    uitest::WriteFile("other/e.c", Lines(1));
    const wxString lib = root + "/lib", other = uitest::WorkDir() + "/other";
    const struct {
        std::vector<wxString> first;
        const char* unchecked; // a filter item, after the first run, then refreshed
        const char* filters;   // what field 2 names after the refresh
        wxString second;
        std::vector<wxString> reported;
    } cases[] = {
        {{root}, nullptr, "None", lib, {lib}},
        {{root, other}, nullptr, "None", other, {other}},
        {{root, other}, "/other", "Directory", root, {root, lib}},
        {{root}, ".h", "Extension", lib, {lib}},
        {{root, other}, "2019-01-02", "Modified Date", other, {other}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(wxString(c.filters) + ", then " + c.second);
        uitest::Count(frame, c.first, {".c", ".h"});
        if (c.unchecked) {
            for (ShortenedCheckListBox* list :
                 {frame->m_pDirFilterList, frame->m_pExtFilterList, frame->m_pDateFilterList})
                for (unsigned i = 0; i < list->GetCount(); ++i)
                    list->Check(i, !list->GetKey(i).EndsWith(c.unchecked));
            uitest::Command(frame->m_pBtnRefreshAnalysis, wxEVT_BUTTON);
        }
        EXPECT_EQ(Status(2), wxString("Filtering result by: ") + c.filters);
        uitest::Count(frame, {c.second}, {".c", ".h"});
        EXPECT_EQ(Status(2), wxString("Filtering result by: None"));
        const FilterParam& filter = frame->m_filterParam;
        EXPECT_FALSE(filter.m_bFilterDir || filter.m_bFilterExt || filter.m_bFilterDate);
        EXPECT_EQ(ReportedFolders(frame->m_pHtmlWin), c.reported);
    }
}

TEST_F(CountingTest, EachFilterPaneFiltersAndShowsWithItsOwnControls) {
    uitest::Count(frame, {root}, {".c", ".h"});
    struct Pane {
        const char* name;
        ShortenedCheckListBox* list;
        wxCheckBox* all;
        wxWindow* refresh;
        long menuItem;
        int Preference::*shown;
        wxString hidden; // unchecked, it leaves this many files
        long left;
    };
    const Pane panes[] = {
        {"Directory", frame->m_pDirFilterList, frame->m_pChkAllDirs, frame->m_pBtnRefreshDir,
         TallywickFrame::ID_MENU_FILTER_DIR, &Preference::m_nShowFilterDirectory, root + "/lib", 1},
        {"Extension", frame->m_pExtFilterList, frame->m_pChkAllExts, frame->m_pBtnRefreshExt,
         TallywickFrame::ID_MENU_FILTER_EXT, &Preference::m_nShowFilterExtension, ".c", 1},
        {"Modified Date", frame->m_pDateFilterList, frame->m_pChkAllDates, frame->m_pBtnRefreshDate,
         TallywickFrame::ID_MENU_FILTER_DATE, &Preference::m_nShowFilterModifiedDate, "2019-01-02",
         3},
    };
    wxAuiManager* aui = frame->m_pAuiManager;
    const auto shown = [&](const Pane& pane) {
        const bool visible = aui->GetPane(wxString(pane.name) + " Filter").IsShown();
        EXPECT_EQ(frame->m_pPreference->*pane.shown, visible ? 1 : 0) << pane.name;
        return visible;
    };
    const auto selectAll = [](const Pane& pane, bool on) {
        pane.all->SetValue(on);
        uitest::Command(pane.all, wxEVT_CHECKBOX, on);
    };
    for (const Pane& pane : panes) {
        SCOPED_TRACE(pane.name);
        pane.list->Check(pane.list->FindKey(pane.hidden), false);
        uitest::Command(pane.refresh, wxEVT_BUTTON);
        EXPECT_EQ(Rows(), pane.left);
        EXPECT_EQ(Files(), pane.left);
        EXPECT_EQ(Status(2), wxString("Filtering result by: ") + pane.name);
        // "Select All" checks its own list on its first click and clears it on its second.
        selectAll(pane, true);
        EXPECT_EQ(Items(pane.list, true), Items(pane.list));
        selectAll(pane, false);
        for (const Pane& other : panes)
            EXPECT_EQ(Items(other.list, true).size(), &other == &pane ? 0 : other.list->GetCount());
        selectAll(pane, true);
        uitest::Command(frame->m_pBtnRefreshAnalysis, wxEVT_BUTTON);
        EXPECT_EQ(Rows(), 4);
        EXPECT_EQ(Status(2), "Filtering result by: None");
        // Its entry of the filter menu hides it and shows it again, and the choice is kept.
        for (bool visible : {false, true}) {
            uitest::Command(frame, pane.menuItem);
            for (const Pane& other : panes)
                EXPECT_EQ(shown(other), &other != &pane || visible) << other.name;
        }
    }
    // With nothing checked nothing is left, also at a second refresh, and each filter is named.
    for (const Pane& pane : panes)
        selectAll(pane, false);
    for (int refresh = 0; refresh < 2; ++refresh)
        uitest::Command(frame->m_pBtnRefreshExt, wxEVT_BUTTON);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Files(), 0);
    EXPECT_EQ(Status(2), "Filtering result by: Directory | Extension | Modified Date");
    // "All Filters" shows all three when one is hidden, then hides all three.
    uitest::Command(frame, TallywickFrame::ID_MENU_FILTER_EXT);
    for (bool visible : {true, false}) {
        uitest::Command(frame, TallywickFrame::ID_MENU_ALL_FILTERS);
        for (const Pane& pane : panes)
            EXPECT_EQ(shown(pane), visible) << pane.name;
    }
}

// Folders that differ deep down, only in case, or by a line break in their names: the
// Directory Filter shows each on one line, its end in view, and filters each apart; the lists
// show the line breaks of names as a mark.
TEST_F(CountingTest, TheDirectoryFilterShowsAndFiltersEachFolderApart) {
    std::vector<wxString> folders = {"tree/Src", "tree/src", "tree/line\nbreak"};
    for (int i = 1; i <= 6; ++i)
        folders.push_back(
            wxString::Format("tree/a_parent_folder_with_a_long_name/subfolder_%d", i));
    for (const wxString& folder : folders)
        uitest::WriteFile(folder + "/f\r.c", Lines(1));
    uitest::Count(frame, {root}, {".c", ".h"});
    ShortenedCheckListBox* list = frame->m_pDirFilterList;
    for (int narrower : {0, 80}) {
        frame->SetSize(frame->GetSize() - wxSize(narrower, 0));
        uitest::Idle(300);
        const wxImage drawn = uitest::Drawn(list);
        EXPECT_LT(uitest::InkBounds(drawn).GetRight(), drawn.GetWidth() - 4) << narrower;
        std::set<wxString> shown;
        for (unsigned i = 0; i < list->GetCount(); ++i) {
            const wxString text = list->GetString(i), end = text.AfterLast('.');
            shown.insert(text);
            EXPECT_TRUE(text.Contains("...")
                            ? !end.empty() && ShownName(list->GetKey(i)).EndsWith(end)
                            : text == list->GetKey(i))
                << text;
        }
        EXPECT_EQ(shown.size(), list->GetCount());
        EXPECT_EQ(Items(list, true).size(), list->GetCount()) << narrower;
    }
    EXPECT_EQ(frame->m_pFileList->GetItemText(Rows() - 1, 0), wxString(L"f\uFFFD.c"));
    bool marked = false; // in the folder summary too, read whole
    uitest::WidenColumnsByHand(frame->m_pDirList, 1000);
    for (long row = 0; row < frame->m_pDirList->GetItemCount(); ++row) {
        const wxString folder = frame->m_pDirList->GetItemText(row, 0);
        EXPECT_FALSE(folder.Contains("\n")) << folder;
        marked = marked || folder.Contains(L"\uFFFD");
    }
    EXPECT_TRUE(marked);
    // The later of the two, which a lookup ignoring case would take for the earlier one.
    list->Check(std::max(list->FindKey(root + "/Src"), list->FindKey(root + "/src")), false);
    uitest::Command(frame->m_pBtnRefreshDir, wxEVT_BUTTON);
    EXPECT_EQ(Rows(), 12); // all but that folder's file
    uitest::SaveScreenshot("directory-filter-en");
}

// A filter list emptied, as a new run empties it, and filled again: its rows are the new ones
// only, also once it is shortened again at idle time.
TEST_F(CountingTest, AFilterListEmptiedAndFilledAgainHoldsOnlyItsNewRows) {
    ShortenedCheckListBox* list = frame->m_pDirFilterList;
    wxArrayString many;
    for (int i = 0; i < 6; ++i)
        many.push_back(wxString::Format("/a/folder_with_a_long_name_to_shorten/number_%d", i));
    list->SetKeys(many);
    list->Clear();
    frame->SetSize(frame->GetSize() - wxSize(60, 0));
    uitest::Idle(300);
    EXPECT_EQ(list->GetCount(), 0u);
    list->SetKeys(wxArrayString(1, &many[5]));
    frame->SetSize(frame->GetSize() + wxSize(60, 0));
    uitest::Idle(300);
    ASSERT_EQ(list->GetCount(), 1u);
    EXPECT_EQ(list->GetKey(0), many[5]);
    EXPECT_TRUE(list->GetString(0).EndsWith("_5")) << list->GetString(0);
}

// Sorted both ways, scrolled sideways with the titles over their columns, every title and
// figure in full, and a summary that cannot be typed over.
TEST_F(CountingTest, ACountedTreeCanBeSortedScrolledAndRead) {
    uitest::WriteFile("tree/a folder whose long name is read in full/big.c", Lines(100000));
    uitest::Count(frame, {root}, {".c", ".h"});
    // After the run, and after a refresh that makes every cost ten times as large.
    for (int pass = 0; pass < 2; ++pass) {
        for (wxListCtrl* shown : std::initializer_list<wxListCtrl*>{
                 frame->m_pFileList, frame->m_pDirList, frame->m_pTypeList})
            EXPECT_TRUE(NothingCut(shown)) << shown->GetName() << ", pass " << pass;
        frame->m_pAnalysisGrid->ChangePropertyValue("ManMonthCost", 100000L);
        frame->m_pAnalysisGrid->GetProperty("ManMonthCost")
            ->SetFlagRecursively(wxPG_PROP_MODIFIED, true);
        uitest::Command(frame->m_pBtnRefreshDir, wxEVT_BUTTON);
    }
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
             // Clicks sent while the first was on its way land late: let them all land.
             for (int last = before; last != list->GetViewStart().x;) {
                 last = list->GetViewStart().x;
                 uitest::Idle(300);
             }
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
    uitest::WidenColumnsByHand(list); // sorted by the names, not as shortened
    ExpectSortable(list, frame->m_pBtnRefreshDir);
    frame->m_pNotebook->SetSelection(2);
    wxPropertyGrid* sum = frame->m_pSummaryGrid;
    wxPGProperty* defects = sum->GetProperty("UTDefect");
    const wxString shown = defects->GetDisplayedString();
    // The page may still be laying out when first clicked: click its cell until it is chosen.
    int clicks = 0;
    ASSERT_TRUE(uitest::WaitFor([&] {
        if (sum->GetSelection() == defects)
            return true;
        if (sum->IsShownOnScreen() && clicks++ % 5 == 0) {
            const wxRect cell = sum->GetPropertyRect(defects, defects);
            user.MouseMove(sum->ClientToScreen(
                wxPoint(sum->GetSplitterPosition() + 20, cell.y + cell.height / 2)));
            user.MouseClick();
        }
        return false;
    }));
    user.Text("999");
    user.Char(WXK_RETURN);
    uitest::Idle(200);
    auto* editor = wxDynamicCast(sum->GetEditorControl(), wxTextCtrl);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), shown);
    EXPECT_EQ(defects->GetDisplayedString(), shown);
    uitest::SaveScreenshot("summary-en");
}
} // namespace
