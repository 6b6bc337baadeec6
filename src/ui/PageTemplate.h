// Reads an HTML template and fills its fields, names between dollar signs such as "$n_files$".
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>
#include <wx/hashmap.h>
#include <wx/string.h>

class PageTemplate {
public:
    enum Occurrences { FIRST, ALL };

    // Far beyond any page that the view could show.
    static constexpr std::uint64_t MAX_SIZE = 8 << 20;

    // The template's text, decoded from UTF-8, with each "$tr:text$" replaced by the text's
    // translation; nothing when the file cannot be read.
    static std::optional<wxString> Read(const wxString& path);

    // Queues a replacement of the field (given with its dollar signs). The replacements of
    // one field take its occurrences in the order they were added: FIRST takes the next one,
    // ALL every one left.
    void Add(const wxString& field, const wxString& text, Occurrences which = FIRST);

    // The page with its fields replaced in one pass: inserted text is never searched again,
    // so a folder named like a field shows as written. Occurrences left over stay literal.
    wxString Fill(const wxString& page) const;

private:
    struct Replacement {
        wxString text;
        Occurrences which;
    };
    std::unordered_map<wxString, std::vector<Replacement>, wxStringHash, wxStringEqual> m_fields;
};

// The text with the characters that HTML gives a meaning to written as entities.
wxString EscapeHtml(const wxString& text);
