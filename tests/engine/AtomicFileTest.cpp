// Writing a file whole: what each kind of target takes, and what is left of it.
#include "AtomicFile.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
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

// The names in a folder, sorted: a temporary file left behind shows here.
std::vector<std::string> Names(const wxString& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.ToStdString()))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Makes a target of the kind named, or a link "out" to one; returns the path to write. The
// null and full devices are the system's, or for the superuser copies made in the folder, so
// that a wrong rename cannot replace the system's own. reader: the reading end of a FIFO or a
// pipe; writer: the writing end of a pipe, which /dev/stdout names as /proc's links do.
wxString Make(const TempDir& dir, std::string kind, int& reader, int& writer) {
    const bool link = kind.rfind("link to ", 0) == 0;
    kind.erase(0, link ? 8 : 0);
    wxString path = dir / (link ? "real" : "out");
    if (kind == "file" || kind == "read-only") {
        dir.Write(wxFileName(path).GetFullName(), "old");
        chmod(path.fn_str(), kind == "file" ? 0644 : 0444);
    } else if ((kind == "null" || kind == "full") && geteuid() != 0) {
        path = "/dev/" + kind;
    } else if (kind == "null" || kind == "full") {
        mknod(path.fn_str(), S_IFCHR | 0666, makedev(1, kind == "null" ? 3 : 7));
    } else if (kind.rfind("FIFO", 0) == 0) {
        mkfifo(path.fn_str(), 0666);
        if (kind == "FIFO with a reader")
            reader = open(path.fn_str(), O_RDONLY | O_NONBLOCK);
    } else if (kind == "pipe") {
        int ends[2];
        if (pipe(ends) != 0)
            return path;
        reader = ends[0];
        writer = ends[1];
        path = wxString::Format("/proc/self/fd/%d", writer);
    } else if (kind == "folder") {
        dir.MakeDir("out");
    } else if (kind == "socket") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.fn_str(), sizeof address.sun_path - 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        close(fd);
    } else if (kind == "nothing") {
        path = dir.MakeDir("new") + "/real";
    } else if (kind == "itself") {
        path = dir / "out";
    }
    if (!link)
        return path;
    symlink(path.fn_str(), (dir / "out").fn_str());
    return dir / "out";
}

// Regular files are replaced, a dangling link made real; a device or a FIFO takes the bytes
// in place, as a shell redirection gives them, and stays what it is; a folder, a socket, a
// read-only file or a link loop is refused. Nothing is left beside any target.
TEST(AtomicFileTest, EachKindOfTargetIsReplacedWrittenInPlaceOrRefused) {
    const std::string data = "Type,Files\nC++,3\n";
    const struct {
        const char* kind;
        bool written;
        mode_t left; // the kind of the target afterwards
    } cases[] = {
        {"file", true, S_IFREG},
        {"link to file", true, S_IFREG},
        {"link to nothing", true, S_IFREG},
        {"read-only", false, S_IFREG},
        {"link to itself", false, 0},
        {"null", true, S_IFCHR},
        {"link to null", true, S_IFCHR},
        {"link to full", false, S_IFCHR},
        {"FIFO", false, S_IFIFO},
        {"FIFO with a reader", true, S_IFIFO},
        {"pipe", true, S_IFIFO},
        {"folder", false, S_IFDIR},
        {"socket", false, S_IFSOCK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TempDir dir;
        int reader = -1, writer = -1;
        const wxString target = Make(dir, c.kind, reader, writer);
        const std::vector<std::string> before = Names(dir.Path());
        EXPECT_EQ(WriteFileAtomically(target, data.data(), data.size()), c.written);
        EXPECT_EQ(Kind(target), c.left);
        EXPECT_EQ(Names(dir.Path()), before);
        if (c.left == S_IFREG) {
            EXPECT_EQ(ReadFile(target), c.written ? data : "old");
        }
        if (writer >= 0)
            close(writer); // so that the reading below ends
        if (reader >= 0) {
            std::string got(data.size() + 1, '\0');
            got.resize(static_cast<std::size_t>(
                std::max<ssize_t>(read(reader, got.data(), got.size()), 0)));
            EXPECT_EQ(got, data);
            close(reader);
        }
    }
}
} // namespace
