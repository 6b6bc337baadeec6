// File identities from the status of a path opened for nothing but that.
#include "FileIdentity.h"

#include "FileNames.h"
#include "LongPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<FileIdentity> IdentifyFile(const wxString& path) {
    const int fd = OpenPath(ToFileSystemPath(path), O_PATH | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    const bool known = fstat(fd, &st) == 0;
    close(fd);
    if (!known)
        return std::nullopt;
    return FileIdentity(st.st_dev, st.st_ino);
}
