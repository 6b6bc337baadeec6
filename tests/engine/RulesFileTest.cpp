// Tests of the rules file: what LoadRules reads from conf/conf.xml and the exact bytes
// SaveRules writes back. Each test runs in its own temporary working directory.
#include "CounterRule.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <wx/filefn.h>
#include <wx/log.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const wxString kRulesFile = "conf/conf.xml";
const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string ReadFile(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (!text.empty() && text.back() == '\n')
        lines.push_back("<final line feed>");
    return lines;
}

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

// One written line: an element holding text at the given depth.
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

// Lets one manager load the file and end, and returns what it left behind.
std::string StartAndEnd(const TempDir& dir, const std::string& text) {
    dir.Write(kRulesFile, text);
    {
        CountingManager manager;
        manager.Init();
    }
    return ReadFile(dir / kRulesFile);
}

// Everything the file stores, one line per rule and extension, in key order.
std::vector<std::string> Snapshot(const CountingManager& manager) {
    std::vector<std::string> out;
    for (const auto& entry : manager.m_ruleMap) {
        const CounterRule& r = *entry.second;
        out.push_back("rule|" + U8(entry.first) + "|" + U8(r.m_strType) + "|" + U8(r.m_strDesc) +
                      "|" + U8(r.m_strSingleLineComment) + "|" + U8(r.m_strMultiLineCommentBegin) +
                      "|" + U8(r.m_strMultiLineCommentEnd));
    }
    for (const auto& entry : manager.m_extMap) {
        const FileExtension& e = *entry.second;
        out.push_back("ext|" + U8(entry.first) + "|" + U8(e.m_strExt) + "|" + U8(e.m_strRuleType) +
                      "|" + U8(e.m_strDesc));
    }
    return out;
}

const FileExtension* Ext(const CountingManager& manager, const wxString& key) {
    const auto it = manager.m_extMap.find(key);
    return it == manager.m_extMap.end() ? nullptr : it->second.get();
}

const CounterRule* Rule(const CountingManager& manager, const wxString& key) {
    const auto it = manager.m_ruleMap.find(key);
    return it == manager.m_ruleMap.end() ? nullptr : it->second.get();
}

// ---------------------------------------------------------------------------------------
// Layout of the written file

TEST(RulesFileSave, OneRuleWithTwoExtensionsIsWrittenInTwentyLines) {
    TempDir dir(true);
    dir.Write(kRulesFile, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<rules>\n"
                          "  <rule>\n"
                          "    <type>C</type>\n"
                          "    <desc>C-style languages</desc>\n"
                          "    <single-line-comment>//</single-line-comment>\n"
                          "    <multi-line-comment-begin>/*</multi-line-comment-begin>\n"
                          "    <multi-line-comment-end>*/</multi-line-comment-end>\n"
                          "    <extension>\n"
                          "      <name>.c</name>\n"
                          "      <desc>C source file</desc>\n"
                          "      <ruletype>C</ruletype>\n"
                          "    </extension>\n"
                          "    <extension>\n"
                          "      <name>.h</name>\n"
                          "      <desc>C header file</desc>\n"
                          "      <ruletype>C</ruletype>\n"
                          "    </extension>\n"
                          "  </rule>\n"
                          "</rules>\n");
    const std::vector<std::string> expected = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
        "<rules>",
        "  <rule>",
        "    <extension>",
        "      <ruletype>C</ruletype>",
        "      <desc>C header file</desc>",
        "      <name>.h</name>",
        "    </extension>",
        "    <extension>",
        "      <ruletype>C</ruletype>",
        "      <desc>C source file</desc>",
        "      <name>.c</name>",
        "    </extension>",
        "    <multi-line-comment-end>*/</multi-line-comment-end>",
        "    <multi-line-comment-begin>/*</multi-line-comment-begin>",
        "    <single-line-comment>//</single-line-comment>",
        "    <desc>C-style languages</desc>",
        "    <type>C</type>",
        "  </rule>",
        "</rules>",
        "<final line feed>",
    };
    {
        CountingManager manager;
        manager.Init();
        ASSERT_EQ(manager.m_ruleMap.size(), 1u);
        ASSERT_EQ(manager.m_extMap.size(), 2u);
        EXPECT_TRUE(manager.SaveRules());
        EXPECT_EQ(Lines(ReadFile(dir / kRulesFile)), expected);
    }
    // The destructor saves once more: the old rule elements must be replaced, not repeated.
    EXPECT_EQ(Lines(ReadFile(dir / kRulesFile)), expected);
}

