// The first pass over a document: its depth checked and its entities written out, with expat.
#include "XmlPrescan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <expat.h>
#include <limits>
#include <memory>
#include <string_view>

namespace {
static_assert(sizeof(XML_Char) == 1, "expat reports UTF-8");

// The toolkit's parser is fed 1 KiB at a time. Expat reads a token that spans the pieces
// again from its start at each one, and the toolkit joins the pieces of a text by copying
// what it holds at each: either way the work grows with the square of the token, a minute
// for one of 10 MB. This bounds the sum, about half a second's work; no token of a rules
// file written by hand comes near it.
constexpr std::uint64_t TOOLKIT_PIECE = 1024;
constexpr std::uint64_t MAX_REREAD = std::uint64_t(1) << 30;

struct Scan {
    XML_Parser parser = nullptr;
    int maxDepth = 0;
    int depth = 0;
    bool inDoctype = false;
    bool inCdata = false;
    bool entities = false; // general entities declared
    bool refused = false;
    std::uint64_t reread = 0; // bytes the toolkit's parser would read or copy more than once
    std::uint64_t text = 0;   // the length of the text being read
    std::string version = "1.0";
    std::string encoding;
    std::string out; // the document so far, as the toolkit is to read it
};

Scan& Of(void* data) {
    return *static_cast<Scan*>(data);
}

void Refuse(Scan& scan) {
    scan.refused = true;
    XML_StopParser(scan.parser, XML_FALSE);
}

// A token of this many bytes; any other than text ends the text before it.
void Charge(Scan& scan, std::uint64_t bytes) {
    scan.text = 0;
    const int current = XML_GetCurrentByteCount(scan.parser);
    bytes = std::max<std::uint64_t>(bytes, current > 0 ? current : 0);
    scan.reread += bytes * (bytes / TOOLKIT_PIECE);
    if (scan.reread > MAX_REREAD)
        Refuse(scan);
}

// Character data as markup: written so that the toolkit reads back exactly these
// characters. In attribute values white space other than the blank is a reference too, as a
// parser would otherwise normalise it to blanks.
void Escape(std::string& out, std::string_view text, bool attribute) {
    static const char* const REFERENCES[] = {"&amp;",  "&lt;", "&gt;", "&#13;",
                                             "&quot;", "&#9;", "&#10;"};
    const std::string_view special = attribute ? "&<>\r\"\t\n" : "&<>\r";
    for (std::size_t at = 0;;) {
        const std::size_t next = text.find_first_of(special, at);
        out.append(text.substr(at, next - at));
        if (next == std::string_view::npos)
            return;
        out += REFERENCES[special.find(text[next])];
        at = next + 1;
    }
}

void XMLCALL OnXmlDecl(void* data, const XML_Char* version, const XML_Char* encoding, int) {
    Charge(Of(data), 0);
    if (version)
        Of(data).version = version;
    if (encoding)
        Of(data).encoding = encoding;
}

void XMLCALL OnDoctypeStart(void* data, const XML_Char* name, const XML_Char* system,
                            const XML_Char* pub, int) {
    Charge(Of(data),
           std::strlen(name) + (system ? std::strlen(system) : 0) + (pub ? std::strlen(pub) : 0));
    Of(data).inDoctype = true;
}

void XMLCALL OnDoctypeEnd(void* data) {
    Of(data).inDoctype = false;
}

void XMLCALL OnEntityDecl(void* data, const XML_Char*, int parameter, const XML_Char*, int length,
                          const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
    Charge(Of(data), static_cast<std::uint64_t>(std::max(length, 0)));
    if (!parameter)
        Of(data).entities = true;
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
    Scan& scan = Of(data);
    if (++scan.depth > scan.maxDepth)
        return Refuse(scan);
    std::uint64_t bytes = std::strlen(name) + 3;
    for (const XML_Char** attribute = attributes; *attribute; ++attribute)
        bytes += std::strlen(*attribute) + 2;
    Charge(scan, bytes);
    if (scan.refused)
        return;
    scan.out += '<';
    scan.out += name;
    for (const XML_Char** attribute = attributes; *attribute; attribute += 2) {
        scan.out += ' ';
        scan.out += attribute[0];
        scan.out += "=\"";
        Escape(scan.out, attribute[1], true);
        scan.out += '"';
    }
    scan.out += '>';
}

void XMLCALL OnEnd(void* data, const XML_Char* name) {
    Scan& scan = Of(data);
    Charge(scan, std::strlen(name) + 3);
    --scan.depth;
    scan.out += "</";
    scan.out += name;
    scan.out += '>';
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
    Scan& scan = Of(data);
    // The toolkit copies the text it holds again for each piece it is given.
    const std::uint64_t before = scan.text;
    scan.text += static_cast<std::uint64_t>(length);
    scan.reread += before + scan.text * (static_cast<std::uint64_t>(length) / TOOLKIT_PIECE);
    if (scan.reread > MAX_REREAD)
        return Refuse(scan);
    if (scan.inCdata)
        scan.out.append(text, static_cast<std::size_t>(length));
    else
        Escape(scan.out, std::string_view(text, static_cast<std::size_t>(length)), false);
}

void XMLCALL OnCdataStart(void* data) {
    Charge(Of(data), 0);
    Of(data).inCdata = true;
    Of(data).out += "<![CDATA[";
}

void XMLCALL OnCdataEnd(void* data) {
    Charge(Of(data), 0);
    Of(data).inCdata = false;
    Of(data).out += "]]>";
}

// What no other handler takes: the document type's other declarations, white space around
// the root. Expat still expands entities with this handler set.
void XMLCALL OnOther(void* data, const XML_Char*, int length) {
    Charge(Of(data), static_cast<std::uint64_t>(std::max(length, 0)));
}

// Comments and instructions of the document type go with it.
void XMLCALL OnComment(void* data, const XML_Char* text) {
    Scan& scan = Of(data);
    Charge(scan, std::strlen(text) + 7);
    if (!scan.inDoctype && !scan.refused)
        scan.out.append("<!--").append(text).append("-->");
}

void XMLCALL OnInstruction(void* data, const XML_Char* target, const XML_Char* text) {
    Scan& scan = Of(data);
    Charge(scan, std::strlen(target) + std::strlen(text) + 5);
    if (!scan.inDoctype && !scan.refused)
        scan.out.append("<?").append(target).append(*text ? " " : "").append(text).append("?>");
}
} // namespace

