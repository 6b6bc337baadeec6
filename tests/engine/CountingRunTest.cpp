// Tests of the counting run over real folder trees: which files are counted and in what order,
// the state word, stopping, summaries, filtering and recalculation.
#include "AnalysisObserver.h"
#include "AnalysisParam.h"
#include "CounterRule.h"
#include "CountingManager.h"
#include "CountingObserver.h"
#include "FileExtension.h"
#include "FilterObserver.h"
#include "FilterParam.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <initializer_list>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

namespace {

using Counts = std::vector<std::size_t>;

// files, lines, code, code+comment, comment, blank
Counts CountsOf(const Result& r) {
    return {r.m_nFiles,        r.m_nLines,     r.m_nCodeLines, r.m_nCodeCommentLines,
            r.m_nCommentLines, r.m_nBlankLines};
}

// The six estimates with the default coefficients for n lines holding code.
void ExpectEstimates(const Result& r, double n) {
    EXPECT_NEAR(r.m_fManHours, 0.04 * n, 1e-5);
    EXPECT_NEAR(r.m_fCost, 2.5 * n, 1e-4);
    EXPECT_NEAR(r.m_fUtCases, 0.05 * n, 1e-5);
    EXPECT_NEAR(r.m_fUtDefects, 0.01 * n, 1e-5);
    EXPECT_NEAR(r.m_fItCases, 0.02 * n, 1e-5);
    EXPECT_NEAR(r.m_fItDefects, 0.002 * n, 1e-6);
}

wxArrayString List(std::initializer_list<wxString> items) {
    wxArrayString list;
    for (const wxString& item : items)
        list.push_back(item);
    return list;
}

std::vector<std::string> Strings(const wxArrayString& list) {
    std::vector<std::string> out;
    for (const wxString& s : list)
        out.push_back(s.utf8_string());
    return out;
}

void SetModified(const wxString& path, int year, int month, int day, int hour) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_isdst = -1;
    const timeval when{std::mktime(&tm), 0};
    const timeval times[2] = {when, when};
    ASSERT_EQ(0, utimes(path.utf8_str(), times));
}

class Recorder : public CountingObserver, public FilterObserver, public AnalysisObserver {
public:
    explicit Recorder(CountingManager& manager) : m_manager(manager) {}

    void OnFileCounted() override {
        ++counted;
        // The announced record is already in the list and in the total.
        recordsSeen.push_back(m_manager.m_fileResults.size());
        totalsSeen.push_back(m_manager.m_totalResult.m_nFiles);
        statesSeen.push_back(m_manager.m_nState);
        if (counted == stopAfter)
            m_manager.Stop();
    }
    void OnFilterUpdate() override {
        ++filterUpdates;
        stateAtFilterUpdate = m_manager.m_nState;
        dirsAtFilterUpdate = m_manager.m_dirList.size();
    }
    void OnAnalysisUpdate() override { ++analysisUpdates; }

    int counted = 0;
    int stopAfter = -1;
    int filterUpdates = 0;
    int analysisUpdates = 0;
    std::uint32_t stateAtFilterUpdate = 99;
    std::size_t dirsAtFilterUpdate = 0;
    std::vector<std::size_t> recordsSeen, totalsSeen;
    std::vector<std::uint32_t> statesSeen;

private:
    CountingManager& m_manager;
};

class CountingRunTest : public ::testing::Test {
protected:
    CountingRunTest() : rec(mgr) {
        auto c = std::make_unique<CounterRule>("C", "C/C++");
        c->m_strSingleLineComment = "//";
        c->m_strMultiLineCommentBegin = "/*";
        c->m_strMultiLineCommentEnd = "*/";
        mgr.m_ruleMap["C"] = std::move(c);
        mgr.m_ruleMap["Text"] = std::make_unique<CounterRule>("Text", "Plain text");
        mgr.m_extMap[".c"] = std::make_unique<FileExtension>(".c", "C", "C source", true);
        mgr.m_extMap[".h"] = std::make_unique<FileExtension>(".h", "C", "C header", true);
        mgr.m_extMap[".txt"] = std::make_unique<FileExtension>(".txt", "Text", "Text", false);
    }

