// The source-type editor: what each field shows in add and edit mode, the checks of OK, and
// what OK and Cancel write.
#include "CounterRuleDlg.h"
#include "CounterRule.h"
#include "FileExtension.h"
#include "UiTestSupport.h"

#include <memory>
#include <wx/arrstr.h>
#include <wx/button.h>
#include <wx/odcombo.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>

namespace {
class CounterRuleDlgTest : public testing::Test {
protected:
    void SetUp() override {
        auto c = std::make_unique<CounterRule>("C", "C family");
        c->m_strSingleLineComment = "//";
        c->m_strMultiLineCommentBegin = "/*";
        c->m_strMultiLineCommentEnd = "*/";
        rules.emplace("C", std::move(c));
        rules.emplace("Text", std::make_unique<CounterRule>("Text", "Plain text"));
        exts.emplace(".c", std::make_unique<FileExtension>(".c", "C", "C source", true));
    }
    // Opens the editor as the selection dialog does, on ext.
    std::unique_ptr<CounterRuleDlg> Open(int mode, FileExtension* ext) {
        auto dialog = std::make_unique<CounterRuleDlg>(nullptr, mode);
        dialog->m_pRuleMap = &rules;
        dialog->m_pFileExt = ext;
        dialog->m_pExtMap = &exts;
        dialog->Show();
        uitest::Idle();
        return dialog;
    }
    // Every field and button from top to bottom: its text, "(off)" when it is disabled.
    static wxString Shown(const CounterRuleDlg& dialog) {
        wxString shown;
        for (wxTextEntry* field : std::initializer_list<wxTextEntry*>{
                 dialog.m_pTxtExt, dialog.m_pTxtDesc, dialog.m_pComboStyle, dialog.m_pTxtStyleDesc,
                 dialog.m_pTxtSingle, dialog.m_pTxtMultiBegin, dialog.m_pTxtMultiEnd})
            shown << field->GetValue()
                  << (dynamic_cast<wxWindow*>(field)->IsEnabled() ? "" : "(off)") << "|";
        for (wxButton* button : {dialog.m_pBtnOk, dialog.m_pBtnCancel})
            shown << button->GetLabel() << (button->IsEnabled() ? "" : "(off)") << "|";
        return shown;
    }
    void Type(CounterRuleDlg& dialog, const wxString& ext, const wxString& desc,
              const wxString& styleDesc) {
        dialog.m_pTxtExt->SetValue(ext);
        dialog.m_pTxtDesc->SetValue(desc);
        dialog.m_pTxtStyleDesc->SetValue(styleDesc);
    }
    void ChooseStyle(CounterRuleDlg& dialog, const wxString& style) {
        dialog.m_pComboStyle->SetStringSelection(style);
        uitest::Command(dialog.m_pComboStyle, wxEVT_COMBOBOX, dialog.m_pComboStyle->GetSelection());
    }

