// The rules file: what a manager reads from conf/conf.xml and the exact bytes it writes back.
#include "CapturedLog.h"
#include "FileExtension.h"
#include "TestSupport.h"

#include <algorithm>
#include <sys/stat.h>
#include <tuple>
#include <vector>
#include <wx/log.h>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const wxString kRulesFile = "conf/conf.xml";
const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string U8(const wxString& text) {
    return text.utf8_string();
}

// Compact input: loading drops the whitespace between elements anyway.
std::string InExt(const std::string& name, const std::string& desc, const std::string& type) {
    return "<extension><name>" + name + "</name><desc>" + desc + "</desc><ruletype>" + type +
           "</ruletype></extension>";
}

std::string InRule(const std::string& type, const std::string& desc, const std::string& single,
                   const std::string& begin, const std::string& end, const std::string& exts = "") {
    return "<rule><type>" + type + "</type><desc>" + desc + "</desc><single-line-comment>" +
           single + "</single-line-comment><multi-line-comment-begin>" + begin +
           "</multi-line-comment-begin><multi-line-comment-end>" + end +
           "</multi-line-comment-end>" + exts + "</rule>";
}

std::string InFile(const std::string& body) {
    return kDecl + "<rules>" + body + "</rules>\n";
}

std::string OutLine(int depth, const std::string& name, const std::string& text) {
    return std::string(2 * depth, ' ') + "<" + name + ">" + text + "</" + name + ">\n";
}

// Saving prepends every node, so children come out in the reverse of their creation order.
std::string OutExt(const std::string& name, const std::string& desc, const std::string& type) {
    return "    <extension>\n" + OutLine(3, "ruletype", type) + OutLine(3, "desc", desc) +
           OutLine(3, "name", name) + "    </extension>\n";
}

std::string OutRule(const std::string& type, const std::string& desc, const std::string& single,
                    const std::string& begin, const std::string& end,
                    const std::string& exts = "") {
    return "  <rule>\n" + exts + OutLine(2, "multi-line-comment-end", end) +
           OutLine(2, "multi-line-comment-begin", begin) +
           OutLine(2, "single-line-comment", single) + OutLine(2, "desc", desc) +
           OutLine(2, "type", type) + "  </rule>\n";
}

std::string OutFile(const std::string& body) {
    return kDecl + "<rules>\n" + body + "</rules>\n";
}

// Elements nested this many levels deep.
std::string Nested(int levels) {
    std::string open, close;
    for (int i = 0; i < levels; ++i)
        open += "<a>", close += "</a>";
    return open + close;
}

// A rule whose description names an entity that ten levels of tenfold references blow up.
std::string EntityBomb() {
    std::string decls = "<!ENTITY e0 \"lol\">";
    for (int level = 1; level < 10; ++level) {
        decls += "<!ENTITY e" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            decls += "&e" + std::to_string(level - 1) + ";";
        decls += "\">";
    }
    return kDecl + "<!DOCTYPE rules [" + decls + "]>\n<rules>" + InRule("C", "&e9;", "", "", "") +
           "</rules>\n";
}

// A text of this many lines of 80 characters, line feeds included.
std::string Lines80(std::size_t lines) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i)
        text.append(79, 'x') += '\n';
    return text;
}

// Far longer than any text written by hand; rules_bench measures loads of 10 MB.
const std::size_t k2MB = 2 << 20;

// The piece repeated `times` times.
std::string Times(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Equal texts, or where they first differ: the diff of every line that EXPECT_EQ gives takes
// gigabytes for texts of thousands of lines.
testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
    if (actual == expected)
        return testing::AssertionSuccess();
    const std::size_t at =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end()).first -
        actual.begin();
    const std::size_t from = at < 40 ? 0 : at - 40;
    return testing::AssertionFailure()
           << actual.size() << " bytes for " << expected.size() << ", first unlike at " << at
           << ": " << testing::PrintToString(actual.substr(from, 80)) << " for "
           << testing::PrintToString(expected.substr(from, 80));
}

// Everything the manager holds, one line per rule and extension, in key order.
Lines Snapshot(const CountingManager& manager) {
    Lines out;
    for (const auto& [key, r] : manager.m_ruleMap)
        out.push_back("rule|" + U8(key) + "|" + U8(r->m_strType) + "|" + U8(r->m_strDesc) + "|" +
                      U8(r->m_strSingleLineComment) + "|" + U8(r->m_strMultiLineCommentBegin) +
                      "|" + U8(r->m_strMultiLineCommentEnd));
    for (const auto& [key, e] : manager.m_extMap)
        out.push_back("ext|" + U8(key) + "|" + U8(e->m_strExt) + "|" + U8(e->m_strRuleType) + "|" +
                      U8(e->m_strDesc) + (e->m_bSelected ? "|selected" : ""));
    return out;
}

