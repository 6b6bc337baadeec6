// The counting run over real folder trees: which files are counted and in what order, the
// state word, stopping, summaries, filtering, recalculation and the CSV export.
#include "AnalysisObserver.h"
#include "AnalysisParam.h"
#include "CountingObserver.h"
#include "FileExtension.h"
#include "FilterObserver.h"
#include "FilterParam.h"
#include "TestSupport.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Names = std::vector<std::string>;
using M = CountingManager;
using Updates = std::vector<std::pair<std::size_t, std::size_t>>; // state, folders listed

// Files, lines, code, code+comment, comment, blank, size and cost of a record.
std::string Figures(const Result& r) {
    std::ostringstream out;
    for (std::size_t n : {r.m_nFiles, r.m_nLines, r.m_nCodeLines, r.m_nCodeCommentLines,
                          r.m_nCommentLines, r.m_nBlankLines, r.m_nSize})
        out << n << ' ';
    out << std::fixed;
    out.precision(2);
    out << r.m_fCost;
    return out.str();
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
    void OnFileReading(const wxString& path) override {
        readingPath = path;
        if (++reading == stopReadingAt)
            m_manager->Stop();
    }
    void OnFilterUpdate() override {
        filterUpdates.push_back({m_manager->m_nState, m_manager->m_dirList.size()});
    }
    void OnAnalysisUpdate() override { ++analysisUpdates; }

    CountingManager* m_manager;
    std::vector<std::array<std::size_t, 3>> seen; // records, files in the total, state
    Updates filterUpdates;
    wxString readingPath;
    std::size_t reading = 0; // checks within files
    std::size_t stopAfter = 0, stopReadingAt = 0, analysisUpdates = 0;
};

// A manager with a "C" rule whose ".c" and ".h" files are counted, in a temporary folder,
// run in the main window's order of calls, its observers recording what they are told.
class RunTest : public ::testing::Test {
protected:
    RunTest() {
        AddRule(mgr, "C", "//", "/*", "*/");
        for (const char* ext : {".c", ".h"})
            mgr.m_extMap[ext] = std::make_unique<FileExtension>(ext, "C", "C source", true);
        mgr.m_extMap[".txt"] = std::make_unique<FileExtension>(".txt", "Text", "Text", false);
        mgr.m_pCountingObserver = &rec;
        mgr.m_pFilterObserver = &rec;
        mgr.m_pAnalysisObserver = &rec;
    }

    // Folders below the temporary one; "" is the temporary folder itself.
    wxArrayString Dirs(std::initializer_list<const char*> relative) const {
        wxArrayString dirs;
        for (const char* d : relative)
            dirs.push_back(*d ? dir / d : dir.Path());
        return dirs;
    }

    void Run(const wxArrayString& dirs, bool recursive = true,
             std::uint32_t state = CountingManager::STATE_BUSY) {
        mgr.Reset();
        mgr.m_nState = state;
        CountingParam param;
        param.m_arrDirs = dirs;
        param.m_bRecursive = recursive;
        mgr.SetCountingParam(param, &analysis);
        mgr.Count();
    }

    // A filter holding the run's candidate lists, none of them switched on.
    FilterParam Candidates() const {
        FilterParam filter;
        filter.m_arrDirs = mgr.m_dirList;
        filter.m_arrExts = mgr.m_extList;
        filter.m_arrDates = mgr.m_dateList;
        return filter;
    }

    // The paths of the records below the temporary folder.
    Names Paths() const {
        Names paths;
        for (const auto& file : mgr.m_fileResults)
            paths.push_back(file->m_strPath.Mid(dir.Path().length() + 1).utf8_string());
        return paths;
    }

    std::string Export() {
        EXPECT_TRUE(mgr.ExportCsv(dir / "out.csv"));
        return ReadFile(dir / "out.csv");
    }

    TempDir dir{true};
    AnalysisParam analysis;
    CountingManager mgr;
    Recorder rec{&mgr};
};

