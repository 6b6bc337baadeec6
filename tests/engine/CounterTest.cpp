// The line counters: splitting a file into lines, every style of counter by its name, the
// shared counters, and the estimates of a record.
#include "AnalysisParam.h"
#include "BasicCounter.h"
#include "ChunkReader.h"
#include "CppCounter.h"
#include "FileResult.h"
#include "LinePace.h"
#include "PhaseResult.h"
#include "TestSupport.h"

#include <cmath>
#include <fcntl.h>
#include <limits>
#include <random>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {

std::vector<std::string> Split(const TextLines& lines) {
    std::vector<std::string> out; // one pass: a file's lines can be walked only once
    for (std::string_view line : lines)
        out.emplace_back(line);
    return out;
}

// NaN expects NaN.
template <std::size_t N>
void ExpectFloats(const double (&got)[N], const std::array<float, N>& want) {
    for (std::size_t i = 0; i < N; ++i)
        if (std::isnan(want[i]))
            EXPECT_TRUE(std::isnan(got[i])) << "figure " << i;
        else
            EXPECT_FLOAT_EQ(static_cast<float>(got[i]), want[i]) << "figure " << i;
}

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

} // namespace

TEST(TextLinesTest, SplitsAtEveryKindOfLineEnd) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"a\nb", {"a", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r", {"a"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\rb\rc\nd", {"a", "b", "c", "d"}}, // a later LF must not swallow the lone CRs
        {"\x80\xff\n\xEF\xBB\xBF", {"\x80\xff", "\xEF\xBB\xBF"}},
        {"a\0b\n\0"s, {"a\0b"s, "\0"s}},
    };
    for (const auto& [text, lines] : cases) {
        EXPECT_EQ(Split(TextLines(text)), lines) << testing::PrintToString(text);
        EXPECT_EQ(TextLines(text).LineCount(), lines.size());
    }
}

// Read in small chunks, a file splits exactly as the whole text: a CR LF, a marker or a line
// may straddle two chunks, and a file may shrink after it was opened.
TEST(TextLinesTest, ChunkedFileSplitsLikeTheWholeText) {
    TempDir dir;
    std::mt19937 random(7);
    const char alphabet[] = {'a', '\r', '\n', ' ', '/', '*'};
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (std::size_t n = random() % 40; n > 0; --n)
            text += alphabet[random() % sizeof alphabet];
        const std::size_t chunk = 1 + random() % 5;
        SCOPED_TRACE(testing::PrintToString(text) + " in chunks of " + std::to_string(chunk));
        const int fd = open(dir.Write("f.c", text).fn_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ChunkReader reader(fd, text.size() + round % 3, chunk); // as if it had shrunk
        EXPECT_EQ(Split(TextLines(reader)), Split(TextLines(text)));
        close(fd);
        EXPECT_FALSE(reader.Failed());
    }
}

