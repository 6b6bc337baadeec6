// Opening source files.
#include "SourceFile.h"

#include "FileNames.h"
#include "LongPath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SourceFile::~SourceFile() {
    if (m_fd >= 0)
        close(m_fd);
}

bool SourceFile::Open(const wxString& path) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it does not affect regular files.
    m_fd = OpenPath(ToFileSystemPath(path), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0) {
        // A socket cannot be opened at all; like a FIFO it is simply no source file.
        m_failed = errno != ENXIO && errno != ENODEV;
        return false;
    }
    struct stat st;
    if (fstat(m_fd, &st) != 0) {
        m_failed = true;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        close(m_fd);
        m_fd = -1;
        return false;
    }
    m_size = static_cast<std::uint64_t>(st.st_size);
    m_mtime = st.st_mtime;
    m_reader.emplace(m_fd, m_size);
    return true;
}
