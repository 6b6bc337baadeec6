// Small desktop helpers: opening a file with its application, a text file beside the
// executable, and the version text.
#pragma once

#include <wx/string.h>

// Opens the file with the application the desktop associates with it. The show command is
// a Windows notion and is ignored here. True when the desktop accepted the request.
bool crvxShellExecute(const wxString& file, int showCommand);

// Replaces the file beside the executable (fileName begins with "/") with the text in UTF-8.
// On failure the old file is left as it was and an error is logged.
void WriteAppDirTextFile(const wxString& fileName, const wxString& text);

// The first line, without its trailing white space, of the file beside the executable
// (fileName begins with "/"); empty when the file is missing, unreadable or empty. The text
// is read as UTF-8, or as ISO-8859-1 when it is not valid UTF-8.
wxString ReadAppDirTextFile(const wxString& fileName);

// The program's version, as the build's project names it.
wxString GetVersionString();
