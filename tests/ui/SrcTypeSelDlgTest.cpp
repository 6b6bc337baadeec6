// The source-type selection dialog against maps of its own: the list, the check marks, the
// buttons, and adding, editing and deleting extensions.
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
const wxString DELETE_IT = "Do you want to delete it?";

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
    void AddExt(const wxString& ext, const wxString& rule, const wxString& desc, bool selected) {
        exts.emplace(ext, std::make_unique<FileExtension>(ext, rule, desc, selected));
    }
    wxCheckListBox* List() const { return dialog->m_pTypeList; }
    void Highlight(const wxString& ext) {
        const int item = IndexOf(ext);
        List()->SetSelection(item);
        uitest::Command(List(), wxEVT_LISTBOX, item);
    }
    int IndexOf(const wxString& ext) const {
        for (unsigned i = 0; i < List()->GetCount(); ++i)
            if (List()->GetString(i).StartsWith(ext + " - "))
                return static_cast<int>(i);
        return wxNOT_FOUND;
    }
    void Press(wxButton* button) { uitest::Command(button, wxEVT_BUTTON); }
    // The check marks ('x'), the highlighted item and the buttons that can be pressed.
    wxString Shown() const {
        wxString shown;
        for (unsigned i = 0; i < List()->GetCount(); ++i)
            shown += List()->IsChecked(i) ? "x" : "-";
        const int item = List()->GetSelection();
        shown += " " + (item == wxNOT_FOUND ? "-" : List()->GetString(item).BeforeFirst(' '));
        for (wxButton* button : {dialog->m_pBtnAdd, dialog->m_pBtnEdit, dialog->m_pBtnDelete,
                                 dialog->m_pBtnOk, dialog->m_pBtnCancel})
            if (button->IsEnabled())
                shown += " " + button->GetLabel();
        return shown;
    }
    // The extension flags that a run counts by.
    wxString Selected() const {
        wxString selected;
        for (const auto& [key, ext] : exts)
            selected += ext->m_bSelected ? "x" : "-";
        return selected;
    }
    // The editor as Add or Edit opens it: the user types what is given and presses OK; when
    // the editor refuses, the user cancels.
    static uitest::ExpectDialog<CounterRuleDlg> Editor(int mode, const wxString& ext,
                                                       const wxString& desc) {
        return uitest::ExpectDialog<CounterRuleDlg>([=](CounterRuleDlg* editor) {
            EXPECT_EQ(editor->m_nMode, mode);
            editor->InitDialog();
            if (mode == CounterRuleDlg::MODE_ADD)
                editor->m_pTxtExt->SetValue(ext);
            else
                EXPECT_EQ(editor->m_pTxtExt->GetValue(), ext);
            editor->m_pTxtDesc->SetValue(desc);
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

TEST_F(SrcTypeSelDlgTest, ChecksAndButtonsFollowTheUserAndOnlyOkTakesTheChecks) {
    EXPECT_EQ(List()->GetString(0), ".c - C source ( C style )");
    EXPECT_EQ(List()->GetString(3), ".txt - Notes ( Text style )");
    const auto selectAll = [this](bool on) {
        dialog->m_pChkSelectAll->SetValue(on);
        uitest::Command(dialog->m_pChkSelectAll, wxEVT_CHECKBOX, on);
    };
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[] {}, "x--x - &Add... &OK &Cancel"},
        {[&] { Highlight(".h"); }, "x--x .h &Add... &Edit... &Delete &OK &Cancel"},
        {[&] { selectAll(true); }, "xxxx .h &Add... &Edit... &Delete &OK &Cancel"},
        {[&] { selectAll(false); }, "---- .h &Add... &Edit... &Delete &OK &Cancel"},
        {[&] { List()->Check(2, true); }, "--x- .h &Add... &Edit... &Delete &OK &Cancel"},
    };
    for (const auto& [step, shown] : steps) {
        step();
        EXPECT_EQ(Shown(), shown);
        EXPECT_EQ(Selected(), "x--x"); // not before OK
    }
    Press(dialog->m_pBtnCancel);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_CANCEL);
    EXPECT_EQ(Selected(), "x--x");
    Press(dialog->m_pBtnOk);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(dialog->m_strTypes, ".tar-gz;");
    EXPECT_EQ(Selected(), "--x-");
}

