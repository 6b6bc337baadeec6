// Tests of wxXmlDocumentEx's writer: the exact bytes it produces for in-memory documents.
#include "xmlex.h"

#include <gtest/gtest.h>

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Appends in document order (the parent-taking wxXmlNode constructor prepends instead).
wxXmlNode* Add(wxXmlNode* parent, wxXmlNodeType type, const wxString& name,
               const wxString& content = wxString()) {
    auto* node = new wxXmlNode(type, name, content); // owned by parent from here on
    parent->AddChild(node);
    return node;
}

wxXmlNode* Elem(wxXmlNode* parent, const wxString& name) {
    return Add(parent, wxXML_ELEMENT_NODE, name);
}

wxXmlNode* Text(wxXmlNode* parent, const wxString& content) {
    return Add(parent, wxXML_TEXT_NODE, wxString(), content);
}

// A document whose root is a fresh element; the document owns the root.
wxXmlNode* MakeRoot(wxXmlDocumentEx& doc, const wxString& name = "root") {
    auto* root = new wxXmlNode(wxXML_ELEMENT_NODE, name);
    doc.SetRoot(root);
    return root;
}

std::string Bytes(const wxMemoryOutputStream& out) {
    std::string bytes(out.GetLength(), '\0');
    if (!bytes.empty())
        out.CopyTo(&bytes[0], bytes.size());
    return bytes;
}

std::string SaveToBytes(const wxXmlDocument& doc, int indentstep, bool* ok = nullptr) {
    wxMemoryOutputStream out;
    const bool saved = doc.Save(out, indentstep);
    if (ok)
        *ok = saved;
    return Bytes(out);
}

// The bytes of the root element alone, between the declaration line and the final "\n".
std::string SaveRootOnly(const wxXmlDocumentEx& doc, int indentstep) {
    const std::string all = SaveToBytes(doc, indentstep);
    const std::size_t start = all.find('\n') + 1;
    if (start == 0 || all.size() <= start || all.back() != '\n')
        return "<malformed:" + all + ">";
    return all.substr(start, all.size() - start - 1);
}

std::string ReadFile(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Records every assertion message while alive and puts the previous handler back after.
class AssertRecorder {
public:
    AssertRecorder() : m_old(wxSetAssertHandler(&AssertRecorder::Handle)) { Messages().clear(); }
    ~AssertRecorder() { wxSetAssertHandler(m_old); }
    AssertRecorder(const AssertRecorder&) = delete;
    AssertRecorder& operator=(const AssertRecorder&) = delete;

    static std::vector<wxString>& Messages() {
        static std::vector<wxString> messages;
        return messages;
    }

private:
    static void Handle(const wxString&, int, const wxString&, const wxString&,
                       const wxString& msg) {
        Messages().push_back(msg);
    }

    wxAssertHandler_t m_old;
};

// A scratch folder removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/xmlwriter-XXXXXX";
        if (mkdtemp(tmpl))
            m_path = tmpl;
    }
    ~TempDir() {
        if (!m_path.empty())
            wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !m_path.empty(); }
    wxString File(const wxString& name) const { return m_path + "/" + name; }

private:
    wxString m_path;
};

TEST(XmlWriter, EmptyRulesRootIsDeclarationEmptyTagAndLineBreak) {
    wxXmlDocumentEx doc;
    MakeRoot(doc, "rules");
    bool ok = false;
    EXPECT_EQ(SaveToBytes(doc, 1, &ok), kDecl + "<rules/>\n");
    EXPECT_TRUE(ok);
}

