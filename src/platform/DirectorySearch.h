// Lists the files or the subdirectories directly inside one directory, in the order the
// file system returns them. Names starting with a dot are hidden and skipped. A symbolic
// link to a directory is neither a file nor a directory here, so a walk never follows one
// (a link to a parent would make it endless); a link to anything else is a file.
#pragma once

#include <dirent.h>
#include <wx/string.h>

class DirectorySearch {
public:
    enum Kind { FILES, DIRS };

    DirectorySearch(const wxString& dir, Kind kind);
    DirectorySearch(const DirectorySearch&) = delete;
    DirectorySearch& operator=(const DirectorySearch&) = delete;
    ~DirectorySearch();

    // The full path of the next entry, or an empty string at the end (also when the
    // directory cannot be read).
    wxString Next();
    // The directory could not be opened, or not every entry could be read.
    bool Failed() const { return m_failed; }

private:
    DIR* m_dir = nullptr;
    bool m_failed = false;
    Kind m_kind;
    wxString m_prefix; // the directory with one trailing separator
};