// Add, Edit and Delete change their own item only: unconfirmed checks and the list's place
// stay, nothing is highlighted afterwards, and an added type is brought into view.
TEST_F(SrcTypeSelDlgTest, AddEditAndDeleteChangeTheirOwnItemOnly) {
    for (int i = 0; i < 60; ++i)
        AddExt(wxString::Format(".x%02d", i), "Text", "More", false);
    dialog->FillTypeList();
    List()->Check(IndexOf(".h"), true);
    List()->Check(IndexOf(".txt"), false);
    List()->SetFirstItem(30);
    ASSERT_TRUE(uitest::WaitFor([&] { return List()->GetTopItem() > 20; }));
    const int place = List()->GetTopItem();
    const auto edit = [&](const char* ext, const char* desc) {
        Highlight(ext);
        wxTEST_DIALOG(Press(dialog->m_pBtnEdit), Editor(CounterRuleDlg::MODE_EDIT, ext, desc));
    };
    const auto erase = [&](const char* ext, int answer) {
        Highlight(ext);
        wxTEST_DIALOG(Press(dialog->m_pBtnDelete), uitest::ExpectMessage(DELETE_IT, answer));
    };
    const struct {
        std::function<void()> action;
        const char* item;  // the item to look at afterwards
        const char* shown; // its text, or "" when it is gone
        wxString marks;    // of the first items, and what else Shown() tells if not the usual
        bool keepsPlace;
    } cases[] = {
        {[&] { edit(".x28", "Same"); }, ".x28", ".x28 - Same ( Text style )", "xx--", true},
        {[&] { erase(".x29", wxID_YES); }, ".x29", "", "xx--", true},
        {[&] { edit(".txt", "Read me"); }, ".txt", ".txt - Read me ( Text style )", "xx--", false},
        {[&] { erase(".tar-gz", wxID_NO); }, ".tar-gz", ".tar-gz - Packed ( Text style )",
         "xx-- .tar-gz &Add... &Edit... &Delete &OK &Cancel", false},
        {[&] { erase(".tar-gz", wxID_YES); }, ".tar-gz", "", "xx-", false},
        {[&] {
             wxTEST_DIALOG(Press(dialog->m_pBtnAdd),
                           Editor(CounterRuleDlg::MODE_ADD, " CPP", "Added"));
         },
         ".cpp", ".cpp - Added ( C style )", "x-x-", false},
        {[&] {
             wxTEST_DIALOG(Press(dialog->m_pBtnAdd),
                           Editor(CounterRuleDlg::MODE_ADD, ".TXT", "Twice"),
                           uitest::ExpectMessage(_("Extension has existed!")));
         },
         ".txt", ".txt - Read me ( Text style )", "x-x-", false},
        // With nothing highlighted: Edit says "Error!"; Delete asks first.
        {[&] { wxTEST_DIALOG(Press(dialog->m_pBtnEdit), uitest::ExpectMessage("Error!")); }, ".c",
         ".c - C source ( C style )", "x-x-", false},
        {[&] {
             wxTEST_DIALOG(Press(dialog->m_pBtnDelete), uitest::ExpectMessage(DELETE_IT, wxID_YES),
                           uitest::ExpectMessage("Error!"));
         },
         ".c", ".c - C source ( C style )", "x-x-", false},
    };
    for (const auto& c : cases) {
        c.action();
        SCOPED_TRACE(c.item);
        const int item = IndexOf(c.item);
        EXPECT_EQ(item == wxNOT_FOUND ? "" : List()->GetString(item), c.shown);
        const wxString first = c.marks.BeforeFirst(' '), rest = c.marks.AfterFirst(' ');
        EXPECT_EQ(Shown(), first + wxString('-', List()->GetCount() - first.length()) + " " +
                               (rest.empty() ? "- &Add... &OK &Cancel" : rest));
        EXPECT_EQ(List()->GetCount(), exts.size());
        uitest::Idle();
        if (c.keepsPlace) {
            EXPECT_EQ(List()->GetTopItem(), place);
        }
    }
    EXPECT_EQ(exts[".cpp"]->m_strRuleType, "C");
    EXPECT_EQ(rules["C"]->m_strDesc, "C family");
    EXPECT_EQ(Selected(), "x--x" + wxString(59, '-')); // the flags wait for OK
    // A new type that sorts last is scrolled to.
    wxTEST_DIALOG(Press(dialog->m_pBtnAdd), Editor(CounterRuleDlg::MODE_ADD, ".y", "Last"));
    EXPECT_TRUE(uitest::WaitFor([&] {
        const int item = IndexOf(".y"), first = List()->GetTopItem();
        return item >= first && item < first + List()->GetCountPerPage();
    })) << List()->GetTopItem();
}