TEST(XmlWriter, DeclarationCarriesDocumentVersionAndEncoding) {
    struct Case {
        const char* version;
        const char* encoding;
        std::string expected;
    };
    const Case cases[] = {
        {"1.0", "UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r/>\n"},
        {"1.1", "ISO-8859-1", "<?xml version=\"1.1\" encoding=\"ISO-8859-1\"?>\n<r/>\n"},
        {"1.0", "utf-8", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r/>\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        wxXmlDocumentEx doc;
        doc.SetVersion(c.version);
        doc.SetFileEncoding(c.encoding);
        MakeRoot(doc, "r");
        EXPECT_EQ(SaveToBytes(doc, 1), c.expected);
    }
}

TEST(XmlWriter, NoRootWritesNothingAndFails) {
    wxXmlDocumentEx doc;
    bool ok = true;
    EXPECT_EQ(SaveToBytes(doc, 1, &ok), "");
    EXPECT_FALSE(ok);
}

TEST(XmlWriter, IndentationFollowsStep) {
    // <root><a><b>x</b><c/></a><d/></root>
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    wxXmlNode* a = Elem(root, "a");
    Text(Elem(a, "b"), "x");
    Elem(a, "c");
    Elem(root, "d");

    struct Case {
        int step;
        std::string expected;
    };
    const Case cases[] = {
        {1, "<root>\n  <a>\n    <b>x</b>\n    <c/>\n  </a>\n  <d/>\n</root>"},
        {2, "<root>\n    <a>\n        <b>x</b>\n        <c/>\n    </a>\n    <d/>\n</root>"},
        {0, "<root>\n<a>\n<b>x</b>\n<c/>\n</a>\n<d/>\n</root>"},
        {-1, "<root><a><b>x</b><c/></a><d/></root>"},
        {-5, "<root><a><b>x</b><c/></a><d/></root>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        EXPECT_EQ(SaveToBytes(doc, c.step), kDecl + c.expected + "\n");
    }
}

TEST(XmlWriter, DefaultStepIsTwoLevels) {
    wxXmlDocumentEx doc;
    Elem(MakeRoot(doc), "a");
    wxMemoryOutputStream out;
    ASSERT_TRUE(doc.Save(out));
    EXPECT_EQ(Bytes(out), kDecl + "<root>\n    <a/>\n</root>\n");
}

TEST(XmlWriter, ChildlessElementVersusEmptyTextChild) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    Elem(root, "none");
    Text(Elem(root, "empty"), "");
    EXPECT_EQ(SaveRootOnly(doc, 1), "<root>\n  <none/>\n  <empty></empty>\n</root>");
}

TEST(XmlWriter, MixedContentKeepsTextInline) {
    struct Case {
        const char* name;
        std::vector<const char*> children; // "text:..." or an element name
        std::string expected;
    };
    const Case cases[] = {
        {"text between elements", {"text:Hello ", "b", "text: tail"}, "<p>Hello \n  <b/> tail</p>"},
        {"element last", {"text:lead", "b"}, "<p>lead\n  <b/>\n</p>"},
        {"only text", {"text:plain"}, "<p>plain</p>"},
        {"adjacent text runs", {"text:one", "text:two"}, "<p>onetwo</p>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wxXmlDocumentEx doc;
        wxXmlNode* p = MakeRoot(doc, "p");
        for (const std::string child : c.children) {
            if (child.rfind("text:", 0) == 0)
                Text(p, wxString::FromUTF8(child.substr(5)));
            else
                Elem(p, wxString::FromUTF8(child));
        }
        EXPECT_EQ(SaveRootOnly(doc, 1), c.expected);
    }
}

TEST(XmlWriter, TextEscapesMarkupButNotQuotes) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"<", "&lt;"},
        {">", "&gt;"},
        {"&", "&amp;"},
        // An existing "&amp;" is text like any other, so it reads back unchanged.
        {"&amp;", "&amp;amp;"},
        {"a &amp; b", "a &amp;amp; b"},
        {"&lt;", "&amp;lt;"},
        {"&&", "&amp;&amp;"},
        {"\"quoted\"", "\"quoted\""},
        {"it's", "it's"},
        {"a<b>c&d", "a&lt;b&gt;c&amp;d"},
        {"<<>>", "&lt;&lt;&gt;&gt;"},
        {"tab\there\r\nnext", "tab\there\r\nnext"},
        {"/* */ // --", "/* */ // --"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        wxXmlDocumentEx doc;
        Text(MakeRoot(doc, "t"), c.text);
        EXPECT_EQ(SaveRootOnly(doc, 1), std::string("<t>") + c.expected + "</t>");
    }
}

TEST(XmlWriter, AttributeValuesEscapeQuotesAndKeepLineBreaks) {
    struct Case {
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"it's", "it's"},
        {"two\nlines", "two\nlines"},
        {"a<b>&c", "a&lt;b&gt;&amp;c"},
        {"&amp;", "&amp;amp;"},
        {"&quot;", "&amp;quot;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        wxXmlDocumentEx doc;
        MakeRoot(doc, "e")->AddAttribute("v", c.value);
        EXPECT_EQ(SaveRootOnly(doc, 1), std::string("<e v=\"") + c.expected + "\"/>");
    }
}

