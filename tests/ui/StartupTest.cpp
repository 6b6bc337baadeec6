// Start-up and exit: the interface language, the stored settings and missing data.
#include "CounterRule.h"
#include "CountingManager.h"
#include "FileNames.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"
#include "chooselang.h"

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/stat.h>
#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checklst.h>
#include <wx/choicdlg.h>
#include <wx/config.h>
#include <wx/dir.h>
#include <wx/display.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/timer.h>

namespace {
using Values = std::map<std::string, std::string>;

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

// values, "key=value|key=value", changed by changes.
Values With(Values values, const wxString& changes) {
    for (const wxString& change : wxSplit(changes, '|'))
        values[change.BeforeFirst('=').ToStdString()] = change.AfterFirst('=').ToStdString();
    return values;
}

// Every setting with the value a start stores when it has none ("" for no entry), and what
// the window shows with them.
const Values DEFAULTS = With({}, "m_nPreserveFrameSizePos=1|x=40|y=16|w=940|h=616|"
                                 "m_nShowFilterDirectory=1|m_nShowFilterExtension=1|"
                                 "m_nShowFilterModifiedDate=1|m_nHideMenuBar=1|m_nHideStatusBar=1|"
                                 "m_nPreserveDirectory=1|m_nDirectoryNum=0|Directory/0=");
const Values SHOWN_BY_DEFAULT = With(
    {}, "position=40,16|size=940x616|Directory Filter=1|Extension Filter=1|"
        "Modified Date Filter=1|menu bar in full screen=0|status bar in full screen=0|folders=");

// The stored value of each key of keys.
Values Stored(const Values& keys = DEFAULTS) {
    Values values;
    for (const auto& [key, value] : keys)
        values[key] = Store()->HasEntry("/" + key) ? Store()->Read("/" + key).ToStdString() : "";
    return values;
}

Values Shown(TallywickFrame* frame) {
    const wxPoint position = frame->GetPosition();
    const wxSize size = frame->GetClientSize();
    wxString shown = wxString::Format("position=%d,%d|size=%dx%d|folders=", position.x, position.y,
                                      size.x, size.y);
    for (const wxString& folder : frame->m_pSourceDirList->GetStrings())
        shown += folder + ";";
    for (const char* pane : {"Directory Filter", "Extension Filter", "Modified Date Filter"})
        shown << "|" << pane << "=" << frame->m_pAuiManager->GetPane(pane).IsShown();
    uitest::Command(frame, TallywickFrame::ID_MENU_FULLSCREEN);
    shown << "|menu bar in full screen=" << frame->GetMenuBar()->IsShown()
          << "|status bar in full screen=" << frame->GetStatusBar()->IsShown();
    uitest::Command(frame, TallywickFrame::ID_MENU_FULLSCREEN);
    // Without a window manager the old geometry does not come back by itself.
    uitest::WaitFor([&] {
        frame->Move(position);
        frame->SetClientSize(size);
        return !frame->IsFullScreen() && frame->GetScreenPosition() == position &&
               frame->GetClientSize() == size;
    });
    uitest::Idle(300);
    return With({}, shown);
}

TEST(StartupTest, EverySettingHasItsDefaultAndItsStoredValueIsShownAndKept) {
    TallywickFrame* frame = nullptr;
    wxTEST_DIALOG(frame = uitest::StartProgram(), ChooseLanguage(2)); // English
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Stored(), DEFAULTS);
    EXPECT_EQ(Shown(frame), SHOWN_BY_DEFAULT);
    uitest::CloseProgram(frame);

