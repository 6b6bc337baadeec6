// Ending the program: close requests that arrive while it closes, and stores that cannot be
// written.
#include "AboutDlg.h"
#include "CounterRule.h"
#include "CounterRuleDlg.h"
#include "CountingManager.h"
#include "NativeDialog.h"
#include "SettingsFile.h"
#include "SrcTypeSelDlg.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <csignal>
#include <gtk/gtk.h>
#include <map>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <wx/aui/auibar.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/checklst.h>
#include <wx/config.h>
#include <wx/dir.h>
#include <wx/dirdlg.h>
#include <wx/eventfilter.h>
#include <wx/ffile.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/process.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {
// The ids of the windows on the display whose title is title, mapped or not.
wxArrayString Windows(const wxString& title) {
    wxArrayString lines, ids;
    wxExecute("xwininfo -root -children", lines, wxEXEC_SYNC | wxEXEC_NODISABLE);
    for (const wxString& line : lines)
        if (line.Contains(" \"" + title + "\": "))
            ids.Add(line.Strip(wxString::both).BeforeFirst(' '));
    return ids;
}

// What xwininfo tells of a window ("Map State", "Width", ...); empty once it is gone.
std::map<wxString, wxString> WindowInfo(const wxString& id) {
    wxArrayString lines;
    std::map<wxString, wxString> info;
    wxExecute("xwininfo -id " + id, lines, wxEXEC_SYNC | wxEXEC_NODISABLE);
    for (const wxString& line : lines)
        if (line.Contains(": "))
            info[line.BeforeFirst(':').Strip(wxString::both)] =
                line.AfterFirst(':').Strip(wxString::both);
    return info;
}

// Clicks the button at the foot of a message box, as a user does.
void ClickButton(const wxString& id) {
    std::map<wxString, wxString> info = WindowInfo(id);
    if (info.empty())
        return;
    wxUIActionSimulator user;
    user.MouseMove(wxAtoi(info["Absolute upper-left X"]) + wxAtoi(info["Width"]) / 2,
                   wxAtoi(info["Absolute upper-left Y"]) + wxAtoi(info["Height"]) - 16);
    user.MouseClick();
}

// Answers every message box that is up by its button; boxes gathers the ids of those seen,
// and the first one is pictured.
void AnswerBoxes(wxArrayString& boxes, const wxString& picture) {
    for (const wxString& id : Windows("Confirm")) {
        if (boxes.Index(id) == wxNOT_FOUND && boxes.Add(id) == 0)
            uitest::SaveScreenshot(picture);
        ClickButton(id);
    }
}

// A stop from the session while the rules' error box is up: the close already under way ends
// the program after one box, and the settings are still saved.
TEST(ExitTest, ACloseRequestDuringTheClosingBoxIsIgnored) {
    wxConfigBase::Get()->Write("ui_language", "en");
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_NE(frame, nullptr);
    frame->m_pCountingManager->m_ruleMap.begin()->second->m_strDesc += " (edited)"; // to save
    chmod((uitest::WorkDir() + "/conf/conf.xml").utf8_str(), 0444);
    frame->Move(123, 45);

    uitest::RealDialogs real;
    wxArrayString boxes;
    wxTimer user;
    user.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (boxes.empty() && !Windows("Confirm").empty())
            frame->Close(); // as the signal handler does, once
        AnswerBoxes(boxes, "exit-rules-not-written");
        user.StartOnce(200);
    });
    user.StartOnce(200);
    frame->Close();
    EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }, 10000));
    user.Stop();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(wxConfigBase::Get()->ReadLong("/x", 0), 123);
}

// The session may end the program as soon as its window shows (a log-out at start): the
// window still closes its own way, and the settings are saved.
TEST(ExitTest, AStopAsTheWindowShowsClosesItAndSavesTheSettings) {
    wxConfigBase::Get()->Write("ui_language", "en");
    // At the frame's first show, before the start-up has gone on.
    struct StopOnShow : wxEventFilter {
        bool sent = false;
        int FilterEvent(wxEvent& event) override {
            auto* frame = dynamic_cast<TallywickFrame*>(event.GetEventObject());
            if (event.GetEventType() == wxEVT_SHOW && frame && !sent) {
                sent = true;
                frame->Move(123, 45);
                raise(SIGTERM); // without a handler, this ends the test
            }
            return Event_Skip;
        }
    } stop;
    wxEvtHandler::AddFilter(&stop);
    uitest::StartProgram();
    wxEvtHandler::RemoveFilter(&stop);
    EXPECT_TRUE(stop.sent);
    EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }));
    EXPECT_EQ(wxConfigBase::Get()->ReadLong("/x", 0), 123);
}

