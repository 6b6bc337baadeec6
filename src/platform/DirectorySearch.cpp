// Directory listing on top of readdir, using the entry type it reports so that a plain
// file or directory costs no status call.
#include "DirectorySearch.h"

#include "FileNames.h"
#include "LongPath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/filefn.h>

DirectorySearch::DirectorySearch(const wxString& dir, Kind kind) : m_kind(kind) {
    m_prefix = dir;
    if (m_prefix.empty() || m_prefix.Last() != wxFILE_SEP_PATH)
        m_prefix += wxFILE_SEP_PATH;
    if (dir.empty()) // an empty name is no directory, not the root
        return;
    const int fd = OpenPath(ToFileSystemPath(dir), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && !(m_dir = fdopendir(fd)))
        close(fd);
    m_failed = !m_dir;
}

DirectorySearch::~DirectorySearch() {
    if (m_dir)
        closedir(m_dir);
}

wxString DirectorySearch::Next() {
    if (!m_dir)
        return wxString();
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(m_dir);
        if (!entry) {
            m_failed = m_failed || errno != 0;
            break;
        }
        if (entry->d_name[0] == '.')
            continue;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            if (fstatat(dirfd(m_dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                m_failed = m_failed || errno != ENOENT; // else gone since the listing
                continue;
            }
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
