// tallywick-bench: a headless counting run over the given folders, for measuring.
//   tallywick-bench DIR... [--conf FILE] [--csv OUT] [--no-recursive]
// Loads the rules file, selects every extension, counts, and prints one line of figures;
// the folders and files that could not be read go to standard error. A rules file that is
// no regular file or does not load ends it with status 1 and the reason on standard error.
#include "AnalysisParam.h"
#include "CountingManager.h"
#include "CountingObserver.h"
#include "FileExtension.h"
#include "FilterObserver.h"
#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/xml/xml.h>

namespace {
class Progress : public CountingObserver, public FilterObserver {
public:
    void OnFileCounted() override { ++files; }
    void OnFilterUpdate() override { ++summaries; }
    std::size_t files = 0;
    std::size_t summaries = 0;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: tallywick-bench DIR... [--conf FILE] [--csv OUT] [--no-recursive]\n");
    return 2;
}

// What the toolkit and the manager log goes to standard error, the scratch copy of the rules
// file named as the user named the file itself.
class BenchLog : public wxLog {
public:
    void Rename(const wxString& copy, const wxString& original) {
        m_copy = copy;
        m_original = original;
    }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) override {
        if (level > wxLOG_Message)
            return;
        wxString text = msg;
        if (!m_copy.empty())
            text.Replace(m_copy, m_original);
        std::fprintf(stderr, "%s\n", static_cast<const char*>(text.utf8_str()));
    }

private:
    wxString m_copy, m_original;
};

// A folder of its own under TMPDIR (or /tmp), removed with what it holds when this ends.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string name =
            std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/tallywick-bench-XXXXXX";
        if (mkdtemp(name.data()))
            m_path = wxString::FromUTF8(name.c_str());
    }
    ~ScratchFolder() {
        if (!m_path.empty())
            wxFileName::Rmdir(m_path, wxPATH_RMDIR_RECURSIVE);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const wxString& Path() const { return m_path; }

private:
    wxString m_path;
};

// Copies what the descriptor of a regular file held when it was opened, no more.
bool CopyFile(int from, std::uint64_t size, const wxString& to) {
    const int fd = open(to.fn_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    char buffer[65536];
    bool ok = true;
    while (ok && size > 0) {
        const ssize_t got = read(from, buffer, std::min<std::uint64_t>(size, sizeof buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ok = got == 0; // shorter than it was: copied as it is now
            break;
        }
        size -= static_cast<std::uint64_t>(got);
        for (ssize_t done = 0; ok && done < got;) {
            const ssize_t put = write(fd, buffer + done, static_cast<std::size_t>(got - done));
            ok = put > 0 || (put < 0 && errno == EINTR);
            done += put > 0 ? put : 0;
        }
    }
    return close(fd) == 0 && ok;
}

int Fail(const char* what, const wxString& path, int error = 0) {
    std::fprintf(stderr, "tallywick-bench: the rules file %s %s%s%s\n",
                 static_cast<const char*>(path.utf8_str()), what, error ? ": " : "",
                 error ? std::strerror(error) : "");
    return 1;
}
} // namespace

int main(int argc, char** argv) {
    wxInitializer init;
    if (!init.IsOk())
        return 1;
    // The toolkit deletes the active log target when it is cleaned up.
    BenchLog* log = new BenchLog;
    delete wxLog::SetActiveTarget(log);
    wxString conf = CountingManager::RULES_FILE, csv;
    CountingParam param;
    param.m_bRecursive = true;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--conf") && i + 1 < argc)
            conf = argv[++i];
        else if (!std::strcmp(argv[i], "--csv") && i + 1 < argc)
            csv = argv[++i];
        else if (!std::strcmp(argv[i], "--no-recursive"))
            param.m_bRecursive = false;
        else if (argv[i][0] == '-')
            return Usage();
        else
            param.m_arrDirs.push_back(wxFileName(argv[i]).GetAbsolutePath());
    }
    if (param.m_arrDirs.empty())
        return Usage();
    if (!csv.empty())
        csv = wxFileName(csv).GetAbsolutePath();

    // Only a regular file: a FIFO would hold the bench up for ever, a device never end.
    // A socket cannot even be opened; it is told as what it is too.
    FileStatus status;
    const int rules = OpenRegularFile(conf, &status);
    const int error = errno;
    struct stat st;
    if (rules < 0 && (error == 0 || (stat(conf.fn_str(), &st) == 0 && !S_ISREG(st.st_mode))))
        return Fail("is not a regular file", conf);
    if (rules < 0)
        return Fail("cannot be read", conf, error);
    conf = wxFileName(conf).GetAbsolutePath();

    CountingManager manager;
    {
        // The manager reads and writes its rules relative to the working directory: give it
        // a scratch folder holding a copy, so measuring never rewrites the real rules file.
        // The folder is gone before the count starts.
        ScratchFolder scratch;
        const wxString copy = scratch.Path() + "/" + CountingManager::RULES_FILE;
        const bool copied =
            !scratch.Path().empty() &&
            wxFileName::Mkdir(wxFileName(copy).GetPath(), 0700, wxPATH_MKDIR_FULL) &&
            CopyFile(rules, status.size, copy);
        const int error = errno;
        close(rules);
        if (!copied)
            return Fail("cannot be copied", conf, error);
        const wxString oldCwd = wxGetCwd();
        wxSetWorkingDirectory(scratch.Path());
        log->Rename(wxFileName(CountingManager::RULES_FILE).GetAbsolutePath(), conf);
        manager.Init();
        // Nothing has changed: this writes nothing, and the manager's end leaves the file alone.
        manager.SaveRules();
        wxSetWorkingDirectory(oldCwd);
    }
    // The manager has told why a file did not load; one without a "rules" root loads nothing.
    if (!manager.m_pRootNode)
        return Fail("did not load", conf);
    if (manager.m_pRootNode->GetName() != wxS("rules"))
        return Fail("has no <rules> root element", conf);

    double seconds = 0;
    std::size_t files = 0, lines = 0, bytes = 0;
    wxArrayString unreadable;
    bool exported = true;
    {
        for (auto& ext : manager.m_extMap)
            ext.second->m_bSelected = true;
        AnalysisParam analysis;
        Progress progress;
        manager.Reset();
        manager.m_nState = CountingManager::STATE_BUSY;
        manager.SetCountingParam(param, &analysis);
        manager.m_pCountingObserver = &progress;
        manager.m_pFilterObserver = &progress;
        const auto start = std::chrono::steady_clock::now();
        manager.Count();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        files = manager.m_totalResult.m_nFiles;
        lines = manager.m_totalResult.m_nLines;
        bytes = manager.m_totalResult.m_nSize;
        unreadable = manager.m_unreadablePaths;
        if (!csv.empty())
            exported = manager.ExportCsv(csv);
        manager.m_pCountingObserver = nullptr;
        manager.m_pFilterObserver = nullptr;
    }

    std::printf("files %zu lines %zu bytes %zu seconds %.3f MB/s %.1f files/s %.0f\n", files, lines,
                bytes, seconds, bytes / 1e6 / seconds, files / seconds);
    if (!unreadable.empty()) {
        std::fflush(stdout);
        std::fprintf(stderr, "could not read %zu folders or files, among them:\n",
                     unreadable.size());
        for (std::size_t i = 0; i < unreadable.size() && i < 10; ++i)
            std::fprintf(stderr, "  %s\n", static_cast<const char*>(unreadable[i].utf8_str()));
    }
    if (!exported) {
        std::fprintf(stderr, "could not write %s\n", static_cast<const char*>(csv.utf8_str()));
        return 1;
    }
    return 0;
}