// Starts the program itself, so that its whole ending runs, in the folder and with the
// environment given; once the window titled shown shows, the session stops it with signal.
// Message boxes are answered and gathered in boxes, the first pictured as picture. Returns the
// program's exit status.
int RunAndStop(const char* const* argv, const wxExecuteEnv& env, wxArrayString& boxes,
               const wxString& picture, const wxString& shown = "Tallywick",
               wxSignal signal = wxSIGTERM) {
    // The simulated pointer is scaled by a shown window of this process; one out of the way.
    wxFrame scale(nullptr, wxID_ANY, "", wxPoint(1200, 850), wxSize(40, 40));
    scale.Show();
    wxProcess program;
    bool ended = false;
    int status = -1;
    program.Bind(wxEVT_END_PROCESS, [&](wxProcessEvent& event) {
        ended = true;
        status = event.GetExitCode();
    });
    // Between fork and exec the child may only call what allocates nothing: the toolkit sets
    // the environment there, and waited for ever on an allocator lock that another thread of
    // this process held at the fork (under the sanitizers, on a busy machine). env(1) does it
    // after the exec instead.
    wxEnvVariableHashMap inherited;
    wxGetEnvMap(&inherited);
    std::vector<std::string> words = {"env"};
    if (!env.cwd.empty())
        words.insert(words.end(), {"-C", env.cwd.utf8_string()});
    for (const auto& [name, value] : inherited)
        if (env.env.find(name) == env.env.end())
            words.insert(words.end(), {"-u", name.utf8_string()});
    for (const auto& [name, value] : env.env)
        if (inherited.find(name) == inherited.end() || inherited[name] != value)
            words.push_back((name + "=" + value).utf8_string());
    for (const char* const* word = argv; *word; ++word)
        words.push_back(*word);
    std::vector<const char*> command;
    for (const std::string& word : words)
        command.push_back(word.c_str());
    command.push_back(nullptr);
    const long pid = wxExecute(command.data(), wxEXEC_ASYNC, &program);
    EXPECT_GT(pid, 0);
    if (pid <= 0)
        return -1;
    EXPECT_TRUE(uitest::WaitFor(
        [&] {
            const wxArrayString ids = Windows(shown);
            return !ids.empty() && WindowInfo(ids[0])["Map State"] == "IsViewable";
        },
        30000));
    wxKill(pid, signal);
    EXPECT_TRUE(uitest::WaitFor(
        [&] {
            AnswerBoxes(boxes, picture);
            return ended;
        },
        30000));
    if (!ended) {
        wxKill(pid, wxSIGKILL);
        uitest::WaitFor([&] { return ended; });
    }
    return status;
}

// Ended by the session with a disk that takes nothing more: one box tells it, the program
// ends normally, the settings file is kept.
TEST(ExitTest, SettingsThatCannotBeWrittenAreToldOnceAndTheProgramEnds) {
    const wxString stored = "ui_language=en\n";
    const wxString settings = uitest::WriteFile("full-home/.Tallywick", stored.ToStdString());
    // A folder whose rules file holds no rules: nothing of the rules is written.
    uitest::WriteFile("no-rules/conf/conf.xml", "<?xml version=\"1.0\"?>\n<none/>\n");
    wxExecuteEnv env;
    wxGetEnvMap(&env.env);
    env.env["HOME"] = uitest::WorkDir() + "/full-home";
    env.env["GSETTINGS_BACKEND"] = "memory"; // dconf would complain of the full disk
    env.cwd = uitest::WorkDir() + "/no-rules";
    const char* argv[] = {"sh", "-c", "trap '' XFSZ; ulimit -f 0; exec \"$0\"",
                          TALLYWICK_RUN_DIR "/tallywick", nullptr};
    wxArrayString boxes;
    EXPECT_EQ(RunAndStop(argv, env, boxes, "exit-settings-not-saved"), 0);
    EXPECT_EQ(boxes.size(), 1u);
    wxString content;
    wxFFile(settings).ReadAll(&content);
    EXPECT_EQ(content, stored);
}