    // The main window's order of calls for one run.
    void Run(const wxArrayString& dirs, bool recursive, bool observe = true,
             std::uint32_t state = CountingManager::STATE_BUSY) {
        mgr.Reset();
        mgr.m_nState = state;
        CountingParam param;
        param.m_arrDirs = dirs;
        param.m_bRecursive = recursive;
        mgr.SetCountingParam(param, &analysis);
        if (observe) {
            mgr.m_pCountingObserver = &rec;
            mgr.m_pFilterObserver = &rec;
            mgr.m_pAnalysisObserver = &rec;
        }
        mgr.Count();
    }

    void Run(const wxString& folder, bool recursive) { Run(List({folder}), recursive); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& file : mgr.m_fileResults)
            names.push_back(file->m_strName.utf8_string());
        return names;
    }

    std::vector<std::string> SortedNames() const {
        auto names = Names();
        std::sort(names.begin(), names.end());
        return names;
    }

    const FileResult* Find(const wxString& name) const {
        for (const auto& file : mgr.m_fileResults)
            if (file->m_strName == name)
                return file.get();
        return nullptr;
    }

    TempDir dir{true};
    AnalysisParam analysis;
    CountingManager mgr;
    Recorder rec;
};

TEST_F(CountingRunTest, RecursiveRunVisitsDirectoriesInSortedOrder) {
    dir.Write("top.c", "x;\n");
    dir.Write("b/b.c", "x;\n");
    dir.Write("B/B.c", "x;\n");
    dir.Write("a/a.c", "x;\n");
    dir.Write("C/deep/d.h", "x;\n");
    Run(dir.Path(), true);

    const wxString r = dir.Path();
    // Upper case sorts before lower case; a folder's subfolders follow it directly.
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs),
              Strings(List({r, r + "/B", r + "/C", r + "/C/deep", r + "/a", r + "/b"})));
    EXPECT_EQ(Names(), (std::vector<std::string>{"top.c", "B.c", "d.h", "a.c", "b.c"}));
    EXPECT_EQ(Strings(mgr.m_dirList),
              Strings(List({r, r + "/B", r + "/C/deep", r + "/a", r + "/b"})));
    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_COMPLETED);
    EXPECT_EQ(rec.filterUpdates, 1);
    EXPECT_EQ(rec.stateAtFilterUpdate, CountingManager::STATE_BUSY);
    EXPECT_EQ(rec.dirsAtFilterUpdate, 5u);
    EXPECT_EQ(rec.recordsSeen, (std::vector<std::size_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(rec.totalsSeen, (std::vector<std::size_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(rec.statesSeen, std::vector<std::uint32_t>(5, CountingManager::STATE_BUSY));

    const FileResult* d = Find("d.h");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->m_strPath, r + "/C/deep/d.h");
    EXPECT_EQ(d->m_strDir, r + "/C/deep");
    EXPECT_EQ(d->m_strExt, ".h");
    EXPECT_TRUE(d->m_bVisible);
}

TEST_F(CountingRunTest, NonRecursiveRunKeepsTheGivenOrderAndStaysOnTop) {
    dir.Write("b/b.c", "x;\n");
    dir.Write("b/sub/s.c", "x;\n");
    dir.Write("a/a.c", "x;\n");
    const wxArrayString chosen = List({dir / "b", dir / "a"});
    Run(chosen, false);

    EXPECT_EQ(Names(), (std::vector<std::string>{"b.c", "a.c"}));
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs), Strings(chosen));
    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_COMPLETED);
}

