// wxXmlDocumentEx: the conversion behind its Load and the XML writer behind its Save.
#include "xmlex.h"

#include "XmlTree.h"

#include <wx/intl.h>
#include <wx/log.h>
#include <wx/strconv.h>
#include <wx/wfstream.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>

namespace {
static_assert(sizeof(wchar_t) == 4, "every character is one wchar_t");

const std::size_t NONE = std::string::npos;

// The encodings the toolkit's parser reads by itself. Any other it reads one byte per
// character, which garbles every multi-byte encoding.
bool ParserReads(const wxString& name) {
    for (const char* known : {"UTF-8", "UTF-16", "UTF-16LE", "UTF-16BE", "ISO-8859-1", "US-ASCII"})
        if (name.CmpNoCase(known) == 0)
            return true;
    return name.empty();
}

// Where the XML declaration at the start of the bytes names the encoding: the position and
// length of the name, or NONE when it names none.
std::pair<std::size_t, std::size_t> FindDeclaredEncoding(const std::string& bytes) {
    const std::size_t end = bytes.find("?>");
    if (bytes.compare(0, 5, "<?xml") != 0 || end == NONE)
        return {NONE, 0};
    std::size_t at = bytes.find("encoding", 5);
    if (at < end)
        at = bytes.find_first_not_of(" \t\r\n", at + 8);
    if (at < end && bytes[at] == '=')
        at = bytes.find_first_not_of(" \t\r\n", at + 1);
    if (at >= end || (bytes[at] != '"' && bytes[at] != '\''))
        return {NONE, 0};
    const std::size_t close = bytes.find(bytes[at], at + 1);
    if (close >= end)
        return {NONE, 0};
    return {at + 1, close - at - 1};
}

// The toolkit's memory stream grows by a fixed step, copying all it holds at each: a string
// grows in proportion and reads a large file in time that grows with its size.
std::string ReadAll(wxInputStream& stream) {
    std::string bytes;
    const wxFileOffset length = stream.GetLength();
    if (length != wxInvalidOffset)
        bytes.reserve(static_cast<std::size_t>(length));
    char piece[65536];
    while (stream.Read(piece, sizeof piece).LastRead() > 0)
        bytes.append(piece, stream.LastRead());
    return bytes;
}

// Each conversion gets a converter of its own: the system's converters carry their shift
// state from one call to the next, which would garble stateful encodings (ISO-2022-JP).
bool Decode(const wxString& name, const std::string& bytes, std::wstring& text) {
    const wxCSConv sizing(name);
    const std::size_t length =
        sizing.IsOk() ? sizing.ToWChar(nullptr, 0, bytes.data(), bytes.size()) : wxCONV_FAILED;
    if (length == wxCONV_FAILED)
        return false;
    text.assign(length, L'\0');
    return wxCSConv(name).ToWChar(text.data(), length, bytes.data(), bytes.size()) == length;
}

bool Encode(const wxString& name, const std::wstring& text, std::string& bytes) {
    const std::size_t length = wxCSConv(name).FromWChar(nullptr, 0, text.data(), text.size());
    if (length == wxCONV_FAILED)
        return false;
    const std::size_t start = bytes.size();
    bytes.resize(start + length);
    return wxCSConv(name).FromWChar(&bytes[start], length, text.data(), text.size()) == length;
}

// The bytes of the document's declared encoding, decided character by character so that
// nothing is written that a reader of that encoding would reject or read differently.
class Encoding {
public:
    explicit Encoding(const wxString& name) : m_name(name) {
        const wxString upper = name.Upper();
        if (upper.empty() || upper == "UTF-8" || upper == "UTF8") {
            m_kind = UTF8;
        } else if (upper == "UTF-16" || upper == "UTF-16LE") {
            m_kind = UTF16LE;
            m_bom = upper == "UTF-16"; // a reader needs it to tell the byte order
        } else if (upper == "UTF-16BE") {
            m_kind = UTF16BE;
        } else if (upper == "US-ASCII" || upper == "ASCII" || upper == "ANSI_X3.4-1968") {
            // The converter of these names passes Latin-1 through; a reader does not.
            m_limit = 0x80;
        } else if (upper == "ISO-8859-1" || upper == "ISO_8859-1" || upper == "LATIN1") {
            m_limit = 0x100;
        } else {
            m_kind = CONVERTED;
            m_ok = wxCSConv(name).IsOk();
        }
    }

