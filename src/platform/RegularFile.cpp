// Opening regular files.
#include "RegularFile.h"

#include "FileNames.h"
#include "LongPath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenRegularFile(const wxString& path, FileStatus* status) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it does not affect regular files.
    const int fd = OpenPath(ToFileSystemPath(path), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st;
    const bool stated = fstat(fd, &st) == 0;
    const int error = stated ? 0 : errno;
    if (!stated || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = error;
        return -1;
    }
    if (status) {
        status->size = static_cast<std::uint64_t>(st.st_size);
        status->modified = st.st_mtime;
    }
    return fd;
}