TEST_F(CountingRunTest, OnlySelectedKnownExtensionsAreCounted) {
    dir.Write("main.c", "x;\n");
    dir.Write("Upper.C", "x;\ny;\n");
    dir.Write("z/Api.H", "x;\n");
    dir.Write("notes.txt", "text\n");  // known, not selected
    dir.Write("data.zzz", "x;\n");     // unknown
    dir.Write("Makefile", "x;\n");     // no dot at all
    dir.Write("lib.c/README", "x;\n"); // the dot is in the folder's name only
    dir.Write(".hidden.c", "x;\n");    // hidden
    dir.Write(".git/obj.c", "x;\n");   // inside a hidden folder
    dir.Write("q/x.cpp", "x;\n");      // only an upper-case key exists for it
    dir.Write("q/y.CPP", "x;\n");
    mgr.m_extMap[".CPP"] = std::make_unique<FileExtension>(".CPP", "C", "C++", true);
    Run(dir.Path(), true);

    EXPECT_EQ(SortedNames(), (std::vector<std::string>{"Api.H", "Upper.C", "main.c"}));
    const FileResult* upper = Find("Upper.C");
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(upper->m_strExt, ".c");
    EXPECT_EQ(CountsOf(*upper), (Counts{0, 2, 2, 0, 0, 0}));
    ASSERT_NE(Find("Api.H"), nullptr);
    EXPECT_EQ(Find("Api.H")->m_strExt, ".h");
    EXPECT_EQ(Strings(mgr.m_extList), (std::vector<std::string>{".c", ".h"}));
}

TEST_F(CountingRunTest, ChosenDirectoryEndingInSeparatorGetsNoSecondSeparator) {
    dir.Write("x.c", "x;\n");
    Run(dir.Path() + "/", false);

    ASSERT_EQ(mgr.m_fileResults.size(), 1u);
    EXPECT_EQ(mgr.m_fileResults[0]->m_strPath, dir.Path() + "/x.c");
    EXPECT_EQ(mgr.m_fileResults[0]->m_strDir, dir.Path());
    EXPECT_EQ(mgr.m_fileResults[0]->m_strName, "x.c");
}

TEST_F(CountingRunTest, StopFromObserverEndsRunAtNextFile) {
    for (const char* name : {"a/1.c", "a/2.c", "a/3.c", "a/4.c", "b/5.c", "b/6.c"})
        dir.Write(name, "x;\n// y\n");

    rec.stopAfter = 2;
    Run(dir.Path(), true);
    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_STOPPED);
    EXPECT_EQ(rec.counted, 2);
    ASSERT_EQ(mgr.m_fileResults.size(), 2u);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{2, 4, 2, 0, 2, 0}));
    ExpectEstimates(mgr.m_totalResult, 2);
    // What was counted is still summarised.
    EXPECT_EQ(rec.filterUpdates, 1);
    EXPECT_EQ(rec.stateAtFilterUpdate, CountingManager::STATE_STOPPED);
    EXPECT_EQ(Strings(mgr.m_dirList), Strings(List({dir / "a"})));
    ASSERT_EQ(mgr.m_dirResults.size(), 1u);
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[0]), (Counts{2, 4, 2, 0, 2, 0}));
    ASSERT_EQ(mgr.m_extResults.size(), 1u);
    EXPECT_EQ(mgr.m_extResults[0]->m_nFiles, 2u);

    // A stop on the last file of a folder keeps the next folder from being searched.
    rec.counted = 0;
    rec.stopAfter = 4;
    Run(dir.Path(), true);
    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_STOPPED);
    EXPECT_EQ(mgr.m_fileResults.size(), 4u);
    EXPECT_EQ(Strings(mgr.m_dirList), Strings(List({dir / "a"})));
}

