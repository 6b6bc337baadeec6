// Atomic file replacement: a temporary file beside the target, flushed, then renamed.
#include "AtomicFile.h"

#include "FileNames.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The permissions a new file gets: those of the file it replaces, or the default ones.
mode_t TargetMode(const std::string& target) {
    struct stat st;
    if (stat(target.c_str(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
} // namespace

bool WriteFileAtomically(const wxString& path, const void* data, std::size_t size) {
    // Through a symbolic link, replace the file it points to and keep the link.
    std::string target = ToFileSystemPath(path);
    if (char* real = realpath(target.c_str(), nullptr)) {
        target = real;
        std::free(real);
    }
    std::string temp = target + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, static_cast<const char*>(data), size) &&
              fchmod(fd, TargetMode(target)) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temp.c_str());
    return ok;
}