// Recursive runs sort the folders (upper case first, subfolders right after their parent);
// others keep the given order. A folder chosen twice, inside another, with a trailing "/",
// as "." or through a link is counted once, under the name met first. Idle, the walk goes
// one level deep and the state stays; stopped before Count, nothing is walked or counted.
TEST_F(RunTest, WhichFoldersAreCountedAndInWhatOrder) {
    for (const char* name : {"a/x.c", "a/s/z.c", "b/w.c", "B/v.c", "C/d/d.h"})
        dir.Write(name, "x;\n");
    ASSERT_EQ(0, symlink("a", (dir / "link").utf8_str()));
    const std::uint32_t busy = M::STATE_BUSY, done = M::STATE_COMPLETED;
    const Names all = {"B/v.c", "C/d/d.h", "a/x.c", "a/s/z.c", "b/w.c"};
    struct Case {
        std::uint32_t before, after;
        wxArrayString dirs;
        bool recursive;
        Names paths;
    };
    const Case cases[] = {
        {busy, done, Dirs({"", "a"}), true, all},
        {busy, done, Dirs({"a/", "a"}), true, {"a/x.c", "a/s/z.c"}},
        {busy, done, Dirs({"b", "a"}), false, {"b/w.c", "a/x.c"}},
        {busy, done, Dirs({"a", "a"}), false, {"a/x.c"}},
        {busy, done, Dirs({"a/", "a"}), false, {"a/x.c"}},
        {busy, done, Dirs({"", "."}), true, all},
        {busy, done, Dirs({"link", "a/."}), false, {"link/x.c"}},
        {busy, done, Dirs({"", "link"}), true, all},
        {busy, done, {}, true, {}},
        {M::STATE_IDLE, M::STATE_IDLE, Dirs({""}), true, {"B/v.c", "a/x.c", "b/w.c"}},
        {M::STATE_STOPPED, M::STATE_STOPPED, Dirs({"a", ""}), true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        rec = Recorder(&mgr);
        Run(c.dirs, c.recursive, c.before);
        EXPECT_EQ(Paths(), c.paths);
        for (const auto& file : mgr.m_fileResults)
            EXPECT_EQ(file->m_strPath, file->m_strDir + "/" + file->m_strName);
        EXPECT_EQ(mgr.m_nState, c.after);
        // Each record is announced once it is in the list and the total.
        ASSERT_EQ(rec.seen.size(), c.paths.size());
        for (std::size_t i = 0; i < c.paths.size(); ++i)
            EXPECT_EQ(rec.seen[i], (std::array<std::size_t, 3>{i + 1, i + 1, c.before}));
        // Summarised once, before the state changes.
        EXPECT_EQ(rec.filterUpdates, (Updates{{c.before, mgr.m_dirList.size()}}));
    }
    // Even a stopped run sorts the chosen folders.
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs), Strings(Dirs({"", "a"})));
    // Without records a filter notifies nobody and recalculates nothing.
    mgr.m_totalResult.m_fCost = 1.5;
    FilterParam filter;
    filter.m_arrDirs.push_back(dir.Path());
    mgr.Filter(&analysis, &filter);
    EXPECT_EQ(rec.analysisUpdates, 0u);
    EXPECT_EQ(mgr.m_totalResult.m_fCost, 1.5);
}

// Unselected, unknown, without a dot (the one here is the folder's), hidden, in a hidden
// folder, and with only an upper-case key: none of these is counted. The extension runs from
// the last dot and is kept in lower case.
TEST_F(RunTest, OnlySelectedKnownExtensionsAreCounted) {
    for (const char* name :
         {"main.c", "Upper.C", "z/Api.H", "a.tar.c", "notes.txt", "data.zzz", "Makefile",
          "lib.c/README", ".hidden.c", ".git/obj.c", "q/x.cpp", "q/y.CPP"})
        dir.Write(name, "x;\n");
    mgr.m_extMap[".CPP"] = std::make_unique<FileExtension>(".CPP", "C", "C++", true);
    Run(Dirs({""}));
    Names found;
    for (const auto& file : mgr.m_fileResults)
        found.push_back(file->m_strName.utf8_string() + " " + file->m_strExt.utf8_string());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Names{"Api.H .h", "Upper.C .c", "a.tar.c .c", "main.c .c"}));
}