TEST(RulesFileSave, FileWithoutDeclarationGetsTheDefaultOne) {
    TempDir dir(true);
    EXPECT_EQ(StartAndEnd(dir, "<rules><rule><type>T</type></rule></rules>"),
              OutFile(OutRule("T", "", "", "", "")));
}

TEST(RulesFileSave, RootWithoutChildrenIsWrittenAsEmptyElement) {
    TempDir dir(true);
    EXPECT_EQ(StartAndEnd(dir, kDecl + "<rules>\n  \n</rules>\n"), kDecl + "<rules/>\n");
}

// ---------------------------------------------------------------------------------------
// Loading quirks and how they show in the written file

TEST(RulesFileLoad, UpperCaseExtensionNameIsLowered) {
    TempDir dir(true);
    dir.Write(kRulesFile, InFile(InRule("C", "c", "//", "/*", "*/", InExt(".CPP", "C++", "C"))));
    {
        CountingManager manager;
        manager.Init();
        ASSERT_EQ(manager.m_extMap.size(), 1u);
        const FileExtension* ext = Ext(manager, ".cpp");
        ASSERT_NE(ext, nullptr);
        EXPECT_EQ(ext->m_strExt, ".cpp");
        EXPECT_FALSE(ext->m_bSelected);
    }
    EXPECT_EQ(ReadFile(dir / kRulesFile),
              OutFile(OutRule("C", "c", "//", "/*", "*/", OutExt(".cpp", "C++", "C"))));
}

TEST(RulesFileLoad, NamesDifferingInCaseLeaveTheLaterExtension) {
    TempDir dir(true);
    dir.Write(kRulesFile,
              InFile(InRule("C", "", "", "", "", InExt(".Cpp", "first", "C")) +
                     InRule("Basic", "", "", "", "", InExt(".CPP", "second", "Basic"))));
    CountingManager manager;
    manager.Init();
    ASSERT_EQ(manager.m_extMap.size(), 1u);
    const FileExtension* ext = Ext(manager, ".cpp");
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(ext->m_strDesc, "second");
    EXPECT_EQ(ext->m_strRuleType, "Basic");
}

TEST(RulesFileLoad, SameTypeTwiceLeavesTheLaterRule) {
    TempDir dir(true);
    const std::string text =
        InFile(InRule("C", "old", "#", "{", "}", InExt(".c", "C source", "C")) +
               InRule("C", "new", "//", "/*", "*/", InExt(".h", "C header", "C")));
    dir.Write(kRulesFile, text);
    {
        CountingManager manager;
        manager.Init();
        ASSERT_EQ(manager.m_ruleMap.size(), 1u);
        const CounterRule* rule = Rule(manager, "C");
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->m_strDesc, "new");
        EXPECT_EQ(rule->m_strSingleLineComment, "//");
        EXPECT_EQ(rule->m_strMultiLineCommentBegin, "/*");
        EXPECT_EQ(rule->m_strMultiLineCommentEnd, "*/");
        // Extensions of the dropped element are linked by name, so they stay.
        EXPECT_EQ(manager.m_extMap.size(), 2u);
    }
    EXPECT_EQ(ReadFile(dir / kRulesFile),
              OutFile(OutRule("C", "new", "//", "/*", "*/",
                              OutExt(".h", "C header", "C") + OutExt(".c", "C source", "C"))));
}

