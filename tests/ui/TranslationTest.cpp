// The main window and the three dialogs in each interface language: translated, started
// without a message, and pictured for a look.
#include "AboutDlg.h"
#include "CounterRuleDlg.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "SrcTypeSelDlg.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <cstdlib>
#include <iterator>
#include <string>
#include <wx/checklst.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/filename.h>
#include <wx/propgrid/propgrid.h>
#include <wx/statusbr.h>

namespace {
struct Language {
    const char* code; // as stored
    // The system has no locale data at all, so it cannot set the language up; the catalog
    // must translate all the same. Pictures of this case would repeat the language's own.
    bool withoutSystemLocale;
};

class TranslationTest : public testing::TestWithParam<Language> {
protected:
    void SetUp() override {
        if (GetParam().withoutSystemLocale) {
            const wxString empty = uitest::WorkDir() + "/no-locales";
            wxFileName::Mkdir(empty);
            setenv("LOCPATH", empty.utf8_str(), 1);
        }
        wxConfigBase::Get()->Write("ui_language", GetParam().code);
        frame = uitest::StartProgram();
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        if (frame)
            uitest::CloseProgram(frame);
    }

    TallywickFrame* frame = nullptr;
};

TEST_P(TranslationTest, EveryWindowIsTranslated) {
    const wxString language = GetParam().code;
    const bool pictures = !GetParam().withoutSystemLocale;
    const bool english = language == "en";
    EXPECT_EQ(frame->m_pStatusBar->GetStatusText(0), wxGetTranslation("Ready"));
    EXPECT_EQ(frame->m_pStatusBar->GetStatusText(0) == "Ready", english);
    EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(0) == "&File", english);
    if (pictures)
        uitest::SaveScreenshot("main-" + language);

    // Every analysis label and value is read in full.
    wxPropertyGrid* grid = frame->m_pAnalysisGrid;
    wxPropertyGridPageState* state = grid->GetState();
    for (wxPropertyGridIterator it = grid->GetIterator(); !it.AtEnd(); ++it) {
        wxPGProperty* property = *it;
        const wxString value = property->GetDisplayedString() + " " +
                               property->GetAttribute(wxPG_ATTR_UNITS).GetString();
        EXPECT_LE(state->GetColumnFullWidth(property, 0), state->GetColumnWidth(0))
            << property->GetLabel();
        EXPECT_LE(grid->GetTextExtent(value).x + 2 * wxPG_XBEFORETEXT, state->GetColumnWidth(1))
            << value;
    }

    CountingManager& manager = *frame->m_pCountingManager;
    ASSERT_EQ(manager.m_extMap.count(".cpp"), 1u);
    manager.m_extMap[".c"]->m_bSelected = true;
    manager.m_extMap[".cpp"]->m_bSelected = true;
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
        if (pictures)
            uitest::SaveWindowScreenshot("dialog-srctype-" + language, &dialog);
    }
    {
        CounterRuleDlg dialog(frame, CounterRuleDlg::MODE_EDIT);
        dialog.m_pRuleMap = &manager.m_ruleMap;
        dialog.m_pFileExt = manager.m_extMap[".cpp"].get();
        dialog.Show();
        EXPECT_EQ(dialog.GetTitle() == "File type setting dialog", english);
        if (pictures)
            uitest::SaveWindowScreenshot("dialog-rule-" + language, &dialog);
    }
    if (pictures) {
        AboutDlg dialog(frame);
        dialog.Show();
        uitest::SaveWindowScreenshot("dialog-about-" + language, &dialog);
    }
    EXPECT_TRUE(uitest::LoggedMessages().empty()) << uitest::LoggedMessages()[0];
}

// The ink of a status text as the bar draws it, against the same text written in the bar's
// font with room to spare: the same size means that nothing is cut off or shortened.
TEST_P(TranslationTest, TheStatusBarShowsItsTextsWhole) {
    wxStatusBar* bar = frame->m_pStatusBar;
    const auto ink = [bar](int field) {
        wxRect area;
        bar->GetFieldRect(field, area);
        const wxRect drawn = uitest::InkBounds(uitest::Drawn(bar).GetSubImage(area.Deflate(1)));
        const wxString text = bar->GetStatusText(field);
        wxBitmap page(bar->GetTextExtent(text) + wxSize(8, 8));
        wxMemoryDC dc(page);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        dc.SetFont(bar->GetFont());
        dc.DrawText(text, 4, 4);
        dc.SelectObject(wxNullBitmap);
        return std::make_pair(drawn.GetSize(), uitest::InkBounds(page.ConvertToImage()).GetSize());
    };
    // Every field at the usual size; at a width of 800 the state of a run still.
    const std::pair<int, int> cases[] = {{0, 0}, {0, 2}, {0, 3}, {800, 0}};
    for (const auto& [width, field] : cases) {
        if (width) {
            frame->SetSize(width, -1);
            ASSERT_TRUE(uitest::WaitFor([&] { return bar->GetSize().x == width; }));
        }
        bar->Update();
        const auto [drawn, written] = ink(field);
        EXPECT_NEAR(drawn.x, written.x, 1) << "field " << field << " at width " << width;
        EXPECT_NEAR(drawn.y, written.y, 1) << "field " << field << " at width " << width;
    }
    // A path too long for field 0 is shortened in the middle.
    bar->SetStatusText("/home/user/" + wxString('x', 200) + "/main.c", 0);
    EXPECT_TRUE(uitest::WaitFor([&] { return bar->GetField(0).IsEllipsized(); }));
    const auto [drawn, written] = ink(0);
    EXPECT_LT(drawn.x, written.x);
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslationTest,
                         testing::Values(Language{"en", false}, Language{"zh_CN", false},
                                         Language{"ja", false}, Language{"ja_JP", true}),
                         [](const auto& info) { return std::string(info.param.code); });
} // namespace
