// The XML writer behind wxXmlDocumentEx::Save.
#include "xmlex.h"

#include <wx/debug.h>
#include <wx/strconv.h>
#include <wx/wfstream.h>

#include <cstring>

// A null converter stands for UTF-8, used for markup the writer produces itself.
// Text the converter cannot represent is dropped as a whole rather than half-written.
static void OutputString(wxOutputStream& stream, const wxString& str, const wxMBConv* conv) {
    if (str.empty())
        return;
    const wxScopedCharBuffer buf =
        str.mb_str(conv ? *conv : static_cast<const wxMBConv&>(wxConvUTF8));
    const char* data = buf.data();
    if (!data)
        return;
    stream.Write(data, std::strlen(data));
}

// Escapes markup characters; quotes only matter inside attribute values. '&' is
// always escaped, so text that already reads "&amp;" survives a save and a reload.
static void OutputStringEnt(wxOutputStream& stream, const wxString& str, const wxMBConv* conv,
                            int flags) {
    wxString::const_iterator runStart = str.begin();
    for (wxString::const_iterator it = str.begin(); it != str.end(); ++it) {
        const wxUniChar c = *it;
        const char* entity = nullptr;
        if (c == '<')
            entity = "&lt;";
        else if (c == '>')
            entity = "&gt;";
        else if (c == '&')
            entity = "&amp;";
        else if (c == '"' && flags != 0)
            entity = "&quot;";
        if (!entity)
            continue;
        OutputString(stream, wxString(runStart, it), conv);
        OutputString(stream, wxString::FromAscii(entity), nullptr);
        runStart = it + 1;
    }
    OutputString(stream, wxString(runStart, str.end()), conv);
}

static void OutputIndentation(wxOutputStream& stream, int indent) {
    OutputString(stream, wxS("\n") + wxString(wxS(' '), 2 * indent), nullptr);
}

static void OutputNode(wxOutputStream& stream, const wxXmlNode* node, int indent,
                       const wxMBConv* conv, int indentstep) {
    switch (node->GetType()) {
    case wxXML_TEXT_NODE:
        OutputStringEnt(stream, node->GetContent(), conv, 0);
        break;

    case wxXML_CDATA_SECTION_NODE:
        // CDATA is written verbatim, even a "]]>" inside it; the caller owns that risk.
        OutputString(stream, wxS("<![CDATA["), nullptr);
        OutputString(stream, node->GetContent(), nullptr);
        OutputString(stream, wxS("]]>"), nullptr);
        break;

    case wxXML_COMMENT_NODE:
        OutputString(stream, wxS("<!--"), nullptr);
        OutputString(stream, node->GetContent(), conv);
        OutputString(stream, wxS("-->"), nullptr);
        break;

    case wxXML_ELEMENT_NODE: {
        OutputString(stream, wxS("<") + node->GetName(), nullptr);
        for (const wxXmlAttribute* attr = node->GetAttributes(); attr; attr = attr->GetNext()) {
            OutputString(stream, wxS(" ") + attr->GetName() + wxS("=\""), nullptr);
            OutputStringEnt(stream, attr->GetValue(), conv, 1);
            OutputString(stream, wxS("\""), nullptr);
        }

        const wxXmlNode* child = node->GetChildren();
        if (!child) {
            OutputString(stream, wxS("/>"), nullptr);
            break;
        }

        // Breaking before a text child would change its content, so text stays inline.
        OutputString(stream, wxS(">"), nullptr);
        const wxXmlNode* last = nullptr;
        for (; child; child = child->GetNext()) {
            if (indentstep >= 0 && child->GetType() != wxXML_TEXT_NODE)
                OutputIndentation(stream, indent + indentstep);
            OutputNode(stream, child, indent + indentstep, conv, indentstep);
            last = child;
        }
        if (indentstep >= 0 && last->GetType() != wxXML_TEXT_NODE)
            OutputIndentation(stream, indent);
        OutputString(stream, wxS("</") + node->GetName() + wxS(">"), nullptr);
        break;
    }

    default:
        wxFAIL_MSG("unsupported node type");
        break;
    }
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

    const wxCSConv conv(GetFileEncoding());
    OutputString(stream,
                 wxString::Format(wxS("<?xml version=\"%s\" encoding=\"%s\"?>\n"), GetVersion(),
                                  GetFileEncoding()),
                 nullptr);
    OutputNode(stream, root, 0, &conv, indentstep);
    OutputString(stream, wxS("\n"), nullptr);
    // Write errors are deliberately not reported: the caller only needs to know
    // whether there was a document to write.
    return true;
}