TEST(RulesFileLoad, ExtensionsOfOneRuleElementShareMissingTexts) {
    TempDir dir(true);
    dir.Write(kRulesFile,
              InFile("<rule><type>C</type>" + InExt(".c", "C source", "C") +
                     "<extension><name>.h</name></extension>"     // desc and type carried
                     "<extension><desc>Header</desc></extension>" // name carried: replaces .h
                     "</rule>"
                     "<rule><type>Basic</type>"
                     "<extension><name>.bas</name></extension>" // nothing from the C element
                     "<extension><name>.vb</name><ruletype>Basic</ruletype></extension>"
                     "</rule>"));
    CountingManager manager;
    manager.Init();
    EXPECT_EQ(Snapshot(manager), (std::vector<std::string>{
                                     "rule|Basic|Basic||||",
                                     "rule|C|C||||",
                                     "ext|.bas|.bas||",
                                     "ext|.c|.c|C|C source",
                                     "ext|.h|.h|C|Header",
                                     "ext|.vb|.vb|Basic|",
                                 }));
}

TEST(RulesFileSave, ExtensionIsWrittenUnderTheRuleItNames) {
    TempDir dir(true);
    const std::string written = StartAndEnd(
        dir, InFile(InRule("C", "c", "//", "/*", "*/",
                           InExt(".bas", "BASIC module", "Basic") + InExt(".c", "C source", "C")) +
                    InRule("Basic", "b", "'", "", "", InExt(".vb", "VB.NET", "Basic"))));
    // Rules in descending type order; extensions in descending name order.
    EXPECT_EQ(written, OutFile(OutRule("C", "c", "//", "/*", "*/", OutExt(".c", "C source", "C")) +
                               OutRule("Basic", "b", "'", "", "",
                                       OutExt(".vb", "VB.NET", "Basic") +
                                           OutExt(".bas", "BASIC module", "Basic"))));
}

TEST(RulesFileSave, ExtensionWithUnknownRuleTypeIsDropped) {
    TempDir dir(true);
    dir.Write(kRulesFile,
              InFile(InRule("C", "c", "//", "/*", "*/",
                            InExt(".c", "C source", "C") + InExt(".zz", "orphan", "Nope") +
                                InExt(".h", "C header", "c"))));
    {
        CountingManager manager;
        manager.Init();
        EXPECT_NE(Ext(manager, ".zz"), nullptr); // kept while the program runs
    }
    // The rule type matches ignoring case and is written as it was loaded.
    EXPECT_EQ(ReadFile(dir / kRulesFile),
              OutFile(OutRule("C", "c", "//", "/*", "*/",
                              OutExt(".h", "C header", "c") + OutExt(".c", "C source", "C"))));
    CountingManager next;
    next.Init();
    EXPECT_EQ(Ext(next, ".zz"), nullptr);
    EXPECT_EQ(next.m_extMap.size(), 2u);
}

TEST(RulesFileSave, ExtensionGoesIntoEveryRuleMatchingIgnoringCase) {
    TempDir dir(true);
    const std::string written =
        StartAndEnd(dir, InFile(InRule("C", "upper", "//", "", "", InExt(".c", "C source", "c")) +
                                InRule("c", "lower", "#", "", "")));
    // "C" sorts before "c", so "c" is written first.
    EXPECT_EQ(written, OutFile(OutRule("c", "lower", "#", "", "", OutExt(".c", "C source", "c")) +
                               OutRule("C", "upper", "//", "", "", OutExt(".c", "C source", "c"))));
}

