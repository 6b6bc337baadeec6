// The XML document: the tree its load builds, and the exact bytes its writer produces for
// documents built in memory.
#include "CapturedLog.h"
#include "TestSupport.h"
#include "xmlex.h"

#include <algorithm>
#include <tuple>
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

wxXmlNode* Text(wxXmlNode* parent, const wxString& content, wxXmlNodeType type = wxXML_TEXT_NODE) {
    return Add(parent, type, wxString(), content);
}

// An element, holding the text if there is one.
wxXmlNode* Elem(wxXmlNode* parent, const wxString& name, const wxString& text = wxString()) {
    wxXmlNode* element = Add(parent, wxXML_ELEMENT_NODE, name);
    if (!text.empty())
        Text(element, text);
    return element;
}

wxXmlNode* MakeRoot(wxXmlDocumentEx& doc, const wxString& name) {
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

// Reads the bytes back.
wxXmlNode* Reload(const std::string& bytes, wxXmlDocumentEx& into) {
    wxMemoryInputStream in(bytes.data(), bytes.size());
    return into.Load(in) ? into.GetRoot() : nullptr;
}

// The tree under the node, one line per node: its type, name, attributes, content and line.
std::string Tree(const wxXmlNode* node, bool lines = true, int depth = 0) {
    std::string out;
    for (; node; node = node->GetNext()) {
        out += std::string(depth, ' ') + std::to_string(node->GetType()) + " " +
               node->GetName().utf8_string();
        for (const wxXmlAttribute* attr = node->GetAttributes(); attr; attr = attr->GetNext())
            out += " " + attr->GetName().utf8_string() + "=" + attr->GetValue().utf8_string();
        if (!node->GetContent().empty())
            out += " [" + node->GetContent().utf8_string() + "]";
        out += (lines ? " @" + std::to_string(node->GetLineNumber()) : "") + "\n";
        out += Tree(node->GetChildren(), lines, depth + 1);
    }
    return out;
}

} // namespace

// Load builds the tree the toolkit's would, save that each text is read whole: white space
// alone is dropped between elements but kept as the whole content of one.
TEST(XmlTest, LoadReadsEveryTextWhole) {
    const std::string mixed =
        "<?xml version=\"1.1\" encoding=\"UTF-8\"?>\n<!-- pre --><?pi data?>\n"
        "<!DOCTYPE r [<!ENTITY e \"E\">]>\n<r b=\"2\" a=\"x&#9;y\n&e;\">\n"
        "  <e>\t </e><f>\n a &amp;<!-- c --> b <?p q?><![CDATA[ ]]> <![CDATA[x]]>&e;z</f>\n"
        "  <g/>\n</r>\n<!-- post -->";
    const std::tuple<const char*, std::string, int, std::string> cases[] = {
        {"mixed content", mixed, wxXMLDOC_NONE,
         "9  @-1\n 8 comment [ pre ] @2\n 7 pi [data] @2\n 1 r b=2 a=x\ty E @4\n  1 e @6\n"
         "   3 text [\t ] @6\n  1 f @6\n   3 text [\n a &] @6\n   8 comment [ c ] @7\n"
         "   3 text [ b ] @7\n   7 p [q] @7\n   4 cdata [ ] @7\n   4 cdata [x] @7\n"
         "   3 text [Ez] @7\n  1 g @8\n 8 comment [ post ] @10\n"},
        {"the layout kept", "<r>\n <e> </e>\n</r>", wxXMLDOC_KEEP_WHITESPACE_NODES,
         "9  @-1\n 1 r @1\n  3 text [\n ] @1\n  1 e @2\n   3 text [ ] @2\n  3 text [\n] @2\n"},
        {"a root of white space", "<r>\n \n</r>", wxXMLDOC_NONE, "9  @-1\n 1 r @1\n"},
    };
    for (const auto& [name, text, flags, tree] : cases) {
        wxXmlDocumentEx doc;
        wxMemoryInputStream in(text.data(), text.size());
        ASSERT_TRUE(doc.Load(in, "UTF-8", flags)) << name;
        EXPECT_EQ(Tree(doc.GetDocumentNode()), tree) << name;
    }
    wxXmlDocumentEx doc;
    ASSERT_TRUE(Reload(mixed, doc));
    EXPECT_EQ(doc.GetVersion(), "1.1");
    EXPECT_EQ(doc.GetFileEncoding(), "UTF-8");
    EXPECT_EQ(doc.GetDoctype().GetRootName(), "r");
    // A document that is not well-formed is told with its line and leaves the old one.
    CapturedLog log;
    EXPECT_FALSE(Reload("<r>\n<a></r>", doc));
    EXPECT_TRUE(log.Once("XML parsing error: 'mismatched tag' at line 2")) << log.text;
    EXPECT_EQ(doc.GetRoot()->GetName(), "r");
}

