// The counting run over real folder trees: which files are counted and in what order, the
// state word, stopping, summaries, filtering and recalculation.
#include "AnalysisObserver.h"
#include "CountingFixture.h"
#include "CountingObserver.h"
#include "FilterObserver.h"

#include <algorithm>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Counts = std::vector<std::size_t>;
using Names = std::vector<std::string>;
using M = CountingManager;
using Updates = std::vector<std::pair<std::size_t, std::size_t>>; // state, folders listed

// files, lines, code, code+comment, comment, blank
Counts CountsOf(const Result& r) {
    return {r.m_nFiles,        r.m_nLines,     r.m_nCodeLines, r.m_nCodeCommentLines,
            r.m_nCommentLines, r.m_nBlankLines};
}

// The six estimates with the default coefficients for n lines holding code.
void ExpectEstimates(const Result& r, double n) {
    const double got[] = {r.m_fManHours,  r.m_fCost,    r.m_fUtCases,
                          r.m_fUtDefects, r.m_fItCases, r.m_fItDefects};
    const double perLine[] = {0.04, 2.5, 0.05, 0.01, 0.02, 0.002};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(got[i], perLine[i] * n, 1e-4) << "estimate " << i;
}

Names Strings(const wxArrayString& list) {
    Names out;
    for (const wxString& s : list)
        out.push_back(s.utf8_string());
    return out;
}

struct Recorder : CountingObserver, FilterObserver, AnalysisObserver {
    explicit Recorder(CountingManager* manager) : m_manager(manager) {}
    void OnFileCounted() override {
        seen.push_back({m_manager->m_fileResults.size(), m_manager->m_totalResult.m_nFiles,
                        m_manager->m_nState});
        if (seen.size() == stopAfter)
            m_manager->Stop();
    }
    void OnFilterUpdate() override {
        filterUpdates.push_back({m_manager->m_nState, m_manager->m_dirList.size()});
    }
    void OnAnalysisUpdate() override { ++analysisUpdates; }

    CountingManager* m_manager;
    std::vector<std::array<std::size_t, 3>> seen; // records, files in the total, state
    Updates filterUpdates;
    std::size_t stopAfter = 0, analysisUpdates = 0;
};

class CountingRunTest : public CountingFixture {
protected:
    CountingRunTest() {
        mgr.m_extMap[".txt"] = std::make_unique<FileExtension>(".txt", "Text", "Text", false);
        mgr.m_pCountingObserver = &rec;
        mgr.m_pFilterObserver = &rec;
        mgr.m_pAnalysisObserver = &rec;
    }

    Names FileNames(bool sorted = true) const {
        Names names;
        for (const auto& file : mgr.m_fileResults)
            names.push_back(file->m_strName.utf8_string());
        if (sorted)
            std::sort(names.begin(), names.end());
        return names;
    }

    Recorder rec{&mgr};
};

// Recursive runs sort the folders (upper case first, subfolders right after their parent);
// others keep the given order. A folder chosen twice, inside another, with a trailing "/",
// as "." or through a link is counted once, under the name met first. Idle, the walk goes
// one level deep and the state stays; stopped before Count, nothing is walked or counted.
TEST_F(CountingRunTest, WhichFoldersAreCountedAndInWhatOrder) {
    for (const char* name : {"a/x.c", "a/s/z.c", "b/w.c", "B/v.c", "C/d/d.h"})
        dir.Write(name, "x;\n");
    ASSERT_EQ(0, symlink("a", (dir / "link").utf8_str()));
    const std::uint32_t busy = M::STATE_BUSY, done = M::STATE_COMPLETED;
    struct Case {
        std::uint32_t before, after;
        wxArrayString dirs;
        bool recursive;
        Names paths;
    };
    const Case cases[] = {
        {busy, done, Dirs({"", "a"}), true, {"B/v.c", "C/d/d.h", "a/x.c", "a/s/z.c", "b/w.c"}},
        {busy, done, Dirs({"a/", "a"}), true, {"a/x.c", "a/s/z.c"}},
        {busy, done, Dirs({"b", "a"}), false, {"b/w.c", "a/x.c"}},
        {busy, done, Dirs({"a", "a"}), false, {"a/x.c"}},
        {busy, done, Dirs({"a/", "a"}), false, {"a/x.c"}},
        {busy, done, Dirs({"", "."}), true, {"B/v.c", "C/d/d.h", "a/x.c", "a/s/z.c", "b/w.c"}},
        {busy, done, Dirs({"link", "a/."}), false, {"link/x.c"}},
        {busy, done, Dirs({"", "link"}), true, {"B/v.c", "C/d/d.h", "a/x.c", "a/s/z.c", "b/w.c"}},
        {busy, done, {}, true, {}},
        {M::STATE_IDLE, M::STATE_IDLE, Dirs({""}), true, {"B/v.c", "a/x.c", "b/w.c"}},
        {M::STATE_STOPPED, M::STATE_STOPPED, Dirs({"a", ""}), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        rec = Recorder(&mgr);
        Run(c.dirs, c.recursive, c.before);
        Names paths;
        for (const auto& file : mgr.m_fileResults) {
            EXPECT_EQ(file->m_strPath, file->m_strDir + "/" + file->m_strName);
            paths.push_back(file->m_strPath.Mid(dir.Path().length() + 1).utf8_string());
        }
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(mgr.m_nState, c.after);
        // Each record is announced once it is in the list and the total.
        ASSERT_EQ(rec.seen.size(), paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i)
            EXPECT_EQ(rec.seen[i], (std::array<std::size_t, 3>{i + 1, i + 1, c.before}));
        // Summarised once, before the state changes.
        EXPECT_EQ(rec.filterUpdates, (Updates{{c.before, mgr.m_dirList.size()}}));
    }
    // Even a stopped run sorts the chosen folders.
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs), Strings(Dirs({"", "a"})));
}

