// Where the program's own files lie.
#pragma once

#include <wx/string.h>

// The folder of the running executable, without a trailing separator.
wxString GetExecutableDir();
