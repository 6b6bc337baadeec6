// Writing a file whole: what each kind of target takes, and what is left of it.
#include "AtomicFile.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {
// The kind of file a path names after its links are followed; 0 when there is none.
mode_t Kind(const wxString& path) {
    struct stat st;
    return stat(path.fn_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// The names in a folder, sorted; temporary files left behind show here.
std::vector<std::string> Names(const wxString& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.fn_str())) {
        while (const dirent* entry = readdir(dir))
            names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The system's /dev/null or /dev/full (minor 3 or 7), or, for the superuser, one made in the
// folder: a write that wrongly replaced it would otherwise replace the system's own.
wxString Device(const TempDir& dir, const char* name, unsigned minor) {
    if (geteuid() != 0)
        return wxString("/dev/") + name;
    const wxString path = dir / name;
    if (Kind(path) == 0)
        mknod(path.fn_str(), S_IFCHR | 0666, makedev(1, minor));
    return path;
}

// Regular files are replaced; a device or a FIFO takes the bytes in place, as a shell
// redirection gives them, and stays what it is; a folder or a socket is refused. Nothing is
// left beside any target.
TEST(AtomicFileTest, EachKindOfTargetIsReplacedWrittenInPlaceOrRefused) {
    const std::string data = "Type,Files\nC++,3\n";
    int reader = -1; // the reading end of a FIFO, opened by the row that wants one
    struct Case {
        const char* name;
        wxString (*make)(const TempDir& dir, int& reader);
        bool written;
        mode_t kind;       // of the target afterwards
        std::string holds; // what a regular target or the FIFO's reader has afterwards
    };
    const Case cases[] = {
        {"regular file", [](const TempDir& d, int&) { return d.Write("out.csv", "old"); }, true,
         S_IFREG, data},
        {"link to a regular file",
         [](const TempDir& d, int&) {
             d.Write("real.csv", "old");
             symlink("real.csv", (d / "out.csv").fn_str());
             return d / "out.csv";
         },
         true, S_IFREG, data},
        {"dangling link",
         [](const TempDir& d, int&) {
             d.MakeDir("new");
             symlink("new/real.csv", (d / "out.csv").fn_str());
             return d / "out.csv";
         },
         true, S_IFREG, data},
        {"read-only file",
         [](const TempDir& d, int&) {
             const wxString path = d.Write("out.csv", "old");
             chmod(path.fn_str(), 0444);
             return path;
         },
         false, S_IFREG, "old"},
        {"link loop",
         [](const TempDir& d, int&) {
             symlink("out.csv", (d / "out.csv").fn_str());
             return d / "out.csv";
         },
         false, 0, ""},
        {"null device", [](const TempDir& d, int&) { return Device(d, "null", 3); }, true, S_IFCHR,
         ""},
        {"link to a null device",
         [](const TempDir& d, int&) {
             symlink(Device(d, "null", 3).fn_str(), (d / "out.csv").fn_str());
             return d / "out.csv";
         },
         true, S_IFCHR, ""},
        {"link to a full device",
         [](const TempDir& d, int&) {
             symlink(Device(d, "full", 7).fn_str(), (d / "out.csv").fn_str());
             return d / "out.csv";
         },
         false, S_IFCHR, ""},
        {"FIFO without a reader",
         [](const TempDir& d, int&) {
             mkfifo((d / "out.csv").fn_str(), 0666);
             return d / "out.csv";
         },
         false, S_IFIFO, ""},
        {"FIFO with a reader",
         [](const TempDir& d, int& fd) {
             mkfifo((d / "out.csv").fn_str(), 0666);
             fd = open((d / "out.csv").fn_str(), O_RDONLY | O_NONBLOCK);
             return d / "out.csv";
         },
         true, S_IFIFO, data},
        {"folder", [](const TempDir& d, int&) { return d.MakeDir("out.csv"); }, false, S_IFDIR, ""},
        {"socket",
         [](const TempDir& d, int&) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::strncpy(address.sun_path, (d / "out.csv").fn_str(), sizeof address.sun_path - 1);
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
             close(fd);
             return d / "out.csv";
         },
         false, S_IFSOCK, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        reader = -1;
        const wxString target = c.make(dir, reader);
        const std::vector<std::string> before = Names(dir.Path());
        EXPECT_EQ(WriteFileAtomically(target, data.data(), data.size()), c.written);
        EXPECT_EQ(Kind(target), c.kind);
        EXPECT_EQ(Names(dir.Path()), before);
        if (c.kind == S_IFREG) {
            EXPECT_EQ(ReadFile(target), c.holds);
        }
        if (reader >= 0) {
            std::string got(data.size() + 1, '\0');
            const ssize_t length = read(reader, got.data(), got.size());
            got.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
            EXPECT_EQ(got, c.holds);
            close(reader);
        }
    }
}
} // namespace