TEST_F(CountingRunTest, OnlySelectedKnownExtensionsAreCounted) {
    // Unselected, unknown, without a dot (the one here is the folder's), hidden, in a hidden
    // folder, and with only an upper-case key: none of these is counted.
    for (const char* name : {"main.c", "Upper.C", "z/Api.H", "notes.txt", "data.zzz", "Makefile",
                             "lib.c/README", ".hidden.c", ".git/obj.c", "q/x.cpp", "q/y.CPP"})
        dir.Write(name, "x;\n");
    mgr.m_extMap[".CPP"] = std::make_unique<FileExtension>(".CPP", "C", "C++", true);
    Run(Dirs({""}));

    EXPECT_EQ(FileNames(), (Names{"Api.H", "Upper.C", "main.c"}));
    for (const auto& file : mgr.m_fileResults)
        EXPECT_EQ(file->m_strExt, file->m_strName == "Api.H" ? ".h" : ".c");
}

// A stop on the last file of a folder must also keep the next folder from being counted.
TEST_F(CountingRunTest, StopFromObserverEndsTheRunAndKeepsWhatWasCounted) {
    for (const char* name : {"a/1.c", "a/2.c", "a/3.c", "a/4.c", "b/5.c", "b/6.c"})
        dir.Write(name, "x;\n// y\n");
    for (const std::size_t n : {2u, 4u}) {
        SCOPED_TRACE(n);
        rec = Recorder(&mgr);
        rec.stopAfter = n;
        Run(Dirs({""}));
        EXPECT_EQ(mgr.m_nState, M::STATE_STOPPED);
        EXPECT_EQ(rec.seen.size(), n);
        EXPECT_EQ(mgr.m_fileResults.size(), n);
        EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{n, 2 * n, n, 0, n, 0}));
        ExpectEstimates(mgr.m_totalResult, n);
        // What was counted is still summarised.
        EXPECT_EQ(rec.filterUpdates, (Updates{{M::STATE_STOPPED, 1}}));
        ASSERT_EQ(mgr.m_dirResults.size(), 1u);
        EXPECT_EQ(mgr.m_dirResults[0]->m_strDir, dir / "a");
        EXPECT_EQ(mgr.m_dirResults[0]->m_nFiles, n);
    }
}

// A filter without records notifies nobody and recalculates nothing.
TEST_F(CountingRunTest, FilterWithoutRecordsDoesNothing) {
    Run(Dirs({""}));
    mgr.m_totalResult.m_fCost = 1.5f; // a recalculation would zero it
    FilterParam filter;
    filter.m_arrDirs.push_back(dir.Path());
    mgr.Filter(&analysis, &filter);
    EXPECT_EQ(rec.analysisUpdates, 0u);
    EXPECT_EQ(mgr.m_totalResult.m_fCost, 1.5f);
    EXPECT_TRUE(mgr.m_dirResults.empty());
}

