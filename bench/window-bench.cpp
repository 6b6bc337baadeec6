// window-bench: a counting run through the main window's Start command beside the headless
// engine on the same tree, in one process; then a run stopped while it counts.
//   window-bench TREE [SCREENSHOT.png]   (needs a display; bench/window-bench.sh runs it
//   under Xvfb); with a picture file, the screen after the full run is saved there.
#include "AnalysisParam.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "TallywickFrame.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <wx/app.h>
#include <wx/bmpbuttn.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/utils.h>

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double HeadlessRun(const wxString& tree) {
    CountingManager manager;
    manager.Init();
    for (auto& ext : manager.m_extMap)
        ext.second->m_bSelected = true;
    CountingParam param;
    param.m_arrDirs.Add(tree);
    AnalysisParam analysis;
    manager.Reset();
    manager.m_nState = CountingManager::STATE_BUSY;
    manager.SetCountingParam(param, &analysis);
    const auto start = Clock::now();
    manager.Count();
    return Since(start);
}

void Press(TallywickFrame* frame, long id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    frame->ProcessWindowEvent(event);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: window-bench TREE [SCREENSHOT.png]\n");
        return 2;
    }
    const wxString tree = wxFileName(argv[1]).GetAbsolutePath();
    const wxString screenshot = argc == 3 ? wxFileName(argv[2]).GetAbsolutePath() : wxString();
    // The frame reads and writes conf/conf.xml and its settings: give it scratch copies.
    char scratch[] = "/tmp/tallywick-window-bench-XXXXXX";
    if (!mkdtemp(scratch))
        return 1;
    setenv("HOME", scratch, 1);
    for (const char* data : {"conf", "img"})
        std::filesystem::copy(std::string(TALLYWICK_SOURCE_DIR "/") + data,
                              std::string(scratch) + "/" + data,
                              std::filesystem::copy_options::recursive);
    wxSetWorkingDirectory(scratch);

    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "window-bench needs a display\n");
        return 1;
    }
    wxInitAllImageHandlers();
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);

    HeadlessRun(tree); // warms the page cache
    const double headless = HeadlessRun(tree);

    auto* frame = new TallywickFrame(nullptr);
    frame->Show();
    wxYield();
    frame->m_pSourceDirList->Check(frame->m_pSourceDirList->Append(tree), true);
    for (auto& ext : frame->m_pCountingManager->m_extMap)
        ext.second->m_bSelected = true;
    frame->m_pSourceTypeCombo->Append("*");
    frame->m_pSourceTypeCombo->SetValue("*");

    auto start = Clock::now();
    Press(frame, TallywickFrame::ID_BITMAPBUTTON_START);
    const double window = Since(start);
    const std::size_t files = frame->m_pCountingManager->m_fileResults.size();
    std::printf("files %zu  window %.3f s  headless %.3f s  ratio %.2f  window's extra %.3f s  "
                "target %.3f s: %s\n",
                files, window, headless, window / headless, window - headless, 1.5 * headless + 1,
                window <= 1.5 * headless + 1 ? "met" : "MISSED");
    if (!screenshot.empty()) {
        for (int i = 0; i < 20; ++i) {
            wxYield();
            wxMilliSleep(20);
        }
        const wxScopedCharBuffer file = screenshot.utf8_str();
        const char* const command[] = {"import", "-window", "root", file.data(), nullptr};
        wxExecute(command, wxEXEC_SYNC);
    }

    // Stop after half the headless time, as a user would, and see how soon the run ends.
    std::size_t filesAtStop = 0;
    Clock::time_point stopped;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        filesAtStop = frame->m_pCountingManager->m_fileResults.size();
        stopped = Clock::now();
        Press(frame, TallywickFrame::ID_BITMAPBUTTON_STOP);
    });
    timer.StartOnce(static_cast<int>(headless * 500));
    Press(frame, TallywickFrame::ID_BITMAPBUTTON_START);
    const double toCanceled = Since(stopped);
    std::printf("stop after %zu files: %zu more files counted, \"%s\" after %.3f s\n", filesAtStop,
                frame->m_pCountingManager->m_fileResults.size() - filesAtStop,
                static_cast<const char*>(frame->m_pStatusBar->GetStatusText(0).utf8_str()),
                toCanceled);

    frame->Destroy();
    wxTheApp->ProcessIdle();
    wxEntryCleanup();
    wxFileName::Rmdir(scratch, wxPATH_RMDIR_RECURSIVE);
    return 0;
}
