// Tests of the line splitting, the rule-driven classifier, the plain-text counter and the
// file reading frame of Counter::Count.
#include "Counter.h"
#include "CounterRule.h"
#include "FileResult.h"
#include "RuleCounter.h"
#include "TempDir.h"
#include "TextLines.h"
#include "TxtCounter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <future>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <wx/datetime.h>
#include <wx/filename.h>

using namespace std::string_literals;

namespace {

struct Counts {
    std::uint64_t total = 0, code = 0, comment = 0, codeComment = 0, blank = 0;
    bool operator==(const Counts& o) const {
        return total == o.total && code == o.code && comment == o.comment &&
               codeComment == o.codeComment && blank == o.blank;
    }
};

std::ostream& operator<<(std::ostream& os, const Counts& c) {
    return os << "{total " << c.total << ", code " << c.code << ", comment " << c.comment
              << ", code+comment " << c.codeComment << ", blank " << c.blank << "}";
}

CounterRule MakeRule(const wxString& single, const wxString& begin, const wxString& end) {
    CounterRule rule("Test", "");
    rule.m_strSingleLineComment = single;
    rule.m_strMultiLineCommentBegin = begin;
    rule.m_strMultiLineCommentEnd = end;
    return rule;
}

Counts CountWith(Counter& counter, const std::string& text) {
    Counts n;
    counter.CountLines(TextLines(text), n.total, n.code, n.comment, n.codeComment, n.blank);
    return n;
}

Counts CountByRule(const std::string& text, const CounterRule* rule) {
    RuleCounter counter;
    Counts n;
    counter.CountByRule(TextLines(text), rule, n.total, n.code, n.comment, n.codeComment, n.blank);
    return n;
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> lines;
    for (std::string_view line : TextLines(text))
        lines.emplace_back(line);
    return lines;
}

const CounterRule kC = MakeRule("//", "/*", "*/");

} // namespace

// ---- Line splitting -------------------------------------------------------------------

