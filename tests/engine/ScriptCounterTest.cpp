// Tests of the script-page counters: ASPX and JSP with their fixed "<%" markers, and the
// marker walk of the PHP counter.
#include "AspxCounter.h"
#include "JspCounter.h"
#include "PhpCounter.h"
#include "TestSupport.h"

#include <tuple>

// Neither style uses code+comment: a line of both adds to code and to comment.
TEST(ScriptPageCounterTest, AspxAndJspSideBySide) {
    const std::tuple<std::string, LineCounts, LineCounts> cases[] = {
        {"<p>\n\n\t<%\nint a = 1;\n%>\n<p>\n", {6, 3, 0, 0, 1}, {6, 3, 0, 0, 1}},
        {"a %> b <% c\nx\n", {2, 1, 0, 0, 0}, {2, 1, 0, 0, 0}},
        {"<%\n// a /* b\nc\n%>\n", {4, 3, 1, 0, 0}, {4, 3, 1, 0, 0}},
        {"<%\n\t\n}\n%>\n", {4, 3, 0, 0, 1}, {4, 3, 0, 0, 1}},
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
    for (const auto& [text, byAspx, byJsp] : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        AspxCounter aspx;
        JspCounter jsp;
        EXPECT_EQ(CountText(aspx, text), byAspx) << "ASPX";
        EXPECT_EQ(CountText(jsp, text), byJsp) << "JSP";
    }
}

TEST(PhpCounterTest, WalksMarkersInOrder) {
    const std::pair<std::string, LineCounts> cases[] = {
        {"<?php echo 1; ?> # x /* y\n<p>\n", {2, 1, 0, 0, 0}},
        {"<?php\n# a\n\n// b\necho 1; // c\n?>\n", {6, 3, 3, 0, 1}},
        // Markers between a line comment and a "?>" behind it are not looked at.
        {"<?php\necho 1; // a /* b ?> <b>\n<p>markup</p>\n", {3, 2, 1, 0, 0}},
        {"<?php\n// a ?> b <? c\nx\n", {3, 3, 1, 0, 0}},
        {"<?php\n/* a\nb\n*/\necho 1;\n?>\n", {6, 3, 3, 0, 0}},
        {"<?php\n/* a ?> b\nc */\nx\n?>\n", {5, 3, 2, 0, 0}},
        // "/*/" holds "/*" at 0 and "*/" at 1: the block closes on its own line.
        {"<?php\n/*/\nx\n*/\n?>\n", {5, 3, 1, 0, 0}},
        {"<?php\n*/*\nx\n*/\n?>\n", {5, 3, 3, 0, 0}},
        {"<?php\n*/\n<?\n?>\n", {4, 2, 0, 0, 0}},
        {"<?php\n<? ?>\nx\n", {3, 1, 0, 0, 0}},
    };
    for (const auto& [text, expected] : cases) {
        PhpCounter php;
        EXPECT_EQ(CountText(php, text), expected) << testing::PrintToString(text);
    }
}

// The open script and block comment end with the file; ASPX and JSP never touch
// code+comment.
TEST(ScriptPageCounterTest, StateEndsWithTheFile) {
    AspxCounter aspx;
    JspCounter jsp;
    PhpCounter php;
    for (Counter* counter : {static_cast<Counter*>(&aspx), static_cast<Counter*>(&jsp)}) {
        CountText(*counter, "<%\n/*\n");
        EXPECT_EQ(CountText(*counter, "x\ny\n<%\nx; // a\n", {0, 0, 0, 5, 0}),
                  (LineCounts{4, 2, 1, 5, 0}));
    }
    EXPECT_EQ(CountText(php, "<?php\n/*\n"), (LineCounts{2, 1, 1, 0, 0}));
    EXPECT_EQ(CountText(php, "x\n<?php\nx\n"), (LineCounts{3, 2, 0, 0, 0}));
}