// A stop on the last file of a folder must also keep the next folder from being counted;
// what was counted is still summarised.
TEST_F(RunTest, StopFromObserverEndsTheRunAndKeepsWhatWasCounted) {
    for (const char* name : {"a/1.c", "a/2.c", "a/3.c", "a/4.c", "b/5.c", "b/6.c"})
        dir.Write(name, "x;\n// y\n");
    for (const std::size_t n : {2u, 4u}) {
        SCOPED_TRACE(n);
        rec = Recorder(&mgr);
        rec.stopAfter = n;
        Run(Dirs({""}));
        EXPECT_EQ(mgr.m_nState, M::STATE_STOPPED);
        EXPECT_EQ(rec.seen.size(), n);
        const std::string figures = Figures(mgr.m_totalResult);
        EXPECT_EQ(figures, n == 2 ? "2 4 2 0 2 0 16 5.00" : "4 8 4 0 4 0 32 10.00");
        EXPECT_EQ(rec.filterUpdates, (Updates{{M::STATE_STOPPED, 1}}));
        ASSERT_EQ(mgr.m_dirResults.size(), 1u);
        EXPECT_EQ(mgr.m_dirResults[0]->m_strDir, dir / "a");
        EXPECT_EQ(Figures(*mgr.m_dirResults[0]), figures);
    }
}

// Bytes this process has read from files so far.
std::uint64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    ADD_FAILURE() << "no rchar in /proc/self/io";
    return 0;
}

// A stop during a large file, of lines or of one giant line (sparse, so no disk is used): the
// file is read no further than the chunk the stop came in, neither it nor the next folder's
// file is counted, and what was counted before stays.
TEST_F(RunTest, AStopWithinALargeFileEndsItThereAndLeavesItOut) {
    dir.Write("a/1.c", "x;\n// y\n");
    dir.Write("c/2.c", "x;\n");
    std::string lines;
    while (lines.size() < (8u << 20))
        lines += "int x; // a line of code\n";
    const struct {
        const char* name;
        bool giant;
        std::size_t stopAt; // the check within the file that the stop comes at
    } rows[] = {{"lines", false, 6}, {"one giant line", true, 6}, {"its classification", true, 66}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const wxString big = dir.Write("b/big.c", row.giant ? "" : lines);
        if (row.giant) { // 64 chunks: 63 checks to read it, then those of its classification
            ASSERT_EQ(0, truncate(big.fn_str(), 64 << 20));
        }
        rec = Recorder(&mgr);
        rec.stopReadingAt = row.stopAt;
        const std::uint64_t before = BytesRead();
        Run(Dirs({""}));
        const std::uint64_t read = BytesRead() - before;
        EXPECT_EQ(rec.reading, row.stopAt); // nothing more is read or looked at after the stop
        EXPECT_EQ(rec.readingPath, big);
        if (row.stopAt < 63) {
            EXPECT_LT(read, (row.stopAt + 2) << 20);
        }
        EXPECT_EQ(mgr.m_nState, M::STATE_STOPPED);
        EXPECT_EQ(Paths(), Names{"a/1.c"});
        EXPECT_EQ(Figures(mgr.m_totalResult), "1 2 1 0 1 0 8 2.50");
        EXPECT_TRUE(mgr.m_unreadablePaths.empty());
    }
}

// Three files in three folders, two of them differing only in letter case, two files
// modified on one day.
class RunSummaryTest : public RunTest {
protected:
    void SetUp() override {
        SetModified(dir.Write("a/x.c", "int a;\n// c\n"), 2021, 3, 4);
        SetModified(dir.Write("A/y.h", "int b; // c\n\n"), 2022, 1, 2);
        SetModified(dir.Write("c/z.c", "int c;\nint d;\nint e;\n"), 2021, 3, 4);
        Run(Dirs({""}));
        ASSERT_EQ(Paths(), (Names{"A/y.h", "a/x.c", "c/z.c"}));
    }