TEST(TextLinesTest, SplitsAtEveryKindOfLineEnd) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r", {"a"}},
        {"\n", {""}},
        {"\r", {""}},
        {"\n\n", {"", ""}},
        {"\r\n\r\n", {"", ""}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        // The first CR stands alone; the second pairs with the LF.
        {"a\r\r\nb", {"a", "", "b"}},
        // LF then CR is two line ends, not one.
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\r", {"a", ""}},
        // Lone CRs before a later LF: the remembered LF must not swallow them.
        {"a\rb\rc\nd", {"a", "b", "c", "d"}},
        {"a\rb\r\nc\rd\n", {"a", "b", "c", "d"}},
        {"\x80\xff\xA0\n\xEF\xBB\xBF", {"\x80\xff\xA0", "\xEF\xBB\xBF"}},
        {"a\0b\nc"s, {"a\0b"s, "c"}},
        {"\0"s, {"\0"s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(Split(c.text), c.lines);
        EXPECT_EQ(TextLines(c.text).LineCount(), c.lines.size());
    }
}

// ---- ParseLine ------------------------------------------------------------------------

TEST(ParseLineTest, ClassifiesOneLineWithCMarkers) {
    const Counter::Markers c{"//", "/*", "*/"};
    struct Case {
        const char* line;
        bool inBlockBefore;
        bool comment, code, inBlockAfter;
    };
    const Case cases[] = {
        {"int a;", false, false, true, false},
        {"// note", false, true, false, false},
        {"a; // note", false, true, true, false},
        {"a;//", false, true, true, false},
        {"s = \"//\";", false, true, true, false},
        {"/* a */ x;", false, true, true, false},
        {"/* a */ /* b", false, true, false, true},
        {"/**/", false, true, false, false},
        // "*/" overlaps "/*": only the "/" behind the begin marker is inside the block.
        {"/*/", false, true, false, true},
        {"a */ b", false, false, true, false},
        {"*/", false, false, true, false},
        {"a; // b /* c", false, true, true, false},
        {"a; /* b", false, true, true, true},
        // Blocks do not nest: the first end marker closes.
        {"/* /* */ a", false, true, true, false},
        {"/* a */ */ b", false, true, true, false},
        // A single-line marker inside a block comment does not hide what follows the block.
        {"/* // */ a", false, true, true, false},
        {"a /* b */ c /* d */", false, true, true, false},
        {"  \t/* a */  ", false, true, false, false},
        {"text", true, true, false, true},
        {"// text", true, true, false, true},
        {"*/", true, true, false, false},
        {"x */ a;", true, true, true, false},
        {"x */ // y", true, true, false, false},
        {"x */ /* y", true, true, false, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << '"' << k.line << "\" inBlock " << k.inBlockBefore);
        bool comment = false, code = false, inBlock = k.inBlockBefore;
        Counter::ParseLine(c, k.line, comment, code, inBlock);
        EXPECT_EQ(comment, k.comment);
        EXPECT_EQ(code, k.code);
        EXPECT_EQ(inBlock, k.inBlockAfter);
    }
}

TEST(ParseLineTest, BlankLineChangesNoFlag) {
    const Counter::Markers c{"//", "/*", "*/"};
    for (bool initial : {false, true}) {
        bool comment = initial, code = initial, inBlock = initial;
        Counter::ParseLine(c, " \t\v\f\r\n", comment, code, inBlock);
        EXPECT_EQ(comment, initial);
        EXPECT_EQ(code, initial);
        EXPECT_EQ(inBlock, initial);
    }
}

// When one marker is a prefix of the other, both are found at one position and the block
// wins.
TEST(ParseLineTest, BeginMarkerWinsOverSingleAtSamePosition) {
    const Counter::Markers lua{"--", "--[[", "]]"};
    const Counter::Markers slash{"/", "/*", "*/"};
    struct Case {
        const Counter::Markers* markers;
        const char* line;
        bool comment, code, inBlockAfter;
    };
    const Case cases[] = {
        {&lua, "--[[ note", true, false, true},   {&lua, "a --[[ note", true, true, true},
        {&lua, "--[[ a ]] b", true, true, false}, {&lua, "-- note --[[", true, false, false},
        {&slash, "/* a */ b", true, true, false}, {&slash, "/* a", true, false, true},
        {&slash, "/ a /*", true, false, false},   {&slash, "a / b", true, true, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.line);
        bool comment = false, code = false, inBlock = false;
        Counter::ParseLine(*k.markers, k.line, comment, code, inBlock);
        EXPECT_EQ(comment, k.comment);
        EXPECT_EQ(code, k.code);
        EXPECT_EQ(inBlock, k.inBlockAfter);
    }
}

TEST(ParseLineTest, EmptyMarkersAreAbsent) {
    struct Case {
        Counter::Markers markers;
        const char* line;
        bool inBlockBefore;
        bool comment, code, inBlockAfter;
    };
    const Case cases[] = {
        {{"", "", ""}, "// a /* b */", false, false, true, false},
        {{"#", "", ""}, "# a /* b", false, true, false, false},
        {{"#", "", ""}, "a # b", false, true, true, false},
        // Without an end marker a block never closes.
        {{"//", "/*", ""}, "/* a */ b", false, true, false, true},
        {{"//", "/*", ""}, "*/ b", true, true, false, true},
        {{"", "", "*/"}, "a */ b", false, false, true, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.line);
        bool comment = false, code = false, inBlock = k.inBlockBefore;
        Counter::ParseLine(k.markers, k.line, comment, code, inBlock);
        EXPECT_EQ(comment, k.comment);
        EXPECT_EQ(code, k.code);
        EXPECT_EQ(inBlock, k.inBlockAfter);
    }
}

// One line may hold any number of comments; the classifier must not need a stack frame for
// each of them.
TEST(ParseLineTest, MillionCommentsOnOneLine) {
    std::string line;
    for (int i = 0; i < 1000000; ++i)
        line += "/**/";
    bool comment = false, code = false, inBlock = false;
    Counter::ParseLine({"//", "/*", "*/"}, line, comment, code, inBlock);
    EXPECT_TRUE(comment);
    EXPECT_FALSE(code);
    EXPECT_FALSE(inBlock);

    EXPECT_EQ(CountByRule(line + "x;\n", &kC), (Counts{1, 0, 0, 1, 0}));
    EXPECT_EQ(CountByRule(line + "/*\nx;\n", &kC), (Counts{2, 0, 2, 0, 0}));
}

// Generated or minified sources can hold a long line of comments and no single-line marker.
// Classifying it must take time in proportion to its length: a linear pass over these
// 300 KB takes milliseconds, one scan of the rest of the line per comment takes many seconds.
TEST(ParseLineTest, ManyCommentsWithoutSingleMarkerInLinearTime) {
    std::string line;
    for (int i = 0; i < 50000; ++i)
        line += "/* */ ";
    bool comment = false, code = false, inBlock = false;
    const auto start = std::chrono::steady_clock::now();
    Counter::ParseLine({"//", "/*", "*/"}, line, comment, code, inBlock);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(comment);
    EXPECT_FALSE(code);
    EXPECT_FALSE(inBlock);
    EXPECT_LT(took.count(), 2.0);
}

// ---- CountByRule ----------------------------------------------------------------------

TEST(CountByRuleTest, ClassifiesFilesWithCMarkers) {
    struct Case {
        const char* name;
        std::string text;
        Counts expected;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"no final line end", "a\nb", {2, 2, 0, 0, 0}},
        {"final line end adds no line", "a\n", {1, 1, 0, 0, 0}},
        {"spaces and tabs are blank", " \t \n\v\f\r\n", {2, 0, 0, 0, 2}},
        {"byte-order mark is code", "\xEF\xBB\xBF\n", {1, 1, 0, 0, 0}},
        {"no-break space is no white space", "\xA0\n", {1, 1, 0, 0, 0}},
        {"NUL is code", "\0\na\0// b\n"s, {2, 1, 0, 1, 0}},
        {"trailing remark", "x = 1; // c\n// c\n", {2, 0, 1, 1, 0}},
        {"closed block then code", "/* a */ x;\n", {1, 0, 0, 1, 0}},
        {"closed block then open block", "/* a */ /* b\nc\n", {2, 0, 2, 0, 0}},
        {"end marker outside a block", "a */ b\n*/\n", {2, 2, 0, 0, 0}},
        {"marker in a string literal", "s = \"//\";\n", {1, 0, 0, 1, 0}},
        {"begin behind single opens nothing", "a; // b /* c\nd;\n", {2, 1, 0, 1, 0}},
        {"block over lines", "a; /* b\nc\n\nd */ e;\nf;\n", {5, 1, 1, 2, 1}},
        {"unclosed block to end of file", "/* a\nb\n\nc", {4, 0, 3, 0, 1}},
        {"mixed line ends", "// a\r\n\r\n/* b\r*/ c\r", {4, 0, 2, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CountByRule(c.text, &kC), c.expected);
    }
}

TEST(CountByRuleTest, MarkerlessRulesCountEveryLineAsCode) {
    const std::string text = "// a\n/* b */\n\n#c\n";
    const CounterRule none = MakeRule("", "", "");
    EXPECT_EQ(CountByRule(text, &none), (Counts{4, 3, 0, 0, 1}));
    EXPECT_EQ(CountByRule(text, nullptr), (Counts{4, 3, 0, 0, 1}));

    RuleCounter counter; // m_rule left null
    EXPECT_EQ(CountWith(counter, text), (Counts{4, 3, 0, 0, 1}));
}

TEST(CountByRuleTest, BlockWithoutEndMarkerNeverCloses) {
    const CounterRule rule = MakeRule("//", "/*", "");
    EXPECT_EQ(CountByRule("x\n/* a */\ny\n\n// z\n", &rule), (Counts{5, 1, 3, 0, 1}));
}

TEST(CountByRuleTest, OpenBlockDoesNotCarryIntoNextFile) {
    RuleCounter counter;
    CounterRule rule = MakeRule("//", "/*", "*/");
    counter.m_rule = &rule;
    EXPECT_EQ(CountWith(counter, "/* a\n"), (Counts{1, 0, 1, 0, 0}));
    EXPECT_EQ(CountWith(counter, "x;\n"), (Counts{1, 1, 0, 0, 0}));
}

TEST(CountByRuleTest, AddsToTheCountersItIsGiven) {
    RuleCounter counter;
    Counts n{10, 10, 10, 10, 10};
    counter.CountByRule(TextLines("x;\n// a\n\n"s), &kC, n.total, n.code, n.comment, n.codeComment,
                        n.blank);
    EXPECT_EQ(n, (Counts{13, 11, 11, 10, 11}));
}

// Each byte is one ISO-8859-1 character, so a marker must be matched byte for byte in that
// encoding; one that cannot be written in it never matches.
TEST(CountByRuleTest, MarkersAreMatchedAsLatin1Bytes) {
    const CounterRule section = MakeRule(wxString(L"\u00A7"), "", "");
    EXPECT_EQ(CountByRule("\xA7 note\na \xA7 b\n\xC2\xA7 x\nplain\n", &section),
              (Counts{4, 1, 1, 2, 0}));

    const CounterRule cjk = MakeRule(wxString(L"\u4E2D"), wxString(L"/\u4E2D"), "*/");
    // U+4E2D cut to one byte would be "-".
    EXPECT_EQ(CountByRule("\xE4\xB8\xAD a\n? b\n- c\n/ d\n/? e\n/- f\n*/\n", &cjk),
              (Counts{7, 7, 0, 0, 0}));
}

// A counter serves file after file; an edited rule must take effect for the next file.
TEST(CountByRuleTest, EditedRuleTakesEffect) {
    CounterRule rule = MakeRule("//", "", "");
    RuleCounter counter;
    counter.m_rule = &rule;
    EXPECT_EQ(CountWith(counter, "// a\n"), (Counts{1, 0, 1, 0, 0}));
    rule.m_strSingleLineComment = "#";
    EXPECT_EQ(CountWith(counter, "// a\n"), (Counts{1, 1, 0, 0, 0}));
    EXPECT_EQ(CountWith(counter, "# b\n"), (Counts{1, 0, 1, 0, 0}));
    rule.m_strMultiLineCommentBegin = "{";
    rule.m_strMultiLineCommentEnd = "}";
    EXPECT_EQ(CountWith(counter, "{ a\nb }\n"), (Counts{2, 0, 2, 0, 0}));
}

// ---- TxtCounter -----------------------------------------------------------------------

TEST(TxtCounterTest, CountsTotalAndBlankOnly) {
    struct Case {
        const char* name;
        std::string text;
        Counts expected;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"three lines, one of spaces", "a\n   \nb\n", {3, 0, 0, 0, 1}},
        {"text after leading spaces", "   x", {1, 0, 0, 0, 0}},
        {"comment markers mean nothing", "// a\n/* b */\n", {2, 0, 0, 0, 0}},
        {"white space controls", "\t\v\f\r\n\r\n", {2, 0, 0, 0, 2}},
        {"no-break space is text", "\xA0\n", {1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TxtCounter counter;
        EXPECT_EQ(CountWith(counter, c.text), c.expected);
    }
}

// ---- Counter::Count on files ----------------------------------------------------------

namespace {

wxDateTime FileTime() {
    return wxDateTime(3, wxDateTime::Feb, 2001, 4, 5, 6);
}
wxDateTime RecordTime() {
    return wxDateTime(1, wxDateTime::Jan, 1999, 0, 0, 0);
}

// Counts the file with C markers; the record starts with a date no file here has.
FileResult CountFile(const wxString& path) {
    FileResult record;
    record.m_strPath = path;
    record.m_dtModified = RecordTime();
    RuleCounter counter;
    CounterRule rule = MakeRule("//", "/*", "*/");
    counter.m_rule = &rule;
    counter.Count(&record, nullptr, nullptr);
    return record;
}

Counts CountsOf(const FileResult& r) {
    return Counts{r.m_nLines, r.m_nCodeLines, r.m_nCommentLines, r.m_nCodeCommentLines,
                  r.m_nBlankLines};
}

void ExpectUntouched(const FileResult& record) {
    EXPECT_EQ(record.m_nSize, 0u);
    EXPECT_EQ(CountsOf(record), Counts{});
    EXPECT_EQ(record.m_dtModified, RecordTime());
}

} // namespace

TEST(CounterCountTest, FillsSizeTimeAndLinesOfRegularFiles) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        Counts expected;
    };
    const Case cases[] = {
        {"source file", "int a;\n// c\n\n/* d */ e;\n", {4, 1, 1, 1, 1}},
        {"zero bytes", "", {}},
        {"no final line end", "a\nb", {2, 2, 0, 0, 0}},
        {"lone CRs", "a\rb\r\r", {3, 2, 0, 0, 1}},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const wxString path = dir.Write(wxString::Format("f%d.c", index++), c.bytes);
        const wxDateTime fileTime = FileTime();
        ASSERT_TRUE(wxFileName(path).SetTimes(nullptr, &fileTime, nullptr));
        const FileResult record = CountFile(path);
        EXPECT_EQ(record.m_nSize, c.bytes.size());
        EXPECT_EQ(record.m_dtModified, fileTime);
        EXPECT_EQ(CountsOf(record), c.expected);
    }
}

TEST(CounterCountTest, LeavesRecordOfNonRegularPathsAlone) {
    TempDir dir;
    dir.Write("folder/inner.c", "x;\n");
    const wxString dangling = dir / "dangling.c";
    ASSERT_EQ(symlink((dir / "nowhere.c").utf8_str().data(), dangling.utf8_str().data()), 0);

    for (const wxString& path : {dir / "folder", dangling, dir / "missing.c"}) {
        SCOPED_TRACE(path.ToStdString());
        ExpectUntouched(CountFile(path));
    }
}

// Opening a FIFO for reading waits for a writer; a counting run must not hang on one.
TEST(CounterCountTest, FifoDoesNotBlock) {
    TempDir dir;
    const wxString fifo = dir / "pipe.c";
    ASSERT_EQ(mkfifo(fifo.utf8_str().data(), 0644), 0);

    auto done = std::async(std::launch::async, [&] { return CountFile(fifo); });
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Release the reader so that the test can end.
        const int fd = open(fifo.utf8_str().data(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            close(fd);
        ADD_FAILURE() << "Count blocked on a FIFO";
    }
    ExpectUntouched(done.get());
}