// Three files in three folders, two of them modified on one day.
class RunSummaryTest : public CountingRunTest {
protected:
    void SetUp() override {
        SetModified(dir.Write("a/x.c", "int a;\n// c\n"), 2021, 3, 4, 10);
        SetModified(dir.Write("b/y.h", "int b; // c\n\n"), 2020, 1, 2, 12);
        SetModified(dir.Write("c/z.c", "int c;\nint d;\nint e;\n"), 2021, 3, 4, 18);
        Run(Dirs({""}));
        ASSERT_EQ(FileNames(false), (Names{"x.c", "y.h", "z.c"}));
    }
};

TEST_F(RunSummaryTest, RecordsTotalsAndCandidateLists) {
    double hours = 0, cost = 0;
    for (const auto& file : mgr.m_fileResults) {
        hours += file->m_fManHours;
        cost += file->m_fCost;
    }
    // The total is the sum of the rows, estimates summed in double precision.
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{3, 7, 4, 1, 1, 1}));
    EXPECT_EQ(mgr.m_totalResult.m_nSize, 46u);
    EXPECT_EQ(mgr.m_totalResult.m_fManHours, hours);
    EXPECT_EQ(mgr.m_totalResult.m_fCost, cost);
    ExpectEstimates(mgr.m_totalResult, 5);

    // Lists keep the order first met; the later file of the same day adds no date.
    EXPECT_EQ(Strings(mgr.m_dirList), Strings(Dirs({"a", "b", "c"})));
    EXPECT_EQ(Strings(mgr.m_extList), (Names{".c", ".h"}));
    EXPECT_EQ(Strings(mgr.m_dateList), (Names{"2021-03-04", "2020-01-02"}));
    ASSERT_EQ(mgr.m_dirResults.size(), 3u);
    EXPECT_EQ(mgr.m_dirResults[1]->m_strDir, dir / "b");
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{1, 2, 0, 1, 0, 1}));
    EXPECT_EQ(mgr.m_dirResults[1]->m_nSize, 13u);
    ExpectEstimates(*mgr.m_dirResults[1], 1);
    ASSERT_EQ(mgr.m_extResults.size(), 2u);
    EXPECT_EQ(mgr.m_extResults[0]->m_strExt, ".c");
    EXPECT_EQ(CountsOf(*mgr.m_extResults[0]), (Counts{2, 5, 4, 0, 1, 0}));
}

// The cases run one after another on the same records, so a filter must show files as well
// as hide them.
TEST_F(RunSummaryTest, FilterShowsOnlyFilesMatchingEveryList) {
    const wxArrayString dirs = mgr.m_dirList, exts = mgr.m_extList, dates = mgr.m_dateList;
    wxArrayString ext, date;
    ext.push_back(".c");
    date.push_back("2021-03-04");
    struct Case {
        const char* name;
        bool byDir, byExt, byDate;
        wxArrayString dirs, exts, dates;
        const char* visible;
        std::size_t lines;
    };
    const Case cases[] = {
        {"no flag: lists ignored", false, false, false, {}, ext, {}, "111", 7},
        {"folder, with case", true, false, false, Dirs({"A", "c"}), exts, dates, "001", 3},
        {"extension", false, true, false, dirs, ext, dates, "101", 5},
        {"date", false, false, true, dirs, exts, date, "101", 5},
        {"a flag makes an empty list hide all", false, true, false, dirs, exts, {}, "000", 0},
    };
    mgr.SetAllVisible(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilterParam filter;
        filter.m_bFilterDir = c.byDir;
        filter.m_bFilterExt = c.byExt;
        filter.m_bFilterDate = c.byDate;
        filter.m_arrDirs = c.dirs;
        filter.m_arrExts = c.exts;
        filter.m_arrDates = c.dates;
        const std::size_t updates = rec.analysisUpdates;
        mgr.Filter(&analysis, &filter);
        std::string visible;
        for (const auto& file : mgr.m_fileResults)
            visible += file->m_bVisible ? '1' : '0';
        EXPECT_EQ(visible, c.visible);
        EXPECT_EQ(mgr.m_totalResult.m_nLines, c.lines);
        EXPECT_EQ(rec.analysisUpdates, updates + 1);
        // Records follow the filter's lists, not the candidates.
        EXPECT_EQ(mgr.m_dirResults.size(), c.dirs.size());
        EXPECT_EQ(mgr.m_extResults.size(), c.exts.size());
    }
}