    CountingManager::RuleMap rules;
    CountingManager::ExtMap exts;
    FileExtension added{"tmp", "tmp", "tmp", false};
};

TEST_F(CounterRuleDlgTest, EachFieldShowsItsOwnValue) {
    FileExtension orphan(".cob", "Cobol", "COBOL source", false), *src = exts[".c"].get();
    const int ADD = CounterRuleDlg::MODE_ADD, EDIT = CounterRuleDlg::MODE_EDIT;
    const struct {
        int mode;
        FileExtension* ext;
        const char* style; // chosen by the user, when given
        const char* shown;
    } cases[] = {
        {ADD, &added, nullptr, "||C|C family|//(off)|/*(off)|*/(off)|&OK|&Cancel|"},
        {ADD, &added, "Text", "||Text|Plain text|(off)|(off)|(off)|&OK|&Cancel|"},
        {EDIT, src, nullptr, ".c(off)|C source|C|C family|//(off)|/*(off)|*/(off)|&OK|&Cancel|"},
        {EDIT, src, "Text", ".c(off)|C source|Text|Plain text|(off)|(off)|(off)|&OK|&Cancel|"},
        {EDIT, &orphan, nullptr, ".cob(off)|COBOL source|||(off)|(off)|(off)|&OK|&Cancel|"},
    };
    for (const auto& c : cases) {
        auto dialog = Open(c.mode, c.ext);
        if (c.style) {
            dialog->m_pTxtStyleDesc->SetValue("typed, then replaced");
            ChooseStyle(*dialog, c.style);
        }
        EXPECT_EQ(Shown(*dialog), c.shown);
    }
}

// OK checks the fields in this order and writes only when all pass; Cancel writes nothing.
TEST_F(CounterRuleDlgTest, OkWritesOnlyWhatPassesAndCancelNothing) {
    const struct {
        const char *ext, *desc, *styleDesc, *refusal;
    } cases[] = {
        {"", "", "C family", "Please input file extension description!"},
        {"", "C++ source", "C family", "Please input file extension!"},
        {"  ", "C++ source", "C family", "Please input file extension!"},
        {".a b", "C++ source", "C family", "Please input file extension!"},
        {"c;h", "C++ source", "C family", "Please input file extension!"},
        {" .CPP ", "C++ source", "", "Please input style description!"},
        {".C", "C++ source", "C and C++", "Extension has existed!"},
    };
    auto dialog = Open(CounterRuleDlg::MODE_ADD, &added);
    for (const auto& c : cases) {
        Type(*dialog, c.ext, c.desc, c.styleDesc);
        wxTEST_DIALOG(uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON),
                      uitest::ExpectMessage(_(c.refusal)));
        EXPECT_TRUE(dialog->IsShown()) << c.refusal;
    }
    Type(*dialog, " .CPP ", "C++ source", "C and C++");
    uitest::Command(dialog->m_pBtnCancel, wxEVT_BUTTON);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_CANCEL);
    EXPECT_EQ(added.m_strExt + added.m_strDesc + rules["C"]->m_strDesc, "tmptmpC family");

    dialog = Open(CounterRuleDlg::MODE_ADD, &added);
    Type(*dialog, " .CPP ", "C++ source", "C and C++");
    uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(added.m_strExt + "|" + added.m_strDesc + "|" + added.m_strRuleType,
              ".cpp|C++ source|C");
    EXPECT_EQ(rules["C"]->m_strDesc, "C and C++");
    EXPECT_EQ(rules["C"]->m_strSingleLineComment, "//");

    // Edit: the style and its description change, for every extension of that style.
    FileExtension* c = exts[".c"].get();
    dialog = Open(CounterRuleDlg::MODE_EDIT, c);
    ChooseStyle(*dialog, "Text");
    dialog->m_pTxtStyleDesc->SetValue("Any text");
    uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(c->m_strExt + "|" + c->m_strDesc + "|" + c->m_strRuleType, ".c|C source|Text");
    FileExtension other(".log", "Text", "Log", false);
    EXPECT_EQ(Shown(*Open(CounterRuleDlg::MODE_EDIT, &other)),
              ".log(off)|Log|Text|Any text|(off)|(off)|(off)|&OK|&Cancel|");

    // Without a rule for the style nothing is written.
    FileExtension orphan(".cob", "Cobol", "COBOL source", false);
    dialog = Open(CounterRuleDlg::MODE_EDIT, &orphan);
    dialog->m_pTxtStyleDesc->SetValue("Some style");
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON),
                  uitest::ExpectMessage(_("Please select a source style!")));
    EXPECT_EQ(orphan.m_strRuleType, "Cobol");
    EXPECT_EQ(rules.count("Cobol"), 0u);
    rules.clear();
    dialog = Open(CounterRuleDlg::MODE_ADD, &added);
    Type(*dialog, ".x", "X", "X style");
    wxTEST_DIALOG(uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON),
                  uitest::ExpectMessage(_("Please select a source style!")));
    EXPECT_EQ(added.m_strExt, ".cpp");
}

TEST_F(CounterRuleDlgTest, TypingCannotMakeADescriptionLongerThanItsLimit) {
    const wxString limit(CounterRuleDlg::MAX_DESCRIPTION_LENGTH, 'x');
    auto add = Open(CounterRuleDlg::MODE_ADD, &added);
    add->m_pTxtDesc->SetValue(limit + "yz");
    EXPECT_EQ(add->m_pTxtDesc->GetValue(), limit);

    // A longer text from the rules file is kept whole; it only cannot grow.
    const wxString loaded(150, 'd');
    FileExtension longer(".l", "C", loaded, false);
    auto edit = Open(CounterRuleDlg::MODE_EDIT, &longer);
    EXPECT_EQ(edit->m_pTxtDesc->GetValue(), loaded);
    edit->m_pTxtDesc->SetValue(loaded + "e");
    EXPECT_EQ(edit->m_pTxtDesc->GetValue(), loaded);
}
// Deleting from a description longer than the limit lowers its cap to what is left, down to
// the limit; each description field keeps a cap of its own.
TEST_F(CounterRuleDlgTest, DeletingFromALongDescriptionLowersItsCap) {
    rules["C"]->m_strDesc = wxString(150, 's');
    FileExtension longer(".l", "C", wxString(150, 'd'), false);
    auto dialog = Open(CounterRuleDlg::MODE_EDIT, &longer);
    const struct {
        wxTextCtrl* field;
        size_t typed, kept; // the length the user makes the text, and the length it keeps
    } steps[] = {
        {dialog->m_pTxtDesc, 150, 150},      {dialog->m_pTxtDesc, 140, 140},
        {dialog->m_pTxtDesc, 150, 140},      {dialog->m_pTxtDesc, 120, 120},
        {dialog->m_pTxtDesc, 135, 128},      {dialog->m_pTxtDesc, 100, 100},
        {dialog->m_pTxtDesc, 129, 128},      {dialog->m_pTxtStyleDesc, 150, 150},
        {dialog->m_pTxtStyleDesc, 149, 149}, {dialog->m_pTxtStyleDesc, 150, 149},
    };
    for (const auto& step : steps) {
        step.field->SetValue(wxString(step.typed, 'x'));
        EXPECT_EQ(step.field->GetValue().length(), step.kept)
            << step.field->GetName() << " made " << step.typed << " long";
    }
}

