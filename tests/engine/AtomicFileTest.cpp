// Writing a file whole: what each kind of target takes, and what is left of it.
#include "AtomicFile.h"
#include "TestSupport.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
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

// Fills a pipe or FIFO to the brim, then takes one page out through its reading end: a reader
// that reads no more takes the next page written and holds up the one after.
void Fill(int fd, int reader) {
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    std::string page(4096, 'x');
    while (write(fd, page.data(), page.size()) > 0) {
    }
    fcntl(fd, F_SETFL, flags);
    (void)!read(reader, page.data(), page.size());
}

// How long a reader may stall before the write fails.
constexpr std::chrono::milliseconds BOUND(1000);

// Writes from a child process, so that a signal that would end the program or a write that
// never returns shows here as what happened, instead of ending or holding up the tests. A
// refusal is told by when it came: at once, or after the bound a stalled reader is given.
// input: a descriptor the child writes with as its standard input, or -1.
std::string Outcome(const wxString& target, const std::string& data, int input = -1) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (input >= 0)
            dup2(input, 0);
        const bool written = WriteFileAtomically(target, data.data(), data.size(), BOUND);
        sigset_t pending;
        sigpending(&pending);
        _exit(sigismember(&pending, SIGPIPE) ? 2 : written ? 0 : 1);
    }
    int status = 0;
    for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
        if (waited == 800) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return "still writing after 8 s";
        }
        usleep(10000);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    if (WIFSIGNALED(status))
        return "ended by signal " + std::to_string(WTERMSIG(status));
    if (WEXITSTATUS(status) == 1)
        return took < BOUND / 2   ? "refused at once"
               : took < BOUND     ? "refused before the bound"
               : took < 4 * BOUND ? "refused after the bound"
                                  : "refused long after the bound";
    const char* const outcomes[] = {"written", "refused", "SIGPIPE left pending"};
    return outcomes[WEXITSTATUS(status)];
}

// Makes a target of the kind named, or a link "out" to one ("link to KIND"), or a chain of
// links from "out" to one ("N links to KIND"); returns the path to write. The
// null and full devices are the system's, or for the superuser copies made in the folder, so
// that a wrong rename cannot replace the system's own. reader: the reading end of a FIFO or a
// pipe; writer: the writing end of a pipe, which /dev/stdout names as /proc's links do;
// input: what a "stdin from" kind is to be written with as standard input, named /dev/stdin.
wxString Make(const TempDir& dir, std::string kind, int& reader, int& writer, int& input) {
    int links = 0;
    if (kind.rfind("link to ", 0) == 0) {
        links = 1;
        kind.erase(0, 8);
    } else if (const std::size_t at = kind.find(" links to "); at != std::string::npos) {
        links = std::stoi(kind.substr(0, at));
        kind.erase(0, at + 10);
    }
    const bool link = links > 0;
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
        if (kind != "FIFO")
            reader = open(path.fn_str(), O_RDONLY | O_NONBLOCK);
        if (kind == "FIFO with a stalled reader") {
            const int fd = open(path.fn_str(), O_WRONLY);
            Fill(fd, reader);
            close(fd);
        }
    } else if (kind.rfind("pipe", 0) == 0) {
        int ends[2];
        if (pipe(ends) != 0)
            return path;
        reader = ends[0];
        writer = ends[1];
        path = wxString::Format("/proc/self/fd/%d", writer);
        if (kind == "pipe with a stalled reader")
            Fill(writer, reader);
        if (kind == "pipe whose reader quit") {
            close(reader);
            reader = -1;
        }
    } else if (kind == "stdin from a pipe") {
        int ends[2];
        if (pipe(ends) != 0)
            return path;
        input = ends[0];
        writer = ends[1]; // open, so that the reading end never hangs up
        path = "/dev/stdin";
    } else if (kind == "stdin from a file") {
        dir.Write("out", "old");
        input = open(path.fn_str(), O_RDONLY);
        path = "/dev/stdin";
    } else if (kind == "folder") {
        dir.MakeDir("out");
    } else if (kind == "socket") {
        dir.MakeSocket(wxFileName(path).GetFullName());
    } else if (kind == "nothing") {
        path = dir.MakeDir("new") + "/real";
    } else if (kind == "itself") {
        path = dir / "out";
    }
    for (int i = links; i > 0; --i) {
        const wxString from = i == 1 ? dir / "out" : dir / wxString::Format("link%d", i);
        symlink(path.fn_str(), from.fn_str());
        path = from;
    }
    return path;
}

