// wxXmlDocumentEx: an XML document that saves itself with Tallywick's own writer.
#pragma once

#include <wx/stream.h>
#include <wx/string.h>
#include <wx/xml/xml.h>

// Parsing stays with the toolkit, behind a first pass that guards it; saving is replaced, so that
// every byte of the rules file (layout, escaping, encoding) is decided here and not by the wx
// version. Both sides handle every encoding the system's converters know, not only those of the
// toolkit's parser.
class wxXmlDocumentEx : public wxXmlDocument {
public:
    wxXmlDocumentEx() = default;

    // The deepest nesting of elements Load accepts. The toolkit frees a document
    // recursively, so a deeper one could overflow the stack; no rules file comes near it.
    static constexpr int MAX_DEPTH = 256;

    using wxXmlDocument::Load;
    // A document in an encoding the parser does not know is converted for it first; the
    // declared encoding stays the document's. False, with a message, when the declared
    // encoding cannot be converted or the bytes are not valid in it. Entities are read as
    // their text. A document nested deeper than MAX_DEPTH, with an entity that cannot be
    // read as text (an external one, one that expands beyond bound), or with attributes,
    // texts or comments so long (a megabyte; less for a text of many lines) that the
    // toolkit's parser, whose time grows with their square, would take seconds over them, is
    // refused: false without a message, and IsRefused tells it.
    bool Load(wxInputStream& stream, const wxString& encoding = "UTF-8",
              int flags = wxXMLDOC_NONE) override;
    bool IsRefused() const { return m_refused; }

    // Fails when the file cannot be opened; otherwise as the stream form.
    bool Save(const wxString& filename, int indentstep = 2) const override;

    // Writes the declaration, the root element and a final line feed, in the declared
    // encoding; a character of text that it cannot hold is written as a reference. A
    // negative indent step puts the whole root on one line. False, with nothing written,
    // when there is no root, the encoding is unknown or a name cannot be written in it;
    // false also when the stream does not take the bytes.
    bool Save(wxOutputStream& stream, int indentstep = 2) const override;

private:
    bool m_refused = false;
};