// A rules file with thousands of styles: all of them listed in the rules' order, and the
// extension's own style chosen.
TEST_F(CounterRuleDlgTest, ListsEveryStyleOfALargeRulesFile) {
    wxArrayString expected;
    for (int i = 0; i < 10000; ++i) {
        const wxString type = wxString::Format("Style %05d", 9999 - i);
        rules.emplace(type, std::make_unique<CounterRule>(type, "Style number " + type));
    }
    for (const auto& entry : rules)
        expected.push_back(entry.first);
    FileExtension chosen(".s", "Style 04321", "Some style", false);
    const struct {
        int mode;
        FileExtension* ext;
        const char *value, *styleDesc;
        int selection;
    } cases[] = {
        {CounterRuleDlg::MODE_ADD, &added, "C", "C family", 0},
        {CounterRuleDlg::MODE_EDIT, &chosen, "Style 04321", "Style number Style 04321", 4321 + 1},
    };
    for (const auto& c : cases) {
        auto dialog = Open(c.mode, c.ext);
        EXPECT_EQ(dialog->m_pComboStyle->GetStrings(), expected);
        EXPECT_EQ(dialog->m_pComboStyle->GetSelection(), c.selection);
        EXPECT_EQ(dialog->m_pComboStyle->GetValue(), c.value);
        EXPECT_EQ(dialog->m_pTxtStyleDesc->GetValue(), c.styleDesc);
    }
}

// A hand-written rules file may hold texts that the fields cannot lay out at once: a style
// named with 60,000 tabs took the style box half a minute, a description that is one word of
// 150,000 letters its field most of a minute to wrap. The fields that only show a text (the
// extension being edited, the styles, the markers) show it shortened and marked, also when it
// is longer than what can be typed there; the descriptions, which are edited, show theirs
// whole; and OK writes every text back as it was.
TEST_F(CounterRuleDlgTest, TextsOfAnyLengthShowAtOnceAndStayWhole) {
    const wxString tabs(60000, '\t'), word(150000, 'w'), style = "Long" + tabs;
    const auto marks = [](size_t n) { return wxString(wxUniChar(0xFFFD), n); };
    auto rule = std::make_unique<CounterRule>(style, tabs);
    rule->m_strSingleLineComment = "<!--[if";
    rule->m_strMultiLineCommentBegin = tabs;
    rule->m_strMultiLineCommentEnd = "*\n/";
    rules.emplace(style, std::move(rule));
    FileExtension ext(".storyboard", style, word, false);
    const wxStopWatch answered;
    auto dialog = Open(CounterRuleDlg::MODE_EDIT, &ext);
    // A generous bound: a second at most on a loaded machine, against half a minute or more.
    EXPECT_LT(answered.Time(), 10000) << "the editor answered only once its fields were laid out";
    const wxString shown[] = {dialog->m_pTxtExt->GetValue(), dialog->m_pComboStyle->GetValue(),
                              dialog->m_pTxtSingle->GetValue(),
                              dialog->m_pTxtMultiBegin->GetValue(),
                              dialog->m_pTxtMultiEnd->GetValue()};
    const wxString expected[] = {".storyboard", "Long" + marks(59) + "..." + marks(62), "<!--[if",
                                 marks(63) + "..." + marks(62), "*" + marks(1) + "/"};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(uitest::SameText(shown[i], expected[i])) << i;
    EXPECT_TRUE(uitest::SameText(dialog->m_pTxtDesc->GetValue(), word));
    EXPECT_TRUE(uitest::SameText(dialog->m_pTxtStyleDesc->GetValue(), tabs));
    uitest::SaveWindowScreenshot("dialog-rule-long-texts", dialog.get());

    uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(ext.m_strExt, ".storyboard");
    EXPECT_TRUE(uitest::SameText(ext.m_strDesc, word));
    EXPECT_TRUE(uitest::SameText(ext.m_strRuleType, style));
    EXPECT_TRUE(uitest::SameText(rules[style]->m_strDesc, tabs));
    EXPECT_TRUE(uitest::SameText(rules[style]->m_strMultiLineCommentBegin, tabs));
}
} // namespace
