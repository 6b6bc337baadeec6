// Opening source files.
#include "SourceFile.h"

#include "RegularFile.h"

#include <cerrno>
#include <unistd.h>

SourceFile::~SourceFile() {
    if (m_fd >= 0)
        close(m_fd);
}

bool SourceFile::Open(const wxString& path) {
    FileStatus status;
    m_fd = OpenRegularFile(path, &status);
    if (m_fd < 0) {
        // Like a FIFO, a socket (which cannot be opened at all) is simply no source file.
        m_failed = errno != 0 && errno != ENXIO && errno != ENODEV;
        return false;
    }
    m_size = status.size;
    m_mtime = status.modified;
    m_reader.emplace(m_fd, m_size);
    return true;
}
