// Opening and reading source files.
#include "SourceFile.h"

#include "FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// Below this size a read into the reused buffer beats setting up a mapping.
constexpr std::uint64_t kMapThreshold = 1 << 20;

std::vector<char>& ReadBuffer() {
    thread_local std::vector<char> buffer;
    return buffer;
}
} // namespace

SourceFile::~SourceFile() {
    if (m_map)
        munmap(m_map, m_length);
    if (m_fd >= 0)
        close(m_fd);
}

bool SourceFile::Open(const wxString& path) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it does not affect regular files.
    const std::string bytes = ToFileSystemPath(path);
    m_fd = open(bytes.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0)
        return false;
    struct stat st;
    if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(m_fd);
        m_fd = -1;
        return false;
    }
    m_size = static_cast<std::uint64_t>(st.st_size);
    m_mtime = st.st_mtime;
    return true;
}

bool SourceFile::Load() {
    if (m_fd < 0)
        return false;
    if (m_size == 0)
        return true;
    if (m_size >= kMapThreshold) {
        void* map =
            mmap(nullptr, static_cast<std::size_t>(m_size), PROT_READ, MAP_PRIVATE, m_fd, 0);
        if (map != MAP_FAILED) {
            madvise(map, static_cast<std::size_t>(m_size), MADV_SEQUENTIAL);
            m_map = map;
            m_data = static_cast<const char*>(map);
            m_length = static_cast<std::size_t>(m_size);
            return true;
        }
    }
    std::vector<char>& buffer = ReadBuffer();
    try {
        if (buffer.size() < m_size)
            buffer.resize(static_cast<std::size_t>(m_size));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    // The file may shrink while it is read: count what was there.
    std::size_t got = 0;
    while (got < m_size) {
        const ssize_t n = read(m_fd, buffer.data() + got, static_cast<std::size_t>(m_size) - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    m_data = buffer.data();
    m_length = got;
    return true;
}
