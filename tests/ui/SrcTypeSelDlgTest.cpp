// The source-type selection dialog against maps of its own: the list, the check marks, OK,
// and adding, editing and deleting extensions.
#include "SrcTypeSelDlg.h"
#include "CounterRule.h"
#include "CounterRuleDlg.h"
#include "FileExtension.h"
#include "UiTestSupport.h"

#include <memory>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/textctrl.h>

namespace {
class SrcTypeSelDlgTest : public testing::Test {
protected:
    void SetUp() override {
        rules.emplace("C", std::make_unique<CounterRule>("C", "C family"));
        rules.emplace("Text", std::make_unique<CounterRule>("Text", "Plain text"));
        AddExt(".c", "C", "C source", true);
        AddExt(".h", "C", "C header", false);
        AddExt(".tar-gz", "Text", "Packed", false); // holds the separator's '-'
        AddExt(".txt", "Text", "Notes", true);
        dialog = std::make_unique<SrcTypeSelDlg>(nullptr);
        dialog->m_pRuleMap = &rules;
        dialog->m_pExtMap = &exts;
        dialog->Show(); // runs the dialog's initialisation, as ShowModal does
        uitest::Idle();
    }
    void AddExt(const wxString& ext, const char* rule, const char* desc, bool selected) {
        exts.emplace(ext, std::make_unique<FileExtension>(ext, rule, desc, selected));
    }
    wxCheckListBox* List() const { return dialog->m_pTypeList; }
    void Highlight(int item) {
        List()->SetSelection(item);
        uitest::Command(List(), wxEVT_LISTBOX, item);
    }
    int IndexOf(const wxString& ext) const {
        for (unsigned i = 0; i < List()->GetCount(); ++i)
            if (List()->GetString(i).StartsWith(ext + " - "))
                return static_cast<int>(i);
        return wxNOT_FOUND;
    }
    // The editor as Add opens it: the user types an extension and a description and presses
    // OK; when the editor refuses, the user cancels.
    uitest::ExpectDialog<CounterRuleDlg> AddInEditor(const wxString& ext) {
        return uitest::ExpectDialog<CounterRuleDlg>([ext](CounterRuleDlg* editor) {
            EXPECT_EQ(editor->m_nMode, CounterRuleDlg::MODE_ADD);
            editor->InitDialog();
            editor->m_pTxtExt->SetValue(ext);
            editor->m_pTxtDesc->SetValue("Added");
            uitest::Command(editor->m_pBtnOk, wxEVT_BUTTON);
            if (editor->GetReturnCode() != wxID_OK)
                uitest::Command(editor->m_pBtnCancel, wxEVT_BUTTON);
            return editor->GetReturnCode();
        });
    }

    CountingManager::RuleMap rules;
    CountingManager::ExtMap exts;
    std::unique_ptr<SrcTypeSelDlg> dialog;
};

TEST_F(SrcTypeSelDlgTest, ListsTheExtensionsAndOkTurnsTheCheckMarksIntoTheSelection) {
    ASSERT_EQ(List()->GetCount(), 4u);
    EXPECT_EQ(List()->GetString(0), ".c - C source ( C style )");
    const bool checked[] = {true, false, false, true};
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(List()->IsChecked(i), checked[i]) << i;
    EXPECT_FALSE(dialog->m_pBtnEdit->IsEnabled());
    Highlight(1);
    EXPECT_TRUE(dialog->m_pBtnDelete->IsEnabled());

    dialog->m_pChkSelectAll->SetValue(true);
    uitest::Command(dialog->m_pChkSelectAll, wxEVT_CHECKBOX, 1);
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_TRUE(List()->IsChecked(i));
    EXPECT_FALSE(exts[".h"]->m_bSelected); // not before OK
    List()->Check(0, false);
    uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog->m_strTypes, ".h;.tar-gz;.txt;");
    EXPECT_FALSE(exts[".c"]->m_bSelected);
    EXPECT_TRUE(exts[".h"]->m_bSelected);
    EXPECT_TRUE(exts[".tar-gz"]->m_bSelected);

