// The tree of a document, read with expat in one pass.
#pragma once

#include <memory>
#include <string>
#include <wx/string.h>
#include <wx/xml/xml.h>

// The nodes the toolkit's own load would build, in time that grows with the document's length
// (the toolkit copies a text again for each piece of it that the parser hands over), and
// each text whole: white space alone is dropped only between elements. Entities are read as
// their text; the depth is bounded, as the toolkit frees a tree recursively.
struct XmlTree {
    enum Outcome {
        READ,
        MALFORMED, // not well-formed: error and line say why and where
        REFUSED,   // nested too deeply, or an entity that cannot be read as text: an external
                   // one, or one that expands beyond expat's bound
    };

    Outcome outcome = READ;
    std::unique_ptr<wxXmlNode> document; // READ: the document node, the root among its children
    // The declaration's values, empty when it names none.
    wxString version;
    wxString encoding;
    wxXmlDoctype doctype;
    wxString error;
    unsigned long line = 0;
};

// bytes: a document in an encoding that expat reads by itself. keepWhitespace keeps the white
// space between elements too.
XmlTree ReadXmlTree(const std::string& bytes, int maxDepth, bool keepWhitespace);
