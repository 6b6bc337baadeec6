// The rules file: what LoadRules reads from conf/conf.xml and the exact bytes SaveRules
// writes back. Each test runs in its own temporary working directory.
#include "CounterRule.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>
#include <wx/filefn.h>
#include <wx/log.h>

namespace {

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

// Keeps what is logged while it lives.
class CapturedLog : public wxLog {
public:
    CapturedLog() : m_previous(wxLog::SetActiveTarget(this)) {}
    ~CapturedLog() override { wxLog::SetActiveTarget(m_previous); }
    // How many messages hold the text.
    long Count(const wxString& text) const {
        return std::count_if(m_messages.begin(), m_messages.end(),
                             [&](const wxString& message) { return message.Contains(text); });
    }

protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& message) override {
        m_messages.push_back(message);
    }

private:
    wxLog* m_previous;
    std::vector<wxString> m_messages;
};

class RulesFileTest : public ::testing::Test {
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

// Rules are written only when they changed since they were read or last written, and a
// second save replaces the rule elements, not repeats them. Once the window has saved, the
// end of the manager writes nothing more.
TEST_F(RulesFileTest, OnlyChangedRulesAreWrittenEachSaveReplacingThem) {
    const std::string text = InFile(InRule("C", "C-style languages", "//", "/*", "*/",
                                           InExt(".c", "C source", "C") + InExt(".h", "", "C")));
    Load(text);
    EXPECT_TRUE(mgr->SaveRules());
    EXPECT_EQ(ReadFile(dir / kRulesFile), text);
    for (const char* desc : {"C and C++", "C and C++", "C-style languages"}) {
        mgr->m_ruleMap["C"]->m_strDesc = desc;
        EXPECT_TRUE(mgr->SaveRules());
        EXPECT_EQ(ReadFile(dir / kRulesFile),
                  OutFile(OutRule("C", desc, "//", "/*", "*/",
                                  OutExt(".h", "", "C") + OutExt(".c", "C source", "C"))));
    }
    const std::string last = ReadFile(dir / kRulesFile);
    mgr->m_ruleMap["C"]->m_strDesc = "not saved";
    EXPECT_EQ(End(), last);
}

TEST_F(RulesFileTest, LoadingQuirks) {
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
        {"CDATA is text",
         "<rule><type>Sql</type><desc><![CDATA[a < b && c]]></desc><single-line-comment>"
         "<![CDATA[--]]></single-line-comment><extension><name><![CDATA[.SQL]]></name>"
         "<desc>script</desc><ruletype>Sql</ruletype></extension></rule>",
         {"rule|Sql|Sql|a < b && c|--||", "ext|.sql|.sql|Sql|script"}},
    };
    for (const auto& [name, body, loaded] : cases)
        EXPECT_EQ(Snapshot(Load(InFile(body))), loaded) << name;
}

