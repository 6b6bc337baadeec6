// Directory listing on top of readdir, using the entry type it reports so that a plain
// file or directory costs no status call.
#include "DirectorySearch.h"

#include "FileNames.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <wx/filefn.h>

DirectorySearch::DirectorySearch(const wxString& dir, Kind kind) : m_kind(kind) {
    m_prefix = dir;
    if (m_prefix.empty() || m_prefix.Last() != wxFILE_SEP_PATH)
        m_prefix += wxFILE_SEP_PATH;
    if (!dir.empty()) // an empty name is no directory, not the root
        m_dir = opendir(ToFileSystemPath(dir).c_str());
}

DirectorySearch::~DirectorySearch() {
    if (m_dir)
        closedir(m_dir);
}

wxString DirectorySearch::Next() {
    if (!m_dir)
        return wxString();
    while (const dirent* entry = readdir(m_dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            if (fstatat(dirfd(m_dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue; // gone since the listing
            if (S_ISLNK(st.st_mode)) {
                // Links to directories are skipped; a dangling link is listed as a file.
                if (fstatat(dirfd(m_dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
                    continue;
                isDir = false;
            } else {
                isDir = S_ISDIR(st.st_mode);
            }
        }
        if (isDir != (m_kind == DIRS))
            continue;
        return m_prefix + FromFileSystemPath(entry->d_name, std::strlen(entry->d_name));
    }
    return wxString();
}
