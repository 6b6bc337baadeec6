// Tests of the line splitting, the rule-driven classifier, the plain-text counter and the
// file reading frame of Counter::Count.
#include "ChunkReader.h"
#include "CounterRule.h"
#include "FileResult.h"
#include "RuleCounter.h"
#include "TestSupport.h"
#include "TxtCounter.h"

#include <chrono>
#include <fcntl.h>
#include <future>
#include <random>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {

std::vector<std::string> Split(const TextLines& lines) {
    std::vector<std::string> out;
    for (std::string_view line : lines)
        out.emplace_back(line);
    return out;
}

// A rule-driven counter with a rule of its own.
struct OwnRuleCounter : RuleCounter {
    OwnRuleCounter(const wxString& single, const wxString& begin, const wxString& end) {
        rule.m_strSingleLineComment = single;
        rule.m_strMultiLineCommentBegin = begin;
        rule.m_strMultiLineCommentEnd = end;
        m_rule = &rule;
    }
    CounterRule rule{"Test", ""};
};

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
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(Split(TextLines(text)), lines);
        EXPECT_EQ(TextLines(text).LineCount(), lines.size());
    }
}

// Reading a file in small chunks must split it exactly as the whole text in memory: a CR LF,
// a marker or a line may straddle two chunks, and a file may shrink after it was opened.
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
        const wxString path = dir.Write("f.c", text);
        const int fd = open(path.fn_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        // Claim a larger size: the reader stops at the real end, as for a shrunk file.
        ChunkReader reader(fd, text.size() + round % 3, chunk);
        EXPECT_EQ(Split(TextLines(reader)), Split(TextLines(text)));
        close(fd);
        EXPECT_FALSE(reader.Failed());
    }
}

TEST(ParseLineTest, ClassifiesOneLine) {
    const Counter::Markers c{"//", "/*", "*/"}, lua{"--", "--[[", "]]"};
    const Counter::Markers none{"", "", ""}, hash{"#", "", ""}, noEnd{"//", "/*", ""};
    const std::tuple<const Counter::Markers*, const char*, bool, bool, bool, bool> cases[] = {
        {&c, "a; // b /* c", false, true, true, false},
        {&c, "a; /* b", false, true, true, true},
        {&c, "/*/", false, true, false, true}, // "*/" overlaps "/*"
        {&c, "/* /* */ a", false, true, true, false},
        {&c, "/* // */ a", false, true, true, false},
        {&c, "a */ b", false, false, true, false},
        {&c, " \t\v\f", true, false, false, true},
        {&c, "a */ b;", true, true, true, false},
        {&c, "*/ /* b", true, true, false, true},
        // Found at one position, the begin marker wins over the single marker.
        {&lua, "--[[ a ]] b", false, true, true, false},
        {&lua, "-- a --[[", false, true, false, false},
        // An empty marker is absent: without an end marker a block never closes.
        {&none, "// a /* b */", false, false, true, false},
        {&hash, "a # b /* c", false, true, true, false},
        {&noEnd, "/* a */ b", false, true, false, true},
    };
    // Flags already set stay set: they are only ever raised.
    for (const auto& [markers, line, inBlockBefore, comment, code, inBlockAfter] : cases)
        for (const bool set : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << '"' << line << "\" inBlock " << inBlockBefore << " flags set " << set);
            bool hasComment = set, hasCode = set, inBlock = inBlockBefore;
            Counter::ParseLine(*markers, line, hasComment, hasCode, inBlock);
            EXPECT_EQ(hasComment, comment || set);
            EXPECT_EQ(hasCode, code || set);
            EXPECT_EQ(inBlock, inBlockAfter);
        }
}

// A million comments on one line need no stack frame each. A linear pass over the 300 KB of
// the second line takes milliseconds; searching the rest of the line for the absent "//" once
// per comment takes many seconds.
TEST(ParseLineTest, LinesOfManyComments) {
    std::string million, spaced;
    for (int i = 0; i < 1000000; ++i)
        million += "/**/";
    for (int i = 0; i < 50000; ++i)
        spaced += "/* */ ";
    bool comment = false, code = false, inBlock = false;
    Counter::ParseLine({"//", "/*", "*/"}, million + "x; /* a", comment, code, inBlock);
    EXPECT_TRUE(comment && code && inBlock);
    comment = code = inBlock = false;
    const auto start = std::chrono::steady_clock::now();
    Counter::ParseLine({"//", "/*", "*/"}, spaced, comment, code, inBlock);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(comment && !code && !inBlock);
    EXPECT_LT(took.count(), 2.0);
}

