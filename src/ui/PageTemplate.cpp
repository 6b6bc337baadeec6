// Field replacement in page templates, and HTML escaping.
#include "PageTemplate.h"

void PageTemplate::Add(const wxString& field, const wxString& text, Occurrences which) {
    wxString name = field;
    if (name.StartsWith("$") && name.EndsWith("$") && name.length() > 1)
        name = name.Mid(1, name.length() - 2);
    m_fields[name].push_back({text, which});
}

wxString PageTemplate::Fill(const wxString& page) const {
    std::unordered_map<wxString, std::size_t, wxStringHash, wxStringEqual> taken;
    wxString out;
    out.reserve(page.length());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = page.find('$', pos);
        const std::size_t close = open == wxString::npos ? open : page.find('$', open + 1);
        if (close == wxString::npos) {
            out.append(page, pos, wxString::npos);
            return out;
        }
        out.append(page, pos, open - pos);
        const wxString name = page.substr(open + 1, close - open - 1);
        const Replacement* replacement = nullptr;
        const auto field = m_fields.find(name);
        if (field != m_fields.end()) {
            std::size_t& next = taken[name];
            if (next < field->second.size()) {
                replacement = &field->second[next];
                if (replacement->which == FIRST)
                    ++next;
            }
        }
        if (!replacement) {
            // Not a field, or none left: the closing sign may open the next field.
            out += '$';
            pos = open + 1;
            continue;
        }
        out += replacement->text;
        pos = close + 1;
    }
}

wxString EscapeHtml(const wxString& text) {
    wxString out;
    out.reserve(text.length());
    for (const wxUniChar ch : text) {
        switch (ch.GetValue()) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}
