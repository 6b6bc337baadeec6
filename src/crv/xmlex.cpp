// The XML writer behind wxXmlDocumentEx::Save.
#include "xmlex.h"

#include <wx/debug.h>
#include <wx/strconv.h>
#include <wx/wfstream.h>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace {
// The bytes of the document's declared encoding, decided character by character so that
// nothing is written that a reader of that encoding would reject or read differently.
class Encoding {
public:
    explicit Encoding(const wxString& name) {
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
            // Any other encoding is read one byte per character through the same converter,
            // so its table of single bytes is exactly what a reload understands.
            const wxCSConv conv(name);
            m_ok = conv.IsOk();
            for (int byte = 1; m_ok && byte < 0x100; ++byte) {
                const char in[2] = {static_cast<char>(byte), 0};
                wchar_t out[4] = {};
                if (conv.ToWChar(out, 4, in, 1) == 1 && out[0] != 0)
                    m_table.emplace(static_cast<std::uint32_t>(out[0]), static_cast<char>(byte));
                if (byte < 0x80 && out[0] != static_cast<wchar_t>(byte))
                    m_asciiBytes = false;
            }
        }
        m_asciiBytes = m_asciiBytes && (m_kind == UTF8 || m_kind == TABLE);
    }

    bool IsOk() const { return m_ok; }
    bool HasBom() const { return m_bom; }

    bool Holds(std::uint32_t code) const {
        if (m_kind != TABLE)
            return true;
        if (m_limit)
            return code < m_limit;
        return m_table.count(code) != 0;
    }

    // Appends one character; false when the encoding cannot hold it.
    bool Append(std::uint32_t code, std::string& out) const {
        if (code < 0x80 && m_asciiBytes) {
            out += static_cast<char>(code);
            return true;
        }
        if (code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return false;
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
            return true;
        case UTF16LE:
        case UTF16BE:
            if (code >= 0x10000) {
                code -= 0x10000;
                AppendUnit(0xD800 | (code >> 10), out);
                AppendUnit(0xDC00 | (code & 0x3FF), out);
            } else {
                AppendUnit(code, out);
            }
            return true;
        case TABLE:
            if (m_limit) {
                if (code >= m_limit)
                    return false;
                out += static_cast<char>(code);
                return true;
            }
            const auto found = m_table.find(code);
            if (found == m_table.end())
                return false;
            out += found->second;
            return true;
        }
        return false;
    }

    void AppendBom(std::string& out) const { AppendUnit(0xFEFF, out); }

private:
    enum Kind { UTF8, UTF16LE, UTF16BE, TABLE };

    void AppendUnit(std::uint32_t unit, std::string& out) const {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += m_kind == UTF16BE ? high : low;
        out += m_kind == UTF16BE ? low : high;
    }

    Kind m_kind = TABLE;
    bool m_ok = true;
    bool m_bom = false;
    bool m_asciiBytes = true;  // ASCII characters are their own single bytes
    std::uint32_t m_limit = 0; // a single-byte encoding holding exactly the codes below it
    std::unordered_map<std::uint32_t, char> m_table;
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
    std::string bytes;
    bool ok = true;
};

// Markup and its names must be written as they are.
void OutputString(Output& out, const wxString& str) {
    for (wxUniChar ch : str)
        if (!out.encoding.Append(ch.GetValue(), out.bytes))
            out.ok = false;
}

void OutputString(Output& out, const wxChar* str) {
    for (; *str; ++str)
        if (!out.encoding.Append(static_cast<std::uint32_t>(*str), out.bytes))
            out.ok = false;
}

// Comments and CDATA cannot hold references: content the encoding cannot hold is left out
// as a whole rather than half-written.
void OutputVerbatim(Output& out, const wxString& str) {
    for (wxUniChar ch : str)
        if (!IsXmlChar(ch.GetValue()) || !out.encoding.Holds(ch.GetValue()))
            return;
    OutputString(out, str);
}

// Escapes markup characters; quotes only matter inside attribute values. '&' is always
// escaped, so text that already reads "&amp;" survives a save and a reload. A character the
// encoding cannot hold becomes a numeric reference, so every text reads back as it was.
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
        else if (code == '"' && flags != 0)
            entity = wxS("&quot;");
        if (entity)
            OutputString(out, entity);
        else if (!IsXmlChar(code))
            continue;
        else if (!out.encoding.Append(code, out.bytes))
            OutputString(out, wxString::Format("&#%u;", static_cast<unsigned>(code)));
    }
}

void OutputIndentation(Output& out, int indent) {
    OutputString(out, wxS("\n"));
    for (int i = 0; i < indent; ++i)
        OutputString(out, wxS("  "));
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

        const wxXmlNode* child = node->GetChildren();
        if (!child) {
            OutputString(out, wxS("/>"));
            break;
        }

        // Breaking before a text child would change its content, so text stays inline.
        OutputString(out, wxS(">"));
        const wxXmlNode* last = nullptr;
        for (; child; child = child->GetNext()) {
            if (indentstep >= 0 && child->GetType() != wxXML_TEXT_NODE)
                OutputIndentation(out, indent + indentstep);
            OutputNode(out, child, indent + indentstep, indentstep);
            last = child;
        }
        if (indentstep >= 0 && last->GetType() != wxXML_TEXT_NODE)
            OutputIndentation(out, indent);
        OutputString(out, wxS("</"));
        OutputString(out, node->GetName());
        OutputString(out, wxS(">"));
        break;
    }

    default:
        wxFAIL_MSG("unsupported node type");
        break;
    }
}
} // namespace

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
    if (encoding.HasBom())
        encoding.AppendBom(out.bytes);
    OutputString(out, wxString::Format(wxS("<?xml version=\"%s\" encoding=\"%s\"?>\n"),
                                       GetVersion(), GetFileEncoding()));
    OutputNode(out, root, 0, indentstep);
    OutputString(out, wxS("\n"));
    if (!out.ok)
        return false;
    stream.Write(out.bytes.data(), out.bytes.size());
    return stream.LastWrite() == out.bytes.size();
}
