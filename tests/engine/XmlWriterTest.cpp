// wxXmlDocumentEx's writer: the exact bytes it produces for documents built in memory.
#include "TestSupport.h"
#include "xmlex.h"

#include <tuple>
#include <vector>
#include <wx/log.h>
#include <wx/mstream.h>

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

wxXmlNode* MakeRoot(wxXmlDocumentEx& doc, const wxString& name = "root") {
    auto* root = new wxXmlNode(wxXML_ELEMENT_NODE, name); // owned by the document
    doc.SetRoot(root);
    return root;
}

// Saves through the base class, so that the override is what runs.
std::string Save(const wxXmlDocument& doc, int indentstep, bool* ok = nullptr) {
    wxMemoryOutputStream out;
    const bool saved = doc.Save(out, indentstep);
    if (ok)
        *ok = saved;
    std::string bytes(out.GetLength(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return bytes;
}

TEST(XmlWriter, DeclarationRootAndFinalLineFeed) {
    wxXmlDocumentEx doc;
    MakeRoot(doc, "rules");
    bool ok = false;
    EXPECT_EQ(Save(doc, 1, &ok), kDecl + "<rules/>\n");
    EXPECT_TRUE(ok);
    doc.SetVersion("1.1");
    doc.SetFileEncoding("ISO-8859-1");
    EXPECT_EQ(Save(doc, 1), "<?xml version=\"1.1\" encoding=\"ISO-8859-1\"?>\n<rules/>\n");
    EXPECT_EQ(Save(wxXmlDocumentEx(), 1, &ok), "");
    EXPECT_FALSE(ok);
}

TEST(XmlWriter, IndentationFollowsStep) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    wxXmlNode* a = Elem(root, "a");
    Text(Elem(a, "b"), "x");
    Elem(a, "c");
    Elem(root, "d");
    const std::pair<int, std::string> cases[] = {
        {1, "<root>\n  <a>\n    <b>x</b>\n    <c/>\n  </a>\n  <d/>\n</root>"},
        {2, "<root>\n    <a>\n        <b>x</b>\n        <c/>\n    </a>\n    <d/>\n</root>"},
        {0, "<root>\n<a>\n<b>x</b>\n<c/>\n</a>\n<d/>\n</root>"},
        {-1, "<root><a><b>x</b><c/></a><d/></root>"},
        {-5, "<root><a><b>x</b><c/></a><d/></root>"},
    };
    for (const auto& [step, expected] : cases)
        EXPECT_EQ(Save(doc, step), kDecl + expected + "\n") << "step " << step;
    wxMemoryOutputStream out;
    ASSERT_TRUE(doc.Save(out));
    EXPECT_EQ(out.GetLength(), Save(doc, 2).size()) << "the default step is 2";
}

// Text stays inline: a break before it would change its content.
TEST(XmlWriter, EmptyElementsTextAndMixedContent) {
    // Children: "t:" text, "e:" element, "E:" element with empty text.
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"e:none", "E:empty"}, "<p>\n  <none/>\n  <empty></empty>\n</p>"},
        {{"t:Hello ", "e:b", "t: tail"}, "<p>Hello \n  <b/> tail</p>"},
        {{"t:lead", "e:b"}, "<p>lead\n  <b/>\n</p>"},
        {{"t:plain"}, "<p>plain</p>"},
        {{"t:one", "t:two"}, "<p>onetwo</p>"},
    };
    for (const auto& [children, expected] : cases) {
        wxXmlDocumentEx doc;
        wxXmlNode* p = MakeRoot(doc, "p");
        for (const std::string child : children) {
            const wxString rest = wxString::FromUTF8(child.substr(2));
            if (child[0] == 't')
                Text(p, rest);
            else if (child[0] == 'e')
                Elem(p, rest);
            else
                Text(Elem(p, rest), "");
        }
        EXPECT_EQ(Save(doc, 1), kDecl + expected + "\n");
    }
}

