// Start-up and exit: the interface language, the stored settings and missing data.
#include "CountingManager.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"
#include "chooselang.h"

#include <sys/stat.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checklst.h>
#include <wx/choicdlg.h>
#include <wx/config.h>
#include <wx/display.h>
#include <wx/filename.h>
#include <wx/timer.h>

namespace {
wxConfigBase* Store() {
    return wxConfigBase::Get();
}

// Answers the language question: the entry at index, or Cancel when index is negative.
uitest::ExpectDialog<wxSingleChoiceDialog> ChooseLanguage(int index) {
    return uitest::ExpectDialog<wxSingleChoiceDialog>([index](wxSingleChoiceDialog* dialog) {
        EXPECT_EQ(dialog->GetTitle(), "Language selection");
        if (index < 0)
            return wxID_CANCEL;
        dialog->SetSelection(index);
        return wxID_OK;
    });
}

TEST(StartupTest, FirstRunAsksForTheLanguageAndStoresEveryDefault) {
    TallywickFrame* frame = nullptr;
    wxTEST_DIALOG(frame = uitest::StartProgram(), ChooseLanguage(2)); // English
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Store()->Read("ui_language", ""), "en");
    EXPECT_EQ(frame->GetPosition(), wxPoint(40, 16));
    EXPECT_EQ(frame->GetClientSize(), wxSize(940, 616));
    for (const char* key : {"m_nPreserveFrameSizePos", "x", "h", "m_nShowFilterDirectory",
                            "m_nHideStatusBar", "m_nPreserveDirectory", "m_nDirectoryNum"})
        EXPECT_TRUE(Store()->HasEntry(wxString("/") + key)) << key;
    EXPECT_FALSE(Store()->HasGroup("/Directory"));
    uitest::CloseProgram(frame);
}

TEST(StartupTest, ACancelledFirstChoiceIsAskedAgain) {
    Store()->SetRecordDefaults(true); // as the program's start-up does
    wxLanguage language = wxLANGUAGE_ENGLISH;
    wxTEST_DIALOG(language = GetUILanguage(), ChooseLanguage(-1));
    EXPECT_EQ(language, wxLANGUAGE_DEFAULT);
    EXPECT_EQ(Store()->Read("ui_language", "unset"), "");
    wxTEST_DIALOG(language = GetUILanguage(), ChooseLanguage(0));
    EXPECT_EQ(language, wxLANGUAGE_DEFAULT);
    EXPECT_EQ(Store()->Read("ui_language", ""), "default");
    EXPECT_EQ(GetUILanguage(), wxLANGUAGE_DEFAULT); // no question any more
}

TEST(StartupTest, StoredLanguageNamesAreLookedUpAndUnknownOnesLogged) {
    SaveUILanguage(wxLANGUAGE_JAPANESE);
    EXPECT_EQ(Store()->Read("ui_language", ""), "ja");
    EXPECT_EQ(GetUILanguage(), wxLANGUAGE_JAPANESE);
    Store()->Write("ui_language", "Default"); // not "default": looked up, and unknown
    EXPECT_EQ(GetUILanguage(), wxLANGUAGE_DEFAULT);
    ASSERT_FALSE(uitest::LoggedMessages().empty());
    EXPECT_TRUE(
        uitest::LoggedMessages().Last().Contains("Uknown locale code 'Default' in registry."));
    EXPECT_EQ(Store()->Read("ui_language", ""), "Default");
}

TEST(StartupTest, AStartWithoutPicturesShowsNoMessage) {
    wxFileName::Rmdir(uitest::WorkDir() + "/img", wxPATH_RMDIR_RECURSIVE);
    Store()->Write("ui_language", "en");
    TallywickFrame* frame = uitest::StartProgram(); // any dialog would fail the test
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->m_pBtnStart->GetBitmapLabel().IsOk());
    EXPECT_TRUE(uitest::LoggedMessages().empty()) << uitest::LoggedMessages()[0];
    uitest::CloseProgram(frame);
}