// The file a manager leaves when it ends.
TEST_F(RulesFileTest, WrittenFile) {
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
        {"rule types matched ignoring case, written as loaded; no rule, no extension",
         InFile(InRule("C", "c", "//", "/*", "*/",
                       InExt(".c", "C source", "C") + InExt(".zz", "orphan", "Nope") +
                           InExt(".h", "C header", "c"))),
         OutFile(OutRule("C", "c", "//", "/*", "*/",
                         OutExt(".h", "C header", "c") + OutExt(".c", "C source", "C")))},
        {"an extension under every rule matching its type ignoring case",
         InFile(InRule("C", "upper", "//", "", "", InExt(".c", "C source", "c")) +
                InRule("c", "lower", "#", "", "")),
         OutFile(OutRule("c", "lower", "#", "", "", OutExt(".c", "C source", "c")) +
                 OutRule("C", "upper", "//", "", "", OutExt(".c", "C source", "c")))},
        {"other root children kept after the rules",
         kDecl + "<!-- outside the root -->\n<rules version=\"2\">\n  <!-- keep me -->\n" +
             InRule("Basic", "b", "'", "", "") + "  <other kind=\"x\">text</other>\n" +
             InRule("C", "c", "//", "/*", "*/") + "  <empty/>\n</rules>\n",
         kDecl + "<rules version=\"2\">\n" + OutRule("C", "c", "//", "/*", "*/") +
             OutRule("Basic", "b", "'", "", "") +
             "  <!-- keep me -->\n  <other kind=\"x\">text</other>\n  <empty/>\n</rules>\n"},
        {"other children of rules and extensions dropped",
         InFile("<rule><note>remember</note><!-- about C --><type>C</type><extension><foo>bar"
                "</foo><name>.c</name><desc>C source</desc><ruletype>C</ruletype></extension>"
                "</rule>"),
         OutFile(OutRule("C", "", "", "", "", OutExt(".c", "C source", "C")))},
        {"empty texts as start and end tag, markup escaped",
         InFile("<rule><type>Xml</type><desc>markup</desc><single-line-comment/>"
                "<multi-line-comment-begin>&lt;!--</multi-line-comment-begin>"
                "<multi-line-comment-end>--&gt;</multi-line-comment-end></rule>"),
         OutFile(OutRule("Xml", "markup", "", "&lt;!--", "--&gt;"))},
    };
    for (const auto& [name, in, out] : cases) {
        // A change that the file cannot show (an extension of no rule), so that the end
        // writes it.
        Load(in).m_extMap[".new"] = std::make_unique<FileExtension>(".new", "none", "", false);
        EXPECT_EQ(End(), out) << name;
    }
}

TEST_F(RulesFileTest, AmpersandTextRoundTripsUnchanged) {
    Load(InFile(InRule("C", "R&amp;amp;D", "//", "", "", InExt(".c", "Tom &amp; Jerry", "C"))));
    EXPECT_EQ(Snapshot(*mgr), (Lines{"rule|C|C|R&amp;D|//||", "ext|.c|.c|C|Tom & Jerry"}));
    mgr->m_extMap[".c"]->m_strDesc = "&amp;&&lt;";
    EXPECT_EQ(End(), OutFile(OutRule("C", "R&amp;amp;D", "//", "", "",
                                     OutExt(".c", "&amp;amp;&amp;&amp;lt;", "C"))));
    EXPECT_EQ(Snapshot(Start()), (Lines{"rule|C|C|R&amp;D|//||", "ext|.c|.c|C|&amp;&&lt;"}));
}

// A file is read in the encoding it declares and written back in it, each character as
// itself where the encoding holds it and as a reference where not. One that cannot be
// converted is told once and left alone.
TEST_F(RulesFileTest, EveryEncodingTheConvertersKnowIsReadAndWrittenBack) {
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
            EXPECT_EQ(log.Count(encoding), 1);
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

// What is no regular file is not opened (a FIFO would block the start for ever, a device
// never end): it is told as a missing file is, and left as it is.
TEST_F(RulesFileTest, OnlyARegularFileIsRead) {
    namespace fs = std::filesystem;
    const std::string path = U8(dir / kRulesFile);
    const std::function<void()> makers[] = {
        [] {},
        [&] { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); },
        [&] { fs::create_symlink("/dev/zero", path); },
        [&] { fs::create_directory(path); },
    };
    for (const auto& make : makers) {
        fs::remove_all(U8(dir / "conf"));
        dir.MakeDir("conf");
        make();
        const fs::file_type type = fs::symlink_status(path).type();
        SCOPED_TRACE(static_cast<int>(type));
        CapturedLog log;
        Start();
        EXPECT_TRUE(mgr->m_ruleMap.empty());
        EXPECT_EQ(log.Count("The rules file could not be read: " + path), 1);
        mgr.reset();
        EXPECT_EQ(fs::symlink_status(path).type(), type);
    }
}