// A line of several chunks, in each style: read and classified, it gives the figures it
// should, the check between chunks comes at every chunk of the reading and of the
// classification too, and a stop at any check ends the file there, its lines dropped. Markers
// lie across the steps in which the classification searches a giant line.
TEST(CounterTest, AGiantLineIsCountedInChunksAndStopsAtAnyOfThem) {
    CountingManager mgr;
    AddRule(mgr, "C", "//", "/*", "*/");
    const std::size_t step = LinePace::STEP;
    const auto repeat = [](const std::string& unit, std::size_t bytes) {
        std::string text;
        while (text.size() < bytes)
            text += unit;
        return text;
    };
    const std::string nul(4 * step, '\0'), blank(4 * step, ' '), x(3 * step, 'x');
    // The block begins across the end of the first step, and the script ends across a step's
    // length from the end of the line, so that the next line is outside it.
    const std::string across = std::string(step - 1, 'x') + "/* /" + x + "/ x",
                      php = "<?php // " + x + "?>" + std::string(step - 1, 'y') + "\nx";
    const std::tuple<const char*, std::string, LineCounts> rows[] = {
        {"C", nul, {1, 1, 0, 0, 0}},
        {"C", blank, {1, 0, 0, 0, 1}},
        {"C", repeat("/**/", 4 * step), {1, 0, 1, 0, 0}},
        {"C", across, {1, 0, 0, 1, 0}},
        {"Text", blank, {1, 0, 0, 0, 1}},
        {"PHP", nul, {1, 0, 0, 0, 0}},
        {"PHP", php, {2, 1, 1, 0, 0}},
        {"PHP", repeat("<? /* ?>", 4 * step), {1, 1, 1, 0, 0}},
        {"Aspx", "<%" + nul, {1, 1, 0, 0, 0}},
        {"JSP", "<%" + nul, {1, 1, 0, 0, 0}},
    };
    TempDir dir;
    for (const auto& [style, text, expected] : rows) {
        SCOPED_TRACE(style + (": " + testing::PrintToString(text.substr(0, 12))));
        Counter& counter = *mgr.GetCounter(style);
        const wxString path = dir.Write("giant.c", text);
        const std::size_t readingChecks = (text.size() - 1) / ChunkReader::DEFAULT_CHUNK;
        std::size_t checks = 0, stopAt = 0;
        const ChunkReader::BetweenChunks hook([&] { return ++checks != stopAt; });
        FileResult whole;
        whole.m_strPath = path;
        EXPECT_TRUE(counter.Count(&whole, nullptr, nullptr));
        EXPECT_EQ((LineCounts{whole.m_nLines, whole.m_nCodeLines, whole.m_nCommentLines,
                              whole.m_nCodeCommentLines, whole.m_nBlankLines}),
                  expected);
        EXPECT_GT(checks, readingChecks); // the classification checks as well
        for (std::size_t at : {std::size_t(2), readingChecks + 1, checks}) {
            FileResult stopped;
            stopped.m_strPath = path;
            checks = 0;
            stopAt = at;
            EXPECT_FALSE(counter.Count(&stopped, nullptr, nullptr)) << "stopped at " << at;
            EXPECT_EQ(checks, at);
            EXPECT_EQ(stopped.m_nLines, 0u);
        }
    }
}

