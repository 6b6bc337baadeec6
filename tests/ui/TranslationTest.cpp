// The main window and the three dialogs in each interface language: translated, started
// without a message, and pictured for a look.
#include "AboutDlg.h"
#include "CounterRuleDlg.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "SrcTypeSelDlg.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/checklst.h>
#include <wx/config.h>
#include <wx/dcmemory.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
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

// Every text a window shows: labels (a title is one), tips, pages, columns, grid labels and
// status fields.
void Texts(wxWindow* window, wxArrayString& texts) {
    texts.Add(window->GetLabel());
    texts.Add(window->GetToolTipText());
    if (auto* list = dynamic_cast<wxListCtrl*>(window)) {
        wxListItem column;
        column.SetMask(wxLIST_MASK_TEXT);
        for (int i = 0; i < list->GetColumnCount() && list->GetColumn(i, column); ++i)
            texts.Add(column.GetText());
    } else if (auto* book = dynamic_cast<wxAuiNotebook*>(window)) {
        for (size_t i = 0; i < book->GetPageCount(); ++i)
            texts.Add(book->GetPageText(i));
    } else if (auto* grid = dynamic_cast<wxPropertyGrid*>(window)) {
        for (wxPropertyGridIterator it = grid->GetIterator(wxPG_ITERATE_ALL); !it.AtEnd(); ++it)
            texts.Add((*it)->GetLabel());
    } else if (auto* bar = dynamic_cast<wxAuiToolBar*>(window)) {
        for (size_t i = 0; i < bar->GetToolCount(); ++i)
            texts.Add(bar->FindToolByIndex(i)->GetShortHelp());
    } else if (auto* status = dynamic_cast<wxStatusBar*>(window)) {
        for (int i = 0; i < status->GetFieldsCount(); ++i)
            texts.Add(status->GetStatusText(i));
    }
    for (wxWindow* child : window->GetChildren())
        Texts(child, texts);
}

void Texts(const wxMenu& menu, wxArrayString& texts) {
    for (const wxMenuItem* item : menu.GetMenuItems())
        texts.Add(item->GetItemLabel()), texts.Add(item->GetHelp());
}

// A shown text that the catalog translates was shown without its lookup.
void ExpectLookedUp(wxWindow* window, wxArrayString texts = {}) {
    Texts(window, texts);
    for (const wxString& text : texts)
        EXPECT_EQ(wxGetTranslation(text), text) << "not looked up in " << window->GetLabel();
}

TEST_P(TranslationTest, EveryWindowShowsItsTextsTranslated) {
    const wxString language = GetParam().code;
    const bool pictures = !GetParam().withoutSystemLocale;
    EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(0) == "&File", language == "en");
    // The toolkit's own texts too: the caption of a warning, the buttons of its boxes.
    for (const char* own : {"%s Warning", "Cancel", "&Yes"})
        EXPECT_EQ(wxGetTranslation(own) == own, language == "en") << own;
    wxArrayString texts;
    for (size_t i = 0; i < frame->GetMenuBar()->GetMenuCount(); ++i) {
        texts.Add(frame->GetMenuBar()->GetMenuLabel(i));
        Texts(*frame->GetMenuBar()->GetMenu(i), texts);
    }
    for (const wxMenu* menu :
         {&frame->m_menuExport, &frame->m_menuFilter, &frame->m_menuListContext})
        Texts(*menu, texts);
    const wxAuiPaneInfoArray& panes = frame->m_pAuiManager->GetAllPanes();
    for (size_t i = 0; i < panes.GetCount(); ++i)
        texts.Add(panes[i].caption);
    ExpectLookedUp(frame, texts);
    if (pictures)
        uitest::SaveScreenshot("main-" + language);

    // Every analysis label and value is read in full.
    wxPropertyGrid* grid = frame->m_pAnalysisGrid;
    wxPropertyGridPageState* state = grid->GetState();
    for (wxPropertyGridIterator it = grid->GetIterator(); !it.AtEnd(); ++it) {
        wxPGProperty* property = *it;
        const wxString value = property->GetDisplayedString() + " " +
                               property->GetAttribute(wxPG_ATTR_UNITS).GetString();
        EXPECT_LE(grid->GetTextExtent(property->GetLabel()).x + 2 * wxPG_XBEFORETEXT,
                  state->GetColumnWidth(0))
            << property->GetLabel();
        EXPECT_LE(grid->GetTextExtent(value).x + 2 * wxPG_XBEFORETEXT, state->GetColumnWidth(1))
            << value;
    }

    CountingManager& manager = *frame->m_pCountingManager;
    manager.m_extMap.at(".c")->m_bSelected = true;
    manager.m_extMap.at(".cpp")->m_bSelected = true;
    SrcTypeSelDlg types(frame);
    types.m_pRuleMap = &manager.m_ruleMap;
    types.m_pExtMap = &manager.m_extMap;
    CounterRuleDlg rule(frame, CounterRuleDlg::MODE_EDIT);
    rule.m_pRuleMap = &manager.m_ruleMap;
    rule.m_pFileExt = manager.m_extMap[".cpp"].get();
    AboutDlg about(frame);
    const std::pair<wxDialog*, const char*> dialogs[] = {
        {&types, "srctype"}, {&rule, "rule"}, {&about, "about"}};
    for (const auto& [dialog, name] : dialogs) {
        dialog->Show();
        if (dialog == &types) { // the checked C items, one of them highlighted
            const int c = (int)std::distance(manager.m_extMap.begin(), manager.m_extMap.find(".c"));
            types.m_pTypeList->SetSelection(c);
            uitest::Command(types.m_pTypeList, wxEVT_LISTBOX, c);
            types.m_pTypeList->EnsureVisible(c);
        }
        ExpectLookedUp(dialog); // its label is its title
        if (pictures)
            uitest::SaveWindowScreenshot(wxString("dialog-") + name + "-" + language, dialog);
        dialog->Hide();
    }
    EXPECT_EQ(types.m_pTypeList->GetCount(), manager.m_extMap.size());
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
        EXPECT_LE(std::max(abs(drawn.x - written.x), abs(drawn.y - written.y)), 1)
            << "field " << field << " at width " << width;
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