// A read-only settings file that holds every setting as the program writes it: nothing has
// changed, so nothing is written, and no box tells of a failure.
TEST(ExitTest, AnUnchangedReadOnlySettingsFileIsLeftInSilence) {
    const wxString settings = uitest::WriteFile("kept-home/.Tallywick", "ui_language=en\n");
    wxExecuteEnv env;
    wxGetEnvMap(&env.env);
    env.env["HOME"] = uitest::WorkDir() + "/kept-home";
    env.cwd = uitest::WorkDir();
    const char* argv[] = {TALLYWICK_RUN_DIR "/tallywick", nullptr};
    wxArrayString boxes;
    ASSERT_EQ(RunAndStop(argv, env, boxes, "exit-settings-first"), 0); // stores every key
    wxString full, after;
    wxFFile(settings).ReadAll(&full);
    ASSERT_TRUE(full.Contains("\nm_nDirectoryNum=0\n")) << full;
    chmod(settings.utf8_str(), 0444);
    EXPECT_EQ(RunAndStop(argv, env, boxes, "exit-settings-read-only"), 0);
    EXPECT_TRUE(boxes.empty());
    wxFFile(settings).ReadAll(&after);
    EXPECT_EQ(after, full);
}

// Started as a user starts it, with the accessibility bridge that the other tests turn off
// and without LSAN_OPTIONS: under the sanitizers, what the system's libraries keep to the end
// fails no exit, by the suppressions built into the program.
TEST(ExitTest, APlainStartAndStopEndsCleanly) {
    uitest::WriteFile("plain-home/.Tallywick", "ui_language=en\n");
    wxExecuteEnv env;
    wxGetEnvMap(&env.env);
    env.env.erase("NO_AT_BRIDGE");
    env.env.erase("LSAN_OPTIONS");
    env.env["HOME"] = uitest::WorkDir() + "/plain-home";
    env.cwd = uitest::WorkDir();
    const char* argv[] = {TALLYWICK_RUN_DIR "/tallywick", nullptr};
    wxArrayString boxes;
    EXPECT_EQ(RunAndStop(argv, env, boxes, "exit-plain"), 0);
    EXPECT_TRUE(boxes.empty());
}

// The first start asks the language before there is a window: a stop there ends the program
// normally, with the settings it has (no language, as none was chosen).
TEST(ExitTest, AStopAtTheFirstLanguageQuestionEndsTheProgramWithItsSettings) {
    for (const wxSignal signal : {wxSIGTERM, wxSIGINT, wxSIGHUP}) {
        const wxString home = wxString::Format("first-home-%d", signal);
        wxFileName::Mkdir(uitest::WorkDir() + "/" + home);
        wxExecuteEnv env;
        wxGetEnvMap(&env.env);
        env.env["HOME"] = uitest::WorkDir() + "/" + home;
        env.cwd = uitest::WorkDir();
        const char* argv[] = {TALLYWICK_RUN_DIR "/tallywick", nullptr};
        wxArrayString boxes;
        EXPECT_EQ(RunAndStop(argv, env, boxes, "exit-first-start", "Language selection", signal), 0)
            << signal;
        wxString settings;
        EXPECT_TRUE(wxFFile(env.env["HOME"] + "/.Tallywick").ReadAll(&settings)) << signal;
        EXPECT_TRUE(settings.Contains("ui_language=\n")) << settings;
        EXPECT_TRUE(boxes.empty());
    }
}

// Ends the dialogs that a stop left open, innermost first, so that a failure does not hang.
struct Rescue : wxModalDialogHook {
    std::vector<wxDialog*> open;
    bool used = false;
    Rescue() { Register(); }
    int Enter(wxDialog* dialog) override {
        open.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { open.pop_back(); }
    void EndOne() {
        used = true;
        if (open.empty() || CancelQuestionsOver(open.back()))
            return;
        if (open.back()->IsModal())
            open.back()->EndModal(wxID_CANCEL);
        else
            CancelNativeDialog(open.back());
    }
};

// The modal dialog of type T that shows now.
template <class T> T* Showing() {
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<T*>(window); dialog && dialog->IsModal())
            return dialog;
    return nullptr;
}