// Each style by its name, the name's letter case ignored, with the rule of exactly that name
// if there is one; Text, PHP, ASPX and JSP ignore rules. Every text is counted twice by the
// same counter, which adds to the counts and starts each file outside any block or script.
TEST(CounterTest, EveryStyleCountsByItsName) {
    CountingManager mgr;
    AddRule(mgr, "C", "//", "/*", "*/");
    AddRule(mgr, "Lua", "--", "--[[", "]]");
    AddRule(mgr, "Hash", "#");
    AddRule(mgr, "NoEnd", "//", "/*");
    AddRule(mgr, "Sect", wxString(L"\u00A7"));
    AddRule(mgr, "Cjk", wxString(L"\u4E2D"), wxString(L"/\u4E2D"), "*/"); // has no byte
    for (const char* name : {"c", "PASCAL", "Sql", "xml", "shell", "TEXT", "php", "ASPX", "Jsp"})
        AddRule(mgr, name, "#");
    AddRule(mgr, "sql", "x");
    const std::string hashes = "# a\nx # b\n\n", manyComments = [] {
        std::string line;
        for (int i = 0; i < 1000000; ++i) // no stack frame each
            line += "/**/";
        return line + "x; /* a\ny\n";
    }();
    const LineCounts byHash{3, 0, 1, 1, 1}, noRule{3, 2, 0, 0, 1}, blankOnly{3, 0, 0, 0, 1};
    const std::tuple<const char*, std::string, LineCounts> cases[] = {
        {"C", "", {}},
        {"C", " \t \n\v\f\r\n", {2, 0, 0, 0, 2}},
        {"C", "\xEF\xBB\xBF\n\xA0\n", {2, 2, 0, 0, 0}},
        {"C", "\0\na\0// b\n"s, {2, 1, 0, 1, 0}},
        {"C", "a; /* b\nc\n\nd */ e;\nf;\n", {5, 1, 1, 2, 1}},
        {"C", "/* a\nb\n\nc", {4, 0, 3, 0, 1}},
        {"C", "x\n/* a\n", {2, 1, 1, 0, 0}},
        {"C", "a; // b /* c\nx\n", {2, 1, 0, 1, 0}},
        {"C", "a/* b\nx\n", {2, 0, 1, 1, 0}},
        {"C", "/*/\nx\n", {2, 0, 2, 0, 0}}, // "*/" overlaps "/*"
        {"C", "/* /* */ a\n/* // */ a\na */ b\n", {3, 1, 0, 2, 0}},
        {"C", "/*\na */ b;\n/*\n*/ /* b\nx\n", {5, 0, 4, 1, 0}},
        {"C", manyComments, {2, 0, 1, 1, 0}},
        // Found at one position, the begin marker wins over the single one.
        {"Lua", "--[[ a ]] b\n-- a --[[\nx\n", {3, 1, 1, 1, 0}},
        {"Hash", "a # b /* c\nx\n", {2, 1, 0, 1, 0}},
        {"NoEnd", "/* a */ b\nx\n", {2, 0, 2, 0, 0}}, // without an end a block never closes
        {"Sect", "\xA7 a\nb \xA7 c\n\xC2\xA7 d\n", {3, 0, 1, 2, 0}},
        {"Cjk", "\xE4\xB8\xAD a\n? b\n- c\n/ d\n/? e\n/- f\n*/\n", {7, 7, 0, 0, 0}},
        {"c", hashes, byHash},
        {"PASCAL", hashes, byHash},
        {"Sql", hashes, byHash},
        {"sql", hashes, {3, 1, 1, 0, 1}},
        {"SQL", hashes, noRule},
        {"xml", hashes, byHash},
        {"shell", hashes, byHash},
        {"Texts", hashes, noRule},
        {"Cpp", hashes, noRule},
        {"", hashes, noRule},
        {"TEXT", hashes, blankOnly},
        {"TEXT", " \t\v\f\r\n\r\n", {2, 0, 0, 0, 2}},
        {"TEXT", "// a\n   x\n\xA0\n", {3, 0, 0, 0, 0}},
        {"ASPX", hashes, blankOnly},
        {"Jsp", hashes, blankOnly},
        {"php", hashes, blankOnly},
        {"php", "<?php echo 1; ?> # x /* y\n<p>\n", {2, 1, 0, 0, 0}},
        {"php", "<?php\n# a\n\n// b\necho 1; // c\n?>\n", {6, 3, 3, 0, 1}},
        // Markers between a line comment and a "?>" behind it are not looked at.
        {"php", "<?php\necho 1; // a /* b ?> <b>\n<p>markup</p>\n", {3, 2, 1, 0, 0}},
        {"php", "<?php\n// a ?> b <? c\nx\n", {3, 3, 1, 0, 0}},
        {"php", "<?php\n/* a\nb\n*/\necho 1;\n?>\n", {6, 3, 3, 0, 0}},
        {"php", "<?php\n/* a ?> b\nc */\nx\n?>\n", {5, 3, 2, 0, 0}},
        {"php", "<?php\n/*/\nx\n*/\n?>\n", {5, 3, 1, 0, 0}},
        {"php", "<?php\n*/*\nx\n*/\n?>\n", {5, 3, 3, 0, 0}},
        {"php", "<?php\n*/\n<?\n?>\n", {4, 2, 0, 0, 0}},
        {"php", "<?php\n<? ?>\nx\n", {3, 1, 0, 0, 0}},
        {"php", "<?php\nx// a\n", {2, 2, 1, 0, 0}},
        {"php", "x\n<?php\n/* a\n", {3, 1, 1, 0, 0}},
    };
    for (const auto& [style, text, counts] : cases) {
        SCOPED_TRACE(style + (": " + testing::PrintToString(text.substr(0, 60))));
        Counter* counter = mgr.GetCounter(style);
        EXPECT_EQ(mgr.GetCounter(style), counter);
        const LineCounts once = CountText(*counter, text);
        EXPECT_EQ(once, counts);
        const LineCounts twice = CountText(*counter, text, once);
        for (std::size_t i = 0; i < once.size(); ++i)
            EXPECT_EQ(twice[i], 2 * once[i]);
    }
    // A counter follows edits of its rule between files.
    CounterRule& lua = *mgr.m_ruleMap["Lua"];
    lua.m_strSingleLineComment = "#";
    EXPECT_EQ(CountText(*mgr.GetCounter("Lua"), "x -- a\n# b\n"), (LineCounts{2, 1, 1, 0, 0}));
    lua.m_strMultiLineCommentEnd = "--]]";
    EXPECT_EQ(CountText(*mgr.GetCounter("Lua"), "--[[ a ]]\nb --]]\n"),
              (LineCounts{2, 0, 2, 0, 0}));
}

