// The settings store's reading and writing.
#include "SettingsFile.h"

#include "AtomicFile.h"
#include "FileNames.h"
#include "HomeFolder.h"

#include <wx/app.h>
#include <wx/mstream.h>

SettingsFile::SettingsFile() : SettingsFile(SettleHomeFolder()) {}

SettingsFile::SettingsFile(bool home)
    // A byte that is not UTF-8 stays as it is, as in file names, so a folder stored under
    // such a name is found again; by default one invalid byte makes the whole file Latin-1.
    : wxFileConfig(wxTheApp->GetAppName(), wxString(), wxString(), wxString(),
                   (home ? wxCONFIG_USE_LOCAL_FILE : 0) | wxCONFIG_USE_GLOBAL_FILE,
                   FileSystemConverter()),
      m_path(home ? GetLocalFileName(wxTheApp->GetAppName()) : wxString()) {
    DisableAutoSave(); // the toolkit's own write at the end; this class writes in its place
    m_written = Text();
}

SettingsFile::~SettingsFile() {
    Flush();
}

bool SettingsFile::Flush(bool) {
    const std::string text = Text();
    // No home folder, no file: the user has nowhere to keep one, so nothing to be told.
    if (text == m_written || m_path.empty())
        return true;
    if (!WriteFileAtomically(m_path, text.data(), text.size()))
        return false;
    m_written = text;
    return true;
}

std::string SettingsFile::Text() {
    wxMemoryOutputStream out;
    Save(out, FileSystemConverter());
    std::string text(out.GetLength(), '\0');
    out.CopyTo(text.data(), text.size());
    return text;
}
