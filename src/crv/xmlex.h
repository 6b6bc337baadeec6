// wxXmlDocumentEx: an XML document that saves itself with Tallywick's own writer.
#pragma once

#include <wx/stream.h>
#include <wx/string.h>
#include <wx/xml/xml.h>

// Loading builds the toolkit's tree in one pass of expat, as the toolkit's own load takes time
// that grows with the square of a text's pieces; saving is replaced, so that every byte of the
// rules file (layout, escaping, encoding) is decided here and not by the wx version. Both sides
// handle every encoding the system's converters know, not only those of the toolkit's parser.
class wxXmlDocumentEx : public wxXmlDocument {
public:
    wxXmlDocumentEx() = default;

    // The deepest nesting of elements Load accepts. The toolkit frees a document
    // recursively, so a deeper one could overflow the stack; no rules file comes near it.
    static constexpr int MAX_DEPTH = 256;

    using wxXmlDocument::Load;
    // The tree the toolkit's load builds, but each text whole: white space alone is dropped
    // between elements (unless the flags keep it) and kept as the whole text of an element
    // other than the root. A document in an encoding the parser does not know is converted
    // for it first; the declared encoding stays the document's. False, with a message, when
    // the declared encoding cannot be converted, the bytes are not valid in it or the
    // document is not well-formed. Entities are read as their text. A document nested deeper
    // than MAX_DEPTH or with an entity that cannot be read as text (an external one, one that
    // expands beyond bound) is refused: false without a message, and IsRefused tells it.
    bool Load(wxInputStream& stream, const wxString& encoding = "UTF-8",
              int flags = wxXMLDOC_NONE) override;
    bool IsRefused() const { return m_refused; }

    // Fails when the file cannot be opened; otherwise as the stream form.
    bool Save(const wxString& filename, int indentstep = 2) const override;

    // Writes the declaration, the root element and a final line feed, in the declared
    // encoding; inside the root, every kind of node a load keeps (elements, text, CDATA,
    // comments, processing instructions), and nothing of any other kind. A character of
    // text that the encoding cannot hold is written as a reference. A negative indent step
    // puts the whole root on one line. False, with nothing written, when there is no root,
    // the encoding is unknown or a name cannot be written in it; false also when the stream
    // does not take the bytes.
    bool Save(wxOutputStream& stream, int indentstep = 2) const override;

private:
    bool m_refused = false;
};
