// Reading a document into the toolkit's nodes with expat.
#include "XmlTree.h"

#include <algorithm>
#include <expat.h>
#include <limits>
#include <utility>
#include <vector>

namespace {
static_assert(sizeof(XML_Char) == 1, "expat reports UTF-8");

struct Reader {
    XML_Parser parser = nullptr;
    XmlTree* tree = nullptr;
    int maxDepth = 0;
    bool keepWhitespace = false;
    bool refused = false;
    // The open nodes from the document down, each with its last child so far: the toolkit's
    // AddChild walks all the children before it.
    std::vector<std::pair<wxXmlNode*, wxXmlNode*>> open;
    // Character data not yet in the tree, gathered so that a text becomes one node however
    // many pieces expat hands it over in.
    std::string text;
    int textLine = 0;
    bool inText = false;
    bool inCdata = false;
};

Reader& Of(void* data) {
    return *static_cast<Reader*>(data);
}

wxString FromUtf8(const char* text) {
    return wxString::FromUTF8Unchecked(text);
}

wxString FromUtf8(const std::string& text) {
    return wxString::FromUTF8Unchecked(text.data(), text.size());
}

int Line(const Reader& reader) {
    return static_cast<int>(XML_GetCurrentLineNumber(reader.parser));
}

void Refuse(Reader& reader) {
    reader.refused = true;
    XML_StopParser(reader.parser, XML_FALSE);
}

void Append(Reader& reader, wxXmlNode* node) {
    auto& [parent, last] = reader.open.back();
    parent->InsertChildAfter(node, last);
    last = node;
}

// White space alone is layout, unless it is all that an element holds: then it is the
// element's text. The root's is always layout, as the root holds the file's elements.
void EndText(Reader& reader, bool elementEnds = false) {
    if (!reader.inText)
        return;
    reader.inText = false;
    const bool blank = reader.text.find_first_not_of(" \t\r\n") == std::string::npos;
    const bool whole = elementEnds && !reader.open.back().second && reader.open.size() > 2;
    if (!blank || whole || reader.keepWhitespace)
        Append(reader,
               new wxXmlNode(wxXML_TEXT_NODE, "text", FromUtf8(reader.text), reader.textLine));
    reader.text.clear();
}

void XMLCALL OnXmlDecl(void* data, const XML_Char* version, const XML_Char* encoding, int) {
    if (version)
        Of(data).tree->version = FromUtf8(version);
    if (encoding)
        Of(data).tree->encoding = FromUtf8(encoding);
}

void XMLCALL OnDoctype(void* data, const XML_Char* name, const XML_Char* system,
                       const XML_Char* pub, int) {
    Of(data).tree->doctype = wxXmlDoctype(FromUtf8(name), system ? FromUtf8(system) : wxString(),
                                          pub ? FromUtf8(pub) : wxString());
}

// An entity whose text is not in the document: external ones are never read.
void XMLCALL OnSkippedEntity(void* data, const XML_Char*, int) {
    Refuse(Of(data));
}

int XMLCALL OnExternalEntity(XML_Parser parser, const XML_Char*, const XML_Char*, const XML_Char*,
                             const XML_Char*) {
    Refuse(Of(XML_GetUserData(parser)));
    return XML_STATUS_ERROR;
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    Reader& reader = Of(data);
    EndText(reader);
    // The document node is open too, so the count of open nodes is the new element's depth.
    if (reader.open.size() > static_cast<std::size_t>(reader.maxDepth))
        return Refuse(reader);
    auto* element = new wxXmlNode(wxXML_ELEMENT_NODE, FromUtf8(name), wxString(), Line(reader));
    Append(reader, element);
    // Linked here, as the toolkit's AddAttribute walks all the attributes before it.
    wxXmlAttribute* last = nullptr;
    for (const XML_Char** attribute = attributes; *attribute; attribute += 2) {
        auto* next = new wxXmlAttribute(FromUtf8(attribute[0]), FromUtf8(attribute[1]));
        if (last)
            last->SetNext(next);
        else
            element->SetAttributes(next);
        last = next;
    }
    reader.open.emplace_back(element, nullptr);
}

void XMLCALL OnEnd(void* data, const XML_Char*) {
    Reader& reader = Of(data);
    // Expat still ends an empty element whose start was refused.
    if (reader.refused)
        return;
    EndText(reader, true);
    reader.open.pop_back();
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
    Reader& reader = Of(data);
    if (!reader.inText && !reader.inCdata) {
        reader.inText = true;
        reader.textLine = Line(reader);
    }
    reader.text.append(text, static_cast<std::size_t>(length));
}

void XMLCALL OnCdataStart(void* data) {
    Reader& reader = Of(data);
    EndText(reader);
    reader.inCdata = true;
    reader.textLine = Line(reader);
}

// A CDATA section is a node even when empty or blank.
void XMLCALL OnCdataEnd(void* data) {
    Reader& reader = Of(data);
    Append(reader, new wxXmlNode(wxXML_CDATA_SECTION_NODE, "cdata", FromUtf8(reader.text),
                                 reader.textLine));
    reader.text.clear();
    reader.inCdata = false;
}

// Those outside the root, the document type's too, go to the document node.
void XMLCALL OnComment(void* data, const XML_Char* text) {
    Reader& reader = Of(data);
    EndText(reader);
    Append(reader, new wxXmlNode(wxXML_COMMENT_NODE, "comment", FromUtf8(text), Line(reader)));
}

void XMLCALL OnInstruction(void* data, const XML_Char* target, const XML_Char* text) {
    Reader& reader = Of(data);
    EndText(reader);
    Append(reader, new wxXmlNode(wxXML_PI_NODE, FromUtf8(target), FromUtf8(text), Line(reader)));
}
} // namespace