// A hand-written rules file may hold texts that the list cannot lay out at once (a description
// of 60,000 tabs took the toolkit seconds to measure and again to draw) or that would split a
// row: the items show them shortened in the middle and marked, and the extensions keep them
// whole, through the editor and OK too.
TEST_F(SrcTypeSelDlgTest, LongAndControlTextsShowShortenedAndMarkedButStayWhole) {
    const wxString tabs(60000, '\t'), longExt = ".z3" + wxString(200, 'e');
    const auto marks = [](size_t n) { return wxString(wxUniChar(0xFFFD), n); };
    rules.emplace("Long" + tabs, std::make_unique<CounterRule>("Long" + tabs, "Long style"));
    const struct {
        wxString ext, desc, style, shown;
    } cases[] = {
        {".z1", tabs, "Text", ".z1 - " + marks(63) + "..." + marks(62) + " ( Text style )"},
        {".z2", "two\nlines\r", "C", ".z2 - two" + marks(1) + "lines" + marks(1) + " ( C style )"},
        {longExt, wxString(129, 'd'), "Long" + tabs,
         ".z3" + wxString(60, 'e') + "..." + wxString(62, 'e') + " - " + wxString(63, 'd') + "..." +
             wxString(62, 'd') + " ( Long" + marks(59) + "..." + marks(62) + " style )"},
    };
    for (const auto& c : cases)
        AddExt(c.ext, c.style, c.desc, false);
    dialog->FillTypeList();
    uitest::Idle();      // where the list lays its rows out
    const int first = 4; // after the fixture's extensions
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(uitest::SameText(List()->GetString(first + i), cases[i].shown)) << i;

    // The editor gets the description whole, and OK leaves it so.
    wxString edited;
    List()->SetSelection(first);
    uitest::Command(List(), wxEVT_LISTBOX, first);
    uitest::SaveWindowScreenshot("dialog-srctype-long-texts", dialog.get());
    wxTEST_DIALOG(Press(dialog->m_pBtnEdit),
                  uitest::ExpectDialog<CounterRuleDlg>([&](CounterRuleDlg* editor) {
                      editor->InitDialog();
                      edited = editor->m_pTxtDesc->GetValue();
                      uitest::Command(editor->m_pBtnOk, wxEVT_BUTTON);
                      return editor->GetReturnCode();
                  }));
    EXPECT_TRUE(uitest::SameText(edited, tabs));
    EXPECT_TRUE(uitest::SameText(exts[".z1"]->m_strDesc, tabs));
    EXPECT_TRUE(uitest::SameText(List()->GetString(first), cases[0].shown));
    EXPECT_TRUE(uitest::SameText(exts[longExt]->m_strRuleType, "Long" + tabs));
    List()->Check(first, true);
    List()->Check(first + 2, true);
    Press(dialog->m_pBtnOk);
    EXPECT_TRUE(uitest::SameText(dialog->m_strTypes, ".c;.txt;.z1;" + longExt + ";"));
    EXPECT_EQ(Selected(), "x--xx-x");
}
} // namespace
