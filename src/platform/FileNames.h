// Conversion between the program's path strings and the bytes the file system uses.
#pragma once

#include <string>
#include <wx/string.h>

// Bytes of a path for the system calls; round-trips names that are not valid UTF-8.
std::string ToFileSystemPath(const wxString& path);
// A name or path as the file system gave it.
wxString FromFileSystemPath(const char* bytes, std::size_t length);