// Text stays inline: a break before it would change its content. Markup characters are
// escaped, '&' always and quotes in attribute values; comments and CDATA are written
// verbatim, "]]>" and all, a processing instruction's data unless it holds "?>". A node of
// a kind that has no place in an element is left out, the break before it too, and
// asserts nothing (a test fails on any assertion).
TEST(XmlTest, LayoutFollowsTheIndentationStep) {
    wxXmlDocumentEx doc;
    wxXmlNode* root = MakeRoot(doc, "root");
    root->AddAttribute("z", "1");
    root->AddAttribute("a", "<\"&amp;'>");
    wxXmlNode* a = Elem(root, "a");
    Elem(a, "b", "x<y>&amp; \"z\" it's");
    Elem(a, "c");
    Text(Elem(root, "empty"), "");
    wxXmlNode* mixed = Elem(root, "p", "Hello ");
    Elem(mixed, "b");
    Text(mixed, " tail");
    Elem(Elem(root, "q", "lead"), "b");
    Text(root, " a < b & \"c\" ", wxXML_COMMENT_NODE);
    Text(root, "", wxXML_COMMENT_NODE);
    Text(root, "a]]>b <&> \"'", wxXML_CDATA_SECTION_NODE);
    Text(root, "", wxXML_CDATA_SECTION_NODE);
    Add(root, wxXML_PI_NODE, "target", "data");
    Add(root, wxXML_PI_NODE, "empty");
    Add(root, wxXML_PI_NODE, "bad", "a?>b");
    Add(root, wxXML_ENTITY_REF_NODE, "e");
    wxXmlNode* none = Elem(root, "none");
    for (const wxXmlNodeType type :
         {wxXML_ATTRIBUTE_NODE, wxXML_ENTITY_REF_NODE, wxXML_ENTITY_NODE, wxXML_DOCUMENT_NODE,
          wxXML_DOCUMENT_TYPE_NODE, wxXML_DOCUMENT_FRAG_NODE, wxXML_NOTATION_NODE,
          wxXML_HTML_DOCUMENT_NODE, wxXmlNodeType(14)})
        Add(none, type, "n", "c");
    Text(Elem(root, "t", "one"), "two");
    const std::pair<int, std::string> cases[] = {
        {1, "<root z=\"1\" a=\"&lt;&quot;&amp;amp;'&gt;\">\n  <a>\n    <b>x&lt;y&gt;&amp;amp; "
            "\"z\" it's</b>\n    <c/>\n  </a>\n  <empty></empty>\n"
            "  <p>Hello \n    <b/> tail</p>\n  <q>lead\n    <b/>\n  </q>\n"
            "  <!-- a < b & \"c\" -->\n  <!---->\n  <![CDATA[a]]>b <&> \"']]>\n  <![CDATA[]]>\n"
            "  <?target data?>\n  <?empty?>\n  <?bad?>\n  <none/>\n  <t>onetwo</t>\n</root>"},
        {2, "<root z=\"1\" a=\"&lt;&quot;&amp;amp;'&gt;\">\n    <a>\n        "
            "<b>x&lt;y&gt;&amp;amp; \"z\" it's</b>\n        <c/>\n    </a>\n"
            "    <empty></empty>\n    <p>Hello \n        <b/> tail</p>\n    <q>lead\n"
            "        <b/>\n    </q>\n    <!-- a < b & \"c\" -->\n    <!---->\n"
            "    <![CDATA[a]]>b <&> \"']]>\n    <![CDATA[]]>\n    <?target data?>\n    <?empty?>\n"
            "    <?bad?>\n    <none/>\n    <t>onetwo</t>\n</root>"},
        {0,
         "<root z=\"1\" a=\"&lt;&quot;&amp;amp;'&gt;\">\n<a>\n<b>x&lt;y&gt;&amp;amp; \"z\" "
         "it's</b>\n<c/>\n</a>\n<empty></empty>\n"
         "<p>Hello \n<b/> tail</p>\n<q>lead\n<b/>\n</q>\n<!-- a < b & \"c\" -->\n<!---->\n"
         "<![CDATA[a]]>b <&> \"']]>\n<![CDATA[]]>\n<?target data?>\n<?empty?>\n<?bad?>\n<none/>\n"
         "<t>onetwo</t>\n</root>"},
        {-1, "<root z=\"1\" a=\"&lt;&quot;&amp;amp;'&gt;\"><a><b>x&lt;y&gt;&amp;amp; \"z\" "
             "it's</b><c/></a><empty></empty><p>Hello <b/> tail</p>"
             "<q>lead<b/></q><!-- a < b & \"c\" --><!----><![CDATA[a]]>b <&> \"']]><![CDATA[]]>"
             "<?target data?><?empty?><?bad?><none/><t>onetwo</t></root>"},
    };
    for (const auto& [step, expected] : cases) {
        bool ok = false;
        EXPECT_EQ(Save(doc, step, &ok), kDecl + expected + "\n") << "step " << step;
        EXPECT_TRUE(ok);
    }
    wxMemoryOutputStream out;
    EXPECT_TRUE(doc.Save(out));
    EXPECT_EQ(out.GetLength(), Save(doc, 2).size()) << "the default step is 2";
}