TEST(RulesFileSave, OtherRootChildrenSurviveAfterTheRules) {
    TempDir dir(true);
    const std::string written = StartAndEnd(dir, kDecl +
                                                     "<!-- outside the root -->\n"
                                                     "<rules version=\"2\">\n"
                                                     "  <!-- keep me -->\n" +
                                                     InRule("Basic", "b", "'", "", "") +
                                                     "  <other kind=\"x\">text</other>\n" +
                                                     InRule("C", "c", "//", "/*", "*/") +
                                                     "  <empty/>\n"
                                                     "</rules>\n");
    EXPECT_EQ(written, kDecl + "<rules version=\"2\">\n" + OutRule("C", "c", "//", "/*", "*/") +
                           OutRule("Basic", "b", "'", "", "") +
                           "  <!-- keep me -->\n"
                           "  <other kind=\"x\">text</other>\n"
                           "  <empty/>\n"
                           "</rules>\n");
}

TEST(RulesFileSave, ForeignChildrenOfRuleAndExtensionAreNotWrittenBack) {
    TempDir dir(true);
    const std::string written =
        StartAndEnd(dir, InFile("<rule><note>remember</note><!-- about C --><type>C</type>"
                                "<extension><foo>bar</foo><name>.c</name><desc>C source</desc>"
                                "<ruletype>C</ruletype></extension></rule>"));
    EXPECT_EQ(written, OutFile(OutRule("C", "", "", "", "", OutExt(".c", "C source", "C"))));
}

TEST(RulesFileSave, EmptyMarkerIsWrittenAsStartAndEndTagAndReadBackEmpty) {
    TempDir dir(true);
    const std::string written =
        StartAndEnd(dir, InFile("<rule><type>Xml</type><desc>markup</desc><single-line-comment/>"
                                "<multi-line-comment-begin>&lt;!--</multi-line-comment-begin>"
                                "<multi-line-comment-end>--&gt;</multi-line-comment-end></rule>"));
    EXPECT_EQ(written, OutFile(OutRule("Xml", "markup", "", "&lt;!--", "--&gt;")));
    CountingManager next;
    next.Init();
    const CounterRule* rule = Rule(next, "Xml");
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->m_strSingleLineComment, "");
    EXPECT_EQ(rule->m_strMultiLineCommentBegin, "<!--");
    EXPECT_EQ(rule->m_strMultiLineCommentEnd, "-->");
}

TEST(RulesFileLoad, ElementsMayComeInAnyOrderAndLaterOnesWin) {
    TempDir dir(true);
    dir.Write(kRulesFile, InFile("<rule>"
                                 "<extension><ruletype>Pascal</ruletype><desc>Unit</desc>"
                                 "<name>.pas</name></extension>"
                                 "<multi-line-comment-end>}</multi-line-comment-end>"
                                 "<desc>first</desc>"
                                 "<type>Pascal</type>"
                                 "<multi-line-comment-begin>{</multi-line-comment-begin>"
                                 "<desc>  Pascal and Delphi </desc>"
                                 "<single-line-comment>//</single-line-comment>"
                                 "</rule>"));
    CountingManager manager;
    manager.Init();
    // Texts are taken as written: no trimming.
    EXPECT_EQ(Snapshot(manager), (std::vector<std::string>{
                                     "rule|Pascal|Pascal|  Pascal and Delphi |//|{|}",
                                     "ext|.pas|.pas|Pascal|Unit",
                                 }));
}

TEST(RulesFileLoad, CdataIsReadAsText) {
    TempDir dir(true);
    dir.Write(kRulesFile, InFile("<rule><type>Sql</type><desc><![CDATA[a < b && c]]></desc>"
                                 "<single-line-comment><![CDATA[--]]></single-line-comment>"
                                 "<extension><name><![CDATA[.SQL]]></name><desc>script</desc>"
                                 "<ruletype>Sql</ruletype></extension></rule>"));
    {
        CountingManager manager;
        manager.Init();
        EXPECT_EQ(Snapshot(manager), (std::vector<std::string>{
                                         "rule|Sql|Sql|a < b && c|--||",
                                         "ext|.sql|.sql|Sql|script",
                                     }));
    }
    // Written back as plain, escaped text.
    EXPECT_EQ(ReadFile(dir / kRulesFile), OutFile(OutRule("Sql", "a &lt; b &amp;&amp; c", "--", "",
                                                          "", OutExt(".sql", "script", "Sql"))));
}