// '&' is always escaped, so text that already reads "&amp;" survives a save and a reload.
TEST(XmlWriter, TextAndAttributeValuesAreEscaped) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // value, text, attribute
        {"a<b>c&d", "a&lt;b&gt;c&amp;d", "a&lt;b&gt;c&amp;d"},
        {"&amp;", "&amp;amp;", "&amp;amp;"},
        {"&lt;&quot;", "&amp;lt;&amp;quot;", "&amp;lt;&amp;quot;"},
        {"say \"hi\", it's", "say \"hi\", it's", "say &quot;hi&quot;, it's"},
        {"caf\xC3\xA9 \xE4\xB8\xAD", "caf\xC3\xA9 \xE4\xB8\xAD", "caf\xC3\xA9 \xE4\xB8\xAD"},
        {"two\nlines", "two\nlines", "two\nlines"},
        {"tab\there\r\nnext", "tab\there\r\nnext", "tab\there\r\nnext"},
    };
    for (const auto& [utf8, asText, asAttribute] : cases) {
        SCOPED_TRACE(utf8);
        const wxString value = wxString::FromUTF8(utf8);
        wxXmlDocumentEx doc;
        wxXmlNode* root = MakeRoot(doc, "t");
        root->AddAttribute("v", value);
        Text(root, value);
        const std::string bytes = Save(doc, 1);
        EXPECT_EQ(bytes, kDecl + "<t v=\"" + asAttribute + "\">" + asText + "</t>\n");
        if (value.find_first_of("\r\n") != wxString::npos)
            continue; // a parser normalises line breaks
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxXmlDocumentEx loaded;
        ASSERT_TRUE(loaded.Load(in));
        EXPECT_EQ(loaded.GetRoot()->GetAttribute("v"), value);
        EXPECT_EQ(loaded.GetRoot()->GetNodeContent(), value);
    }
}

// CDATA is written verbatim, "]]>" and all; comments are not escaped either. An unsupported
// node asserts and writes nothing, but the break before it was already written.
TEST(XmlWriter, AttributesCommentsCdataAndUnsupportedNodes) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc);
    root->AddAttribute("z", "1");
    root->AddAttribute("a", "2");
    Add(root, wxXML_COMMENT_NODE, wxString(), " a < b & \"c\" ");
    Add(root, wxXML_COMMENT_NODE, wxString(), "");
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), "a]]>b <&> \"'");
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), "");
    Add(root, wxXML_PI_NODE, "target", "data");
    Text(Elem(root, "x"), "1");
    static std::vector<wxString> asserts;
    const wxAssertHandler_t old =
        wxSetAssertHandler([](const wxString&, int, const wxString&, const wxString&,
                              const wxString& message) { asserts.push_back(message); });
    bool ok = false;
    EXPECT_EQ(Save(doc, 1, &ok), kDecl + "<root z=\"1\" a=\"2\">\n  <!-- a < b & \"c\" -->\n"
                                         "  <!---->\n  <![CDATA[a]]>b <&> \"']]>\n  <![CDATA[]]>\n"
                                         "  \n  <x>1</x>\n</root>\n");
    EXPECT_EQ(Save(doc, -1), kDecl + "<root z=\"1\" a=\"2\"><!-- a < b & \"c\" --><!---->"
                                     "<![CDATA[a]]>b <&> \"']]><![CDATA[]]><x>1</x></root>\n");
    wxSetAssertHandler(old);
    EXPECT_TRUE(ok);
    EXPECT_EQ(asserts, std::vector<wxString>(2, "unsupported node type"));
}