    // Unchecking the box unchecks every item; OK then clears every flag.
    SrcTypeSelDlg again(nullptr);
    again.m_pExtMap = &exts;
    again.InitDialog();
    again.m_pChkSelectAll->SetValue(false);
    uitest::Command(again.m_pChkSelectAll, wxEVT_CHECKBOX, 0);
    uitest::Command(again.m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(again.m_strTypes, "");
    for (const auto& entry : exts)
        EXPECT_FALSE(entry.second->m_bSelected) << entry.first;
}

TEST_F(SrcTypeSelDlgTest, AddStoresANewExtensionAndRefusesAKnownOne) {
    List()->Check(1, true); // an unconfirmed check mark must survive the refill
    List()->Check(3, false);
    Highlight(0);
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnAdd, wxEVT_BUTTON), AddInEditor(" CPP"));
    ASSERT_EQ(exts.count(".cpp"), 1u);
    EXPECT_EQ(exts[".cpp"]->m_strRuleType, "C");
    EXPECT_FALSE(exts[".cpp"]->m_bSelected);
    ASSERT_EQ(List()->GetCount(), 5u);
    EXPECT_EQ(List()->GetString(IndexOf(".cpp")), ".cpp - Added ( C style )");
    EXPECT_FALSE(List()->IsChecked(IndexOf(".cpp")));
    EXPECT_TRUE(List()->IsChecked(IndexOf(".h")));
    EXPECT_FALSE(List()->IsChecked(IndexOf(".txt")));
    EXPECT_TRUE(List()->IsChecked(IndexOf(".c")));
    EXPECT_EQ(List()->GetSelection(), wxNOT_FOUND);
    EXPECT_FALSE(dialog->m_pBtnEdit->IsEnabled()); // nothing is highlighted after a refill

    const wxString cDescription = rules["C"]->m_strDesc;
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnAdd, wxEVT_BUTTON), AddInEditor(".TXT"),
                  uitest::ExpectMessage(_("Extension has existed!")));
    EXPECT_EQ(exts.size(), 5u);
    EXPECT_EQ(exts[".txt"]->m_strDesc, "Notes");
    EXPECT_EQ(rules["C"]->m_strDesc, cDescription);
}

TEST_F(SrcTypeSelDlgTest, EditAndDeleteWorkOnTheHighlightedItem) {
    Highlight(IndexOf(".txt"));
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnEdit, wxEVT_BUTTON),
                  uitest::ExpectDialog<CounterRuleDlg>([](CounterRuleDlg* editor) {
                      EXPECT_EQ(editor->m_nMode, CounterRuleDlg::MODE_EDIT);
                      editor->InitDialog();
                      EXPECT_EQ(editor->m_pTxtExt->GetValue(), ".txt");
                      editor->m_pTxtDesc->SetValue("Read me");
                      uitest::Command(editor->m_pBtnOk, wxEVT_BUTTON);
                      return editor->GetReturnCode();
                  }));
    EXPECT_EQ(List()->GetString(IndexOf(".txt")), ".txt - Read me ( Text style )");
    EXPECT_TRUE(List()->IsChecked(IndexOf(".txt")));

    // The '-' inside the extension does not lead Delete to another entry.
    Highlight(IndexOf(".tar-gz"));
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnDelete, wxEVT_BUTTON),
                  uitest::ExpectMessage(_("Do you want to delete it?"), wxID_NO));
    EXPECT_EQ(exts.size(), 4u);
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnDelete, wxEVT_BUTTON),
                  uitest::ExpectMessage(_("Do you want to delete it?"), wxID_YES));
    EXPECT_EQ(exts.count(".tar-gz"), 0u);
    EXPECT_EQ(List()->GetCount(), 3u);
    EXPECT_EQ(IndexOf(".tar-gz"), wxNOT_FOUND);

    // With nothing highlighted: Edit says "Error!"; Delete asks first.
    ASSERT_EQ(List()->GetSelection(), wxNOT_FOUND);
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnEdit, wxEVT_BUTTON),
                  uitest::ExpectMessage("Error!"));
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnDelete, wxEVT_BUTTON),
                  uitest::ExpectMessage(_("Do you want to delete it?"), wxID_YES),
                  uitest::ExpectMessage("Error!"));
    EXPECT_EQ(exts.size(), 3u);
}

TEST_F(SrcTypeSelDlgTest, TheListKeepsItsPlaceAndShowsAnAddedType) {
    for (int i = 0; i < 60; ++i)
        AddExt(wxString::Format(".x%02d", i), "Text", "More", false);
    dialog->FillTypeList();
    List()->SetFirstItem(30);
    ASSERT_TRUE(uitest::WaitFor([&] { return List()->GetTopItem() > 20; }));
    const int place = List()->GetTopItem();
    const auto kept = [&] {
        uitest::Idle();
        return List()->GetTopItem() == place;
    };

    Highlight(32);
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnEdit, wxEVT_BUTTON),
                  uitest::ExpectDialog<CounterRuleDlg>([](CounterRuleDlg* editor) {
                      editor->InitDialog();
                      uitest::Command(editor->m_pBtnOk, wxEVT_BUTTON);
                      return editor->GetReturnCode();
                  }));
    EXPECT_TRUE(kept()) << List()->GetTopItem();
    Highlight(32);
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnDelete, wxEVT_BUTTON),
                  uitest::ExpectMessage(_("Do you want to delete it?"), wxID_YES));
    EXPECT_TRUE(kept()) << List()->GetTopItem();

    // A new type that sorts last is scrolled to.
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnAdd, wxEVT_BUTTON), AddInEditor(".y"));
    EXPECT_TRUE(uitest::WaitFor([&] {
        const int item = IndexOf(".y"), first = List()->GetTopItem();
        return item >= first && item < first + List()->GetCountPerPage();
    })) << List()->GetTopItem();
}
} // namespace