// Neither script style uses code+comment: a line of both adds to code and to comment.
TEST(CounterTest, AspxAndJspSideBySide) {
    CountingManager mgr;
    const std::tuple<std::string, LineCounts, LineCounts> cases[] = {
        {"<p>\n\n\t<%\nint a = 1;\n%>\n<p>\n", {6, 3, 0, 0, 1}, {6, 3, 0, 0, 1}},
        {"a %> b <% c\nx\n", {2, 1, 0, 0, 0}, {2, 1, 0, 0, 0}},
        {"<%\n// a /* b\nc\n%>\n", {4, 3, 1, 0, 0}, {4, 3, 1, 0, 0}},
        {"<%\n\t\n}\n%>\n", {4, 3, 0, 0, 1}, {4, 3, 0, 0, 1}},
        {"x\n<%\n/*\n", {3, 1, 1, 0, 0}, {3, 2, 0, 0, 0}},
        // Only a line that starts with "<%" opens a JSP block, only one that ends with "%>"
        // closes it.
        {"<p><% x = 1;\ny = 2;\n%>\n", {3, 3, 0, 0, 0}, {3, 0, 0, 0, 0}},
        {"<%\nx = 1; %> <b>\n<i>\n%>\n", {4, 2, 0, 0, 0}, {4, 3, 0, 0, 0}},
        // A last character ">" or a last but one "%" skips both "//" rules.
        {"<%\n// see <b>\n// 5%;\n%>\n", {4, 4, 0, 0, 0}, {4, 2, 0, 0, 0}},
        {"<%\n// a /* 5%x\nc\n%>\n", {4, 1, 3, 0, 0}, {4, 3, 0, 0, 0}},
        {"<%\nString s = \"<%\";\n%>\n", {3, 3, 0, 0, 0}, {3, 2, 0, 0, 0}},
        // JSP has no block comments; in ASPX "%>" inside one does not close the script.
        {"<%\n/*\nnote\n%> still comment\nend */\nx;\n%>\n", {7, 3, 4, 0, 0}, {7, 6, 0, 0, 0}},
        {"<%\n/* a\nb */ x;\nc\n*/\n%>\n", {6, 2, 4, 0, 0}, {6, 6, 0, 0, 0}},
        {"<%\n/*\n/\n*/\n%>\n", {5, 2, 3, 0, 0}, {5, 5, 0, 0, 0}},
        {"<%\n/* note */\nx /* a */ y\n%>\n", {4, 3, 1, 0, 0}, {4, 4, 0, 0, 0}},
        {"<%\nx = 1; /* start\nmore\n*/\n%>\n", {5, 2, 3, 0, 0}, {5, 5, 0, 0, 0}},
    };
    for (const auto& [text, byAspx, byJsp] : cases)
        for (const auto& [style, counts] : {std::pair("Aspx", byAspx), std::pair("JSP", byJsp)}) {
            SCOPED_TRACE(style + (": " + testing::PrintToString(text)));
            Counter& counter = *mgr.GetCounter(style);
            const LineCounts once = CountText(counter, text);
            EXPECT_EQ(once, counts);
            const LineCounts twice = CountText(counter, text, once);
            for (std::size_t i = 0; i < once.size(); ++i)
                EXPECT_EQ(twice[i], 2 * once[i]);
        }
}