class RulesTest : public ::testing::Test {
protected:
    // Writes the rules file and lets a new manager load it.
    CountingManager& Load(const std::string& text) {
        mgr.reset(); // its save at the end would overwrite the file
        dir.Write(kRulesFile, text);
        return Start();
    }
    CountingManager& Start() {
        mgr.reset();
        mgr = std::make_unique<CountingManager>();
        mgr->Init();
        return *mgr;
    }
    // Ends the manager, which saves the rules unless they were saved already; returns the file.
    std::string End() {
        mgr.reset();
        return ReadFile(dir / kRulesFile);
    }

    TempDir dir{true};
    std::unique_ptr<CountingManager> mgr;
};

} // namespace

// Rules are written only when they changed since they were read or last written, and a
// second save replaces the rule elements, not repeats them. Once saved, the end of the
// manager writes nothing more.
TEST_F(RulesTest, OnlyChangedRulesAreWrittenEachSaveReplacingThem) {
    const std::string text = InFile(InRule("C", "C-style languages", "//", "/*", "*/",
                                           InExt(".c", "C source", "C") + InExt(".h", "", "C")));
    Load(text);
    EXPECT_TRUE(mgr->SaveRules());
    EXPECT_EQ(ReadFile(dir / kRulesFile), text);
    for (const char* type : {"c", "c", "C"}) {
        mgr->m_extMap[".h"]->m_strRuleType = type;
        EXPECT_TRUE(mgr->SaveRules());
        EXPECT_EQ(ReadFile(dir / kRulesFile),
                  OutFile(OutRule("C", "C-style languages", "//", "/*", "*/",
                                  OutExt(".h", "", type) + OutExt(".c", "C source", "C"))));
    }
    const std::string last = ReadFile(dir / kRulesFile);
    mgr->m_ruleMap["C"]->m_strDesc = "not saved";
    EXPECT_EQ(End(), last);
}

TEST_F(RulesTest, LoadingQuirks) {
    const std::tuple<const char*, std::string, Lines> cases[] = {
        {"extension names are lowered, none is selected, unknown rule types are kept",
         InRule("C", "c", "//", "/*", "*/", InExt(".CPP", "C++", "C") + InExt(".zz", "z", "No")),
         {"rule|C|C|c|//|/*|*/", "ext|.cpp|.cpp|C|C++", "ext|.zz|.zz|No|z"}},
        {"later duplicates win; extensions of a dropped rule element stay",
         InRule("C", "old", "#", "{", "}", InExt(".Cpp", "first", "C") + InExt(".c", "c", "C")) +
             InRule("C", "new", "//", "/*", "*/", InExt(".CPP", "second", "Basic")),
         {"rule|C|C|new|//|/*|*/", "ext|.c|.c|C|c", "ext|.cpp|.cpp|Basic|second"}},
        {"extensions of one rule element share the texts they lack",
         "<rule><type>C</type>" + InExt(".c", "C source", "C") +
             "<extension><name>.h</name></extension>"
             "<extension><desc>Header</desc></extension>" // the name carried: replaces .h
             "</rule><rule><type>Basic</type>"
             "<extension><name>.bas</name></extension>" // nothing from the C element
             "<extension><name>.vb</name><ruletype>Basic</ruletype></extension></rule>",
         {"rule|Basic|Basic||||", "rule|C|C||||", "ext|.bas|.bas||", "ext|.c|.c|C|C source",
          "ext|.h|.h|C|Header", "ext|.vb|.vb|Basic|"}},
        {"any order, the later text wins, no trimming",
         "<rule><extension><ruletype>Pascal</ruletype><desc>Unit</desc><name>.pas</name>"
         "</extension><multi-line-comment-end>}</multi-line-comment-end><desc>first</desc>"
         "<type>Pascal</type><multi-line-comment-begin>{</multi-line-comment-begin>"
         "<desc>  Pascal and Delphi </desc><single-line-comment>//</single-line-comment></rule>",
         {"rule|Pascal|Pascal|  Pascal and Delphi |//|{|}", "ext|.pas|.pas|Pascal|Unit"}},
        {"CDATA and references are text",
         "<rule><type>Sql</type><desc><![CDATA[a < b && c]]></desc><single-line-comment>"
         "<![CDATA[--]]></single-line-comment><extension><name><![CDATA[.SQL]]></name>"
         "<desc>R&amp;amp;D</desc><ruletype>Sql</ruletype></extension></rule>",
         {"rule|Sql|Sql|a < b && c|--||", "ext|.sql|.sql|Sql|R&amp;D"}},
        {"long texts read whole",
         InRule("C", std::string(300000, 'd'), Lines80(1000), "", ""),
         {"rule|C|C|" + std::string(300000, 'd') + "|" + Lines80(1000) + "||"}},
        {"elements nested as deep as allowed",
         InRule("C", "c", "//", "", "") + Nested(wxXmlDocumentEx::MAX_DEPTH - 1),
         {"rule|C|C|c|//||"}},
    };
    for (const auto& [name, body, loaded] : cases)
        EXPECT_EQ(Snapshot(Load(InFile(body))), loaded) << name;
}