// Latin-1 holds e-acute but not the Chinese character: that one becomes a reference in
// text and attribute values, and a comment or CDATA holding it is left out.
TEST(XmlWriter, Latin1DocumentWritesReferencesForWhatItCannotHold) {
    const wxString eAcute = wxString::FromUTF8("\xC3\xA9");
    const wxString han = wxString::FromUTF8("\xE4\xB8\xAD");
    wxXmlDocumentEx doc;
    doc.SetFileEncoding("ISO-8859-1");
    wxXmlNode* root = MakeRoot(doc, "caf" + eAcute);
    root->AddAttribute("a", eAcute + "\"" + han + "\"x");
    Text(Elem(root, "mixed"), "a<" + han + ">b");
    Add(root, wxXML_COMMENT_NODE, wxString(), eAcute);
    Add(root, wxXML_COMMENT_NODE, wxString(), eAcute + han);
    Add(root, wxXML_CDATA_SECTION_NODE, wxString(), eAcute + han);
    EXPECT_EQ(Save(doc, 1), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                            "<caf\xE9 a=\"\xE9&quot;&#20013;&quot;x\">\n"
                            "  <mixed>a&lt;&#20013;&gt;b</mixed>\n"
                            "  <!--\xE9-->\n"
                            "  <!---->\n"
                            "  <![CDATA[]]>\n"
                            "</caf\xE9>\n");
    // A name the encoding cannot hold cannot be written at all.
    root->SetName(han);
    bool ok = true;
    EXPECT_EQ(Save(doc, 1, &ok), "");
    EXPECT_FALSE(ok);
}

// Whatever the declared encoding, the bytes are valid in it and every text reads back as it
// was; characters XML cannot carry at all are dropped rather than making the file unreadable.
TEST(XmlWriter, EveryEncodingReadsBackTheSameText) {
    const wxString text =
        wxString::FromUTF8("caf\xC3\xA9 \xD0\x96 \xE4\xB8\xAD\xF0\x9F\x98\x80 <&>");
    for (const char* encoding :
         {"UTF-8", "US-ASCII", "ISO-8859-1", "windows-1252", "KOI8-R", "UTF-16", "UTF-16BE",
          "Shift_JIS", "EUC-JP", "GB18030", "Big5", "ISO-2022-JP"}) {
        SCOPED_TRACE(encoding);
        wxXmlDocumentEx doc;
        doc.SetFileEncoding(encoding);
        wxXmlNode* root = MakeRoot(doc, "t");
        root->AddAttribute("v", text + wxString(wxUniChar(1)));
        Text(root, text + wxString(wxUniChar(0xFFFF)));
        bool ok = false;
        const std::string bytes = Save(doc, 1, &ok);
        ASSERT_TRUE(ok);
        if (std::string(encoding) == "US-ASCII") {
            for (char byte : bytes)
                ASSERT_EQ(byte & 0x80, 0);
        }
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxXmlDocumentEx loaded;
        ASSERT_TRUE(loaded.Load(in));
        EXPECT_EQ(loaded.GetFileEncoding().Upper(), wxString(encoding).Upper());
        EXPECT_EQ(loaded.GetRoot()->GetAttribute("v"), text);
        EXPECT_EQ(loaded.GetRoot()->GetNodeContent(), text);
    }
}

// A longer old file is replaced whole; a missing folder or a missing root is a failure.
TEST(XmlWriter, FileSaveWritesTheStreamBytes) {
    TempDir dir;
    const wxString path = dir.Write("conf.xml", std::string(4096, 'x'));
    wxXmlDocumentEx doc;
    Text(Elem(Elem(MakeRoot(doc, "rules"), "rule"), "desc"), "a&b");
    const wxXmlDocument& base = doc;
    ASSERT_TRUE(base.Save(path, 2));
    EXPECT_EQ(ReadFile(path), Save(doc, 2));
    EXPECT_FALSE(wxXmlDocumentEx().Save(dir / "none.xml", 1));
    wxLogNull quiet; // the failed open is expected
    EXPECT_FALSE(doc.Save(dir / "missing/conf.xml", 1));
    EXPECT_FALSE(wxFileName::DirExists(dir / "missing"));
}

} // namespace