    // The figures of the files, the folders, the extensions and the total.
    Names Records() const {
        Names out;
        for (const auto& r : mgr.m_fileResults)
            out.push_back(Figures(*r));
        for (const auto& r : mgr.m_dirResults)
            out.push_back(r->m_strDir.Mid(dir.Path().length()).utf8_string() + " " + Figures(*r));
        for (const auto& r : mgr.m_extResults)
            out.push_back(r->m_strExt.utf8_string() + " " + Figures(*r));
        out.push_back(Figures(mgr.m_totalResult));
        return out;
    }
};

// Lists keep the order first met, and sort by character code; totals are the sums of the
// rows. A recalculation leaves hidden files their old estimates; refreshed records carry
// counts only, and a folder with every file hidden stays.
TEST_F(RunSummaryTest, RecordsTotalsAndRecalculation) {
    EXPECT_EQ(Strings(mgr.m_dirList), Strings(Dirs({"A", "a", "c"})));
    EXPECT_EQ(Strings(mgr.m_extList), (Names{".h", ".c"}));
    EXPECT_EQ(Strings(mgr.m_dateList), (Names{"2022-01-02", "2021-03-04"}));
    FilterParam filter = Candidates();
    filter.Sort();
    EXPECT_EQ(Strings(filter.m_arrExts), (Names{".c", ".h"}));
    EXPECT_EQ(Strings(filter.m_arrDates), (Names{"2021-03-04", "2022-01-02"}));
    EXPECT_EQ(Records(),
              (Names{"0 2 0 1 0 1 13 2.50", "0 2 1 0 1 0 12 2.50", "0 3 3 0 0 0 21 7.50",
                     "/A 1 2 0 1 0 1 13 2.50", "/a 1 2 1 0 1 0 12 2.50", "/c 1 3 3 0 0 0 21 7.50",
                     ".h 1 2 0 1 0 1 13 2.50", ".c 2 5 4 0 1 0 33 10.00", "3 7 4 1 1 1 46 12.50"}));
    filter.m_bFilterExt = true;
    filter.m_arrExts.assign(1, ".c");
    AnalysisParam dearer;
    dearer.m_nManMonthCost = 20000; // 5 per line of code
    mgr.m_nState = M::STATE_BUSY;
    mgr.Filter(&dearer, &filter);
    EXPECT_EQ(mgr.m_nState, M::STATE_BUSY);
    EXPECT_EQ(Records(),
              (Names{"0 2 0 1 0 1 13 2.50", "0 2 1 0 1 0 12 5.00", "0 3 3 0 0 0 21 15.00",
                     "/A 0 0 0 0 0 0 0 0.00", "/a 1 2 1 0 1 0 12 0.00", "/c 1 3 3 0 0 0 21 0.00",
                     ".c 2 5 4 0 1 0 33 0.00", "2 5 4 0 1 0 33 20.00"}));
    EXPECT_EQ(mgr.m_dirList.size(), 3u); // candidates stay those of the run
    EXPECT_EQ(mgr.m_extList.size(), 2u);
}

// The cases run one after another on the same records, so a filter must show files as well
// as hide them. Records follow the filter's lists, not the candidates.
TEST_F(RunSummaryTest, FilterShowsOnlyFilesMatchingEveryList) {
    const wxArrayString dirs = mgr.m_dirList, exts = mgr.m_extList, dates = mgr.m_dateList;
    const wxArrayString ext = wxSplit(".c", ','), date = wxSplit("2021-03-04", ',');
    struct Case {
        bool byDir, byExt, byDate;
        wxArrayString dirs, exts, dates;
        const char* visible;
    };
    const Case cases[] = {
        {false, false, false, {}, ext, {}, "111"}, // no flag: lists ignored
        {true, false, false, Dirs({"a", "C"}), exts, dates, "010"},
        {false, true, false, dirs, ext, dates, "011"},
        {false, false, true, dirs, exts, date, "011"},
        {false, true, false, dirs, exts, {}, "000"}, // a flag makes an empty list hide all
    };
    mgr.SetAllVisible(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visible);
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
        EXPECT_EQ(mgr.m_totalResult.m_nFiles, std::count(visible.begin(), visible.end(), '1'));
        EXPECT_EQ(rec.analysisUpdates, updates + 1);
        EXPECT_EQ(mgr.m_dirResults.size(), c.dirs.size());
        EXPECT_EQ(mgr.m_extResults.size(), c.exts.size());
    }
}

