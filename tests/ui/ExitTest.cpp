// Ending the program: close requests that arrive while it closes, and stores that cannot be
// written.
#include "CounterRule.h"
#include "CountingManager.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <csignal>
#include <map>
#include <sys/stat.h>
#include <wx/config.h>
#include <wx/eventfilter.h>
#include <wx/ffile.h>
#include <wx/frame.h>
#include <wx/process.h>
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
// environment given; once its window shows, the session stops it. Message boxes are answered
// and gathered in boxes, the first pictured as picture. Returns the program's exit status.
int RunAndStop(const char* const* argv, const wxExecuteEnv& env, wxArrayString& boxes,
               const wxString& picture) {
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
    const long pid = wxExecute(argv, wxEXEC_ASYNC, &program, &env);
    EXPECT_GT(pid, 0);
    if (pid <= 0)
        return -1;
    EXPECT_TRUE(uitest::WaitFor(
        [] {
            const wxArrayString ids = Windows("Tallywick");
            return !ids.empty() && WindowInfo(ids[0])["Map State"] == "IsViewable";
        },
        30000));
    wxKill(pid, wxSIGTERM);
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
} // namespace