// A stop from the session while a dialog is open: the dialog ends as if cancelled, its own
// edit dropped, and the program closes as on Quit, keeping what was changed before it.
TEST(ExitTest, AStopDuringADialogEndsItAndClosesAsQuitDoes) {
    const wxString kept = uitest::WorkDir();
    const wxString chosen = uitest::WorkDir() + "/conf";
    const wxString exported = uitest::WorkDir() + "/unconfirmed.csv";
    const wxString existing = uitest::WriteFile("existing.csv", "old");
    wxTimer inner;    // acts inside a dialog that a row opens from its first one
    wxTimer question; // acts inside the question that GTK asks over the file chooser
    const struct {
        const char* dialog;
        int signal;
        std::function<void(TallywickFrame*)> open;
        // The user's edit inside the dialog, left unconfirmed; then the stop.
        std::function<void(TallywickFrame*, const std::function<void()>&)> edit;
    } rows[] = {
        {"source types", SIGTERM,
         [](TallywickFrame* frame) { uitest::Command(frame, TallywickFrame::ID_MENU_SELTYPE); },
         [](TallywickFrame*, const std::function<void()>& stop) {
             Showing<SrcTypeSelDlg>()->m_pTypeList->Check(0, true);
             stop();
         }},
        {"rule editor over source types", SIGINT,
         [](TallywickFrame* frame) { uitest::Command(frame, TallywickFrame::ID_MENU_SELTYPE); },
         [&inner](TallywickFrame*, const std::function<void()>& stop) {
             SrcTypeSelDlg* types = Showing<SrcTypeSelDlg>();
             types->m_pTypeList->SetSelection(0);
             inner.Bind(wxEVT_TIMER, [stop](wxTimerEvent&) {
                 if (CounterRuleDlg* rule = Showing<CounterRuleDlg>()) {
                     rule->m_pTxtStyleDesc->SetValue("unconfirmed");
                     stop();
                 }
             });
             inner.StartOnce(300);
             uitest::Command(types->m_pBtnEdit, wxEVT_BUTTON);
         }},
        {"message box", SIGHUP,
         [](TallywickFrame* frame) {
             frame->m_pSourceDirList->SetSelection(0);
             uitest::Command(frame->m_pBtnDeleteDir, wxEVT_BUTTON);
         },
         [](TallywickFrame*, const std::function<void()>& stop) { stop(); }},
        {"export file chooser", SIGTERM,
         [](TallywickFrame* frame) { uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_CSV); },
         [&](TallywickFrame* frame, const std::function<void()>& stop) {
             frame->m_pFileDialog->SetPath(exported);
             stop();
         }},
        {"replace question over the export file chooser", SIGTERM,
         [](TallywickFrame* frame) { uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_CSV); },
         [&](TallywickFrame* frame, const std::function<void()>& stop) {
             frame->m_pFileDialog->SetPath(existing);
             question.Bind(wxEVT_TIMER, [stop](wxTimerEvent&) { stop(); });
             question.StartOnce(500);
             // Save on a file that exists: the chooser asks in a loop of its own.
             gtk_dialog_response(GTK_DIALOG(frame->m_pFileDialog->GetHandle()),
                                 GTK_RESPONSE_ACCEPT);
         }},
        {"folder chooser", SIGTERM,
         [](TallywickFrame* frame) { uitest::Command(frame->m_pBtnAddDir, wxEVT_BUTTON); },
         [&](TallywickFrame* frame, const std::function<void()>& stop) {
             frame->m_pDirDialog->SetPath(chosen);
             stop();
         }},
        {"about", SIGINT,
         [](TallywickFrame* frame) { uitest::Command(frame, TallywickFrame::ID_MENU_ABOUT); },
         [](TallywickFrame*, const std::function<void()>& stop) { stop(); }},
    };
    uitest::RealDialogs real;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dialog);
        wxConfigBase::Get()->Write("ui_language", "en");
        TallywickFrame* frame = uitest::StartProgram();
        ASSERT_NE(frame, nullptr);
        frame->Move(123, 45);
        frame->m_pSourceDirList->Clear();
        frame->m_pSourceDirList->Append(kept);
        const wxString before = wxString::Format(" (before %s)", row.dialog);
        frame->m_pCountingManager->m_ruleMap.begin()->second->m_strDesc += before;

        Rescue rescue;
        bool stopped = false;
        wxTimer user, watchdog;
        user.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            row.edit(frame, [&] {
                stopped = true;
                raise(row.signal);
            });
        });
        watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { rescue.EndOne(); });
        user.StartOnce(300);
        watchdog.Start(8000);
        row.open(frame);
        EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }, 10000));
        watchdog.Stop();
        EXPECT_TRUE(stopped);
        EXPECT_FALSE(rescue.used) << "a dialog stayed open";

        wxConfigBase* store = wxConfigBase::Get();
        EXPECT_EQ(store->ReadLong("/x", 0), 123);
        EXPECT_EQ(store->Read("/ui_language", ""), "en");
        EXPECT_EQ(store->ReadLong("/m_nDirectoryNum", 0), 1);
        EXPECT_EQ(store->Read("/Directory/0", ""), kept);
        EXPECT_FALSE(wxFileExists(exported));
        wxString replaced;
        wxFFile(existing).ReadAll(&replaced);
        EXPECT_EQ(replaced, "old");
        wxString rules;
        wxFFile(uitest::WorkDir() + "/conf/conf.xml").ReadAll(&rules);
        EXPECT_TRUE(rules.Contains(before));
        EXPECT_FALSE(rules.Contains("unconfirmed"));
    }
}