// Links to folders (one of them a loop) are not followed, a link to a file is counted; a FIFO
// or a socket is listed with nothing in it, and its date is not its own; an unreadable or
// missing folder does not end the run. Odd names each have their own line count, so a name
// that does not open again shows.
TEST_F(RunTest, UnusualEntriesAndOddNames) {
    dir.Write("a/x.c", "x;\n");
    dir.Write("real.c", "x;\ny;\n// z\n");
    dir.Write("locked/in.c", "x;\n");
    dir.Write("locked/sub/deep.c", "x;\n");
    ASSERT_EQ(0, symlink("..", (dir / "a/up").utf8_str()));
    ASSERT_EQ(0, symlink("a", (dir / "side").utf8_str()));
    ASSERT_EQ(0, symlink("real.c", (dir / "alias.c").utf8_str()));
    ASSERT_EQ(0, symlink("gone.c", (dir / "dangling.c").utf8_str()));
    ASSERT_EQ(0, mkfifo((dir / "pipe.c").utf8_str(), 0644));
    SetModified(dir / "pipe.c", 2001, 2, 3);
    ASSERT_TRUE(dir.MakeSocket("sock.c"));
    ASSERT_EQ(0, chmod((dir / "locked").utf8_str(), 0));
    dir.Write("odd/with space.c", "x;\n");
    dir.Write("odd/comma,name.c", "x;\ny;\n");
    dir.Write("odd/quo\"te.c", "x;\ny;\nz;\n");
    std::ofstream((dir / "odd/caf").utf8_string() + "\xE9.c") << "a;\nb;\nc;\nd;\n"; // not UTF-8
    Run(Dirs({"", "missing", "missing/"}));

    EXPECT_EQ(mgr.m_nState, M::STATE_COMPLETED);
    const bool root = geteuid() == 0; // permissions do not bind the superuser
    EXPECT_EQ(Strings(mgr.m_countingParam.m_arrDirs),
              Strings(root ? Dirs({"", "a", "locked", "locked/sub", "missing", "odd"})
                           : Dirs({"", "a", "locked", "missing", "odd"})));
    std::map<std::string, std::string> found; // the name that is not UTF-8 by its length
    for (const auto& file : mgr.m_fileResults) {
        const wxString& name = file->m_strName;
        found[name.StartsWith("caf") ? std::to_string(name.length()) : name.utf8_string()] =
            Figures(*file);
        EXPECT_NE(file->m_dtModified.GetYear(), 2001) << name;
    }
    std::map<std::string, std::string> expected = {
        {"alias.c", "0 3 2 0 1 0 11 5.00"},     {"pipe.c", "0 0 0 0 0 0 0 0.00"},
        {"real.c", "0 3 2 0 1 0 11 5.00"},      {"x.c", "0 1 1 0 0 0 3 2.50"},
        {"with space.c", "0 1 1 0 0 0 3 2.50"}, {"comma,name.c", "0 2 2 0 0 0 6 5.00"},
        {"quo\"te.c", "0 3 3 0 0 0 9 7.50"},    {"6", "0 4 4 0 0 0 12 10.00"},
        {"dangling.c", "0 0 0 0 0 0 0 0.00"},   {"sock.c", "0 0 0 0 0 0 0 0.00"}};
    if (root)
        expected["in.c"] = expected["deep.c"] = "0 1 1 0 0 0 3 2.50";
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
TEST_F(RunTest, DeepPathsAndUnusableDates) {
    const std::string name(200, 'd');
    wxString deep = dir.Path();
    for (; deep.length() < 5000; deep += "/" + name)
        ASSERT_TRUE(mkdir(name.c_str(), 0755) == 0 && chdir(name.c_str()) == 0);
    std::ofstream("deep.c") << "x;\n// y\n";
    ASSERT_TRUE(wxSetWorkingDirectory(dir.Path()));
    const timespec before1970[2] = {{-1, 0}, {-1, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, dir.Write("old.c", "x;\n").utf8_str(), before1970, 0));
    const wxDateTime start = wxDateTime::Now();
    Run(Dirs({""}));

    ASSERT_EQ(mgr.m_fileResults.size(), 2u);
    const FileResult &old = *mgr.m_fileResults[0], &inDeep = *mgr.m_fileResults[1];
    EXPECT_GE(old.m_dtModified.GetTicks(), start.GetTicks());
    EXPECT_TRUE(inDeep.m_dtModified.IsValid());
    EXPECT_EQ(inDeep.m_strPath, deep + "/deep.c");
    EXPECT_EQ(Figures(inDeep), "0 2 1 0 1 0 8 2.50");
    EXPECT_TRUE(mgr.m_unreadablePaths.empty());
}

const std::string kHead = "# *** Generated by Corvane(C) Tallywick 4.0.2.0 *** \n\n\n"
                          "Folder,File,Type,Lines,Code lines,Code//Comment,Comment lines,"
                          "Blank lines,Size,Man-Day,Cost,UT Cases,UT Defects,IT Cases,"
                          "IT Defects,Modified Date\n\n";
const std::string kTotalTitle = "\n\n# *** Total ***\n";

// Names holding a separator, a quote or a line break are quoted; a name that is not UTF-8
// keeps its bytes. Of 16 lines 7 are 43.75 % and 1 is 6.25 %: halves go to the even digit.
// The totals follow a filter while the rows list every file; numbers keep their decimal
// point in a locale that uses a comma.
TEST_F(RunTest, CsvExportByteForByte) {
    SetModified(dir.Write("p/one.c", "int a;\n// note\n\nint b; /* x */\n"), 2021, 3, 4);
    SetModified(
        dir.Write("q/two.h", "/*\n * doc\n */\nint f(void);\nint g(void);\nint h(void);\n\n"), 2019,
        12, 31);
    const std::string root = dir.Path().utf8_string();
    for (const wxString& path :
         {dir.Write("a,\"b/x,y.h", "x;\n"), dir.Write("nl/new\nline.h", "\n"),
          dir.Write("plain/say\"hi\".h", "\n"), dir.Write("raw.h", "y;\nz;\n")})
        SetModified(path, 2022, 6, 15);
    ASSERT_EQ(0, mkdir((root + "/raw\xFF").c_str(), 0755));
    ASSERT_EQ(0, rename((root + "/raw.h").c_str(), (root + "/raw\xFF/\xFE.h").c_str()));
    const std::string rows =
        "\"" + root +
        "/a,\"\"b\",\"x,y.h\",.h,1,1,0,0,0,3,0.04,2.50,0.05,0.01,0.02,0.00,2022-06-15\n" + root +
        "/nl,\"new\nline.h\",.h,1,0,0,0,1,1,0.00,0.00,0.00,0.00,0.00,0.00,2022-06-15\n" + root +
        "/p,one.c,.c,4,1,1,1,1,31,0.08,5.00,0.10,0.02,0.04,0.00,2021-03-04\n" + root +
        "/plain,\"say\"\"hi\"\".h\",.h,1,0,0,0,1,1,0.00,0.00,0.00,0.00,0.00,0.00,2022-06-15\n" +
        root + "/q,two.h,.h,7,3,0,3,1,54,0.12,7.50,0.15,0.03,0.06,0.01,2019-12-31\n" + root +
        "/raw\xFF,\xFE.h,.h,2,2,0,0,0,6,0.08,5.00,0.10,0.02,0.04,0.00,2022-06-15\n";
    dir.Write("out.csv", std::string(4096, 'x')); // an older, longer file is replaced whole
    Run(Dirs({""}));
    EXPECT_EQ(Export(), kHead + rows + kTotalTitle +
                            "# File,6\n# Size,96\n# Lines,16,100%\n"
                            "# Code lines,7,43.8%\n# Code//Comment,1,6.2%\n"
                            "# Comment lines,4,25.0%\n# Blank lines,4,25.0%\n"
                            "# Man-Day, 0.32\n# Cost, 20.00\n# UT Cases, 0.40\n"
                            "# UT Defects, 0.08\n# IT Cases, 0.16\n"
                            "# IT Defects, 0.02\n");
    FilterParam filter = Candidates();
    filter.m_bFilterExt = true;
    filter.m_arrExts.assign(1, ".c");
    mgr.Filter(&analysis, &filter);
    const std::string filtered = kHead + rows + kTotalTitle +
                                 "# File,1\n# Size,31\n# Lines,4,100%\n# Code lines,1,25.0%\n"
                                 "# Code//Comment,1,25.0%\n# Comment lines,1,25.0%\n"
                                 "# Blank lines,1,25.0%\n# Man-Day, 0.08\n# Cost, 5.00\n"
                                 "# UT Cases, 0.10\n# UT Defects, 0.02\n# IT Cases, 0.04\n"
                                 "# IT Defects, 0.00\n";
    EXPECT_EQ(Export(), filtered);

    const std::string oldLocale = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    const std::string text = Export();
    std::setlocale(LC_NUMERIC, oldLocale.c_str());
    ASSERT_STREQ(probe, "0,5"); // the locale really uses a decimal comma
    EXPECT_EQ(text, filtered);
}

// 375 files of 90 code lines, 3.60 man-hours each: summed in single precision, the total
// would say 1349.99.
TEST_F(RunTest, CsvTotalsAreTheSumsOfTheRows) {
    std::string code;
    for (int i = 0; i < 90; ++i)
        code += "x;\n";
    for (int i = 0; i < 375; ++i)
        dir.Write(wxString::Format("f%03d.c", i), code);
    Run(Dirs({""}));
    EXPECT_NE(Export().find("\n# Man-Day, 1350.00\n# Cost, 84375.00\n"), std::string::npos);
}

// An empty run has no rows and zero totals. It is written to a name at the length limit and
// through dangling links to where they point, keeping the permissions of a file it replaces.
// Neither a missing folder, a folder in the file's place, a read-only file nor a link into a
// missing folder is created, replaced or left with a temporary file.
TEST_F(RunTest, CsvEmptyRunToEveryKindOfTarget) {
    namespace fs = std::filesystem;
    fs::create_directory(dir.Path().utf8_string() + "/p");
    Run(Dirs({"p"}));
    const std::string expected =
        kHead + kTotalTitle +
        "# File,0\n# Size,0\n# Lines,0,100%\n# Code lines,0,0.0%\n# Code//Comment,0,0.0%\n"
        "# Comment lines,0,0.0%\n# Blank lines,0,0.0%\n# Man-Day, 0.00\n# Cost, 0.00\n"
        "# UT Cases, 0.00\n# UT Defects, 0.00\n# IT Cases, 0.00\n# IT Defects, 0.00\n";
    ASSERT_EQ(0, symlink("p/link.csv", (dir / "link.csv").utf8_str()));
    ASSERT_EQ(0, symlink("real.csv", (dir / "p/link.csv").utf8_str()));
    ASSERT_EQ(0, chmod(dir.Write("shared.csv", "old").utf8_str(), 0640));
    for (const wxString& target :
         {dir / (wxString('n', 251) + ".csv"), dir / "link.csv", dir / "shared.csv"}) {
        EXPECT_TRUE(mgr.ExportCsv(target));
        EXPECT_EQ(ReadFile(target), expected);
    }
    EXPECT_TRUE(fs::is_symlink((dir / "link.csv").utf8_string()));
    EXPECT_EQ(ReadFile(dir / "p/real.csv"), expected);
    EXPECT_EQ(fs::status((dir / "shared.csv").utf8_string()).permissions(), fs::perms(0640));

    const auto entries = [this] {
        return std::distance(fs::directory_iterator(dir.Path().utf8_string()),
                             fs::directory_iterator());
    };
    const wxString locked = dir.Write("locked.csv", "keep");
    ASSERT_EQ(0, chmod(locked.utf8_str(), 0444));
    ASSERT_EQ(0, symlink("missing/out.csv", (dir / "nowhere.csv").utf8_str()));
    const auto before = entries();
    for (const char* target : {"missing/out.csv", "p", "locked.csv", "nowhere.csv"}) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(mgr.ExportCsv(dir / target));
        EXPECT_EQ(entries(), before);
    }
    EXPECT_FALSE(wxDirExists(dir / "missing"));
    EXPECT_EQ(ReadFile(locked), "keep");
}

} // namespace