// Only the Basic and C counters are shared between managers. They take the rule of the last
// manager that names one, and must not point into its rules once it has ended.
TEST(CounterTest, SharedCountersOutliveTheirManager) {
    CppCounter::GetInstance()->m_rule = nullptr;
    CountingManager first;
    CounterRule* c = AddRule(first, "C", "//");
    Counter* cpp = first.GetCounter("C");
    {
        CountingManager ruleless;
        EXPECT_EQ(ruleless.GetCounter("c"), cpp);
        EXPECT_EQ(ruleless.GetCounter("BASIC"), first.GetCounter("Basic"));
        EXPECT_EQ(first.GetCounter("Basic"), BasicCounter::s_pInstance.get());
        EXPECT_NE(ruleless.GetCounter("Lua"), first.GetCounter("Lua"));
    }
    EXPECT_EQ(cpp->m_rule, c);
    {
        CountingManager later;
        CounterRule* own = AddRule(later, "C", "#");
        later.GetCounter("C");
        EXPECT_EQ(cpp->m_rule, own);
    }
    EXPECT_EQ(cpp->m_rule, nullptr); // cleared by the last to set it, though the first lives
}

// Man-hours, cost, UT cases, UT defects, IT cases, IT defects; and of the phases the cost and
// man-months of coding, low-level design, UT and IT.
TEST(CounterTest, EstimatesOfARecord) {
    const AnalysisParam standard;
    AnalysisParam custom, zero;
    custom.m_nUTCaseDensity = 30;
    custom.m_nUTDefectDensity = 5;
    custom.m_nITCaseDensity = 12;
    custom.m_nITDefectDensity = 1;
    custom.m_nManMonthLines = 2000;
    custom.m_nManMonthDays = 22;
    custom.m_nManMonthCost = 5000;
    custom.m_nLLD = 0;
    custom.m_nUT = 50;
    custom.m_nIT = 0;
    zero.m_nManMonthLines = 0;
    struct Case {
        const AnalysisParam* param;
        std::size_t code, codeComment, comment;
        std::array<float, 6> figures;
        std::array<float, 8> phases;
    };
    const Case cases[] = {
        {&standard,
         0,
         1,
         7,
         {.04f, 2.5f, .05f, .01f, .02f, .002f},
         {2.5f, .00025f, 2.5f, .00025f, 2.5f, .00025f, 1, .0001f}},
        {&standard,
         3000000000u,
         0,
         0,
         {1.2e8f, 7.5e9f, 1.5e8f, 3e7f, 6e7f, 6e6f},
         {7.5e9f, 7.5e5f, 7.5e9f, 7.5e5f, 7.5e9f, 7.5e5f, 3e9f, 3e5f}},
        {&custom, 1500, 500, 0, {176, 5000, 60, 10, 24, 2}, {5000, 1, 0, 0, 2500, .5f, 0, 0}},
        {&zero,
         1,
         0,
         0,
         {kInf, kInf, .05f, .01f, .02f, .002f},
         {kInf, kInf, kInf, kInf, kInf, kInf, kInf, kInf}},
        {&zero,
         0,
         0,
         4,
         {kNaN, kNaN, 0, 0, 0, 0},
         {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        FileResult r; // an earlier run's figures, to be replaced
        r.m_nCodeLines = c.code;
        r.m_nCodeCommentLines = c.codeComment;
        r.m_nLines = c.code + c.codeComment + c.comment;
        r.m_fManHours = r.m_fCost = r.m_fUtCases = r.m_fUtDefects = r.m_fItCases = 99;
        r.m_fItDefects = 99;
        CountingManager::Analyse(c.param, &r);
        ExpectFloats(
            {r.m_fManHours, r.m_fCost, r.m_fUtCases, r.m_fUtDefects, r.m_fItCases, r.m_fItDefects},
            c.figures);
        const PhaseResult p(r, *c.param);
        ExpectFloats({p.m_fCDCost, p.m_fCDMM, p.m_fLLDCost, p.m_fLLDMM, p.m_fUTCost, p.m_fUTMM,
                      p.m_fITCost, p.m_fITMM},
                     c.phases);
    }
}