TEST(StartupTest, UsableGeometryAndTheFilterPanesComeFromTheStoreAndAreSavedAtExit) {
    Store()->Write("ui_language", "en");
    Store()->Write("x", 100);
    Store()->Write("y", 50);
    Store()->Write("w", 800);
    Store()->Write("h", 500);
    Store()->Write("m_nShowFilterExtension", 0);
    Store()->Write("m_nShowFilterModifiedDate", 2);
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetPosition(), wxPoint(100, 50));
    EXPECT_EQ(frame->GetClientSize(), wxSize(800, 500));
    EXPECT_TRUE(frame->m_pAuiManager->GetPane("Directory Filter").IsShown());
    EXPECT_FALSE(frame->m_pAuiManager->GetPane("Extension Filter").IsShown());
    EXPECT_FALSE(frame->m_pAuiManager->GetPane("Modified Date Filter").IsShown());
    frame->Move(120, 60);
    frame->SetClientSize(900, 600);
    uitest::Idle();
    uitest::CloseProgram(frame);
    EXPECT_EQ(Store()->ReadLong("x", 0), 120);
    EXPECT_EQ(Store()->ReadLong("w", 0), 900);
    EXPECT_EQ(Store()->ReadLong("h", 0), 600);
    EXPECT_EQ(Store()->ReadLong("m_nShowFilterModifiedDate", 0), 2);

    // Off every display: the defaults. Partly off, or larger than the screen: moved and shrunk
    // into its work area (a size of -1 fills it), and saved so.
    const wxRect area = wxDisplay(0u).GetClientArea();
    const struct {
        long x, y, w, h;
        wxPoint position;
        wxSize client;
    } stored[] = {
        {30000, 30000, 800, 500, {40, 16}, {940, 616}},
        {-100, 100, 800, 500, {0, 100}, {800, 500}},
        {40, 16, 2147483647, 2147483647, area.GetPosition(), {-1, -1}},
        {-1000000000, -1000000000, 2147483647, 2147483647, area.GetPosition(), {-1, -1}},
    };
    for (const auto& geometry : stored) {
        Store()->Write("x", geometry.x);
        Store()->Write("y", geometry.y);
        Store()->Write("w", geometry.w);
        Store()->Write("h", geometry.h);
        frame = uitest::StartProgram();
        EXPECT_TRUE(area.Contains(frame->GetRect())) << geometry.x;
        EXPECT_EQ(frame->GetPosition(), geometry.position) << geometry.x;
        if (geometry.client.x < 0)
            EXPECT_EQ(frame->GetSize(), area.GetSize());
        else
            EXPECT_EQ(frame->GetClientSize(), geometry.client) << geometry.x;
        uitest::CloseProgram(frame);
        EXPECT_LE(Store()->ReadLong("w", 0), area.width);
    }
    Store()->Write("m_nPreserveFrameSizePos", 0);
    Store()->Write("x", 300);
    frame = uitest::StartProgram();
    EXPECT_EQ(frame->GetPosition(), wxPoint(40, 16));
    frame->Move(200, 100);
    uitest::CloseProgram(frame);
    EXPECT_EQ(Store()->ReadLong("x", 0), 300); // neither read nor written
}

TEST(StartupTest, TheDirectoryListIsSavedWholeAndLoadedUnchecked) {
    Store()->Write("ui_language", "en");
    // A stored count beyond what is there: the missing key is skipped and not created.
    Store()->Write("m_nDirectoryNum", 3);
    Store()->Write("/Directory/0", "/src/a");
    Store()->Write("/Directory/2", "/src/c ");
    TallywickFrame* frame = uitest::StartProgram();
    wxCheckListBox* list = frame->m_pSourceDirList;
    ASSERT_EQ(list->GetCount(), 2u);
    EXPECT_EQ(list->GetString(1), "/src/c ");
    EXPECT_FALSE(list->IsChecked(0));
    EXPECT_FALSE(Store()->HasEntry("/Directory/1"));

    list->Clear();
    for (int i = 0; i < 20; ++i)
        list->Append(i == 1 ? wxString() : wxString::Format("/tree/%d ", i));
    uitest::CloseProgram(frame);
    EXPECT_EQ(Store()->ReadLong("/m_nDirectoryNum", 0), 16);
    EXPECT_EQ(Store()->Read("/Directory/0", ""), "/tree/0 ");
    EXPECT_EQ(Store()->Read("/Directory/1", ""), "/tree/2 "); // no gap for the empty entry
    EXPECT_EQ(Store()->Read("/Directory/15", ""), "/tree/16 ");
    EXPECT_FALSE(Store()->HasEntry("/Directory/16"));

    Store()->Write("/m_nDirectoryNum", -4);
    frame = uitest::StartProgram();
    EXPECT_EQ(frame->m_pSourceDirList->GetCount(), 0u);
    frame->m_pSourceDirList->Append("/kept");
    uitest::CloseProgram(frame);

    // A count edited far beyond the stored keys ends with the keys, not after 2^62 reads.
    Store()->Write("/m_nDirectoryNum", 4611686018427387904L);
    frame = uitest::StartProgram();
    EXPECT_EQ(frame->m_pSourceDirList->GetCount(), 1u);
    uitest::CloseProgram(frame);
}

// A close request (a signal, the session's end) during a dialog's own loop waits for the
// dialog: the frame destroyed under it would take the dialog with it.
TEST(StartupTest, ACloseDuringADialogIsCarriedOutAfterIt) {
    Store()->Write("ui_language", "en");
    TallywickFrame* frame = uitest::StartProgram();
    uitest::RealDialogs real;
    bool stillThere = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        frame->Close();
        uitest::Idle();
        stillThere = !wxTopLevelWindows.empty() && frame->IsShown();
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal())
                dialog->EndModal(wxID_OK);
    });
    timer.StartOnce(300);
    uitest::Command(frame, TallywickFrame::ID_MENU_ABOUT);
    EXPECT_TRUE(stillThere);
    EXPECT_TRUE(uitest::WaitFor([] { return wxTopLevelWindows.empty(); }));
}

TEST(StartupTest, AFailedRulesSaveAtExitIsToldAndAMissingRulesFileIsNot) {
    Store()->Write("ui_language", "en");
    const wxString rules = uitest::WorkDir() + "/conf/conf.xml";
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_FALSE(frame->m_pCountingManager->m_ruleMap.empty());
    chmod(rules.utf8_str(), 0444);
    wxTEST_DIALOG(uitest::CloseProgram(frame),
                  uitest::ExpectMessage("The rules file could not be written: " + rules, wxID_OK,
                                        wxOK | wxCENTRE | wxICON_ERROR));
    EXPECT_TRUE(wxTopLevelWindows.empty());

    wxRemoveFile(rules);
    frame = uitest::StartProgram();
    uitest::CloseProgram(frame); // nothing loaded, nothing to write: no message
    EXPECT_FALSE(wxFileExists(rules));
}
} // namespace