TEST_F(CountingRunTest, StopBeforeCountSkipsWalkAndFiles) {
    dir.Write("b/sub/s.c", "x;\n");
    dir.Write("a/a.c", "x;\n");
    Run(List({dir / "b", dir / "a"}), true, true, CountingManager::STATE_STOPPED);

    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_STOPPED);
    EXPECT_TRUE(mgr.m_fileResults.empty());
    EXPECT_EQ(rec.counted, 0);
    EXPECT_EQ(rec.filterUpdates, 1);
    // No subfolder was looked for, but the chosen ones are still sorted.
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs), Strings(List({dir / "a", dir / "b"})));
}

TEST_F(CountingRunTest, EmptyDirectoryListCompletesWithEmptySummaries) {
    Run(wxArrayString(), true);

    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_COMPLETED);
    EXPECT_EQ(rec.filterUpdates, 1);
    EXPECT_EQ(rec.stateAtFilterUpdate, CountingManager::STATE_BUSY);
    EXPECT_TRUE(mgr.m_fileResults.empty());
    EXPECT_TRUE(mgr.m_dirResults.empty());
    EXPECT_TRUE(mgr.m_extResults.empty());
    EXPECT_TRUE(mgr.m_dirList.empty());
    EXPECT_TRUE(mgr.m_extList.empty());
    EXPECT_TRUE(mgr.m_dateList.empty());
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{0, 0, 0, 0, 0, 0}));
}

TEST_F(CountingRunTest, CountWhileIdleWalksOneLevelAndKeepsState) {
    dir.Write("top.c", "x;\n");
    dir.Write("a/mid.c", "x;\n");
    dir.Write("a/b/deep.c", "x;\n");
    Run(List({dir.Path()}), true, true, CountingManager::STATE_IDLE);

    EXPECT_EQ(SortedNames(), (std::vector<std::string>{"mid.c", "top.c"}));
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs), Strings(List({dir.Path(), dir / "a"})));
    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_IDLE);
    EXPECT_EQ(rec.filterUpdates, 1);
}

TEST_F(CountingRunTest, RunsWithoutObservers) {
    dir.Write("x.c", "x;\n");
    Run(List({dir.Path()}), true, false);
    EXPECT_EQ(mgr.m_fileResults.size(), 1u);
    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_COMPLETED);

    FilterParam filter;
    mgr.Filter(&analysis, &filter);
    EXPECT_EQ(mgr.m_totalResult.m_nFiles, 1u);
    EXPECT_EQ(rec.counted + rec.filterUpdates + rec.analysisUpdates, 0);
}

// Three files in three folders, two of them modified on one day.
class RunSummaryTest : public CountingRunTest {
protected:
    void SetUp() override {
        SetModified(dir.Write("a/x.c", "int a;\n// c\n"), 2021, 3, 4, 10);
        SetModified(dir.Write("b/y.h", "int b; // c\n\n"), 2020, 1, 2, 12);
        SetModified(dir.Write("c/z.c", "int c;\nint d;\nint e;\n"), 2021, 3, 4, 18);
        Run(dir.Path(), true);
        ASSERT_EQ(Names(), (std::vector<std::string>{"x.c", "y.h", "z.c"}));
    }

    // A filter that accepts every candidate of the run.
    void AcceptAll(FilterParam& filter) const {
        filter.m_arrDirs = mgr.m_dirList;
        filter.m_arrExts = mgr.m_extList;
        filter.m_arrDates = mgr.m_dateList;
    }
};