    // What an earlier run stored, and what the window shows then; the store keeps it all but
    // what the saving changes.
    const struct {
        const char* stored;
        const char* shown;
        const char* saved = "";
    } cases[] = {{"x=100", "position=100,16"},
                 {"y=50", "position=40,50"},
                 {"w=800", "size=800x616"},
                 {"h=500", "size=940x500"},
                 {"m_nPreserveFrameSizePos=0|x=300|y=|w=|h=500", ""},
                 {"m_nShowFilterDirectory=0", "Directory Filter=0"},
                 {"m_nShowFilterExtension=0", "Extension Filter=0"},
                 {"m_nShowFilterModifiedDate=2", "Modified Date Filter=0"},
                 {"m_nHideMenuBar=0", "menu bar in full screen=1"},
                 {"m_nHideStatusBar=0", "status bar in full screen=1"},
                 {"m_nDirectoryNum=1|Directory/0=/src/a", "folders=/src/a;"},
                 {"m_nDirectoryNum=2|Directory/0=/src/a|Directory/1=/src/b|Directory/2=/src/c",
                  "folders=/src/a;/src/b;", "Directory/2="},
                 {"m_nPreserveDirectory=0|m_nDirectoryNum=1|Directory/0=/src/a", ""}};
    for (const auto& [stored, shown, saved] : cases) {
        SCOPED_TRACE(stored);
        Store()->DeleteAll();
        Store()->Write("/ui_language", "en");
        for (const auto& [key, value] : With({}, stored))
            if (!value.empty()) // "": neither read nor written
                Store()->Write("/" + key, wxString(value));
        frame = uitest::StartProgram();
        EXPECT_EQ(Shown(frame), With(SHOWN_BY_DEFAULT, shown));
        uitest::CloseProgram(frame);
        const Values kept = With(With(DEFAULTS, stored), saved);
        EXPECT_EQ(Stored(kept), kept);
    }
}

TEST(StartupTest, TheLanguageIsAskedUntilChosenAndStoredByItsName) {
    Store()->SetRecordDefaults(true); // as the program's start-up does
    const struct {
        int choice;
        const char* stored;
        wxLanguage language;
    } cases[] = {{-1, "", wxLANGUAGE_DEFAULT},
                 {0, "default", wxLANGUAGE_DEFAULT},
                 {1, "zh_CN", wxLANGUAGE_CHINESE_SIMPLIFIED},
                 {2, "en", wxLANGUAGE_ENGLISH},
                 {3, "ja", wxLANGUAGE_JAPANESE}};
    for (const auto& c : cases) {
        wxLanguage language = wxLANGUAGE_UNKNOWN;
        wxTEST_DIALOG(language = GetUILanguage(), ChooseLanguage(c.choice));
        EXPECT_EQ(language, c.language) << c.stored;
        EXPECT_EQ(Store()->Read("ui_language", "unset"), c.stored);
        if (c.choice >= 0) { // read back without a question
            EXPECT_EQ(GetUILanguage(), c.language) << c.stored;
            // On disk at once: a program killed before its end is not asked again.
            wxString onDisk;
            wxFFile(wxGetHomeDir() + "/.Tallywick").ReadAll(&onDisk);
            EXPECT_TRUE(onDisk.Contains(wxString("ui_language=") + c.stored + "\n")) << onDisk;
        }
        Store()->Write("ui_language", ""); // asked again at the next start
    }
    Store()->Write("ui_language", "Default"); // not "default": looked up, and unknown
    EXPECT_EQ(GetUILanguage(), wxLANGUAGE_DEFAULT);
    EXPECT_TRUE(
        uitest::LoggedMessages().Last().Contains("Uknown locale code 'Default' in registry."));
    EXPECT_EQ(Store()->Read("ui_language", ""), "Default");
}

// A stored language is taken without a question, and only a name that the toolkit does
// not know is told, once.
TEST(StartupTest, AStoredLanguageIsTakenInSilenceUnlessUnknown) {
    const struct {
        const char* stored;
        wxLanguage language;
        std::size_t told;
    } cases[] = {{"default", wxLANGUAGE_DEFAULT, 0},
                 {"en", wxLANGUAGE_ENGLISH, 0},
                 {"zh_CN", wxLANGUAGE_CHINESE_SIMPLIFIED, 0},
                 {"ja", wxLANGUAGE_JAPANESE, 0},
                 {"xx", wxLANGUAGE_DEFAULT, 1}};
    for (const auto& c : cases) {
        Store()->Write("ui_language", c.stored);
        const std::size_t before = uitest::LoggedMessages().size();
        EXPECT_EQ(GetUILanguage(), c.language) << c.stored; // a question fails the test
        EXPECT_EQ(uitest::LoggedMessages().size() - before, c.told) << c.stored;
    }
}

