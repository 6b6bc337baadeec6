// The window tests' entry point: each process gets a fresh HOME and working folder holding
// conf/, img/ and locales/, and the toolkit is started without the program's own start-up,
// which each test runs itself once it has prepared the store.
#include "TallywickApp.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <wx/config.h>
#include <wx/dialog.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

namespace {
wxString g_root;
wxArrayString g_messages;

// Keeps what is logged, so that tests can see it and no log window opens.
class CapturingLog : public wxLog {
protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& msg) override { g_messages.Add(msg); }
};

// A dialog that no test expects fails the test instead of waiting for a user.
class UnexpectedDialogHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        ADD_FAILURE() << "unexpected dialog \"" << dialog->GetTitle() << "\"";
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

UnexpectedDialogHook g_dialogHook;

void OnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
              const wxString& msg) {
    ADD_FAILURE() << "toolkit assertion at " << file << ":" << line << " in " << func << ": "
                  << cond << " " << msg;
}
} // namespace

namespace uitest {
wxString WorkDir() {
    return g_root + "/work";
}

RealDialogs::RealDialogs() {
    g_dialogHook.Unregister();
}

RealDialogs::~RealDialogs() {
    g_dialogHook.Register();
}

const wxArrayString& LoggedMessages() {
    return g_messages;
}
} // namespace uitest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();

    char pattern[] = "/tmp/tallywick-ui-XXXXXX";
    g_root = mkdtemp(pattern);
    for (const char* dir : {"/home", "/work"})
        wxFileName::Mkdir(g_root + dir);
    setenv("HOME", (g_root + "/home").utf8_str(), 1);
    // The virtual display has no accessibility bus to bridge to, here or in a started program.
    setenv("NO_AT_BRIDGE", "1", 1);
    // The shipped rules, not those a user may have edited in build/run.
    const std::string work = uitest::WorkDir().ToStdString();
    std::filesystem::copy(TALLYWICK_SHIPPED_CONF, work + "/conf");
    for (const char* data : {"img", "locales"})
        std::filesystem::copy(std::string(TALLYWICK_RUN_DIR) + "/" + data, work + "/" + data,
                              std::filesystem::copy_options::recursive);
    wxSetWorkingDirectory(uitest::WorkDir());

    wxApp::SetInstance(new TallywickApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "the toolkit could not start (is there a display?)\n");
        return 1;
    }
    wxSetAssertHandler(OnAssert);
    delete wxLog::SetActiveTarget(new CapturingLog);
    g_dialogHook.Register();
    wxTheApp->SetVendorName(TallywickApp::VENDOR_NAME);
    wxTheApp->SetAppName(TallywickApp::APP_NAME);
    // As in the program, an event loop is active: a counting run pumps it.
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    const int result = RUN_ALL_TESTS();
    g_dialogHook.Unregister();
    delete wxConfigBase::Set(nullptr);
    wxEntryCleanup();
    wxFileName::Rmdir(g_root, wxPATH_RMDIR_RECURSIVE);
    return result;
}