// Every kind of node that a load keeps in the root is written back as it was read and reads
// back the same; only what stands outside the root is left out.
TEST(XmlTest, EveryNodeALoadKeepsInTheRootIsWrittenBack) {
    wxXmlDocumentEx doc;
    ASSERT_TRUE(Reload("<?xml version=\"1.0\"?>\n<!-- pre --><?pre p?>\n"
                       "<!DOCTYPE r [<!ENTITY e \"E\">]>\n<r a=\"1\">\n\t<?note x?>\n\t<?empty?>\n"
                       "\t<?sp  a  b ?>\n\t<!-- c -->\n\t<![CDATA[ <&> ]]>\n\t<e>\t</e>\n"
                       "\t<f>a &amp; &e;<?p q?><![CDATA[x]]><!--y-->z</f>\n</r>\n<?post?>",
                       doc));
    EXPECT_EQ(Save(doc, 1), kDecl + "<r a=\"1\">\n  <?note x?>\n  <?empty?>\n  <?sp a  b ?>\n"
                                    "  <!-- c -->\n  <![CDATA[ <&> ]]>\n  <e>\t</e>\n"
                                    "  <f>a &amp; E\n    <?p q?>\n    <![CDATA[x]]>\n"
                                    "    <!--y-->z</f>\n</r>\n");
    // Without layout, mixed content reads back as it was.
    const std::string flat = Save(doc, -1);
    wxXmlDocumentEx again;
    ASSERT_TRUE(Reload(flat, again));
    EXPECT_EQ(Tree(again.GetRoot()->GetChildren(), false),
              Tree(doc.GetRoot()->GetChildren(), false));
    EXPECT_EQ(Save(again, -1), flat);
}

// Latin-1 holds e-acute but not the Chinese character: that one becomes a reference in
// text and attribute values, and a comment, CDATA or instruction data holding it is left
// out. A name the encoding cannot hold cannot be written at all.
TEST(XmlTest, Latin1DocumentWritesReferencesForWhatItCannotHold) {
    const wxString eAcute = wxString::FromUTF8("\xC3\xA9");
    const wxString han = wxString::FromUTF8("\xE4\xB8\xAD");
    wxXmlDocumentEx doc;
    doc.SetFileEncoding("ISO-8859-1");
    wxXmlNode* root = MakeRoot(doc, "caf" + eAcute);
    root->AddAttribute("a", eAcute + "\"" + han + "\"x");
    Elem(root, "mixed", "a<" + han + ">b" + wxString(wxUniChar(0xFF)));
    Text(root, eAcute, wxXML_COMMENT_NODE);
    Text(root, eAcute + han, wxXML_COMMENT_NODE);
    Text(root, eAcute + han, wxXML_CDATA_SECTION_NODE);
    Text(root, wxString(wxUniChar(0x100)), wxXML_CDATA_SECTION_NODE);
    Add(root, wxXML_PI_NODE, "pi", eAcute);
    Add(root, wxXML_PI_NODE, "pi", eAcute + han);
    EXPECT_EQ(Save(doc, 1), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                            "<caf\xE9 a=\"\xE9&quot;&#20013;&quot;x\">\n"
                            "  <mixed>a&lt;&#20013;&gt;b\xFF</mixed>\n"
                            "  <!--\xE9-->\n"
                            "  <!---->\n"
                            "  <![CDATA[]]>\n"
                            "  <![CDATA[]]>\n"
                            "  <?pi \xE9?>\n"
                            "  <?pi?>\n"
                            "</caf\xE9>\n");
    root->SetName(han);
    bool ok = true;
    EXPECT_EQ(Save(doc, 1, &ok), "");
    EXPECT_FALSE(ok);
}

