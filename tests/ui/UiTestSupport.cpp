// Helpers of the window tests.
#include "UiTestSupport.h"

#include "CountingManager.h"
#include "FileExtension.h"
#include "TallywickApp.h"
#include "TallywickFrame.h"

#include <chrono>
#include <thread>
#include <wx/config.h>
#include <wx/filename.h>
#include <wx/utils.h>

namespace uitest {
TallywickFrame* StartProgram() {
    // The toolkit's locale is installed once per process; later starts only build a frame.
    auto& app = *static_cast<TallywickApp*>(wxTheApp);
    if (!app.m_frame) {
        app.OnInit();
    } else {
        app.m_frame = new TallywickFrame(nullptr, wxID_ANY);
        app.m_frame->Show();
    }
    Idle(300);
    return app.m_frame;
}

void CloseProgram(TallywickFrame* frame) {
    frame->Close(true);
    WaitFor([] { return wxTopLevelWindows.empty(); });
    wxConfigBase::Get()->Flush();
}

bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 40; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxYield();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

void Idle(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        wxYield();
        wxTheApp->ProcessIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SaveScreenshot(const wxString& name) {
    wxFileName::Mkdir(TALLYWICK_SCREENS_DIR, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    Idle(300);
    const wxString path = wxString(TALLYWICK_SCREENS_DIR) + "/" + name + ".png";
    const wxScopedCharBuffer file = path.utf8_str();
    const char* const command[] = {"import", "-window", "root", file.data(), nullptr};
    wxExecute(command, wxEXEC_SYNC);
}

void CountTree(TallywickFrame* frame, std::initializer_list<wxString> dirs,
               std::initializer_list<const char*> extensions) {
    CountingManager& manager = *frame->m_pCountingManager;
    for (auto& [name, ext] : manager.m_extMap)
        ext->m_bSelected = false;
    for (const char* name : extensions)
        manager.m_extMap.at(name)->m_bSelected = true;
    manager.Reset();
    manager.m_nState = CountingManager::STATE_BUSY;
    CountingParam param;
    for (const wxString& dir : dirs)
        param.m_arrDirs.push_back(dir);
    manager.SetCountingParam(param, &frame->m_analysisParam);
    manager.Count();
    frame->m_filterParam.m_arrDirs = manager.m_dirList;
    frame->m_filterParam.m_arrExts = manager.m_extList;
}
} // namespace uitest