TEST_F(RunSummaryTest, RecalculationCoversVisibleFilesOnly) {
    FilterParam filter = Candidates();
    filter.m_bFilterExt = true;
    filter.m_arrExts.assign(1, ".c");
    AnalysisParam dearer;
    dearer.m_nManMonthCost = 20000; // 5 per line of code
    mgr.m_nState = M::STATE_BUSY;
    mgr.Filter(&dearer, &filter);

    EXPECT_EQ(mgr.m_nState, M::STATE_BUSY);
    EXPECT_FLOAT_EQ(mgr.m_fileResults[0]->m_fCost, 5.0f);
    EXPECT_FLOAT_EQ(mgr.m_fileResults[1]->m_fCost, 2.5f); // hidden: keeps its old estimate
    EXPECT_FLOAT_EQ(mgr.m_fileResults[2]->m_fCost, 15.0f);
    EXPECT_EQ(CountsOf(mgr.m_totalResult), (Counts{2, 5, 4, 0, 1, 0}));
    EXPECT_EQ(mgr.m_totalResult.m_nSize, 33u);
    EXPECT_NEAR(mgr.m_totalResult.m_fCost, 20.0, 1e-4);

    // Refreshed records carry counts only; a folder with every file hidden stays.
    ASSERT_EQ(mgr.m_dirResults.size(), 3u);
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[0]), (Counts{1, 2, 1, 0, 1, 0}));
    EXPECT_EQ(mgr.m_dirResults[0]->m_nSize, 12u);
    ExpectEstimates(*mgr.m_dirResults[0], 0);
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(mgr.m_extResults.size(), 1u);
    EXPECT_EQ(CountsOf(*mgr.m_extResults[0]), (Counts{2, 5, 4, 0, 1, 0}));
    // Candidates stay those of the run.
    EXPECT_EQ(mgr.m_dirList.size(), 3u);
    EXPECT_EQ(mgr.m_extList.size(), 2u);
}

// Folder names differ by letter case on this system: each is a folder of its own.
TEST_F(CountingRunTest, CaseDifferingFoldersAreSeparateFolders) {
    dir.Write("Src/a.c", "x;\ny;\n");
    dir.Write("src/b.c", "x;\ny;\nz;\n");
    Run(Dirs({""}));
    EXPECT_EQ(Strings(mgr.m_dirList), Strings(Dirs({"Src", "src"})));
    ASSERT_EQ(mgr.m_dirResults.size(), 2u);
    EXPECT_EQ(mgr.m_dirResults[1]->m_strDir, dir / "src");
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[0]), (Counts{1, 2, 2, 0, 0, 0}));
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{1, 3, 3, 0, 0, 0}));
    ExpectEstimates(*mgr.m_dirResults[1], 3);

    FilterParam filter = Candidates();
    filter.m_bFilterDir = true;
    filter.m_arrDirs = Dirs({"src", "SRC"});
    mgr.Filter(&analysis, &filter);
    EXPECT_EQ(mgr.m_totalResult.m_nFiles, 1u);
    ASSERT_EQ(mgr.m_dirResults.size(), 2u);
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[0]), (Counts{1, 3, 3, 0, 0, 0}));
    EXPECT_EQ(CountsOf(*mgr.m_dirResults[1]), (Counts{0, 0, 0, 0, 0, 0}));
}

