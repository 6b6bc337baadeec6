// Atomic file replacement.
#include "AtomicFile.h"

#include <wx/file.h>
#include <wx/log.h>

bool WriteFileAtomically(const wxString& path, const void* data, std::size_t size) {
    wxLogNull quiet; // the caller reports the failure in its own words
    wxTempFile file;
    if (!file.Open(path))
        return false;
    if (!file.Write(data, size) || !file.Flush()) {
        file.Discard();
        return false;
    }
    return file.Commit();
}
