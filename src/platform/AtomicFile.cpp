// Atomic file replacement: a temporary file beside the target, flushed, then renamed; and
// the writing in place of devices and FIFOs.
#include "AtomicFile.h"

#include "FileNames.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// How long a pipe whose reader takes nothing may hold up the program.
const int STALLED_READER_MS = 10000;

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN) {
            pollfd ready{fd, POLLOUT, 0};
            if (poll(&ready, 1, STALLED_READER_MS) > 0)
                continue;
            errno = ETIMEDOUT;
            return false;
        }
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Follows symbolic links to the file they name, as a shell redirection does: the last one
// may dangle, and the file is then created where it points. False on a loop.
bool ResolveLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string link(static_cast<std::size_t>(st.st_size) + 1, '\0');
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<std::size_t>(length) >= link.size())
            return false; // gone or changed meanwhile
        link.resize(static_cast<std::size_t>(length));
        const std::size_t slash = path.rfind('/');
        if (link.empty() || link[0] == '/' || slash == std::string::npos)
            path = link;
        else
            path = path.substr(0, slash + 1) + link;
    }
    errno = ELOOP;
    return false;
}

// Writes to a target that is not a regular file (a device, a FIFO) without replacing it.
// A FIFO without a reader fails at once instead of waiting for one, and one whose reader
// stops taking the bytes fails after a while; a socket cannot be opened.
bool WriteInPlace(const std::string& target, const char* data, std::size_t size) {
    // No O_CREAT and no O_TRUNC: should the target have become a regular file meanwhile, it
    // is found below, untouched.
    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    if (ok) {
        // A reader that leaves early must fail the write, not end the program.
        sigset_t pipe, old;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &old);
        ok = WriteAll(fd, data, size);
        if (!ok && errno == EPIPE && !wasPending) {
            const timespec now{};
            sigtimedwait(&pipe, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
    }
    return close(fd) == 0 && ok;
}

// The permissions a new file gets: those of the file it replaces, or the default ones.
mode_t TargetMode(const struct stat* existing) {
    if (existing)
        return existing->st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}
} // namespace

bool WriteFileAtomically(const wxString& path, const void* data, std::size_t size) {
    std::string target = ToFileSystemPath(path);
    struct stat st;
    // A device or a pipe takes the bytes as a shell redirection gives them; a rename would
    // put a plain file in its place. Found through the links as the system follows them, so
    // that /dev/stdout reaches the pipe it names.
    if (stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return WriteInPlace(target, static_cast<const char*>(data), size);
    if (!ResolveLinks(target))
        return false;
    const bool exists = stat(target.c_str(), &st) == 0;
    // A file without write permission is left alone, even by the superuser; the rename would
    // otherwise replace it without asking.
    if (exists &&
        (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0))
        return false;
    // A short name, so that a target whose own name is near the limit still has one beside it.
    const std::size_t slash = target.rfind('/');
    std::string temp =
        (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".twXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, static_cast<const char*>(data), size) &&
              fchmod(fd, TargetMode(exists ? &st : nullptr)) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        unlink(temp.c_str());
    return ok;
}