TEST(XmlWriter, AttributesKeepTheirOrderBeforeChildren) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc, "e");
    root->AddAttribute("z", "1");
    root->AddAttribute("a", "2");
    Text(root, "x");
    EXPECT_EQ(SaveRootOnly(doc, 1), "<e z=\"1\" a=\"2\">x</e>");
}

TEST(XmlWriter, CdataIsWrittenVerbatimAndIndentedLikeAnElement) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), "a]]>b <&> \"'");
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), "");
    EXPECT_EQ(SaveRootOnly(doc, 1), "<root>\n  <![CDATA[a]]>b <&> \"']]>\n  <![CDATA[]]>\n</root>");
}

TEST(XmlWriter, CommentsAreWrittenUnescapedOnTheirOwnLine) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    Add(root, wxXML_COMMENT_NODE, wxString(), " a < b & \"c\" ");
    Add(root, wxXML_COMMENT_NODE, wxString(), "");
    Text(Elem(root, "x"), "1");
    EXPECT_EQ(SaveRootOnly(doc, 1),
              "<root>\n  <!-- a < b & \"c\" -->\n  <!---->\n  <x>1</x>\n</root>");
    EXPECT_EQ(SaveRootOnly(doc, -1), "<root><!-- a < b & \"c\" --><!----><x>1</x></root>");
}

TEST(XmlWriter, UnsupportedNodeWritesNothingAndAsserts) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    Text(Elem(root, "before"), "1");
    Add(root, wxXML_PI_NODE, "target", "data");
    Elem(root, "after");

    struct Case {
        int step;
        std::string expected;
    };
    // The break before a non-text child is written before the child is looked at, so
    // with indentation the skipped node leaves an empty indented line behind.
    const Case cases[] = {
        {-1, "<root><before>1</before><after/></root>"},
        {1, "<root>\n  <before>1</before>\n  \n  <after/>\n</root>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        AssertRecorder recorder;
        bool ok = false;
        EXPECT_EQ(SaveToBytes(doc, c.step, &ok), kDecl + c.expected + "\n");
        EXPECT_TRUE(ok);
        ASSERT_EQ(AssertRecorder::Messages().size(), 1u);
        EXPECT_EQ(AssertRecorder::Messages()[0], "unsupported node type");
    }
}

TEST(XmlWriter, SupportedNodesRaiseNoAssertion) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    Text(Elem(root, "e"), "t");
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), "c");
    Add(root, wxXML_COMMENT_NODE, wxString(), "m");
    AssertRecorder recorder;
    SaveToBytes(doc, 1);
    EXPECT_TRUE(AssertRecorder::Messages().empty());
}

TEST(XmlWriter, RulesLayoutWithStepOne) {
    wxXmlDocumentEx doc;
    wxXmlNode* rule = Elem(MakeRoot(doc, "rules"), "rule");
    wxXmlNode* ext = Elem(rule, "extension");
    Text(Elem(ext, "ruletype"), "C");
    Text(Elem(ext, "desc"), "C header");
    Text(Elem(ext, "name"), ".h");
    Text(Elem(rule, "single-line-comment"), "");
    Text(Elem(rule, "desc"), "C & friends");
    Text(Elem(rule, "type"), "C");

    const std::string expected = kDecl + "<rules>\n"
                                         "  <rule>\n"
                                         "    <extension>\n"
                                         "      <ruletype>C</ruletype>\n"
                                         "      <desc>C header</desc>\n"
                                         "      <name>.h</name>\n"
                                         "    </extension>\n"
                                         "    <single-line-comment></single-line-comment>\n"
                                         "    <desc>C &amp; friends</desc>\n"
                                         "    <type>C</type>\n"
                                         "  </rule>\n"
                                         "</rules>\n";
    EXPECT_EQ(SaveToBytes(doc, 1), expected);
}