// Nothing is loaded, a save has nothing to write, and the file stays as it was.
TEST_F(RulesFileTest, BadInputLoadsNothingAndIsLeftAlone) {
    const std::string rule = InRule("C", "c", "//", "/*", "*/", InExt(".c", "C", "C"));
    // Whether the file exists, its text, and the root element the manager keeps, if any.
    const std::tuple<bool, std::string, std::string> cases[] = {
        {false, "", ""},
        {true, "", ""},
        {true, "not xml at all\n", ""},
        {true, kDecl + "<rules>" + rule, ""},
        {true, kDecl + "<rules></rules><rules></rules>\n", ""},
        {true, kDecl + "<config>\n" + rule + "\n</config>\n", "config"},
        {true, kDecl + "<Rules>\n" + rule + "\n</Rules>\n", "Rules"},
    };
    for (const auto& [exists, text, root] : cases) {
        SCOPED_TRACE(exists ? text : "no file");
        std::filesystem::remove_all(U8(dir / "conf"));
        dir.MakeDir("conf");
        if (exists)
            dir.Write(kRulesFile, text);
        wxLogNull quiet; // the errors are expected
        Start();
        EXPECT_TRUE(mgr->m_ruleMap.empty());
        EXPECT_TRUE(mgr->m_extMap.empty());
        EXPECT_EQ(mgr->m_pRootNode ? U8(mgr->m_pRootNode->GetName()) : "", root);
        EXPECT_TRUE(mgr->SaveRules());
        EXPECT_EQ(End(), text);
        EXPECT_EQ(wxFileExists(dir / kRulesFile), exists);
        EXPECT_EQ(std::filesystem::is_empty(U8(dir / "conf")), !exists);
    }
}

// Unchanged rules need no write, so a read-only file is no failure then. A save of changes
// that cannot replace the file (its folder gone, the file or the folder read-only) fails and
// keeps the old one, with no temporary file; the end of the manager does not try again.
TEST_F(RulesFileTest, FailedSaveKeepsTheOldFile) {
    namespace fs = std::filesystem;
    const std::string text = InFile(InRule("C", "c", "//", "/*", "*/"));
    const std::string conf = U8(dir / "conf"), file = U8(dir / kRulesFile);
    Load(text);
    fs::permissions(file, fs::perms(0444));
    EXPECT_TRUE(mgr->SaveRules()); // nothing changed, nothing to write
    fs::permissions(file, fs::perms(0644));
    mgr->m_ruleMap["C"]->m_strDesc = "changed";
    fs::rename(conf, U8(dir / "moved"));
    EXPECT_FALSE(mgr->SaveRules());
    EXPECT_FALSE(wxDirExists(dir / "conf"));
    EXPECT_EQ(ReadFile(dir / "moved/conf.xml"), text);

    fs::rename(U8(dir / "moved"), conf);
    fs::permissions(file, fs::perms(0444));
    EXPECT_FALSE(mgr->SaveRules());
    EXPECT_EQ(ReadFile(file), text);
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0444));

    fs::permissions(file, fs::perms(0644));
    if (geteuid() != 0) { // root writes into read-only folders
        fs::permissions(conf, fs::perms(0555));
        EXPECT_FALSE(mgr->SaveRules());
        EXPECT_EQ(std::distance(fs::directory_iterator(conf), fs::directory_iterator()), 1);
        fs::permissions(conf, fs::perms(0755));
    }
    EXPECT_EQ(End(), text);
}

TEST_F(RulesFileTest, ShippedFileHoldsTenRulesAndSurvivesAStartAndEnd) {
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
        EXPECT_EQ(ext->m_strExt, key);
        EXPECT_TRUE(key.StartsWith(".") && key.length() > 1 && key == key.Lower());
        EXPECT_FALSE(ext->m_strDesc.empty());
        EXPECT_EQ(mgr->m_ruleMap.count(ext->m_strRuleType), 1u) << U8(ext->m_strRuleType);
    }
    const Lines before = Snapshot(*mgr);
    End();
    EXPECT_EQ(Snapshot(Start()), before);
}

} // namespace