// The file a manager leaves when it ends.
TEST_F(RulesTest, WrittenFile) {
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"the default declaration", "<rules><rule><type>T</type></rule></rules>",
         OutFile(OutRule("T", "", "", "", ""))},
        {"a root without children", kDecl + "<rules>\n  \n</rules>\n", kDecl + "<rules/>\n"},
        {"rules and extensions in descending order, each extension under its own rule type",
         InFile(InRule("C", "c", "//", "/*", "*/",
                       InExt(".bas", "BASIC module", "Basic") + InExt(".c", "C source", "C")) +
                InRule("Basic", "b", "'", "", "", InExt(".vb", "VB.NET", "Basic"))),
         OutFile(
             OutRule("C", "c", "//", "/*", "*/", OutExt(".c", "C source", "C")) +
             OutRule("Basic", "b", "'", "", "",
                     OutExt(".vb", "VB.NET", "Basic") + OutExt(".bas", "BASIC module", "Basic")))},
        {"an extension under every rule matching its type ignoring case; no rule, no extension",
         InFile(InRule("C", "upper", "//", "", "", InExt(".c", "C source", "c")) +
                InRule("c", "lower", "#", "", "", InExt(".zz", "orphan", "Nope"))),
         OutFile(OutRule("c", "lower", "#", "", "", OutExt(".c", "C source", "c")) +
                 OutRule("C", "upper", "//", "", "", OutExt(".c", "C source", "c")))},
        {"other root children kept after the rules",
         kDecl + "<!-- outside the root -->\n<rules version=\"2\">\n  <!-- keep me -->\n" +
             InRule("Basic", "b", "'", "", "") + "  <other kind=\"x\">text</other>\n" +
             InRule("C", "c", "//", "/*", "*/") + "  <empty/>\n</rules>\n",
         kDecl + "<rules version=\"2\">\n" + OutRule("C", "c", "//", "/*", "*/") +
             OutRule("Basic", "b", "'", "", "") +
             "  <!-- keep me -->\n  <other kind=\"x\">text</other>\n  <empty/>\n</rules>\n"},
        {"processing instructions in the root kept after the rules, those outside it dropped",
         kDecl + "<?before b?>\n<rules>\n  <?note x?>\n" + InRule("C", "c", "//", "", "") +
             "\n  <?empty?>\n  <?note   two  words ?>\n</rules>\n<?after a?>\n",
         OutFile(OutRule("C", "c", "//", "", "") +
                 "  <?note x?>\n  <?empty?>\n  <?note two  words ?>\n")},
        {"a file indented with tabs: the layout between the rules dropped",
         kDecl + "<rules>\n\t" + InRule("C", "c", "//", "", "") + "\n\t<!-- note -->\n\t" +
             "<rule>\n\t\t<type>Basic</type>\n\t\t<desc>b</desc>\n\t\t<extension>\n\t\t\t"
             "<name>.bas</name>\n\t\t\t<ruletype>Basic</ruletype>\n\t\t</extension>\n\t"
             "</rule>\r\n\t \t\n</rules>\n",
         OutFile(OutRule("C", "c", "//", "", "") +
                 OutRule("Basic", "b", "", "", "", OutExt(".bas", "", "Basic")) +
                 "  <!-- note -->\n")},
        {"other children of rules and extensions dropped",
         InFile("<rule><note>remember</note><!-- about C --><type>C</type><extension><foo>bar"
                "</foo><name>.c</name><desc>C source</desc><ruletype>C</ruletype></extension>"
                "</rule>"),
         OutFile(OutRule("C", "", "", "", "", OutExt(".c", "C source", "C")))},
        {"empty texts as start and end tag, markup escaped, '&' always",
         InFile("<rule><type>Xml</type><desc>R&amp;amp;D</desc><single-line-comment/>"
                "<multi-line-comment-begin>&lt;!--</multi-line-comment-begin>"
                "<multi-line-comment-end>--&gt;</multi-line-comment-end></rule>"),
         OutFile(OutRule("Xml", "R&amp;amp;D", "", "&lt;!--", "--&gt;"))},
        {"entities written as their text, the document type dropped",
         kDecl +
             "<!DOCTYPE rules [<!ENTITY co \"Corvane\"><!-- of the DTD -->"
             "<!ENTITY full \"&co; &lt;Tallywick&gt;\"><!ENTITY ext '" +
             InExt(".c", "&co; source", "C") + "'>]>\n<rules kind=\"&co;\">\n  <!-- &co; -->\n" +
             InRule("C", "&full; module &amp; &#x41;", "<![CDATA[//&co;]]>", "", "", "&ext;") +
             "</rules>\n",
         kDecl + "<rules kind=\"Corvane\">\n" +
             OutRule("C", "Corvane &lt;Tallywick&gt; module &amp; A", "//&amp;co;", "", "",
                     OutExt(".c", "Corvane source", "C")) +
             "  <!-- &co; -->\n</rules>\n"},
        {"quotes, tabs, line feeds and carriage returns of entity documents kept as references",
         kDecl +
             "<!DOCTYPE rules [<!ENTITY co \"Corvane\">]>\n<rules kind=\"&co;&quot;a&#9;b&#10;c"
             "&#13;d\">" +
             InRule("C", "&co;&#13;line&#9;\"tab\"", "", "", "") + "</rules>\n",
         kDecl + "<rules kind=\"Corvane&quot;a&#9;b&#10;c&#13;d\">\n" +
             OutRule("C", "Corvane&#13;line\t\"tab\"", "", "", "") + "</rules>\n"},
        {"long attributes and comments written whole",
         kDecl + "<rules kind=\"" + std::string(100000, 'k') + "\"><!--" +
             std::string(100000, 'c') + "-->" + InRule("T", "", "", "", "") + "</rules>\n",
         kDecl + "<rules kind=\"" + std::string(100000, 'k') + "\">\n" +
             OutRule("T", "", "", "", "") + "  <!--" + std::string(100000, 'c') +
             "-->\n</rules>\n"},
        {"entities of a document in another encoding, written back in it",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!DOCTYPE rules [<!ENTITY e "
         "\"caf\xE9\">]>\n<rules>" +
             InRule("T", "&e; &#20013;", "", "", "") + "</rules>\n",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<rules>\n" +
             OutRule("T", "caf\xE9 &#20013;", "", "", "") + "</rules>\n"},
        {"texts of many line feeds and references read and written whole",
         InFile(InRule("C", Times("x\n", 50000), Times("&amp;", 50000), Times("&#9;", 60000),
                       "&#10;\n  text\n")),
         OutFile(OutRule("C", Times("x\n", 50000), Times("&amp;", 50000), std::string(60000, '\t'),
                         "\n\n  text\n"))},
        {"white space alone is an element's text, not the layout between elements",
         kDecl + "<rules>\n  " +
             InRule("C", std::string(60000, '\t'), "\t", std::string(50000, '\n'), " &#13; ",
                    "<extension>\n  <name> </name><ruletype>C</ruletype>\n</extension>") +
             "\n</rules>\n",
         OutFile(OutRule("C", std::string(60000, '\t'), "\t", std::string(50000, '\n'), " &#13; ",
                         OutExt(" ", "", "C")))},
        {"an attribute of 2 MB",
         kDecl + "<rules kind=\"" + std::string(k2MB, 'k') + "\">" +
             InRule("C", "c", "//", "", "") + "</rules>\n",
         kDecl + "<rules kind=\"" + std::string(k2MB, 'k') + "\">\n" +
             OutRule("C", "c", "//", "", "") + "</rules>\n"},
        {"a comment of 2 MB",
         kDecl + "<rules><!--" + std::string(k2MB, 'c') + "-->" + InRule("C", "c", "//", "", "") +
             "</rules>\n",
         OutFile(OutRule("C", "c", "//", "", "") + "  <!--" + std::string(k2MB, 'c') + "-->\n")},
        {"a text of 2 MB and one of 2 MB in lines",
         InFile(InRule("C", std::string(k2MB, 'd'), Lines80(k2MB / 80), "", "")),
         OutFile(OutRule("C", std::string(k2MB, 'd'), Lines80(k2MB / 80), "", ""))},
        {"a document type of 2 MB",
         kDecl + "<!DOCTYPE rules SYSTEM \"" + std::string(k2MB, 's') + "\" [<!ELEMENT rules (" +
             std::string(k2MB, 'e') + ")>]><rules>" + InRule("C", "c", "//", "", "") + "</rules>\n",
         OutFile(OutRule("C", "c", "//", "", ""))},
        {"entities of a document the converters read",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<!DOCTYPE rules [<!ENTITY e "
         "\"\x93\xFA\">]>\n<rules>" +
             InRule("T", "&e;", "", "", "") + "</rules>\n",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<rules>\n" +
             OutRule("T", "\x93\xFA", "", "", "") + "</rules>\n"},
    };
    for (const auto& [name, in, out] : cases) {
        const Lines loaded = Snapshot(Load(in));
        // A change that the file cannot show (an extension of no rule), so that the end
        // writes it.
        mgr->m_extMap[".new"] = std::make_unique<FileExtension>(".new", "none", "", false);
        EXPECT_TRUE(SameText(End(), out)) << name;
        // What was read reads back the same; an extension of no rule is not written.
        const auto rules = [](Lines lines) {
            lines.erase(std::remove_if(lines.begin(), lines.end(),
                                       [](const std::string& line) { return line[0] != 'r'; }),
                        lines.end());
            return lines;
        };
        EXPECT_EQ(rules(Snapshot(Start())), rules(loaded)) << name;
    }
}