// Closes a popup menu that a failed stop left open, so that a failure does not hang.
void RescueMenu(TallywickFrame* frame, bool& used) {
    for (wxMenu* menu : {&frame->m_menuExport, &frame->m_menuFilter, &frame->m_menuListContext})
        if (menu->m_menu && gtk_widget_get_visible(menu->m_menu)) {
            used = true;
            CloseNativeMenu(menu);
        }
}

// A stop while a command was clicked during a run, or a menu shows: no dialog opens, nothing
// waits for the user, and the program ends at once with its settings, as Quit ends it.
TEST(ExitTest, AStopEndsTheProgramAtOnceWhateverWasClickedOrShows) {
    // A large file: the run reads it in many chunks, and events that come meanwhile wait.
    std::string big;
    for (int i = 0; i < 3000000; ++i)
        big += "int x = 1; // a line of code\n";
    uitest::WriteFile("during-run/big.c", big);
    const auto click = [](TallywickFrame* frame, long tool) {
        const wxRect rect = frame->m_pToolBar->GetToolRect(tool);
        wxUIActionSimulator user;
        user.MouseMove(frame->m_pToolBar->ClientToScreen(rect.GetPosition() + wxPoint(8, 8)));
        user.MouseClick();
    };
    const struct {
        const char* name;
        // What the user does, the stop included.
        std::function<void(TallywickFrame*, const std::function<void()>&)> act;
    } rows[] = {
        {"About clicked during a run, then a stop",
         [&](TallywickFrame* frame, const std::function<void()>& stop) {
             uitest::DuringRun(frame, [&] {
                 click(frame, TallywickFrame::ID_TOOL_ABOUT);
                 stop();
             });
             // Cut short, not read to its end.
             EXPECT_EQ(frame->m_pCountingManager->m_nState, CountingManager::STATE_STOPPED);
         }},
        {"About opened by code once the close waits for the run",
         [](TallywickFrame* frame, const std::function<void()>& stop) {
             uitest::DuringRun(frame, [&] {
                 stop();
                 uitest::WaitFor([frame] {
                     return frame->m_pCountingManager->m_nState != CountingManager::STATE_BUSY;
                 });
                 wxCommandEvent about(wxEVT_MENU, TallywickFrame::ID_MENU_ABOUT);
                 frame->OnAbout(about);
             });
             EXPECT_EQ(frame->m_pCountingManager->m_nState, CountingManager::STATE_STOPPED);
         }},
        {"the Export drop-down shows",
         [](TallywickFrame* frame, const std::function<void()>& stop) {
             wxTimer later;
             later.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { stop(); });
             later.StartOnce(300);
             uitest::Command(frame, TallywickFrame::ID_TOOL_EXPORT);
         }},
        {"the context menu of the file list shows",
         [](TallywickFrame* frame, const std::function<void()>& stop) {
             uitest::Count(frame, {uitest::WorkDir() + "/during-run"}, {".c"});
             wxTimer later;
             later.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { stop(); });
             later.StartOnce(300);
             wxListEvent right(wxEVT_LIST_ITEM_RIGHT_CLICK, TallywickFrame::ID_LC_DETAIL);
             right.SetEventObject(frame->m_pFileList);
             right.m_itemIndex = 0;
             frame->m_pFileList->GetEventHandler()->ProcessEvent(right);
         }},
    };
    uitest::RealDialogs real;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        wxConfigBase::Get()->Write("ui_language", "en");
        TallywickFrame* frame = uitest::StartProgram();
        ASSERT_NE(frame, nullptr);
        frame->Move(123, 45);

        Rescue rescue;
        bool menuLeft = false;
        wxTimer watchdog;
        watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            rescue.EndOne();
            RescueMenu(frame, menuLeft);
        });
        watchdog.Start(5000);
        // Nothing waits: not the run, which is stopped, nor a dialog or a menu, which the
        // watchdog would have to end.
        row.act(frame, [] { raise(SIGTERM); });
        EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }, 10000));
        watchdog.Stop();
        EXPECT_FALSE(rescue.used) << "a dialog opened";
        EXPECT_FALSE(menuLeft) << "a menu stayed open";
        EXPECT_EQ(wxConfigBase::Get()->ReadLong("/x", 0), 123);
    }
}