    bool IsOk() const { return m_ok; }

    // The character can be written as itself and reads back as the same character.
    bool Holds(std::uint32_t code) const {
        if (code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
        if (m_kind == LIMITED)
            return code < m_limit;
        if (m_kind != CONVERTED)
            return true;
        const auto known = m_held.find(code);
        if (known != m_held.end())
            return known->second;
        // Round-tripped, because some converters map two characters to one byte (Shift_JIS
        // writes both the backslash and the yen sign as 0x5C and reads back the yen sign).
        const wchar_t one = static_cast<wchar_t>(code);
        char bytes[16];
        wchar_t back[2];
        const std::size_t length = wxCSConv(m_name).FromWChar(bytes, sizeof bytes, &one, 1);
        const bool held = length != wxCONV_FAILED && length > 0 &&
                          wxCSConv(m_name).ToWChar(back, 2, bytes, length) == 1 && back[0] == one;
        m_held.emplace(code, held);
        return held;
    }

    // The bytes of a text whose every character Holds accepts.
    bool Write(const std::wstring& text, std::string& out) const {
        if (m_kind == CONVERTED)
            return Encode(m_name, text, out);
        if (m_bom)
            AppendUnit(0xFEFF, out);
        for (const wchar_t ch : text)
            Append(static_cast<std::uint32_t>(ch), out);
        return true;
    }

private:
    enum Kind { UTF8, UTF16LE, UTF16BE, LIMITED, CONVERTED };

    void Append(std::uint32_t code, std::string& out) const {
        switch (m_kind) {
        case UTF8:
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else if (code < 0x10000) {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xF0 | (code >> 18));
                out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
            break;
        case UTF16LE:
        case UTF16BE:
            if (code >= 0x10000) {
                code -= 0x10000;
                AppendUnit(0xD800 | (code >> 10), out);
                AppendUnit(0xDC00 | (code & 0x3FF), out);
            } else {
                AppendUnit(code, out);
            }
            break;
        default:
            out += static_cast<char>(code);
            break;
        }
    }

    void AppendUnit(std::uint32_t unit, std::string& out) const {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += m_kind == UTF16BE ? high : low;
        out += m_kind == UTF16BE ? low : high;
    }

    wxString m_name;
    Kind m_kind = LIMITED;
    bool m_ok = true;
    bool m_bom = false;
    std::uint32_t m_limit = 0; // LIMITED: the encoding holds exactly the codes below it
    mutable std::unordered_map<std::uint32_t, bool> m_held; // CONVERTED: answers so far
};

// Characters XML cannot carry at all, not even as a reference: a file holding one could
// never be read again.
bool IsXmlChar(std::uint32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code < 0xD800) ||
           (code >= 0xE000 && code < 0xFFFE) || (code >= 0x10000 && code <= 0x10FFFF);
}

// The whole document is encoded into memory first, so that a document that cannot be
// written faithfully writes nothing.
struct Output {
    const Encoding& encoding;
    std::wstring text;
    bool ok = true;
};

// Markup and its names must be written as they are.
void OutputChar(Output& out, std::uint32_t code) {
    if (out.encoding.Holds(code))
        out.text += static_cast<wchar_t>(code);
    else
        out.ok = false;
}

void OutputString(Output& out, const wxString& str) {
    for (wxUniChar ch : str)
        OutputChar(out, ch.GetValue());
}

void OutputString(Output& out, const wxChar* str) {
    for (; *str; ++str)
        OutputChar(out, static_cast<std::uint32_t>(*str));
}

// Comments, CDATA and processing instructions cannot hold references: content the encoding
// cannot hold is left out as a whole rather than half-written.
bool IsVerbatim(const Output& out, const wxString& str) {
    for (wxUniChar ch : str)
        if (!IsXmlChar(ch.GetValue()) || !out.encoding.Holds(ch.GetValue()))
            return false;
    return true;
}

void OutputVerbatim(Output& out, const wxString& str) {
    if (IsVerbatim(out, str))
        OutputString(out, str);
}

// Escapes markup characters; quotes only matter inside attribute values. '&' is always
// escaped, so text that already reads "&amp;" survives a save and a reload. A character the
// encoding cannot hold becomes a numeric reference, so every text reads back as it was. So
// do the white space characters that a reader would change: a carriage return anywhere (to
// a line feed), a tab or line feed in an attribute value (to a blank).
void OutputStringEnt(Output& out, const wxString& str, int flags) {
    for (wxUniChar ch : str) {
        const std::uint32_t code = ch.GetValue();
        const wxChar* entity = nullptr;
        if (code == '<')
            entity = wxS("&lt;");
        else if (code == '>')
            entity = wxS("&gt;");
        else if (code == '&')
            entity = wxS("&amp;");
        else if (code == '\r')
            entity = wxS("&#13;");
        else if (code == '"' && flags != 0)
            entity = wxS("&quot;");
        else if (code == '\t' && flags != 0)
            entity = wxS("&#9;");
        else if (code == '\n' && flags != 0)
            entity = wxS("&#10;");
        if (entity)
            OutputString(out, entity);
        else if (!IsXmlChar(code))
            continue;
        else if (out.encoding.Holds(code))
            out.text += static_cast<wchar_t>(code);
        else
            OutputString(out, wxString::Format("&#%u;", static_cast<unsigned>(code)));
    }
}

void OutputIndentation(Output& out, int indent) {
    OutputString(out, wxS("\n"));
    for (int i = 0; i < indent; ++i)
        OutputString(out, wxS("  "));
}

// The kinds of node a load puts inside the root, each written back. The others have no
// written form inside an element (an entity reference is read as its text, and the document
// type is not written), so they are left out, with the line break that would precede them.
bool IsWritten(const wxXmlNode* node) {
    switch (node->GetType()) {
    case wxXML_ELEMENT_NODE:
    case wxXML_TEXT_NODE:
    case wxXML_CDATA_SECTION_NODE:
    case wxXML_COMMENT_NODE:
    case wxXML_PI_NODE:
        return true;
    default:
        return false;
    }
}

void OutputNode(Output& out, const wxXmlNode* node, int indent, int indentstep) {
    switch (node->GetType()) {
    case wxXML_TEXT_NODE:
        OutputStringEnt(out, node->GetContent(), 0);
        break;

    case wxXML_CDATA_SECTION_NODE:
        // CDATA is written verbatim, even a "]]>" inside it; the caller owns that risk.
        OutputString(out, wxS("<![CDATA["));
        OutputVerbatim(out, node->GetContent());
        OutputString(out, wxS("]]>"));
        break;

    case wxXML_COMMENT_NODE:
        OutputString(out, wxS("<!--"));
        OutputVerbatim(out, node->GetContent());
        OutputString(out, wxS("-->"));
        break;

    case wxXML_PI_NODE: {
        // As the loader read it: the target, and the data after one blank. Data that cannot be
        // written as itself (one holding "?>", which no loaded document has) is left out.
        const wxString& data = node->GetContent();
        OutputString(out, wxS("<?"));
        OutputString(out, node->GetName());
        if (!data.empty() && !data.Contains(wxS("?>")) && IsVerbatim(out, data)) {
            OutputString(out, wxS(" "));
            OutputString(out, data);
        }
        OutputString(out, wxS("?>"));
        break;
    }

    case wxXML_ELEMENT_NODE: {
        OutputString(out, wxS("<"));
        OutputString(out, node->GetName());
        for (const wxXmlAttribute* attr = node->GetAttributes(); attr; attr = attr->GetNext()) {
            OutputString(out, wxS(" "));
            OutputString(out, attr->GetName());
            OutputString(out, wxS("=\""));
            OutputStringEnt(out, attr->GetValue(), 1);
            OutputString(out, wxS("\""));
        }

        // Breaking before a text child would change its content, so text stays inline.
        const wxXmlNode* last = nullptr;
        for (const wxXmlNode* child = node->GetChildren(); child; child = child->GetNext()) {
            if (!IsWritten(child))
                continue;
            if (!last)
                OutputString(out, wxS(">"));
            if (indentstep >= 0 && child->GetType() != wxXML_TEXT_NODE)
                OutputIndentation(out, indent + indentstep);
            OutputNode(out, child, indent + indentstep, indentstep);
            last = child;
        }
        if (!last) {
            OutputString(out, wxS("/>"));
            break;
        }
        if (indentstep >= 0 && last->GetType() != wxXML_TEXT_NODE)
            OutputIndentation(out, indent);
        OutputString(out, wxS("</"));
        OutputString(out, node->GetName());
        OutputString(out, wxS(">"));
        break;
    }

    default:
        break; // not written: see IsWritten
    }
}
} // namespace