TEST_F(RunSummaryTest, RecordsTotalsAndCandidateLists) {
    const auto& files = mgr.m_fileResults;
    EXPECT_EQ(CountsOf(*files[0]), (Counts{0, 2, 1, 0, 1, 0}));
    EXPECT_EQ(CountsOf(*files[1]), (Counts{0, 2, 0, 1, 0, 1}));
    EXPECT_EQ(CountsOf(*files[2]), (Counts{0, 3, 3, 0, 0, 0}));
    EXPECT_EQ(files[0]->m_nSize, 12u);
    EXPECT_EQ(files[1]->m_nSize, 13u);
    EXPECT_EQ(files[2]->m_nSize, 21u);
    ExpectEstimates(*files[0], 1);
    ExpectEstimates(*files[1], 1);
    ExpectEstimates(*files[2], 3);

    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{3, 7, 4, 1, 1, 1}));
    EXPECT_EQ(mgr.m_totalResult.m_nSize, 46u);
    ExpectEstimates(mgr.m_totalResult, 5);
    // The total is the sum of the rows, estimates summed in single precision.
    std::size_t lines = 0, size = 0;
    float hours = 0, cost = 0;
    for (const auto& file : files) {
        lines += file->m_nLines;
        size += file->m_nSize;
        hours += file->m_fManHours;
        cost += file->m_fCost;
    }
    EXPECT_EQ(mgr.m_totalResult.m_nLines, lines);
    EXPECT_EQ(mgr.m_totalResult.m_nSize, size);
    EXPECT_EQ(mgr.m_totalResult.m_fManHours, hours);
    EXPECT_EQ(mgr.m_totalResult.m_fCost, cost);

    // Lists keep the order first met; the later file of the same day adds no date.
    EXPECT_EQ(Strings(mgr.m_dirList), Strings(List({dir / "a", dir / "b", dir / "c"})));
    EXPECT_EQ(Strings(mgr.m_extList), (std::vector<std::string>{".c", ".h"}));
    EXPECT_EQ(Strings(mgr.m_dateList), (std::vector<std::string>{"2021-03-04", "2020-01-02"}));

    ASSERT_EQ(mgr.m_dirResults.size(), 3u);
    EXPECT_EQ(mgr.m_dirResults[1]->m_strDir, dir / "b");
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{1, 2, 0, 1, 0, 1}));
    EXPECT_EQ(mgr.m_dirResults[1]->m_nSize, 13u);
    ExpectEstimates(*mgr.m_dirResults[1], 1);
    ExpectEstimates(*mgr.m_dirResults[2], 3);

    ASSERT_EQ(mgr.m_extResults.size(), 2u);
    EXPECT_EQ(mgr.m_extResults[0]->m_strExt, ".c");
    EXPECT_EQ(CountsOf(*mgr.m_extResults[0]), (Counts{2, 5, 4, 0, 1, 0}));
    EXPECT_EQ(mgr.m_extResults[0]->m_nSize, 33u);
    ExpectEstimates(*mgr.m_extResults[0], 4);
    EXPECT_EQ(mgr.m_extResults[1]->m_strExt, ".h");
    EXPECT_EQ(CountsOf(*mgr.m_extResults[1]), (Counts{1, 2, 0, 1, 0, 1}));
}

TEST_F(RunSummaryTest, FilterWithoutFlagShowsEverything) {
    mgr.SetAllVisible(false);
    FilterParam filter; // no flag: the lists do not matter
    filter.m_arrExts.push_back(".h");
    mgr.Filter(&analysis, &filter);

    for (const auto& file : mgr.m_fileResults)
        EXPECT_TRUE(file->m_bVisible);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{3, 7, 4, 1, 1, 1}));
    ExpectEstimates(mgr.m_totalResult, 5);
    EXPECT_EQ(rec.analysisUpdates, 1);
    // Records follow the filter's lists, not the candidates.
    EXPECT_TRUE(mgr.m_dirResults.empty());
    ASSERT_EQ(mgr.m_extResults.size(), 1u);
    EXPECT_EQ(CountsOf(*mgr.m_extResults[0]), (Counts{1, 2, 0, 1, 0, 1}));
}

