// File names are byte strings here. Bytes that are not valid UTF-8 map to private-use
// characters and back, so every name found on disk can be opened again.
#include "FileNames.h"

#include <wx/strconv.h>

const wxMBConv& FileSystemConverter() {
    static const wxMBConvUTF8 conv(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conv;
}

std::string ToFileSystemPath(const wxString& path) {
    const wxScopedCharBuffer bytes = path.mb_str(FileSystemConverter());
    return std::string(bytes.data(), bytes.length());
}

wxString FromFileSystemPath(const char* bytes, std::size_t length) {
    return wxString(bytes, FileSystemConverter(), length);
}
