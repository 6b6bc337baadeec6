// Reads the program's pictures from img/.
#pragma once

#include <wx/artprov.h>
#include <wx/bitmap.h>
#include <wx/string.h>

// The picture at path (relative to the working folder), or wxNullBitmap when the file is
// missing or unreadable: a missing picture leaves an empty space, never a message.
wxBitmap LoadPicture(const wxString& path);
// The picture of a command: when its file cannot be read, the toolkit's stock art of that
// size instead, so that the command can still be seen.
wxBitmap LoadPicture(const wxString& path, const wxArtID& stock, int size = 16);