TEST_F(RunSummaryTest, FilterHidesFilesAndRecalculatesVisibleOnly) {
    FilterParam filter;
    AcceptAll(filter);
    filter.m_bFilterExt = true;
    filter.m_arrExts = List({".c"});
    AnalysisParam dearer;
    dearer.m_nManMonthCost = 20000; // 5 per line of code
    mgr.m_nState = CountingManager::STATE_BUSY;
    mgr.Filter(&dearer, &filter);

    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_BUSY);
    EXPECT_EQ(rec.analysisUpdates, 1);
    const auto& files = mgr.m_fileResults;
    EXPECT_TRUE(files[0]->m_bVisible);
    EXPECT_FALSE(files[1]->m_bVisible);
    EXPECT_TRUE(files[2]->m_bVisible);
    EXPECT_FLOAT_EQ(files[0]->m_fCost, 5.0f);
    EXPECT_FLOAT_EQ(files[2]->m_fCost, 15.0f);
    EXPECT_FLOAT_EQ(files[1]->m_fCost, 2.5f); // hidden: keeps its old estimate

    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{2, 5, 4, 0, 1, 0}));
    EXPECT_EQ(mgr.m_totalResult.m_nSize, 33u);
    EXPECT_NEAR(mgr.m_totalResult.m_fCost, 20.0, 1e-4);
    EXPECT_NEAR(mgr.m_totalResult.m_fManHours, 0.16, 1e-5);

    // A refreshed folder record carries counts only; a folder with every file hidden stays.
    ASSERT_EQ(mgr.m_dirResults.size(), 3u);
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[0]), (Counts{1, 2, 1, 0, 1, 0}));
    EXPECT_EQ(mgr.m_dirResults[0]->m_nSize, 12u);
    EXPECT_EQ(mgr.m_dirResults[0]->m_fManHours, 0.0f);
    EXPECT_EQ(mgr.m_dirResults[0]->m_fCost, 0.0f);
    EXPECT_EQ(mgr.m_dirResults[1]->m_strDir, dir / "b");
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mgr.m_dirResults[1]->m_nSize, 0u);
    ASSERT_EQ(mgr.m_extResults.size(), 1u);
    EXPECT_EQ(CountsOf(*mgr.m_extResults[0]), (Counts{2, 5, 4, 0, 1, 0}));
    EXPECT_EQ(mgr.m_extResults[0]->m_fUtCases, 0.0f);

    // Candidates stay those of the run.
    EXPECT_EQ(mgr.m_dirList.size(), 3u);
    EXPECT_EQ(mgr.m_extList.size(), 2u);
}

TEST_F(RunSummaryTest, FilterByDateAndDirectoryMatchesExactly) {
    FilterParam filter;
    AcceptAll(filter);
    filter.m_bFilterDate = true;
    filter.m_arrDates = List({"2021-03-04"});
    mgr.Filter(&analysis, &filter);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{2, 5, 4, 0, 1, 0}));
    EXPECT_FALSE(mgr.m_fileResults[1]->m_bVisible);

    // Folder names are matched with case; "A" is not "a".
    AcceptAll(filter);
    filter.m_bFilterDate = false;
    filter.m_bFilterDir = true;
    filter.m_arrDirs = List({dir / "A", dir / "c"});
    mgr.Filter(&analysis, &filter);
    EXPECT_FALSE(mgr.m_fileResults[0]->m_bVisible);
    EXPECT_FALSE(mgr.m_fileResults[1]->m_bVisible);
    EXPECT_TRUE(mgr.m_fileResults[2]->m_bVisible);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{1, 3, 3, 0, 0, 0}));
}

TEST_F(RunSummaryTest, EmptyDateListHidesEverything) {
    FilterParam filter;
    AcceptAll(filter);
    filter.m_bFilterExt = true; // any flag makes every list count
    filter.m_arrDates.Clear();
    mgr.Filter(&analysis, &filter);

    for (const auto& file : mgr.m_fileResults)
        EXPECT_FALSE(file->m_bVisible);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mgr.m_totalResult.m_nSize, 0u);
    ExpectEstimates(mgr.m_totalResult, 0);
    ASSERT_EQ(mgr.m_dirResults.size(), 3u);
    for (const auto& record : mgr.m_dirResults)
        EXPECT_EQ(CountsOf(*record), (Counts{0, 0, 0, 0, 0, 0}));
}

