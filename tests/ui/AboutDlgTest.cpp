// The about box as the Help menu opens it.
#include "AboutDlg.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <wx/hyperlink.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {
class AboutDlgTest : public uitest::ProgramTest {};

TEST_F(AboutDlgTest, ShowsTheVersionTheToolkitBuildAndNoTitle) {
    EXPECT_EQ(GetWxBuildInfo(0), wxString::Format("wxWidgets %d.%d.%d", wxMAJOR_VERSION,
                                                  wxMINOR_VERSION, wxRELEASE_NUMBER));
    EXPECT_EQ(GetWxBuildInfo(1), GetWxBuildInfo(0) + "-Linux-Unicode build");
    const long about = TallywickFrame::ID_MENU_ABOUT;
    wxTEST_DIALOG(
        uitest::Command(frame, about), uitest::ExpectDialog<AboutDlg>([](AboutDlg* dialog) {
            EXPECT_EQ(dialog->GetTitle(), "");
            EXPECT_EQ(dialog->m_pProductName->GetLabel(), "Tallywick");
            EXPECT_EQ(dialog->m_pVersion->GetLabel(), "Version 4.0.2.0  (Build 160.12022021)");
            EXPECT_EQ(dialog->m_pBuildInfo->GetLabel(), GetWxBuildInfo(1));
            EXPECT_EQ(dialog->m_pLink->GetURL(), "https://blog.corvane.example/");
            EXPECT_TRUE(dialog->m_pLogo->GetBitmap().IsOk());
            EXPECT_TRUE(dialog->m_pIcon->GetBitmap().IsOk());
            return wxID_OK;
        }));

    uitest::DuringRun(frame, [&] { uitest::Command(frame, about); }); // no dialog
}
} // namespace