// A stop that comes as a message box is about to run its loop, before GTK shows it: the box
// still ends as cancelled, and the program closes.
TEST(ExitTest, AStopJustBeforeAMessageBoxRunsEndsIt) {
    // Called after the program's own hooks, which it registers later, just before the box's
    // loop: the stop is handled there.
    struct StopBeforeTheLoop : wxModalDialogHook {
        bool armed = false;
        bool stopped = false;
        StopBeforeTheLoop() { Register(); }
        int Enter(wxDialog* dialog) override {
            if (armed && dynamic_cast<wxMessageDialog*>(dialog)) {
                armed = false;
                raise(SIGTERM);
                // The stop's handler runs, and finds the box not yet shown.
                for (int i = 0; i < 30; ++i) {
                    g_main_context_iteration(nullptr, FALSE);
                    wxMilliSleep(10);
                }
                stopped = true;
            }
            return wxID_NONE;
        }
        void Exit(wxDialog*) override {}
    } hook;
    wxConfigBase::Get()->Write("ui_language", "en");
    uitest::RealDialogs real;
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_NE(frame, nullptr);
    frame->Move(123, 45);
    frame->m_pSourceDirList->Clear();
    frame->m_pSourceDirList->Append(uitest::WorkDir());
    frame->m_pSourceDirList->SetSelection(0);
    Rescue rescue;
    wxTimer watchdog;
    watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { rescue.EndOne(); });
    watchdog.Start(5000);
    hook.armed = true;
    uitest::Command(frame->m_pBtnDeleteDir, wxEVT_BUTTON); // asks first
    EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }, 10000));
    watchdog.Stop();
    EXPECT_TRUE(hook.stopped);
    EXPECT_FALSE(rescue.used) << "the box stayed open";
    EXPECT_EQ(wxConfigBase::Get()->ReadLong("/m_nDirectoryNum", 0), 1); // No: the folder stays
}

// Runs the main loop's sources in their order (a signal before the events queued for idle
// time) until the window is gone; milliseconds is only a watchdog.
bool RunUntilClosed(int milliseconds) {
    wxStopWatch clock;
    while (!wxTopLevelWindows.empty() && clock.Time() < milliseconds)
        if (!g_main_context_iteration(nullptr, FALSE))
            wxMilliSleep(5);
    return wxTopLevelWindows.empty();
}