// Regular files are replaced, a dangling link made real; a device or a FIFO takes the bytes
// in place, as a shell redirection gives them, and stays what it is; a folder, a socket, a
// read-only file, a link loop, a chain longer than the system follows, a reader that quits
// and the reading end of a pipe are refused at once, a reader that stalls after its bound,
// without ending the program. Standard input, a file or a pipe, is never replaced. Nothing is
// left beside any target.
TEST(AtomicFileTest, EachKindOfTargetIsReplacedWrittenInPlaceOrRefused) {
    // More than a page: a reader with room for one page left takes part of it.
    const std::string data = "Type,Files\nC++,3\n" + std::string(20000, '#') + "\n";
    const struct {
        const char* kind;
        const char* outcome;
        mode_t left; // the kind of the target afterwards
    } cases[] = {
        {"file", "written", S_IFREG},
        {"link to file", "written", S_IFREG},
        {"link to nothing", "written", S_IFREG},
        {"read-only", "refused at once", S_IFREG},
        {"link to itself", "refused at once", 0},
        {"40 links to file", "written", S_IFREG}, // as many as the system follows
        {"41 links to file", "refused at once", 0},
        {"null", "written", S_IFCHR},
        {"link to null", "written", S_IFCHR},
        {"link to full", "refused at once", S_IFCHR},
        {"FIFO", "refused at once", S_IFIFO},
        {"FIFO with a reader", "written", S_IFIFO},
        {"FIFO with a stalled reader", "refused after the bound", S_IFIFO},
        {"pipe", "written", S_IFIFO},
        {"pipe with a stalled reader", "refused after the bound", S_IFIFO},
        {"pipe whose reader quit", "refused at once", S_IFIFO},
        {"stdin from a pipe", "refused at once", S_IFIFO},
        {"stdin from a file", "refused at once", S_IFREG},
        {"folder", "refused at once", S_IFDIR},
        {"socket", "refused at once", S_IFSOCK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TempDir dir;
        int reader = -1, writer = -1, input = -1;
        const wxString target = Make(dir, c.kind, reader, writer, input);
        // Standard input is looked at here as what it was made of.
        const wxString made = target != "/dev/stdin" ? target
                              : Kind(dir / "out") != 0
                                  ? dir / "out"
                                  : wxString::Format("/proc/self/fd/%d", input);
        const std::vector<std::string> before = Names(dir.Path());
        const bool written = c.outcome == std::string("written");
        EXPECT_EQ(Outcome(target, data, input), c.outcome);
        EXPECT_EQ(Kind(made), c.left);
        EXPECT_EQ(Names(dir.Path()), before);
        if (c.left == S_IFREG) {
            EXPECT_EQ(ReadFile(made), written ? data : "old");
        }
        if (writer >= 0)
            close(writer); // so that the reading below ends
        if (input >= 0 && c.left == S_IFIFO) {
            char got = 0;
            EXPECT_EQ(read(input, &got, 1), 0) << "written into standard input";
        }
        if (input >= 0)
            close(input);
        if (reader >= 0 && written) {
            std::string got(data.size() + 1, '\0');
            got.resize(static_cast<std::size_t>(
                std::max<ssize_t>(read(reader, got.data(), got.size()), 0)));
            EXPECT_EQ(got, data);
        }
        if (reader >= 0)
            close(reader);
    }
}

// A path that names one of the program's open descriptors is written through it at its
// present position, as a shell redirection to it is, and the file stays the same one with its
// earlier bytes, by whichever thread's list of descriptors it is reached; a descriptor open for
// reading only is refused.
TEST(AtomicFileTest, APathNamingAnOpenDescriptorIsWrittenThroughIt) {
    const std::string data = "Type,Files\nC++,3\n";
    const struct {
        const char* path; // FD: the descriptor, PID: the program's, TID: another thread's
        int flags;
        off_t at;
        bool written;
        std::string after;
    } cases[] = {
        {"/proc/self/fd/FD", O_WRONLY | O_APPEND, 0, true, "earlier\n" + data},
        {"/dev/fd/FD", O_WRONLY | O_APPEND, 3, true, "earlier\n" + data},
        {"/dev/fd/FD", O_WRONLY, 3, true, "ear" + data},
        {"/proc/PID/fd/FD", O_RDWR, 8, true, "earlier\n" + data},
        {"/proc/thread-self/fd/FD", O_WRONLY | O_APPEND, 0, true, "earlier\n" + data},
        {"/proc/PID/task/PID/fd/FD", O_WRONLY | O_APPEND, 0, true, "earlier\n" + data},
        {"/proc/self/task/TID/fd/FD", O_WRONLY | O_APPEND, 0, true, "earlier\n" + data},
        {"/proc/TID/fd/FD", O_WRONLY | O_APPEND, 0, true, "earlier\n" + data},
        {"link to /dev/fd/FD", O_WRONLY, 0, true, data},
        {"link to /proc/thread-self/fd/FD", O_WRONLY | O_APPEND, 0, true, "earlier\n" + data},
        {"/dev/fd/FD", O_RDONLY, 0, false, "earlier\n"},
        {"/proc/thread-self/fd/FD", O_RDONLY, 0, false, "earlier\n"},
    };
    // A thread that waits until the end, so that its own list of descriptors is there.
    std::promise<pid_t> started;
    std::promise<void> done;
    std::thread other([&started, finished = done.get_future()] {
        started.set_value(static_cast<pid_t>(syscall(SYS_gettid)));
        finished.wait();
    });
    const pid_t tid = started.get_future().get();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TempDir dir;
        const wxString file = dir.Write("log", "earlier\n");
        const int fd = open(file.fn_str(), c.flags);
        lseek(fd, c.at, SEEK_SET);
        wxString target = c.path;
        target.Replace("FD", wxString::Format("%d", fd));
        target.Replace("PID", wxString::Format("%d", getpid()));
        target.Replace("TID", wxString::Format("%d", tid));
        if (target.StartsWith("link to ", &target)) {
            symlink(target.fn_str(), (dir / "out").fn_str());
            target = dir / "out";
        }
        struct stat before, after;
        stat(file.fn_str(), &before);
        const std::vector<std::string> names = Names(dir.Path());
        EXPECT_EQ(WriteFileAtomically(target, data.data(), data.size()), c.written);
        close(fd);
        EXPECT_EQ(ReadFile(file), c.after);
        ASSERT_EQ(stat(file.fn_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(Names(dir.Path()), names);
    }
    done.set_value();
    other.join();
}

// The bench's report written to /dev/stdout joins what the shell appends around it.
TEST(AtomicFileTest, TheBenchsReportJoinsTheShellsOutputItIsAppendedTo) {
    TempDir dir;
    dir.Write("tree/a.cpp", "int main() {\n    return 0;\n}\n");
    const wxString log = dir.Write("log", "EARLIER\n");
    struct stat before, after;
    stat(log.fn_str(), &before);
    const wxString command =
        wxString::Format("{ echo BEFORE; '%s' '%s' --conf '%s/conf/conf.xml' --csv /dev/stdout; "
                         "echo AFTER; } >> '%s'",
                         TALLYWICK_BENCH, dir / "tree", TALLYWICK_SOURCE_DIR, log);
    ASSERT_EQ(std::system(command.utf8_str()), 0);
    const std::string text = ReadFile(log);
    EXPECT_EQ(text.rfind("EARLIER\nBEFORE\n# *** Generated", 0), 0u) << text;
    EXPECT_LT(text.find("# *** Total ***"), text.find("\nfiles 1 lines 3 ")) << text;
    EXPECT_EQ(text.substr(text.size() - 6), "AFTER\n") << text;
    ASSERT_EQ(stat(log.fn_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
}
} // namespace