// A file is read in the encoding it declares and written back in it, each character as
// itself where the encoding holds it and as a reference where not. One that cannot be
// converted is told once and left alone.
TEST_F(RulesTest, EveryEncodingTheConvertersKnowIsReadAndWrittenBack) {
    // The encoding, a description as the file holds it, and as text (none: not readable).
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {"US-ASCII", "caf&#233;", "caf\xC3\xA9"},
        {"ISO-8859-1", "caf\xE9 &#20013;", "caf\xC3\xA9 \xE4\xB8\xAD"},
        {"Shift_JIS", "\x93\xFA\x96\x7B\x8C\xEA &#233;",
         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xC3\xA9"},
        {"EUC-JP", "\xC6\xFC\xCB\xDC\xB8\xEC", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
        {"GBK", "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
        {"GB18030", "\x81\x30\x81\x30 \xD6\xD0", "\xC2\x80 \xE4\xB8\xAD"},
        {"Big5", "\xA4\xA4\xA4\xE5", "\xE4\xB8\xAD\xE6\x96\x87"},
        {"x-no-such-encoding", "text", nullptr},
        {"Shift_JIS", "\x93", nullptr}, // a first byte without its second
    };
    for (const auto& [encoding, held, text] : cases) {
        SCOPED_TRACE(encoding + ": " + held);
        const std::string decl = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n";
        const std::string file = decl + "<rules>" + InRule("C", held, "//", "", "") + "</rules>\n";
        CapturedLog log;
        Load(file);
        if (!text) {
            EXPECT_TRUE(mgr->m_ruleMap.empty());
            EXPECT_TRUE(log.Once(encoding));
            EXPECT_EQ(End(), file);
            continue;
        }
        ASSERT_EQ(mgr->m_ruleMap.count("C"), 1u);
        EXPECT_EQ(U8(mgr->m_ruleMap["C"]->m_strDesc), text);
        mgr->m_ruleMap["C"]->m_strSingleLineComment = "#";
        EXPECT_EQ(End(), decl + "<rules>\n" + OutRule("C", held, "#", "", "") + "</rules>\n");
        EXPECT_EQ(U8(Start().m_ruleMap["C"]->m_strDesc), text);
    }
}

// Nothing is loaded, a save has nothing to write, and the file stays as it was. What is no
// regular file is not opened (a FIFO would block the start for ever, a device never end)
// and is told as a missing file is; so is a file REFUSED as it is: nested deeper than the
// toolkit can free, or with entities that cannot be read as text.
TEST_F(RulesTest, BadInputLoadsNothingAndIsLeftAlone) {
    const std::string path = U8(dir / kRulesFile), rule = InRule("C", "c", "//", "", "");
    enum Kind { FILE, NONE, FIFO, DEVICE, FOLDER, REFUSED };
    const int deepest = wxXmlDocumentEx::MAX_DEPTH;
    const std::pair<Kind, std::string> cases[] = {
        {REFUSED, kDecl + "<rules>" + rule + Nested(300000) + "</rules>\n"},
        {REFUSED, kDecl + "<rules>" + rule + Nested(deepest) + "</rules>\n"},
        {REFUSED, EntityBomb()},
        {REFUSED, kDecl + "<!DOCTYPE rules [<!ENTITY e SYSTEM \"/etc/hostname\">]>\n<rules>" +
                      InRule("C", "&e;", "", "", "") + "</rules>\n"},
        {REFUSED, kDecl + "<!DOCTYPE rules SYSTEM \"rules.dtd\">\n<rules>" +
                      InRule("C", "&e;", "", "", "") + "</rules>\n"},
        {NONE, ""},
        {FIFO, ""},
        {DEVICE, ""},
        {FOLDER, ""},
        {FILE, ""},
        {FILE, "not xml at all\n"},
        {FILE, kDecl + "<rules>" + rule},
        {FILE, kDecl + "<rules></rules><rules></rules>\n"},
        {FILE, kDecl + "<config>\n" + rule + "\n</config>\n"},
        {FILE, kDecl + "<Rules>\n" + rule + "\n</Rules>\n"},
    };
    for (const auto& [kind, text] : cases) {
        SCOPED_TRACE(testing::Message() << kind << " " << text.substr(0, 200));
        fs::remove_all(U8(dir / "conf"));
        fs::create_directory(U8(dir / "conf"));
        if (kind == FILE || kind == REFUSED)
            dir.Write(kRulesFile, text);
        else if (kind == FIFO)
            ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
        else if (kind == DEVICE)
            fs::create_symlink("/dev/zero", path);
        else if (kind == FOLDER)
            fs::create_directory(path);
        const fs::file_type type = fs::symlink_status(path).type();
        CapturedLog log;
        Start();
        EXPECT_TRUE(mgr->m_ruleMap.empty());
        EXPECT_TRUE(mgr->m_extMap.empty());
        EXPECT_EQ(log.Once("The rules file could not be read: " + path), kind != FILE);
        EXPECT_TRUE(mgr->SaveRules());
        mgr.reset();
        if (kind == FILE || kind == REFUSED) {
            EXPECT_EQ(ReadFile(dir / kRulesFile), text);
        }
        EXPECT_EQ(fs::symlink_status(path).type(), type);
    }
}

// Unchanged rules need no write, so a read-only file is no failure then. A save of changes
// that cannot replace the file fails and keeps the old one; the end does not try again.
TEST_F(RulesTest, FailedSaveKeepsTheOldFile) {
    const std::string text = InFile(InRule("C", "c", "//", "/*", "*/"));
    const std::string file = U8(dir / kRulesFile);
    Load(text);
    fs::permissions(file, fs::perms(0444));
    EXPECT_TRUE(mgr->SaveRules());
    mgr->m_ruleMap["C"]->m_strDesc = "changed";
    EXPECT_FALSE(mgr->SaveRules());
    fs::permissions(file, fs::perms(0644));
    EXPECT_EQ(End(), text);
}

TEST_F(RulesTest, ShippedFileHoldsTenRulesAndSurvivesAStartAndEnd) {
    const std::string shipped = ReadFile(wxString(TALLYWICK_SOURCE_DIR) + "/conf/conf.xml");
    ASSERT_FALSE(shipped.empty());
    Load(shipped);
    Lines types;
    for (const auto& entry : mgr->m_ruleMap)
        types.push_back(U8(entry.first));
    EXPECT_EQ(types,
              (Lines{"Aspx", "Basic", "C", "JSP", "PHP", "Pascal", "Shell", "Sql", "Text", "Xml"}));
    EXPECT_GE(mgr->m_extMap.size(), 60u);
    for (const auto& [key, ext] : mgr->m_extMap) {
        SCOPED_TRACE(U8(key));
        EXPECT_TRUE(key.StartsWith(".") && key.length() > 1 && key == key.Lower());
        EXPECT_FALSE(ext->m_strDesc.empty());
        EXPECT_EQ(mgr->m_ruleMap.count(ext->m_strRuleType), 1u) << U8(ext->m_strRuleType);
    }
    const Lines before = Snapshot(*mgr);
    End();
    EXPECT_EQ(Snapshot(Start()), before);
}