// A command that the user gave just before the session stopped the program, still queued when
// the stop came: with nothing open, behind a popup menu, or behind a dialog, it neither starts
// a count nor asks a question, and the window goes with its settings.
TEST(ExitTest, ACommandQueuedBeforeAStopNeitherRunsNorAsks) {
    uitest::WriteFile("queued/a.c", "int a;\n");
    const wxString dir = uitest::WorkDir() + "/queued";
    const struct {
        const char* name;
        std::function<wxWindow*(TallywickFrame*)> control;
    } commands[] = {
        {"Start", [](TallywickFrame* frame) { return frame->m_pBtnStart; }},
        {"Delete folder", [](TallywickFrame* frame) { return frame->m_pBtnDeleteDir; }},
    };
    const struct {
        const char* name;
        // Opens what shows when the command and the stop come, and calls act inside it.
        std::function<void(TallywickFrame*, wxTimer&, const std::function<void()>&)> open;
    } situations[] = {
        {"nothing open",
         [](TallywickFrame*, wxTimer&, const std::function<void()>& act) { act(); }},
        {"the Export drop-down",
         [](TallywickFrame* frame, wxTimer& user, const std::function<void()>& act) {
             user.Bind(wxEVT_TIMER, [frame, &user, act](wxTimerEvent&) {
                 GtkWidget* menu = frame->m_menuExport.m_menu;
                 if (menu && gtk_widget_get_visible(menu))
                     act();
                 else
                     user.StartOnce(50);
             });
             user.StartOnce(50);
             uitest::Command(frame, TallywickFrame::ID_TOOL_EXPORT);
         }},
        {"the About dialog",
         [](TallywickFrame* frame, wxTimer& user, const std::function<void()>& act) {
             user.Bind(wxEVT_TIMER, [&user, act](wxTimerEvent&) {
                 if (Showing<AboutDlg>())
                     act();
                 else
                     user.StartOnce(50);
             });
             user.StartOnce(50);
             uitest::Command(frame, TallywickFrame::ID_MENU_ABOUT);
         }},
    };
    // Sees every dialog that opens after the stop, and whether a count read the folder.
    struct Watch : wxModalDialogHook {
        bool stopped = false;
        wxArrayString shown;
        const int reads = inotify_init1(IN_NONBLOCK);
        explicit Watch(const wxString& dir) {
            inotify_add_watch(reads, dir.utf8_str(), IN_OPEN | IN_ACCESS);
            Register();
        }
        ~Watch() override { close(reads); }
        bool Counted() const {
            char events[4096];
            return read(reads, events, sizeof events) > 0;
        }
        int Enter(wxDialog* dialog) override {
            if (stopped)
                shown.Add(dialog->GetTitle().empty() ? "a message box" : dialog->GetTitle());
            return wxID_NONE;
        }
        void Exit(wxDialog*) override {}
    };
    uitest::RealDialogs real;
    for (const auto& situation : situations) {
        for (const auto& command : commands) {
            SCOPED_TRACE(wxString::Format("%s behind %s", command.name, situation.name));
            // Before the window's own hooks, which are called first: these see only the
            // dialogs that the program lets open.
            Watch watch(dir);
            Rescue rescue;
            wxConfigBase::Get()->Write("ui_language", "en");
            TallywickFrame* frame = uitest::StartProgram();
            ASSERT_NE(frame, nullptr);
            frame->Move(123, 45);
            uitest::Count(frame, {dir}, {".c"}, false);
            frame->m_pSourceDirList->SetSelection(0);

            bool menuLeft = false;
            wxTimer user, watchdog;
            watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
                rescue.EndOne();
                if (!wxTopLevelWindows.empty())
                    RescueMenu(frame, menuLeft);
            });
            watchdog.Start(8000);
            situation.open(frame, user, [&] {
                wxWindow* control = command.control(frame);
                auto* click = new wxCommandEvent(wxEVT_BUTTON, control->GetId());
                click->SetEventObject(control);
                control->GetEventHandler()->QueueEvent(click);
                watch.stopped = true;
                raise(SIGTERM);
            });
            EXPECT_TRUE(RunUntilClosed(20000));
            watchdog.Stop();
            EXPECT_TRUE(watch.stopped);
            EXPECT_FALSE(watch.Counted()) << "a count ran";
            EXPECT_TRUE(watch.shown.empty()) << "\"" << watch.shown[0] << "\" opened";
            EXPECT_FALSE(rescue.used) << "a dialog stayed open";
            EXPECT_FALSE(menuLeft) << "a menu stayed open";
            wxConfigBase* store = wxConfigBase::Get();
            EXPECT_EQ(store->ReadLong("/x", 0), 123);
            EXPECT_EQ(store->ReadLong("/m_nDirectoryNum", 0), 1);
            EXPECT_EQ(store->Read("/Directory/0", ""), dir);
        }
    }
}

// Without a home folder the settings last for the session: they read back, writing them
// succeeds without a file, and so the exit tells of no failure.
TEST(ExitTest, WithoutAHomeFolderTheSettingsLastTheSessionInSilence) {
    SettingsFile store(false);
    store.Write("/x", 123L);
    EXPECT_EQ(store.ReadLong("/x", 0), 123);
    EXPECT_TRUE(store.Flush());
    wxArrayString written;
    wxDir::GetAllFiles(uitest::WorkDir() + "/..", &written, ".Tallywick*", wxDIR_FILES);
    EXPECT_TRUE(written.empty()) << written[0];
}
} // namespace
