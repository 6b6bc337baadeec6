// A first pass of expat over a document, before the toolkit builds its tree from it.
#pragma once

#include <string>

// How deep the document nests, and whether its entities can be read as text. The toolkit's
// parser drops every entity reference, and frees a tree recursively; this pass lets neither
// happen.
struct XmlPrescan {
    enum Outcome {
        PLAIN,    // the toolkit can read the bytes as they are, and tell what is wrong in them
        EXPANDED, // declares entities: expanded holds the document without them
        REFUSED,  // nested too deeply, an entity cannot be read as text, or tokens so long
                  // that the toolkit's parser would take seconds over them
    };

    Outcome outcome = PLAIN;
    // EXPANDED: the document in UTF-8 and declared so, each entity reference replaced by
    // its text and the document type left out.
    std::string expanded;
    // The encoding that the document's own declaration names, in UTF-8; empty when none.
    std::string encoding;
};

// bytes: a document in an encoding that expat reads by itself. External entities are never
// read, and expat's own bound stops an expansion that grows out of all proportion.
XmlPrescan PrescanXml(const std::string& bytes, int maxDepth);
