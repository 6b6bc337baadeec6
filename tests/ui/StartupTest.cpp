// Start-up and exit: the interface language, the stored settings and missing data.
#include "CounterRule.h"
#include "CountingManager.h"
#include "FileNames.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"
#include "chooselang.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checklst.h>
#include <wx/choicdlg.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
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

// Whether some row of the middle of the area holds more than one colour: a button's or a
// toolbar's face, even a shaded one, is one colour along a row, a picture is not.
bool ShowsAPicture(wxWindow* window, const wxRect& area) {
    const int side = 12;
    const wxPoint middle = area.GetPosition() + (area.GetSize() - wxSize(side, side)) / 2;
    window->Update();
    wxClientDC screen(window);
    wxBitmap copy(side, side);
    {
        wxMemoryDC memory(copy);
        memory.Blit(0, 0, side, side, &screen, middle.x, middle.y);
    }
    const wxImage image = copy.ConvertToImage();
    const unsigned char* rgb = image.GetData();
    for (int pixel = 0; pixel < side * side; ++pixel)
        if (memcmp(rgb + 3 * pixel, rgb + 3 * (pixel - pixel % side), 3) != 0)
            return true;
    return false;
}

// Without img/ the toolkit's stock art stands in, so that every command can be seen.
TEST(StartupTest, AStartWithoutPicturesShowsEveryCommandAndNoMessage) {
    wxFileName::Rmdir(uitest::WorkDir() + "/img", wxPATH_RMDIR_RECURSIVE);
    Store()->Write("ui_language", "en");
    TallywickFrame* frame = uitest::StartProgram(); // any dialog would fail the test
    ASSERT_NE(frame, nullptr);
    for (wxBitmapButton* button :
         {frame->m_pBtnAddDir, frame->m_pBtnDeleteDir, frame->m_pBtnSelectType, frame->m_pBtnStart,
          frame->m_pBtnStop, frame->m_pBtnRefreshAnalysis, frame->m_pBtnRefreshDir,
          frame->m_pBtnRefreshDate, frame->m_pBtnRefreshExt})
        EXPECT_TRUE(ShowsAPicture(button, button->GetClientRect())) << button->GetName();
    for (long tool : {TallywickFrame::ID_TOOL_EXPORT, TallywickFrame::ID_TOOL_FILTER,
                      TallywickFrame::ID_TOOL_FULLSCREEN, TallywickFrame::ID_TOOL_LANGUAGE,
                      TallywickFrame::ID_TOOL_UPDATE, TallywickFrame::ID_TOOL_ABOUT}) {
        wxRect picture = frame->m_pToolBar->GetToolRect(tool);
        picture.width = picture.height; // left of a drop-down arrow
        EXPECT_TRUE(ShowsAPicture(frame->m_pToolBar, picture))
            << frame->m_pToolBar->FindTool(tool)->GetLabel();
    }
    uitest::SaveScreenshot("main-without-pictures");
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

    // A count edited far beyond the stored keys ends with the keys, not after 2^63 reads,
    // also when a key is no number.
    Store()->Write("/m_nDirectoryNum", 9223372036854775807L);
    Store()->Write("/Directory/junk", 1);
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

// Rules are written at exit only when they changed: a read-only rules file then fails, and
// that is told; unchanged, it is left alone in silence.
TEST(StartupTest, AFailedRulesSaveAtExitIsToldAndAMissingRulesFileIsNot) {
    Store()->Write("ui_language", "en");
    const wxString rules = uitest::WorkDir() + "/conf/conf.xml";
    chmod(rules.utf8_str(), 0444);
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_FALSE(frame->m_pCountingManager->m_ruleMap.empty());
    uitest::CloseProgram(frame); // any message would fail the test
    frame = uitest::StartProgram();
    frame->m_pCountingManager->m_ruleMap.begin()->second->m_strDesc += " (edited)";
    wxTEST_DIALOG(uitest::CloseProgram(frame),
                  uitest::ExpectMessage("The rules file could not be written: " + rules, wxID_OK,
                                        wxOK | wxCENTRE | wxICON_ERROR));
    EXPECT_TRUE(wxTopLevelWindows.empty());

    wxRemoveFile(rules);
    frame = uitest::StartProgram();
    uitest::CloseProgram(frame); // nothing loaded, nothing to write: no message
    EXPECT_FALSE(wxFileExists(rules));
}

// The parser's error says which file it is about.
TEST(StartupTest, AMalformedRulesFileIsNamedInTheError) {
    Store()->Write("ui_language", "en");
    const wxString rules = uitest::WriteFile("conf/conf.xml", "<rules>\n<rule>\n</rules>\n");
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_FALSE(uitest::LoggedMessages().empty());
    EXPECT_TRUE(uitest::LoggedMessages().Last().Contains("In the rules file " + rules +
                                                         ": XML parsing error"))
        << uitest::LoggedMessages().Last();
    uitest::CloseProgram(frame);
}

// One byte that is not UTF-8 in the store spoils no other entry; it stays as it is, as in a
// folder name, so that folder is found again.
TEST(StartupTest, EveryUtf8EntryOfTheStoreReadsAsWritten) {
    const std::string dirs[] = {"/tmp/\xE6\x97\xA5\xE6\x9C\xAC", "/tmp/caf\xE9",
                                "/tmp/\xC3\xA9t\xC3\xA9"};
    const wxString store = wxGetHomeDir() + "/.Tallywick";
    std::ofstream(store.fn_str()) << "ui_language=en\nm_nDirectoryNum=3\n[Directory]\n0=" << dirs[0]
                                  << "\n1=" << dirs[1] << "\n2=" << dirs[2] << "\n";
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_EQ(frame->m_pSourceDirList->GetCount(), 3u);
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_EQ(ToFileSystemPath(frame->m_pSourceDirList->GetString(i)), dirs[i]);
    uitest::CloseProgram(frame);
    std::ifstream saved(store.fn_str());
    const std::string bytes{std::istreambuf_iterator<char>(saved), {}};
    for (const std::string& dir : dirs)
        EXPECT_NE(bytes.find(dir), std::string::npos) << dir;
}
} // namespace