XmlTree ReadXmlTree(const std::string& bytes, int maxDepth, bool keepWhitespace) {
    XmlTree tree;
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), XML_ParserFree);
    if (!parser) {
        tree.outcome = XmlTree::REFUSED;
        return tree;
    }
    tree.document = std::make_unique<wxXmlNode>(wxXML_DOCUMENT_NODE, wxString());
    Reader reader;
    reader.parser = parser.get();
    reader.tree = &tree;
    reader.maxDepth = maxDepth;
    reader.keepWhitespace = keepWhitespace;
    reader.open.emplace_back(tree.document.get(), nullptr);
    XML_SetUserData(parser.get(), &reader);
    XML_SetXmlDeclHandler(parser.get(), OnXmlDecl);
    XML_SetDoctypeDeclHandler(parser.get(), OnDoctype, nullptr);
    XML_SetSkippedEntityHandler(parser.get(), OnSkippedEntity);
    XML_SetExternalEntityRefHandler(parser.get(), OnExternalEntity);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetCdataSectionHandler(parser.get(), OnCdataStart, OnCdataEnd);
    XML_SetCommentHandler(parser.get(), OnComment);
    XML_SetProcessingInstructionHandler(parser.get(), OnInstruction);

    // In one call where expat's int length allows: a token that spans two calls is read
    // again from its start.
    const std::size_t piece = std::numeric_limits<int>::max();
    bool parsed = true;
    for (std::size_t at = 0; parsed;) {
        const std::size_t length = std::min(piece, bytes.size() - at);
        const bool last = at + length == bytes.size();
        parsed = XML_Parse(parser.get(), bytes.data() + at, static_cast<int>(length), last) ==
                 XML_STATUS_OK;
        if (last)
            break;
        at += length;
    }
    if (parsed)
        return tree;
    tree.document.reset();
    const XML_Error error = XML_GetErrorCode(parser.get());
    if (reader.refused || error == XML_ERROR_AMPLIFICATION_LIMIT_BREACH) {
        tree.outcome = XmlTree::REFUSED;
    } else {
        tree.outcome = XmlTree::MALFORMED;
        tree.error = wxString::FromUTF8(XML_ErrorString(error));
        tree.line = XML_GetCurrentLineNumber(parser.get());
    }
    return tree;
}
