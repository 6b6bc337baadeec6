// tallywick-bench: a headless counting run over the given folders, for measuring.
//   tallywick-bench DIR... [--conf FILE] [--csv OUT] [--no-recursive]
// Loads the rules file, selects every extension, counts, and prints one line of figures;
// the folders and files that could not be read go to standard error.
#include "AnalysisParam.h"
#include "CountingManager.h"
#include "CountingObserver.h"
#include "FileExtension.h"
#include "FilterObserver.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <wx/filename.h>
#include <wx/init.h>

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
} // namespace

int main(int argc, char** argv) {
    wxInitializer init;
    if (!init.IsOk())
        return 1;
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

    // The manager reads and writes its rules relative to the working directory: give it a
    // scratch folder holding a copy, so measuring never rewrites the real rules file.
    char scratch[] = "/tmp/tallywick-bench-XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    const wxString confCopy = wxString(scratch) + "/" + CountingManager::RULES_FILE;
    wxFileName::Mkdir(wxFileName(confCopy).GetPath(), 0700, wxPATH_MKDIR_FULL);
    if (!wxCopyFile(wxFileName(conf).GetAbsolutePath(), confCopy)) {
        std::fprintf(stderr, "cannot read the rules file %s\n",
                     static_cast<const char*>(conf.utf8_str()));
        return 1;
    }
    const wxString oldCwd = wxGetCwd();
    wxSetWorkingDirectory(scratch);

    double seconds = 0;
    std::size_t files = 0, lines = 0, bytes = 0;
    wxArrayString unreadable;
    bool exported = true;
    {
        CountingManager manager;
        manager.Init();
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
    }
    wxSetWorkingDirectory(oldCwd);
    wxFileName::Rmdir(scratch, wxPATH_RMDIR_RECURSIVE);

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
