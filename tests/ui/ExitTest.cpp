// Ending the program: close requests that arrive while it closes.
#include "CounterRule.h"
#include "CountingManager.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <sys/stat.h>
#include <wx/config.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {
// Counts the dialogs shown, and how many are open, without answering them.
class DialogCounter : public wxModalDialogHook {
public:
    DialogCounter() { Register(); }
    ~DialogCounter() override { Unregister(); }
    int shown = 0, open = 0;

protected:
    int Enter(wxDialog*) override {
        ++shown;
        ++open;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { --open; }
};

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
    DialogCounter boxes;
    bool askedAgain = false;
    wxTimer user;
    user.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!boxes.open)
            return;
        if (!askedAgain) {
            askedAgain = true;
            frame->Close(); // as the signal handler does
        }
        wxUIActionSimulator().Char(WXK_RETURN);
    });
    user.Start(200);
    frame->Close();
    EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }, 10000));
    user.Stop();
    EXPECT_TRUE(askedAgain);
    EXPECT_EQ(boxes.shown, 1);
    EXPECT_EQ(wxConfigBase::Get()->ReadLong("/x", 0), 123);
}
} // namespace
