// File names are byte strings here. Bytes that are not valid UTF-8 map to private-use
// characters and back, so every name found on disk can be opened again.
#include "FileNames.h"

#include <wx/strconv.h>

namespace {
const wxMBConvUTF8& Converter() {
    static const wxMBConvUTF8 conv(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conv;
}
} // namespace

std::string ToFileSystemPath(const wxString& path) {
    const wxScopedCharBuffer bytes = path.mb_str(Converter());
    return std::string(bytes.data(), bytes.length());
}

wxString FromFileSystemPath(const char* bytes, std::size_t length) {
    return wxString(bytes, Converter(), length);
}
