// Opening folders and files in the user's desktop applications.
#pragma once

#include <wx/string.h>

// Opens a folder or file with the desktop's default application (xdg-open); asynchronous.
void OpenWithDesktop(const wxString& path);
// Opens a file in the desktop's application for plain text, whatever its type, so that a
// source page is read as text; falls back to OpenWithDesktop.
void OpenAsText(const wxString& path);