TEST(CountLinesTest, CountsFilesByRuleOrAsText) {
    OwnRuleCounter byC("//", "/*", "*/"), bySection(wxString(L"\u00A7"), "", "");
    // U+4E2D has no byte: cut to one it would be "-", replaced "?".
    OwnRuleCounter byCjk(wxString(L"\u4E2D"), wxString(L"/\u4E2D"), "*/");
    RuleCounter byNoRule;
    TxtCounter text;
    const std::tuple<Counter*, std::string, LineCounts> cases[] = {
        {&byC, "", {}},
        {&byC, " \t \n\v\f\r\n", {2, 0, 0, 0, 2}},
        {&byC, "\xEF\xBB\xBF\n\xA0\n", {2, 2, 0, 0, 0}},
        {&byC, "\0\na\0// b\n"s, {2, 1, 0, 1, 0}},
        {&byC, "a; /* b\nc\n\nd */ e;\nf;\n", {5, 1, 1, 2, 1}},
        {&byC, "/* a\nb\n\nc", {4, 0, 3, 0, 1}},
        {&byNoRule, "// a\n/* b */\n\n", {3, 2, 0, 0, 1}},
        {&bySection, "\xA7 a\nb \xA7 c\n\xC2\xA7 d\n", {3, 0, 1, 2, 0}},
        {&byCjk, "\xE4\xB8\xAD a\n? b\n- c\n/ d\n/? e\n/- f\n*/\n", {7, 7, 0, 0, 0}},
        {&text, "", {}},
        {&text, " \t\v\f\r\n\r\n", {2, 0, 0, 0, 2}},
        {&text, "// a\n   x\n\xA0\n", {3, 0, 0, 0, 0}},
    };
    for (const auto& [counter, text, expected] : cases)
        EXPECT_EQ(CountText(*counter, text), expected) << testing::PrintToString(text);
}

// A counter serves file after file: it adds to the counts it is given, starts each file
// outside a block and follows edits of its rule.
TEST(CountLinesTest, CountsFileAfterFile) {
    OwnRuleCounter counter("//", "/*", "*/");
    CounterRule& rule = counter.rule;
    EXPECT_EQ(CountText(counter, "/* a\n", {1, 1, 1, 1, 1}), (LineCounts{2, 1, 2, 1, 1}));
    EXPECT_EQ(CountText(counter, "x;\n"), (LineCounts{1, 1, 0, 0, 0}));
    rule.m_strSingleLineComment = "#";
    EXPECT_EQ(CountText(counter, "x // a\n# b\n"), (LineCounts{2, 1, 1, 0, 0}));
    rule.m_strMultiLineCommentBegin = "{";
    rule.m_strMultiLineCommentEnd = "}";
    EXPECT_EQ(CountText(counter, "{ a\nb }\n"), (LineCounts{2, 0, 2, 0, 0}));
}

// Only a regular file fills the record. Opening a FIFO for reading would wait for a writer: a
// counting run must not hang on one.
TEST(CounterCountTest, FillsRecordOfRegularFilesOnly) {
    TempDir dir;
    const std::string bytes = "int a;\n// c\n\n/* d */ e;\n";
    const wxString file = dir.Write("f.c", bytes), dangling = dir / "dangling.c";
    const wxDateTime fileTime(3, wxDateTime::Feb, 2001, 4, 5, 6), old(1, wxDateTime::Jan, 1999);
    ASSERT_TRUE(wxFileName(file).SetTimes(nullptr, &fileTime, nullptr));
    ASSERT_EQ(symlink((dir / "nowhere.c").utf8_str().data(), dangling.utf8_str().data()), 0);
    ASSERT_EQ(mkfifo((dir / "pipe.c").utf8_str().data(), 0644), 0);
    OwnRuleCounter counter("//", "/*", "*/");
    struct Case {
        wxString path;
        std::size_t size;
        wxDateTime time;
        LineCounts counts;
    };
    const Case cases[] = {
        {file, bytes.size(), fileTime, {4, 1, 1, 1, 1}},
        {dir.MakeDir("folder"), 0, old, {}},
        {dangling, 0, old, {}},
        {dir / "missing.c", 0, old, {}},
        {dir / "pipe.c", 0, old, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.ToStdString());
        auto done = std::async(std::launch::async, [&] {
            FileResult record;
            record.m_strPath = c.path;
            record.m_dtModified = old;
            counter.Count(&record, nullptr, nullptr);
            return record;
        });
        if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
            // Release the reader so that the test can end.
            const int fd = open(c.path.utf8_str().data(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                close(fd);
            ADD_FAILURE() << "Count blocked";
        }
        const FileResult record = done.get();
        EXPECT_EQ(record.m_nSize, c.size);
        EXPECT_EQ(record.m_dtModified, c.time);
        EXPECT_EQ((LineCounts{record.m_nLines, record.m_nCodeLines, record.m_nCommentLines,
                              record.m_nCodeCommentLines, record.m_nBlankLines}),
                  c.counts);
    }
}
