// Atomic file replacement: a temporary file beside the target, flushed, then renamed; and
// the writing in place of devices, FIFOs and the program's own open descriptors.
#include "AtomicFile.h"

#include "FileNames.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// False, with ETIMEDOUT, when the reader takes nothing for that long.
bool WaitForRoom(int fd, std::chrono::milliseconds stall) {
    pollfd ready{fd, POLLOUT, 0};
    if (poll(&ready, 1, static_cast<int>(stall.count())) > 0)
        return true;
    errno = ETIMEDOUT;
    return false;
}

// Writes every byte, failing when the reader takes none for `stall`. A descriptor that blocks
// gets no more than a pipe takes at once, each time after there is room: a write of more
// could wait for the reader for good.
bool WriteAll(int fd, const char* data, std::size_t size, std::chrono::milliseconds stall,
              bool blocks) {
    while (size > 0) {
        if (blocks && !WaitForRoom(fd, stall))
            return false;
        const ssize_t written =
            write(fd, data, blocks ? std::min<std::size_t>(size, PIPE_BUF) : size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN) {
            if (WaitForRoom(fd, stall))
                continue;
            return false;
        }
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// WriteAll, where a reader that leaves early fails the write instead of ending the program.
bool WriteWithoutSigpipe(int fd, const char* data, std::size_t size,
                         std::chrono::milliseconds stall, bool blocks) {
    sigset_t pipe, old;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe, &old);
    const bool ok = WriteAll(fd, data, size, stall, blocks);
    // Ours is taken back before the mask is; one that was there before is left for its owner.
    if (!ok && errno == EPIPE && !wasPending) {
        const timespec now{};
        sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return ok;
}

enum class Hop { None, Followed, Failed };

// One step along a symbolic link, taken from the link's own folder.
Hop FollowLink(std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return Hop::None;
    std::string link(static_cast<std::size_t>(st.st_size) + 1, '\0');
    const ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0 || static_cast<std::size_t>(length) >= link.size())
        return Hop::Failed; // gone or changed meanwhile
    link.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    if (link.empty() || link[0] == '/' || slash == std::string::npos)
        path = link;
    else
        path = path.substr(0, slash + 1) + link;
    return Hop::Followed;
}

// The most symbolic links the system follows in one path; a chain of as many is still opened.
constexpr int MAX_LINKS = 40;

// Whether the folder lists this process's open descriptors: /proc/<pid>/fd, or the same list
// as one of its threads shows it, /proc/<pid>/task/<tid>/fd or /proc/<tid>/fd, however the
// path is spelled (self, thread-self, links). Known by what the folder is, held open while
// its identity is compared with each of these.
bool IsDescriptorFolder(const std::string& folder) {
    const int held = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (held < 0)
        return false;
    struct stat st, own;
    const auto same = [&st](const std::string& candidate) {
        struct stat fds;
        return stat(candidate.c_str(), &fds) == 0 && fds.st_dev == st.st_dev &&
               fds.st_ino == st.st_ino;
    };
    // Only a folder of /proc itself is worth looking for among the threads.
    bool found =
        fstat(held, &st) == 0 && stat("/proc/self/fd", &own) == 0 && own.st_dev == st.st_dev;
    if (found && own.st_ino != st.st_ino) {
        found = false;
        if (DIR* tasks = opendir("/proc/self/task")) {
            while (const dirent* task = found ? nullptr : readdir(tasks))
                found = task->d_name[0] != '.' &&
                        (same(std::string("/proc/self/task/") + task->d_name + "/fd") ||
                         same(std::string("/proc/") + task->d_name + "/fd"));
            closedir(tasks);
        }
    }
    close(held);
    return found;
}

// The descriptor of this process the path names: an entry of one of the folders above,
// reached by any spelling (/dev/stdout, /dev/fd/N, /proc/thread-self/fd/N, a link to one).
// Links are followed one hop at a time, for the entry is itself a link to the file, which
// must not be reached. -1 for none.
int DescriptorNamed(std::string path) {
    for (int hops = 0;; ++hops) {
        const std::size_t slash = path.rfind('/');
        const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
        const std::string folder = slash == std::string::npos ? "."
                                   : slash == 0               ? "/"
                                                              : path.substr(0, slash);
        // As /proc spells them: no leading zero, and small enough for an int.
        if (!name.empty() && name.size() < 10 &&
            name.find_first_not_of("0123456789") == std::string::npos &&
            (name[0] != '0' || name.size() == 1) && IsDescriptorFolder(folder))
            return std::atoi(name.c_str());
        if (hops == MAX_LINKS || FollowLink(path) != Hop::Followed)
            return -1;
    }
}

// Writes through one of the program's descriptors at its present position, as a shell
// redirection to it does: appending if it was opened to append. Its flags are shared with
// whoever else holds it, so they are left alone; a descriptor that blocks is waited on.
bool WriteThrough(int fd, const char* data, std::size_t size, std::chrono::milliseconds stall) {
    const int flags = fcntl(fd, F_GETFL);
    struct stat st;
    if (flags < 0 || fstat(fd, &st) != 0)
        return false; // closed
    if ((flags & O_ACCMODE) == O_RDONLY) {
        errno = EBADF; // and a pipe's reading end would never have room
        return false;
    }
    return WriteWithoutSigpipe(fd, data, size, stall,
                               !S_ISREG(st.st_mode) && (flags & O_NONBLOCK) == 0);
}

// Follows symbolic links to the file they name, as a shell redirection does: the last one
// may dangle, and the file is then created where it points. False on a loop.
bool ResolveLinks(std::string& path) {
    for (int hops = 0; hops <= MAX_LINKS; ++hops) {
        const Hop hop = FollowLink(path);
        if (hop != Hop::Followed)
            return hop == Hop::None;
    }
    errno = ELOOP;
    return false;
}

// Writes to a target that is not a regular file (a device, a FIFO) without replacing it.
// A FIFO without a reader fails at once instead of waiting for one, and one whose reader
// stops taking the bytes fails after a while; a socket cannot be opened.
bool WriteInPlace(const std::string& target, const char* data, std::size_t size,
                  std::chrono::milliseconds stall) {
    // No O_CREAT and no O_TRUNC: should the target have become a regular file meanwhile, it
    // is found below, untouched.
    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
    ok = ok && WriteWithoutSigpipe(fd, data, size, stall, false);
    return close(fd) == 0 && ok;
}

// Renames the temporary file to the target, but only over a regular file or where there is
// nothing yet: looked at again right before, for whatever the target has become meanwhile
// (a device, a FIFO, a folder, a link, a descriptor's entry) must stay what it is.
bool ReplaceWith(const std::string& temp, const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            errno = EEXIST;
            return false;
        }
        return rename(temp.c_str(), target.c_str()) == 0;
    }
    if (errno != ENOENT)
        return false;
    // Nothing there: and should something appear after all, it is not replaced.
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    return (errno == EINVAL || errno == ENOSYS) && rename(temp.c_str(), target.c_str()) == 0;
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

bool WriteFileAtomically(const wxString& path, const void* data, std::size_t size,
                         std::chrono::milliseconds stalledReader) {
    std::string target = ToFileSystemPath(path);
    // Before anything follows /proc's links: a rename would drop what a shell's >> has put
    // in the file before us, and what it adds after.
    const int named = DescriptorNamed(target);
    if (named >= 0)
        return WriteThrough(named, static_cast<const char*>(data), size, stalledReader);
    struct stat st;
    // A device or a pipe takes the bytes as a shell redirection gives them; a rename would
    // put a plain file in its place. Found through the links as the system follows them.
    if (stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return WriteInPlace(target, static_cast<const char*>(data), size, stalledReader);
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
    bool ok = WriteAll(fd, static_cast<const char*>(data), size, stalledReader, false) &&
              fchmod(fd, TargetMode(exists ? &st : nullptr)) == 0 && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && ReplaceWith(temp, target);
    if (!ok)
        unlink(temp.c_str());
    return ok;
}
