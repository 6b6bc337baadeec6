// Desktop helpers.
#include "CorvkitUtil.h"

#include "AtomicFile.h"
#include "ExecutablePath.h"

#include <wx/convauto.h>
#include <wx/filefn.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/textfile.h>
#include <wx/utils.h>

bool crvxShellExecute(const wxString& file, int) {
    return wxLaunchDefaultApplication(file);
}

void WriteAppDirTextFile(const wxString& fileName, const wxString& text) {
    const wxString path = GetExecutableDir() + fileName;
    const wxScopedCharBuffer bytes = text.utf8_str();
    if (!WriteFileAtomically(path, bytes.data(), bytes.length()))
        wxLogError(_("The file %s could not be written."), path);
}

wxString ReadAppDirTextFile(const wxString& fileName) {
    const wxString path = GetExecutableDir() + fileName;
    if (!wxFileExists(path))
        return wxString();
    wxLogNull quiet; // an unreadable file gives the empty text, not an error box
    wxTextFile file;
    if (!file.Open(path, wxConvAuto(wxFONTENCODING_ISO8859_1)) || file.GetLineCount() == 0)
        return wxString();
    wxString line = file.GetFirstLine();
    return line.Trim(true);
}

wxString GetVersionString() {
    return TALLYWICK_VERSION;
}
