// Tests of the script-page counters: ASPX and JSP with their fixed "<%" markers, and the
// marker walk of the PHP counter.
#include "AspxCounter.h"
#include "JspCounter.h"
#include "PhpCounter.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

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

Counts CountWith(Counter& counter, const std::string& text) {
    Counts n;
    counter.CountLines(TextLines(text), n.total, n.code, n.comment, n.codeComment, n.blank);
    return n;
}

} // namespace

// ---- ASPX and JSP ---------------------------------------------------------------------

// Counts are {total, code, comment, code+comment, blank}; neither style uses code+comment.
TEST(ScriptPageCounterTest, AspxAndJspSideBySide) {
    struct Case {
        const char* name;
        std::string text;
        Counts aspx;
        Counts jsp;
    };
    const Case cases[] = {
        {"markup only", "<html>\n<body>\n\n</body>\n</html>\n", {5, 0, 0, 0, 1}, {5, 0, 0, 0, 1}},
        {"four-line block",
         "<p>\n<%\nint a = 1;\na++;\n%>\n<p>after</p>\n",
         {6, 4, 0, 0, 0},
         {6, 4, 0, 0, 0}},
        {"one-line block", "<% Response.Write(1) %>\nmarkup\n", {2, 1, 0, 0, 0}, {2, 1, 0, 0, 0}},
        {"indented one-line block", "  \t<%= x %>  \t\n", {1, 1, 0, 0, 0}, {1, 1, 0, 0, 0}},
        {"overlapping markers outside", "<%>\nx\n", {2, 1, 0, 0, 0}, {2, 1, 0, 0, 0}},
        {"markers in either order", "a %> b <% c\nx\n", {2, 1, 0, 0, 0}, {2, 1, 0, 0, 0}},
        // Only a line that starts with "<%" opens a JSP block.
        {"open in mid-line", "<p><% x = 1;\ny = 2;\n%>\n", {3, 3, 0, 0, 0}, {3, 0, 0, 0, 0}},
        {"trailing remark", "<%\nx = 1; // one\n%>\n", {3, 3, 1, 0, 0}, {3, 3, 1, 0, 0}},
        {"comment line", "<%\n// note\n%>\n", {3, 2, 1, 0, 0}, {3, 2, 1, 0, 0}},
        {"remark then block marker", "<%\n// a /* b\nc\n%>\n", {4, 3, 1, 0, 0}, {4, 3, 1, 0, 0}},
        {"remark ending in %>", "<%\n// x %>\nmarkup\n", {3, 2, 0, 0, 0}, {3, 2, 0, 0, 0}},
        {"blank script line", "<%\n\t\n%>\n", {3, 2, 0, 0, 1}, {3, 2, 0, 0, 1}},
        {"one-character line", "<%\n}\n%>\n", {3, 3, 0, 0, 0}, {3, 3, 0, 0, 0}},
        // Only a line that ends with "%>" closes a JSP block.
        {"close in mid-line",
         "<%\nx = 1; %> <b>markup</b>\n<i>after</i>\n%>\n",
         {4, 2, 0, 0, 0},
         {4, 3, 0, 0, 0}},
        // A last character ">" or a last-but-one "%" skips both "//" rules.
        {"remark ending in >", "<%\n// see <b>\n%>\n", {3, 3, 0, 0, 0}, {3, 2, 0, 0, 0}},
        {"remark with % before last", "<%\n// 5%;\n%>\n", {3, 3, 0, 0, 0}, {3, 2, 0, 0, 0}},
        {"skipped remark opens a block",
         "<%\n// a /* 5%x\nc\n%>\n",
         {4, 1, 3, 0, 0},
         {4, 3, 0, 0, 0}},
        {"script begin inside script",
         "<%\nString s = \"<%\";\n%>\n",
         {3, 3, 0, 0, 0},
         {3, 2, 0, 0, 0}},
        // JSP has no block comments; in ASPX "%>" inside one does not close the script.
        {"block comment",
         "<%\n/*\nnote\n%> still comment\nend */\nx;\n%>\n",
         {7, 3, 4, 0, 0},
         {7, 6, 0, 0, 0}},
        {"end marker mid-line stays open",
         "<%\n/* a\nb */ x;\nc\n*/\n%>\n",
         {6, 2, 4, 0, 0},
         {6, 6, 0, 0, 0}},
        {"one character cannot close", "<%\n/*\n/\n*/\n%>\n", {5, 2, 3, 0, 0}, {5, 5, 0, 0, 0}},
        {"block comments on one line",
         "<%\n/* note */\nx /* a */ y\n%>\n",
         {4, 3, 1, 0, 0},
         {4, 4, 0, 0, 0}},
        {"code then open block",
         "<%\nx = 1; /* start\nmore\n*/\n%>\n",
         {5, 2, 3, 0, 0},
         {5, 5, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AspxCounter aspx;
        JspCounter jsp;
        EXPECT_EQ(CountWith(aspx, c.text), c.aspx) << "ASPX";
        EXPECT_EQ(CountWith(jsp, c.text), c.jsp) << "JSP";
    }
}

TEST(ScriptPageCounterTest, StateEndsWithTheFile) {
    AspxCounter aspx;
    JspCounter jsp;
    for (Counter* counter : {static_cast<Counter*>(&aspx), static_cast<Counter*>(&jsp)}) {
        CountWith(*counter, "<%\n/*\n");
        EXPECT_EQ(CountWith(*counter, "x\n"), (Counts{1, 0, 0, 0, 0}));
    }
    // A block comment left open does not hide the next file's script.
    CountWith(aspx, "<%\n/*\n");
    EXPECT_EQ(CountWith(aspx, "<%\nx\n"), (Counts{2, 2, 0, 0, 0}));
}

TEST(ScriptPageCounterTest, CodeCommentCounterIsLeftAlone) {
    AspxCounter aspx;
    JspCounter jsp;
    for (Counter* counter : {static_cast<Counter*>(&aspx), static_cast<Counter*>(&jsp)}) {
        Counts n{0, 0, 0, 5, 0};
        counter->CountLines(TextLines(std::string("<%\nx = 1; // one\n%>\n")), n.total, n.code,
                            n.comment, n.codeComment, n.blank);
        EXPECT_EQ(n, (Counts{3, 3, 1, 5, 0}));
    }
}

// ---- PHP ------------------------------------------------------------------------------

TEST(PhpCounterTest, WalksMarkersInOrder) {
    struct Case {
        const char* name;
        std::string text;
        Counts expected;
    };
    const std::string longBlock = "$a = 1; /*" + std::string(254, 'a') + "*/ $b = 2;";
    const std::string longRemark = "<?php " + std::string(250, 'a') + " // c ?> <b>";
    const Case cases[] = {
        {"markup with markers outside",
         "<html>\n<a href=\"http://x/#top\">/* ?> */</a>\n\n",
         {3, 0, 0, 0, 1}},
        {"four code lines", "<?php\necho 1;\n$a = 2;\n?>\n", {4, 4, 0, 0, 0}},
        {"one-line section", "<?php echo 1; ?> # x\n<p>after</p>\n", {2, 1, 0, 0, 0}},
        {"line comments", "<?php\n# note\n// note\necho 1; // note\n?>\n", {5, 3, 3, 0, 0}},
        {"hash behind script begin", "<?php # note\nx\n", {2, 2, 1, 0, 0}},
        {"blank script line", "<?php\n  \t\n?>\n", {3, 2, 0, 0, 1}},
        // Markers between a line comment and the "?>" behind it are not looked at.
        {"code, comment, then end",
         "<?php\necho 1; // a /* b ?> <b>\n<p>markup</p>\n",
         {3, 2, 1, 0, 0}},
        {"comment, then end", "<?php\n// a ?> <b>\nx\n", {3, 1, 1, 0, 0}},
        {"begin skipped after comment", "<?php\n// a <? b ?> c\nx\n", {3, 1, 1, 0, 0}},
        {"reopened after comment and end", "<?php\n// a ?> b <? c\nx\n", {3, 3, 1, 0, 0}},
        {"block over lines", "<?php\n/* a\nb\n*/\necho 1;\n?>\n", {6, 3, 3, 0, 0}},
        {"block on one line", "<?php\n/* a */\nx\n?>\n", {4, 3, 1, 0, 0}},
        {"code and two blocks", "<?php\n$a = 1; /* x */ $b = 2; /* y */\nz\n?>\n", {4, 4, 1, 0, 0}},
        {"end inside a block", "<?php\n/* a ?> b\nc */\nx\n?>\n", {5, 3, 2, 0, 0}},
        // "/*/" holds "/*" at 0 and "*/" at 1, so the block closes on its own line.
        {"overlapping /*/", "<?php\n/*/\nx\n*/\n?>\n", {5, 3, 1, 0, 0}},
        {"overlapping */*", "<?php\n*/*\nx\n*/\n?>\n", {5, 3, 3, 0, 0}},
        {"overlapping //*", "<?php\n//*\nx\n?>\n", {4, 3, 1, 0, 0}},
        {"stray block end", "<?php\n*/\n?>\n", {3, 2, 0, 0, 0}},
        {"stray script begin", "<?php\n<?\n?>\n", {3, 2, 0, 0, 0}},
        {"stray begin then end", "<?php\n<? ?>\nx\n", {3, 1, 0, 0, 0}},
        // Positions past 255 must keep their order.
        {"long line with a block", "<?php\n" + longBlock + "\nx\n?>\n", {4, 4, 1, 0, 0}},
        {"long line with comment and end", longRemark + "\nx\n", {2, 1, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PhpCounter php;
        EXPECT_EQ(CountWith(php, c.text), c.expected);
    }
}

TEST(PhpCounterTest, StateEndsWithTheFile) {
    PhpCounter php;
    EXPECT_EQ(CountWith(php, "<?php\n/*\n"), (Counts{2, 1, 1, 0, 0}));
    EXPECT_EQ(CountWith(php, "x\n"), (Counts{1, 0, 0, 0, 0}));
    EXPECT_EQ(CountWith(php, "<?php\nx\n"), (Counts{2, 2, 0, 0, 0}));
}