// Whatever the declared encoding, the bytes are valid in it and every text reads back as it
// was, "&amp;" too; characters XML cannot carry at all are dropped rather than making the file
// unreadable.
TEST(XmlTest, EveryEncodingReadsBackTheSameText) {
    const wxString text = wxString::FromUTF8(
        "caf\xC3\xA9 \xC2\x80\xDF\xBF\xD0\x96 \xE4\xB8\xAD\xF0\x9F\x98\x80 <&amp;>\"'");
    for (const char* encoding :
         {"UTF-8", "US-ASCII", "ISO-8859-1", "windows-1252", "KOI8-R", "UTF-16", "UTF-16BE",
          "Shift_JIS", "EUC-JP", "GB18030", "Big5", "ISO-2022-JP"}) {
        SCOPED_TRACE(encoding);
        wxXmlDocumentEx doc, loaded;
        doc.SetFileEncoding(encoding);
        wxXmlNode* root = MakeRoot(doc, "t");
        root->AddAttribute("v", text + wxString(wxUniChar(1)));
        Text(root, text + wxString(wxUniChar(0xFFFF)));
        bool ok = false;
        const std::string bytes = Save(doc, 1, &ok);
        ASSERT_TRUE(ok);
        EXPECT_TRUE(std::string(encoding) != "US-ASCII" ||
                    std::all_of(bytes.begin(), bytes.end(), [](char b) { return b >= 0; }));
        if (std::string(encoding) == "UTF-16") {
            EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE"); // the byte order mark a reader needs
        }
        ASSERT_TRUE(Reload(bytes, loaded));
        EXPECT_EQ(loaded.GetFileEncoding().Upper(), wxString(encoding).Upper());
        EXPECT_EQ(loaded.GetRoot()->GetAttribute("v"), text);
        EXPECT_EQ(loaded.GetRoot()->GetNodeContent(), text);
    }
    wxXmlDocumentEx quoted; // the declaration may quote the name with apostrophes
    ASSERT_TRUE(Reload("<?xml version='1.0' encoding='Shift_JIS'?><t>\x93\xFA</t>", quoted));
    EXPECT_EQ(quoted.GetRoot()->GetNodeContent(), wxString::FromUTF8("\xE6\x97\xA5"));
}

// The declaration names the document's version and encoding; a longer old file is replaced
// whole; a missing folder or a missing root is a failure.
TEST(XmlTest, DeclarationAndFileSave) {
    TempDir dir;
    const wxString path = dir.Write("conf.xml", std::string(4096, 'x'));
    wxXmlDocumentEx doc;
    Elem(Elem(MakeRoot(doc, "rules"), "rule"), "desc", "a&b");
    doc.SetVersion("1.1");
    const wxXmlDocument& base = doc;
    ASSERT_TRUE(base.Save(path, 2));
    EXPECT_EQ(ReadFile(path), "<?xml version=\"1.1\" encoding=\"UTF-8\"?>\n<rules>\n    <rule>\n"
                              "        <desc>a&amp;b</desc>\n    </rule>\n</rules>\n");
    bool ok = true;
    EXPECT_EQ(Save(wxXmlDocumentEx(), 1, &ok), "");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(wxXmlDocumentEx().Save(dir / "none.xml", 1));
    wxLogNull quiet; // the failed open is expected
    EXPECT_FALSE(doc.Save(dir / "missing/conf.xml", 1));
    EXPECT_FALSE(wxFileName::DirExists(dir / "missing"));
}
