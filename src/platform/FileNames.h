// Conversion between the program's path strings and the bytes the file system uses.
#pragma once

#include <string>
#include <wx/string.h>

class wxMBConv;

// UTF-8, with each byte that is not valid UTF-8 read as a private-use character and written
// back as that byte: the conversion of the two functions below.
const wxMBConv& FileSystemConverter();

// Bytes of a path for the system calls; round-trips names that are not valid UTF-8.
std::string ToFileSystemPath(const wxString& path);
// A name or path as the file system gave it.
wxString FromFileSystemPath(const char* bytes, std::size_t length);