TEST_F(CountingRunTest, FilterWithoutRecordsDoesNothing) {
    dir.MakeDir("empty");
    Run(dir / "empty", true);
    mgr.m_totalResult.m_fCost = 1.5f; // would be zeroed by a recalculation

    FilterParam filter;
    filter.m_bFilterExt = true;
    filter.m_arrExts.push_back(".c");
    filter.m_arrDirs.push_back(dir / "empty");
    mgr.Filter(&analysis, &filter);

    EXPECT_EQ(rec.analysisUpdates, 0);
    EXPECT_EQ(mgr.m_totalResult.m_fCost, 1.5f);
    EXPECT_TRUE(mgr.m_dirResults.empty());
    EXPECT_TRUE(mgr.m_extResults.empty());
}

TEST_F(CountingRunTest, FoldersDifferingInCaseAreListedApartAndSummedTogether) {
    dir.Write("Src/a.c", "x;\ny;\n");
    dir.Write("src/b.c", "x;\ny;\nz;\n");
    Run(dir.Path(), true);

    EXPECT_EQ(Strings(mgr.m_dirList), Strings(List({dir / "Src", dir / "src"})));
    ASSERT_EQ(mgr.m_dirResults.size(), 2u);
    for (const auto& record : mgr.m_dirResults) {
        EXPECT_EQ(CountsOf(*record), (Counts{2, 5, 5, 0, 0, 0}));
        ExpectEstimates(*record, 5);
    }
    EXPECT_EQ(mgr.m_dirResults[0]->m_strDir, dir / "Src");
    EXPECT_EQ(mgr.m_dirResults[1]->m_strDir, dir / "src");

    // Visibility matches with case, the refreshed records group without it.
    FilterParam filter;
    filter.m_bFilterDir = true;
    filter.m_arrDirs = List({dir / "src", dir / "SRC"});
    filter.m_arrExts = mgr.m_extList;
    filter.m_arrDates = mgr.m_dateList;
    mgr.Filter(&analysis, &filter);
    ASSERT_EQ(mgr.m_dirResults.size(), 2u);
    EXPECT_EQ(mgr.m_dirResults[0]->m_strDir, dir / "src");
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[0]), (Counts{1, 3, 3, 0, 0, 0}));
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{1, 3, 3, 0, 0, 0}));
    EXPECT_EQ(mgr.m_totalResult.m_nFiles, 1u);
}

TEST_F(CountingRunTest, EachFolderIsCountedOnce) {
    dir.Write("a/x.c", "x;\n");
    dir.Write("a/sub/z.c", "x;\n");
    dir.Write("y.c", "x;\n");

    Run(List({dir / "a", dir / "a"}), false);
    EXPECT_EQ(Names(), (std::vector<std::string>{"x.c"}));

    Run(List({dir / "a/", dir / "a"}), false);
    EXPECT_EQ(Names(), (std::vector<std::string>{"x.c"}));
    EXPECT_EQ(mgr.m_totalResult.m_nFiles, 1u);

    // A chosen folder inside another chosen folder.
    Run(List({dir.Path(), dir / "a"}), true);
    EXPECT_EQ(SortedNames(), (std::vector<std::string>{"x.c", "y.c", "z.c"}));

    Run(List({dir / "a/", dir / "a"}), true);
    EXPECT_EQ(SortedNames(), (std::vector<std::string>{"x.c", "z.c"}));
    EXPECT_EQ(mgr.m_totalResult.m_nFiles, 2u);
    ASSERT_EQ(mgr.m_dirResults.size(), 2u);
    EXPECT_EQ(mgr.m_dirResults[0]->m_nFiles, 1u);
}