TEST(RulesFileSave, AmpersandTextRoundTripsUnchanged) {
    TempDir dir(true);
    dir.Write(kRulesFile, InFile(InRule("C", "R&amp;amp;D", "//", "", "",
                                        InExt(".c", "Tom &amp; Jerry", "C"))));
    {
        CountingManager manager;
        manager.Init();
        const CounterRule* rule = Rule(manager, "C");
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->m_strDesc, "R&amp;D");
        ASSERT_NE(Ext(manager, ".c"), nullptr);
        EXPECT_EQ(Ext(manager, ".c")->m_strDesc, "Tom & Jerry");
        manager.m_extMap[".c"]->m_strDesc = "&amp;&&lt;";
    }
    EXPECT_EQ(ReadFile(dir / kRulesFile),
              OutFile(OutRule("C", "R&amp;amp;D", "//", "", "",
                              OutExt(".c", "&amp;amp;&amp;&amp;lt;", "C"))));
    CountingManager next;
    next.Init();
    EXPECT_EQ(Snapshot(next), (std::vector<std::string>{
                                  "rule|C|C|R&amp;D|//||",
                                  "ext|.c|.c|C|&amp;&&lt;",
                              }));
}

// ---------------------------------------------------------------------------------------
// Bad input: nothing is loaded and the file is left alone

TEST(RulesFileBadInput, MissingFileLoadsNothingAndIsNotCreated) {
    TempDir dir(true);
    dir.MakeDir("conf");
    {
        wxLogNull quiet; // the failed open is expected
        CountingManager manager;
        manager.Init();
        EXPECT_TRUE(manager.m_ruleMap.empty());
        EXPECT_TRUE(manager.m_extMap.empty());
        EXPECT_EQ(manager.m_pRootNode, nullptr);
        EXPECT_TRUE(manager.SaveRules());
    }
    EXPECT_FALSE(wxFileExists(dir / kRulesFile));
    EXPECT_TRUE(std::filesystem::is_empty(U8(dir / "conf")));
}

TEST(RulesFileBadInput, UnparsableFileLoadsNothingAndStaysUnchanged) {
    const std::string cases[] = {
        "",
        "not xml at all\n",
        kDecl + "<rules><rule><type>C</type></rules>\n",
        kDecl + "<rules>" + InRule("C", "c", "//", "/*", "*/"),
        kDecl + "<rules><rule><type>C &amp D</type></rule></rules>\n",
        kDecl + "<rules></rules><rules></rules>\n",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        TempDir dir(true);
        dir.Write(kRulesFile, text);
        {
            wxLogNull quiet; // the parse error is expected
            CountingManager manager;
            manager.Init();
            EXPECT_TRUE(manager.m_ruleMap.empty());
            EXPECT_TRUE(manager.m_extMap.empty());
            EXPECT_EQ(manager.m_pRootNode, nullptr);
            EXPECT_TRUE(manager.SaveRules());
        }
        EXPECT_TRUE(wxFileExists(dir / kRulesFile));
        EXPECT_EQ(ReadFile(dir / kRulesFile), text);
    }
}

TEST(RulesFileBadInput, RootOtherThanRulesLoadsNothingAndStaysUnchanged) {
    for (const char* root : {"config", "Rules", "rule"}) {
        SCOPED_TRACE(root);
        TempDir dir(true);
        const std::string text = kDecl + "<" + root + ">\n" +
                                 InRule("C", "c", "//", "/*", "*/", InExt(".c", "C", "C")) +
                                 "\n</" + root + ">\n";
        dir.Write(kRulesFile, text);
        {
            CountingManager manager;
            manager.Init();
            EXPECT_TRUE(manager.m_ruleMap.empty());
            EXPECT_TRUE(manager.m_extMap.empty());
            ASSERT_NE(manager.m_pRootNode, nullptr);
            EXPECT_EQ(manager.m_pRootNode->GetName(), root);
            EXPECT_TRUE(manager.SaveRules());
        }
        EXPECT_EQ(ReadFile(dir / kRulesFile), text);
    }
}