XmlPrescan PrescanXml(const std::string& bytes, int maxDepth) {
    XmlPrescan result;
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), XML_ParserFree);
    if (!parser) {
        result.outcome = XmlPrescan::REFUSED;
        return result;
    }
    Scan scan;
    scan.parser = parser.get();
    scan.maxDepth = maxDepth;
    XML_SetUserData(parser.get(), &scan);
    XML_SetXmlDeclHandler(parser.get(), OnXmlDecl);
    XML_SetDoctypeDeclHandler(parser.get(), OnDoctypeStart, OnDoctypeEnd);
    XML_SetEntityDeclHandler(parser.get(), OnEntityDecl);
    XML_SetSkippedEntityHandler(parser.get(), OnSkippedEntity);
    XML_SetExternalEntityRefHandler(parser.get(), OnExternalEntity);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetCdataSectionHandler(parser.get(), OnCdataStart, OnCdataEnd);
    XML_SetCommentHandler(parser.get(), OnComment);
    XML_SetProcessingInstructionHandler(parser.get(), OnInstruction);
    XML_SetDefaultHandlerExpand(parser.get(), OnOther);

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
    result.encoding = scan.encoding;
    // An error in a document with entities may lie in an entity's text, which the toolkit
    // never looks at: it would read the rest without complaint.
    if (scan.refused || (!parsed && scan.entities)) {
        result.outcome = XmlPrescan::REFUSED;
    } else if (parsed && scan.entities) {
        result.outcome = XmlPrescan::EXPANDED;
        result.expanded =
            "<?xml version=\"" + scan.version + "\" encoding=\"UTF-8\"?>\n" + std::move(scan.out);
    }
    return result;
}
