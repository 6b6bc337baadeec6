// The about box as the Help menu opens it, and the links of the program, which open in the
// user's browser and never in a window of ours.
#include "AboutDlg.h"
#include "CheckVerThread.h"
#include "CrvHtmlWin.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <dlfcn.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/hyperlink.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {
class AboutDlgTest : public uitest::ProgramTest {};

TEST_F(AboutDlgTest, ShowsTheVersionTheToolkitBuildAndNoTitle) {
    EXPECT_EQ(GetWxBuildInfo(0), wxString::Format("wxWidgets %d.%d.%d", wxMAJOR_VERSION,
                                                  wxMINOR_VERSION, wxRELEASE_NUMBER));
    const long about = TallywickFrame::ID_MENU_ABOUT;
    wxTEST_DIALOG(
        uitest::Command(frame, about), uitest::ExpectDialog<AboutDlg>([](AboutDlg* dialog) {
            EXPECT_EQ(dialog->GetTitle(), "");
            EXPECT_EQ(dialog->m_pProductName->GetLabel(), "Tallywick");
            EXPECT_EQ(dialog->m_pVersion->GetLabel(), "Version 4.0.2.0  (Build 160.12022021)");
            EXPECT_EQ(dialog->m_pBuildInfo->GetLabel(), GetWxBuildInfo(0) + "-Linux-Unicode build");
            EXPECT_EQ(dialog->m_pLink->GetLabel(), "https://blog.corvane.example/");
            EXPECT_TRUE(dialog->m_pLogo->GetBitmap().IsOk());
            EXPECT_TRUE(dialog->m_pIcon->GetBitmap().IsOk());
            return wxID_OK;
        }));

    uitest::DuringRun(frame, [&] { uitest::Command(frame, about); }); // no dialog
}

// The desktop's handler of web links, for this test's HOME: it notes each link it is given.
wxString InstallBrowser() {
    const wxString home = wxGetHomeDir(), noted = home + "/opened";
    wxFileName::Mkdir(home + "/.local/share/applications", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxFileName::Mkdir(home + "/.config", wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxFFile(home + "/.local/share/applications/noting-browser.desktop", "w")
        .Write("[Desktop Entry]\nType=Application\nName=Noting browser\nExec=sh -c 'echo \"$1\" "
               ">> " +
               noted + "' sh %u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n");
    wxFFile(home + "/.config/mimeapps.list", "w")
        .Write("[Default Applications]\nx-scheme-handler/http=noting-browser.desktop\n"
               "x-scheme-handler/https=noting-browser.desktop\n");
    return noted;
}

TEST_F(AboutDlgTest, LinksOpenInTheBrowserAndTheViewStays) {
    const wxString noted = InstallBrowser();
    AboutDlg about(frame);
    about.Show();
    CrvHtmlWin* view = frame->m_pHtmlWin;
    const wxString page = view->ToText();
    const std::pair<std::function<void()>, wxString> cases[] = {
        {[&] { uitest::Command(frame, TallywickFrame::ID_MENU_UPDATE); },
         CheckVerThread::UPDATE_PAGE_URL},
        {[&] {
             // A click on the about box's link, as the native control receives it.
             using Click = void (*)(void*);
             reinterpret_cast<Click>(dlsym(RTLD_DEFAULT, "gtk_button_clicked"))(
                 about.m_pLink->GetHandle());
         },
         AboutDlg::WEBLOG_URL},
        {[&] { view->OnLinkClicked(wxHtmlLinkInfo("https://a.example/x?y")); },
         "https://a.example/x?y"},
        {[&] { view->OnLinkClicked(wxHtmlLinkInfo("HTTP://b.example/")); }, "HTTP://b.example/"},
    };
    for (const auto& [click, url] : cases) {
        wxRemoveFile(noted);
        click();
        wxString opened;
        EXPECT_TRUE(uitest::WaitFor(
            [&] {
                return wxFileExists(noted) && wxFFile(noted).ReadAll(&opened) && !opened.empty();
            },
            10000))
            << url;
        EXPECT_EQ(opened, url + "\n");
        EXPECT_EQ(view->GetOpenedPage(), "");
        EXPECT_EQ(view->ToText(), page);
    }
}
} // namespace