TEST_F(CountingRunTest, LinksToFoldersAreNotFollowedLinksToFilesAre) {
    dir.Write("a/x.c", "x;\n");
    dir.Write("real.c", "x;\ny;\n// z\n");
    ASSERT_EQ(0, symlink("..", (dir / "a/up").utf8_str()));
    ASSERT_EQ(0, symlink("a", (dir / "side").utf8_str()));
    ASSERT_EQ(0, symlink("real.c", (dir / "alias.c").utf8_str()));
    Run(dir.Path(), true);

    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_COMPLETED);
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs), Strings(List({dir.Path(), dir / "a"})));
    EXPECT_EQ(SortedNames(), (std::vector<std::string>{"alias.c", "real.c", "x.c"}));
    const FileResult* alias = Find("alias.c");
    ASSERT_NE(alias, nullptr);
    EXPECT_EQ(CountsOf(*alias), (Counts{0, 3, 2, 0, 1, 0}));
    EXPECT_EQ(alias->m_nSize, 11u);
}

TEST_F(CountingRunTest, UnreadableOrMissingFolderDoesNotEndTheRun) {
    dir.Write("open.c", "x;\n");
    dir.Write("locked/in.c", "x;\n");
    dir.Write("locked/sub/deep.c", "x;\n");
    ASSERT_EQ(0, chmod((dir / "locked").utf8_str(), 0));
    Run(List({dir.Path(), dir / "missing"}), true);

    EXPECT_EQ(mgr.m_nState, CountingManager::STATE_COMPLETED);
    ASSERT_NE(Find("open.c"), nullptr);
    EXPECT_EQ(Find("open.c")->m_nLines, 1u);
    if (geteuid() != 0) { // permissions do not bind the superuser
        EXPECT_EQ(Names(), (std::vector<std::string>{"open.c"}));
    }
}

TEST_F(CountingRunTest, FifoIsListedWithZeroCounts) {
    dir.Write("x.c", "x;\n");
    ASSERT_EQ(0, mkfifo((dir / "pipe.c").utf8_str(), 0644));
    Run(dir.Path(), false);

    EXPECT_EQ(SortedNames(), (std::vector<std::string>{"pipe.c", "x.c"}));
    const FileResult* pipe = Find("pipe.c");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(CountsOf(*pipe), (Counts{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pipe->m_nSize, 0u);
    ExpectEstimates(*pipe, 0);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{2, 1, 1, 0, 0, 0}));
}

TEST_F(CountingRunTest, OddFileNamesAreCounted) {
    dir.Write("with space.c", "x;\n");
    dir.Write("comma,name.c", "x;\ny;\n");
    dir.Write("quo\"te.c", "x;\ny;\nz;\n");
    // Not valid UTF-8: written through the bytes of its name.
    const std::string latin1 = (dir.Path() + "/").utf8_string() + "caf\xE9.c";
    const int fd = open(latin1.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "a;\nb;\nc;\nd;\n", 12), 12);
    close(fd);
    Run(dir.Path(), true);

    ASSERT_EQ(mgr.m_fileResults.size(), 4u);
    ASSERT_NE(Find("with space.c"), nullptr);
    EXPECT_EQ(Find("with space.c")->m_nCodeLines, 1u);
    ASSERT_NE(Find("comma,name.c"), nullptr);
    EXPECT_EQ(Find("comma,name.c")->m_nCodeLines, 2u);
    ASSERT_NE(Find("quo\"te.c"), nullptr);
    EXPECT_EQ(Find("quo\"te.c")->m_nCodeLines, 3u);
    const FileResult* cafe = nullptr;
    for (const auto& file : mgr.m_fileResults)
        if (file->m_strName.StartsWith("caf"))
            cafe = file.get();
    ASSERT_NE(cafe, nullptr);
    EXPECT_EQ(cafe->m_strName.length(), 6u);
    EXPECT_EQ(cafe->m_strExt, ".c");
    // The counts prove that the name found on disk opened again.
    EXPECT_EQ(CountsOf(*cafe), (Counts{0, 4, 4, 0, 0, 0}));
    EXPECT_EQ(cafe->m_nSize, 12u);
}

} // namespace