// ---------------------------------------------------------------------------------------
// A save that cannot replace the file keeps the old one

TEST(RulesFileSaveFailure, MissingConfFolderFailsAndCreatesNothing) {
    TempDir dir(true);
    const std::string text = InFile(InRule("C", "c", "//", "/*", "*/"));
    dir.Write(kRulesFile, text);
    {
        CountingManager manager;
        manager.Init();
        ASSERT_EQ(manager.m_ruleMap.size(), 1u);
        std::filesystem::rename(U8(dir / "conf"), U8(dir / "moved"));
        EXPECT_FALSE(manager.SaveRules());
    }
    EXPECT_FALSE(wxDirExists(dir / "conf"));
    EXPECT_EQ(ReadFile(dir / "moved/conf.xml"), text);
}

TEST(RulesFileSaveFailure, ReadOnlyConfFolderKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    namespace fs = std::filesystem;
    TempDir dir(true);
    const std::string text = InFile(InRule("C", "c", "//", "/*", "*/"));
    dir.Write(kRulesFile, text);
    {
        CountingManager manager;
        manager.Init();
        ASSERT_EQ(manager.m_ruleMap.size(), 1u);
        manager.m_ruleMap["C"]->m_strDesc = "changed";
        fs::permissions(U8(dir / "conf"), fs::perms(0555));
        EXPECT_FALSE(manager.SaveRules());
        EXPECT_EQ(ReadFile(dir / kRulesFile), text);
    }
    EXPECT_EQ(ReadFile(dir / kRulesFile), text);
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(U8(dir / "conf"))) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u); // no temporary file left behind
}

// ---------------------------------------------------------------------------------------
// The rules file that ships with the program

void CopyShippedRules(const TempDir& dir) {
    const std::string shipped = ReadFile(wxString(TALLYWICK_SOURCE_DIR) + "/conf/conf.xml");
    ASSERT_FALSE(shipped.empty());
    dir.Write(kRulesFile, shipped);
}

TEST(RulesFileShipped, HoldsTheTenStylesAndConsistentExtensions) {
    TempDir dir(true);
    ASSERT_NO_FATAL_FAILURE(CopyShippedRules(dir));
    CountingManager manager;
    manager.Init();
    std::vector<std::string> types;
    for (const auto& entry : manager.m_ruleMap)
        types.push_back(U8(entry.first));
    EXPECT_EQ(types, (std::vector<std::string>{"Aspx", "Basic", "C", "JSP", "PHP", "Pascal",
                                               "Shell", "Sql", "Text", "Xml"}));
    EXPECT_GE(manager.m_extMap.size(), 60u);
    for (const auto& entry : manager.m_extMap) {
        const FileExtension& ext = *entry.second;
        SCOPED_TRACE(U8(entry.first));
        EXPECT_EQ(ext.m_strExt, entry.first);
        EXPECT_TRUE(ext.m_strExt.StartsWith("."));
        EXPECT_GT(ext.m_strExt.length(), 1u);
        EXPECT_EQ(ext.m_strExt, ext.m_strExt.Lower());
        EXPECT_FALSE(ext.m_strDesc.empty());
        EXPECT_EQ(manager.m_ruleMap.count(ext.m_strRuleType), 1u) << U8(ext.m_strRuleType);
    }
}

TEST(RulesFileShipped, SurvivesAStartAndEnd) {
    TempDir dir(true);
    ASSERT_NO_FATAL_FAILURE(CopyShippedRules(dir));
    std::vector<std::string> before;
    {
        CountingManager manager;
        manager.Init();
        before = Snapshot(manager);
        ASSERT_EQ(manager.m_ruleMap.size(), 10u);
    }
    CountingManager next;
    next.Init();
    EXPECT_EQ(Snapshot(next), before);
}

} // namespace
