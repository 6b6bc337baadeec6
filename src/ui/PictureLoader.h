// Reads the program's pictures from img/.
#pragma once

#include <wx/bitmap.h>
#include <wx/string.h>

// The picture at path (relative to the working folder), or wxNullBitmap when the file is
// missing or unreadable: a missing picture leaves an empty space, never a message.
wxBitmap LoadPicture(const wxString& path);