// Links to folders (one of them a loop) are not followed, a link to a file is counted; a FIFO
// is listed with nothing in it; an unreadable or missing folder does not end the run. Odd
// names each have their own line count, so a name that does not open again shows.
TEST_F(CountingRunTest, UnusualEntriesAndOddNames) {
    dir.Write("a/x.c", "x;\n");
    dir.Write("real.c", "x;\ny;\n// z\n");
    dir.Write("locked/in.c", "x;\n");
    dir.Write("locked/sub/deep.c", "x;\n");
    ASSERT_EQ(0, symlink("..", (dir / "a/up").utf8_str()));
    ASSERT_EQ(0, symlink("a", (dir / "side").utf8_str()));
    ASSERT_EQ(0, symlink("real.c", (dir / "alias.c").utf8_str()));
    ASSERT_EQ(0, symlink("gone.c", (dir / "dangling.c").utf8_str()));
    ASSERT_EQ(0, mkfifo((dir / "pipe.c").utf8_str(), 0644));
    ASSERT_EQ(0, chmod((dir / "locked").utf8_str(), 0));
    dir.Write("odd/with space.c", "x;\n");
    dir.Write("odd/comma,name.c", "x;\ny;\n");
    dir.Write("odd/quo\"te.c", "x;\ny;\nz;\n");
    // Not valid UTF-8, so written through the bytes of its name.
    std::ofstream((dir / "odd/caf").utf8_string() + "\xE9.c") << "a;\nb;\nc;\nd;\n";
    Run(Dirs({"", "missing"}));

    EXPECT_EQ(mgr.m_nState, M::STATE_COMPLETED);
    const bool root = geteuid() == 0; // permissions do not bind the superuser
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs),
              Strings(root ? Dirs({"", "a", "locked", "locked/sub", "missing", "odd"})
                           : Dirs({"", "a", "locked", "missing", "odd"})));
    std::map<std::string, Counts> found; // the name that is not UTF-8 by its length
    for (const auto& file : mgr.m_fileResults)
        found[file->m_strName.StartsWith("caf") ? std::to_string(file->m_strName.length())
                                                : file->m_strName.utf8_string()] = CountsOf(*file);
    std::map<std::string, Counts> expected = {
        {"alias.c", {0, 3, 2, 0, 1, 0}},      {"pipe.c", {0, 0, 0, 0, 0, 0}},
        {"real.c", {0, 3, 2, 0, 1, 0}},       {"x.c", {0, 1, 1, 0, 0, 0}},
        {"with space.c", {0, 1, 1, 0, 0, 0}}, {"comma,name.c", {0, 2, 2, 0, 0, 0}},
        {"quo\"te.c", {0, 3, 3, 0, 0, 0}},    {"6", {0, 4, 4, 0, 0, 0}},
        {"dangling.c", {0, 0, 0, 0, 0, 0}}};
    if (root)
        expected["in.c"] = expected["deep.c"] = {0, 1, 1, 0, 0, 0};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(mgr.m_fileResults.size(), expected.size());
    // What could not be read is told apart from what is empty; a FIFO is simply no source.
    EXPECT_EQ(Strings(mgr.m_unreadablePaths),
              Strings(root ? Dirs({"dangling.c", "missing"})
                           : Dirs({"dangling.c", "locked", "missing"})));

    mgr.Reset();
    EXPECT_EQ(mgr.m_nState, M::STATE_IDLE);
    EXPECT_TRUE(mgr.m_unreadablePaths.empty());
    EXPECT_TRUE(mgr.m_fileResults.empty());
}

// A tree deeper than one system call takes is counted in full under its full paths; a file
// dated just before 1970 keeps the time its record was made with.
TEST_F(CountingRunTest, DeepPathsAndUnusableDates) {
    const int top = open(dir.Path().utf8_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(top, 0);
    int fd = dup(top);
    wxString deep = dir.Path();
    const std::string name(200, 'd');
    while (deep.length() < 5000) {
        ASSERT_EQ(0, mkdirat(fd, name.c_str(), 0755));
        const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        deep += "/" + name;
    }
    const int file = openat(fd, "deep.c", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(write(file, "x;\n// y\n", 8), 8);
    close(file);
    close(fd);
    const timespec before1970[2] = {{-1, 0}, {-1, 0}};
    ASSERT_EQ(0,
              utimensat(top, dir.Write("old.c", "x;\n").AfterLast('/').utf8_str(), before1970, 0));
    close(top);
    const wxDateTime start = wxDateTime::Now();
    Run(Dirs({""}));

    ASSERT_EQ(FileNames(false), (Names{"old.c", "deep.c"}));
    const FileResult &old = *mgr.m_fileResults[0], &inDeep = *mgr.m_fileResults[1];
    EXPECT_TRUE(old.m_dtModified.IsValid());
    EXPECT_GE(old.m_dtModified.GetTicks(), start.GetTicks());
    EXPECT_TRUE(inDeep.m_dtModified.IsValid());
    EXPECT_EQ(inDeep.m_strPath, deep + "/deep.c");
    EXPECT_EQ(CountsOf(inDeep), (Counts{0, 2, 1, 0, 1, 0}));
    EXPECT_TRUE(mgr.m_unreadablePaths.empty());
}

// The extension runs from the last dot of the whole path.
TEST(CountingManagerPaths, GetExtensionTakesTheLastDot) {
    const std::pair<const char*, const char*> cases[] = {{"/src/a.tar.c", ".c"},
                                                         {"/src/lib.d/README", ".d/README"},
                                                         {"/src/Makefile", ""},
                                                         {"/src/Up.C", ".C"}};
    for (const auto& [path, ext] : cases) {
        wxString got = "stale";
        CountingManager::GetExtension(path, got);
        EXPECT_EQ(got, ext) << path;
    }
}

} // namespace
