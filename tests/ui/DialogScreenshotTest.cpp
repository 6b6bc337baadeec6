// Pictures of the three dialogs in each interface language, filled as a user meets them.
#include "AboutDlg.h"
#include "CounterRuleDlg.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "SrcTypeSelDlg.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>
#include <iterator>
#include <wx/checklst.h>
#include <wx/config.h>

namespace {
class DialogScreenshotTest : public testing::TestWithParam<const char*> {};

TEST_P(DialogScreenshotTest, TheDialogsAreCompleteInEveryLanguage) {
    const wxString language = GetParam();
    wxConfigBase::Get()->Write("ui_language", language);
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_NE(frame, nullptr);
    CountingManager& manager = *frame->m_pCountingManager;
    ASSERT_EQ(manager.m_extMap.count(".cpp"), 1u);
    manager.m_extMap[".c"]->m_bSelected = true;
    manager.m_extMap[".cpp"]->m_bSelected = true;
    const bool english = language == "en";

    {
        SrcTypeSelDlg dialog(frame);
        dialog.m_pRuleMap = &manager.m_ruleMap;
        dialog.m_pExtMap = &manager.m_extMap;
        dialog.Show();
        EXPECT_EQ(dialog.GetTitle() == "Select types dialog", english);
        EXPECT_EQ(dialog.m_pTypeList->GetCount(), manager.m_extMap.size());
        // Show the checked C items, one of them highlighted.
        const int c = (int)std::distance(manager.m_extMap.begin(), manager.m_extMap.find(".c"));
        dialog.m_pTypeList->SetSelection(c);
        uitest::Command(dialog.m_pTypeList, wxEVT_LISTBOX, c);
        dialog.m_pTypeList->EnsureVisible(c);
        uitest::SaveWindowScreenshot("dialog-srctype-" + language, &dialog);
    }
    {
        CounterRuleDlg dialog(frame, CounterRuleDlg::MODE_EDIT);
        dialog.m_pRuleMap = &manager.m_ruleMap;
        dialog.m_pFileExt = manager.m_extMap[".cpp"].get();
        dialog.Show();
        EXPECT_EQ(dialog.GetTitle() == "File type setting dialog", english);
        uitest::SaveWindowScreenshot("dialog-rule-" + language, &dialog);
    }
    {
        AboutDlg dialog(frame);
        dialog.Show();
        uitest::SaveWindowScreenshot("dialog-about-" + language, &dialog);
    }
    EXPECT_TRUE(uitest::LoggedMessages().empty()) << uitest::LoggedMessages()[0];
    uitest::CloseProgram(frame);
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogScreenshotTest, testing::Values("en", "zh_CN", "ja"));
} // namespace