TEST(XmlWriter, Latin1DocumentConvertsTextAndDropsUnrepresentableRuns) {
    const wxString eAcute = wxString::FromUTF8("\xC3\xA9");
    const wxString han = wxString::FromUTF8("\xE4\xB8\xAD"); // not in ISO-8859-1

    wxXmlDocumentEx doc;
    doc.SetFileEncoding("ISO-8859-1");
    wxXmlNode* root = MakeRoot(doc, "caf" + eAcute);
    root->AddAttribute("a", eAcute + "\"" + han + "\"x");
    Text(Elem(root, "t"), "caf" + eAcute);
    Text(Elem(root, "mixed"), "a<" + han + ">b");
    Text(Elem(root, "lost"), "x" + han + "y");
    Add(root, wxXML_COMMENT_NODE, wxString(), eAcute);
    Add(root, wxXML_COMMENT_NODE, wxString(), eAcute + han);
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), eAcute + han);

    // Tags and CDATA stay UTF-8; text, attribute values and comments are Latin-1, and a
    // run the encoding cannot hold vanishes up to the nearest escaped character.
    const std::string expected = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                 "<caf\xC3\xA9 a=\"\xE9&quot;&quot;x\">\n"
                                 "  <t>caf\xE9</t>\n"
                                 "  <mixed>a&lt;&gt;b</mixed>\n"
                                 "  <lost></lost>\n"
                                 "  <!--\xE9-->\n"
                                 "  <!---->\n"
                                 "  <![CDATA[\xC3\xA9\xE4\xB8\xAD]]>\n"
                                 "</caf\xC3\xA9>\n";
    EXPECT_EQ(SaveToBytes(doc, 1), expected);
}

TEST(XmlWriter, Utf8DocumentWritesNonAsciiAsUtf8) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    root->AddAttribute("a", wxString::FromUTF8("\xE4\xB8\xAD"));
    Text(root, wxString::FromUTF8("caf\xC3\xA9 \xE4\xB8\xAD"));
    EXPECT_EQ(SaveRootOnly(doc, 1), "<root a=\"\xE4\xB8\xAD\">caf\xC3\xA9 \xE4\xB8\xAD</root>");
}

TEST(XmlWriter, AmpersandEntitySurvivesSaveAndReload) {
    const wxString texts[] = {"&amp;", "a & b", "&lt;tag&gt;", "\"x\" 'y'"};
    for (const wxString& text : texts) {
        SCOPED_TRACE(text.utf8_str().data());
        wxXmlDocumentEx doc;
        wxXmlNode* root = MakeRoot(doc, "rules");
        root->AddAttribute("v", text);
        Text(Elem(root, "desc"), text);

        const std::string bytes = SaveToBytes(doc, 1);
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxXmlDocumentEx loaded(in);
        ASSERT_TRUE(loaded.IsOk());
        EXPECT_EQ(loaded.GetRoot()->GetAttribute("v"), text);
        ASSERT_NE(loaded.GetRoot()->GetChildren(), nullptr);
        EXPECT_EQ(loaded.GetRoot()->GetChildren()->GetNodeContent(), text);
    }
}

TEST(XmlWriter, SaveThroughBaseReferenceUsesThisWriter) {
    wxXmlDocumentEx doc;
    Text(Elem(MakeRoot(doc), "a"), "&amp;");
    const wxXmlDocument& base = doc;
    EXPECT_EQ(SaveToBytes(base, 1), kDecl + "<root>\n  <a>&amp;amp;</a>\n</root>\n");
}

TEST(XmlWriter, FileSaveWritesSameBytesAsStreamSave) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    const wxString path = dir.File("conf.xml");
    {
        std::ofstream old(path.fn_str(), std::ios::binary);
        old << std::string(4096, 'x'); // longer than the document: must not linger
    }

    wxXmlDocumentEx doc;
    Text(Elem(Elem(MakeRoot(doc, "rules"), "rule"), "desc"), "a&b");
    const wxXmlDocument& base = doc;
    ASSERT_TRUE(base.Save(path, 2));
    EXPECT_EQ(ReadFile(path), SaveToBytes(doc, 2));
}

TEST(XmlWriter, FileSaveFailsForMissingFolder) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    wxXmlDocumentEx doc;
    MakeRoot(doc, "rules");
    wxLogNull quiet; // the failed open is expected
    EXPECT_FALSE(doc.Save(dir.File("missing/conf.xml"), 1));
    EXPECT_FALSE(wxFileName::DirExists(dir.File("missing")));
}

TEST(XmlWriter, FileSaveWithoutRootFails) {
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    const wxString path = dir.File("conf.xml");
    wxXmlDocumentEx doc;
    EXPECT_FALSE(doc.Save(path, 1));
    EXPECT_EQ(ReadFile(path), "");
}

} // namespace
