// Reading page templates, field replacement in them, and HTML escaping.
#include "PageTemplate.h"

#include "RegularFile.h"

#include <string>
#include <wx/file.h>
#include <wx/intl.h>
#include <wx/log.h>

namespace {
// The whole file; false when it cannot be opened or read, is no regular file (a FIFO would
// block for ever, a device never end) or is larger than any page.
bool ReadBytes(const wxString& path, std::string& bytes) {
    wxLogNull quiet; // a missing template is for the caller to replace, not an error box
    FileStatus status;
    const int fd = OpenRegularFile(path, &status);
    if (fd < 0)
        return false;
    wxFile file(fd); // closes it
    if (status.size > PageTemplate::MAX_SIZE)
        return false;
    char buffer[16384];
    for (;;) {
        const ssize_t got = file.Read(buffer, sizeof buffer);
        if (got == wxInvalidOffset)
            return false;
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > PageTemplate::MAX_SIZE) // grown since it was opened
            return false;
    }
}

// UTF-8 to text; each byte that starts no valid sequence becomes U+FFFD, so a template
// saved in another encoding still shows.
wxString DecodeUtf8(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char lead = p[i];
        std::size_t length = 0;
        char32_t code = 0, min = 0;
        if (lead < 0x80) {
            length = 1, code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, min = 0x10000;
        }
        bool valid = length != 0 && i + length <= n;
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        valid = valid && code >= min && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        text += valid ? static_cast<wchar_t>(code) : L'\uFFFD';
        i += valid ? length : 1;
    }
    return wxString(text);
}

// Whether a line may break between two characters of a translation. The view breaks only at
// spaces, so Chinese and Japanese get <wbr> between their characters, though never before
// closing or after opening punctuation, nor inside a word of katakana; Latin text may break
// after a slash.
bool MayBreakBetween(wxUniChar before, wxUniChar after) {
    const auto in = [](wxUniChar c, unsigned first, unsigned last) {
        return c.GetValue() >= first && c.GetValue() <= last;
    };
    const auto wide = [&](wxUniChar c) {
        return in(c, 0x2E80, 0x9FFF) || in(c, 0xF900, 0xFAFF) || in(c, 0xFF00, 0xFFEF);
    };
    static const wxString noStart =
        L"、。，．：；？！）」』】〉》”’ー々ぁぃぅぇぉっゃゅょァィゥェォッャュョ・…,.:;!?)]+";
    static const wxString noEnd = L"（「『【〈《“‘([";
    if (before == '/')
        return wxIsalpha(after);
    return (wide(before) || wide(after)) && !wxIsspace(before) && !wxIsspace(after) &&
           !(in(before, 0x30A0, 0x30FF) && in(after, 0x30A0, 0x30FF)) &&
           noStart.Find(after) == wxNOT_FOUND && noEnd.Find(before) == wxNOT_FOUND;
}

// Each "$tr:text$" of a template becomes the text's translation, escaped, with its dollar
// signs written as entities so that no translation can form a field of the later pass.
wxString TranslateFields(const wxString& page) {
    const wxString open = "$tr:";
    wxString out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t start = page.find(open, pos);
        const std::size_t end =
            start == wxString::npos ? start : page.find('$', start + open.length());
        if (end == wxString::npos) {
            out.append(page, pos, wxString::npos);
            return out;
        }
        out.append(page, pos, start - pos);
        const wxString text =
            wxGetTranslation(page.substr(start + open.length(), end - start - open.length()));
        // A line never holds the first or the last character of a text alone.
        for (std::size_t i = 0; i < text.length(); ++i) {
            if (i > 1 && i + 1 < text.length() && MayBreakBetween(text[i - 1], text[i]))
                out += "<wbr>";
            out += text[i] == '$' ? wxString("&#36;") : EscapeHtml(wxString(text[i]));
        }
        pos = end + 1;
    }
}

} // namespace

std::optional<wxString> PageTemplate::Read(const wxString& path) {
    // Read as a file: the virtual file system would misread paths with '#' or '%'.
    std::string bytes;
    if (!ReadBytes(path, bytes))
        return std::nullopt;
    return TranslateFields(DecodeUtf8(bytes));
}

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