// A language that the toolkit knows but whose system locale is not installed still starts
// without a message; the catalogs translate without the locale.
TEST(StartupTest, ALanguageWithoutItsSystemLocaleStartsWithoutAMessage) {
    ASSERT_FALSE(wxLocale::IsAvailable(wxLANGUAGE_ABKHAZIAN)); // else this tests nothing
    Store()->Write("ui_language", "ab");
    TallywickFrame* frame = uitest::StartProgram(); // any dialog would fail the test
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(uitest::LoggedMessages(), wxArrayString());
    uitest::CloseProgram(frame);
}

// Whether some row of the middle of the area holds more than one colour: a button's or a
// toolbar's face, even a shaded one, is one colour along a row, a picture is not.
bool ShowsAPicture(wxWindow* window, const wxRect& area) {
    const wxSize side(12, 12);
    window->Update();
    const wxImage image = uitest::Drawn(window).GetSubImage(
        wxRect(area.GetPosition() + (area.GetSize() - side) / 2, side));
    for (int pixel = 0; pixel < side.x * side.y; ++pixel)
        if (memcmp(image.GetData() + 3 * pixel, image.GetData() + 3 * (pixel - pixel % side.x), 3))
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

// Off every display: the defaults. Partly off, or larger than the screen: moved and shrunk into
// its work area (a size of -1 fills it), and saved so. Where the user leaves it, it is saved.
TEST(StartupTest, TheWindowOpensOnTheScreenAndIsSavedWhereTheUserLeftIt) {
    Store()->Write("ui_language", "en");
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
        for (const auto& [key, value] :
             {std::pair("x", geometry.x), {"y", geometry.y}, {"w", geometry.w}, {"h", geometry.h}})
            Store()->Write(key, value);
        TallywickFrame* frame = uitest::StartProgram();
        EXPECT_TRUE(area.Contains(frame->GetRect())) << geometry.x;
        EXPECT_EQ(frame->GetPosition(), geometry.position) << geometry.x;
        EXPECT_EQ(geometry.client.x < 0 ? frame->GetSize() : frame->GetClientSize(),
                  geometry.client.x < 0 ? area.GetSize() : geometry.client)
            << geometry.x;
        frame->Move(120, 60);
        frame->SetClientSize(900, 600);
        uitest::Idle();
        uitest::CloseProgram(frame);
        EXPECT_EQ(wxPoint(Store()->ReadLong("x", 0), Store()->ReadLong("y", 0)), wxPoint(120, 60));
        EXPECT_EQ(wxSize(Store()->ReadLong("w", 0), Store()->ReadLong("h", 0)), wxSize(900, 600));
    }
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
// that is told; unchanged or missing, it is left alone in silence. A parser's error names it.
TEST(StartupTest, TheRulesFileIsWrittenOnlyWhenChangedAndNamedInItsErrors) {
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
    uitest::CloseProgram(uitest::StartProgram()); // nothing loaded, nothing to write
    EXPECT_FALSE(wxFileExists(rules));

    uitest::WriteFile("conf/conf.xml", "<rules>\n<rule>\n</rules>\n");
    uitest::CloseProgram(uitest::StartProgram());
    ASSERT_FALSE(uitest::LoggedMessages().empty());
    EXPECT_TRUE(uitest::LoggedMessages().Last().Contains("In the rules file " + rules +
                                                         ": XML parsing error"))
        << uitest::LoggedMessages().Last();
}

// With ~/.Tallywick a folder no write can succeed: the language chosen at the start, the
// close and the store's own end each try, and none leaves a file behind.
TEST(StartupTest, SettingsThatCannotBeWrittenLeaveNoFileBehind) {
    delete wxConfigBase::Set(nullptr); // read anew, from the folder
    const wxString home = wxGetHomeDir();
    ASSERT_TRUE(wxFileName::Mkdir(home + "/.Tallywick"));
    TallywickFrame* frame = nullptr;
    wxTEST_DIALOG(frame = uitest::StartProgram(), ChooseLanguage(2));
    ASSERT_NE(frame, nullptr);
    uitest::CloseProgram(frame);
    EXPECT_FALSE(Store()->Flush());
    delete wxConfigBase::Set(nullptr);
    wxArrayString left;
    wxDir::GetAllFiles(home, &left, "", wxDIR_FILES | wxDIR_HIDDEN);
    EXPECT_EQ(left, wxArrayString());
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
