// The executable's folder, at its full length.
#include "ExecutablePath.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>

wxString GetExecutableDir() {
    return wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath(wxPATH_GET_VOLUME);
}