// The encoding argument matters only to builds without Unicode, as in the toolkit.
bool wxXmlDocumentEx::Load(wxInputStream& stream, const wxString&, int flags) {
    std::string bytes = ReadAll(stream);
    m_refused = false;
    const auto [at, length] = FindDeclaredEncoding(bytes);
    const wxString declared = at == NONE ? wxString() : wxString::FromUTF8(&bytes[at], length);
    const bool converted = !ParserReads(declared);
    if (converted) {
        // Handed to the parser as UTF-8, declared as such.
        std::wstring text;
        if (!Decode(declared, bytes, text)) {
            wxLogError(_("The encoding %s declared by the XML file cannot be converted: the file "
                         "is not read, and left as it is."),
                       declared);
            return false;
        }
        bytes = wxString(text.data(), text.size()).utf8_string();
        const auto [utf8At, utf8Length] = FindDeclaredEncoding(bytes);
        if (utf8At != NONE)
            bytes.replace(utf8At, utf8Length, "UTF-8");
    }
    XmlTree tree = ReadXmlTree(bytes, MAX_DEPTH, (flags & wxXMLDOC_KEEP_WHITESPACE_NODES) != 0);
    if (tree.outcome == XmlTree::REFUSED) {
        m_refused = true;
        return false;
    }
    if (tree.outcome == XmlTree::MALFORMED) {
        // The toolkit's own message, so that its translations serve.
        wxLogError(_("XML parsing error: '%s' at line %d"), tree.error,
                   static_cast<int>(tree.line));
        return false;
    }
    // As the toolkit's load: a version only when declared, UTF-8 when no encoding is.
    if (!tree.version.empty())
        SetVersion(tree.version);
    const wxString& named = converted ? declared : tree.encoding;
    SetFileEncoding(named.empty() ? wxString("UTF-8") : named);
    SetDoctype(tree.doctype);
    SetDocumentNode(tree.document.release());
    return true;
}

bool wxXmlDocumentEx::Save(const wxString& filename, int indentstep) const {
    wxFileOutputStream stream(filename);
    if (!stream.IsOk())
        return false;
    return Save(stream, indentstep);
}

bool wxXmlDocumentEx::Save(wxOutputStream& stream, int indentstep) const {
    const wxXmlNode* root = GetRoot();
    if (!root)
        return false;

    const Encoding encoding(GetFileEncoding());
    if (!encoding.IsOk())
        return false;
    Output out{encoding, {}, true};
    OutputString(out, wxString::Format(wxS("<?xml version=\"%s\" encoding=\"%s\"?>\n"),
                                       GetVersion(), GetFileEncoding()));
    OutputNode(out, root, 0, indentstep);
    OutputString(out, wxS("\n"));
    std::string bytes;
    if (!out.ok || !encoding.Write(out.text, bytes))
        return false;
    stream.Write(bytes.data(), bytes.size());
    return stream.LastWrite() == bytes.size();
}
