// Long paths: a deep tree holds paths beyond PATH_MAX, which open() refuses outright.
#include "LongPath.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

int OpenPath(const std::string& path, int flags) {
    if (path.size() < PATH_MAX)
        return open(path.c_str(), flags, 0);
    int dir = AT_FDCWD;
    std::size_t start = 0;
    std::string stretch;
    while (path.size() - start >= PATH_MAX) {
        // The longest run of whole names that one call takes.
        const std::size_t cut = path.rfind('/', start + PATH_MAX - 1);
        if (cut == std::string::npos || cut < start) {
            if (dir != AT_FDCWD)
                close(dir);
            errno = ENAMETOOLONG;
            return -1;
        }
        stretch.assign(path, start, cut - start);
        if (stretch.empty())
            stretch = start == 0 ? "/" : "."; // the root, or a doubled separator
        // O_PATH: passing through a folder needs only the right to search it, as with open().
        const int next = openat(dir, stretch.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int error = errno;
        if (dir != AT_FDCWD)
            close(dir);
        if (next < 0) {
            errno = error;
            return -1;
        }
        dir = next;
        start = cut + 1;
    }
    const char* rest = start < path.size() ? path.c_str() + start : ".";
    const int fd = openat(dir, rest, flags, 0);
    const int error = errno;
    close(dir);
    errno = error;
    return fd;
}
