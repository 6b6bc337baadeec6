// The source-type editor: add and edit modes, the checks of OK and what OK writes.
#include "CounterRuleDlg.h"
#include "CounterRule.h"
#include "FileExtension.h"
#include "UiTestSupport.h"

#include <memory>
#include <wx/button.h>
#include <wx/combobox.h>
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
    // Presses OK expecting the message; the dialog stays open.
    void OkRefused(CounterRuleDlg& dialog, const wxString& message) {
        wxTEST_DIALOG(uitest::Command(dialog.m_pBtnOk, wxEVT_BUTTON),
                      uitest::ExpectMessage(message));
        EXPECT_TRUE(dialog.IsShown()) << message;
    }

    CountingManager::RuleMap rules;
    CountingManager::ExtMap exts;
    FileExtension added{"tmp", "tmp", "tmp", false};
};

TEST_F(CounterRuleDlgTest, AddModeChecksInOrderAndWritesOnlyWhenAllPass) {
    auto dialog = Open(CounterRuleDlg::MODE_ADD, &added);
    EXPECT_EQ(dialog->m_pComboStyle->GetValue(), "C");
    EXPECT_EQ(dialog->m_pTxtStyleDesc->GetValue(), "C family");
    EXPECT_EQ(dialog->m_pTxtMultiEnd->GetValue(), "*/");
    EXPECT_FALSE(dialog->m_pTxtSingle->IsEnabled());

    OkRefused(*dialog, _("Please input file extension description!")); // not the extension
    dialog->m_pTxtDesc->SetValue("C++ source");
    OkRefused(*dialog, _("Please input file extension!"));
    for (const char* bad : {"  ", ".a b", "c;h"}) {
        dialog->m_pTxtExt->SetValue(bad);
        OkRefused(*dialog, _("Please input file extension!"));
    }
    dialog->m_pTxtExt->SetValue(" .CPP ");
    dialog->m_pTxtStyleDesc->SetValue("");
    OkRefused(*dialog, _("Please input style description!"));
    dialog->m_pTxtStyleDesc->SetValue("C and C++");
    dialog->m_pTxtExt->SetValue(".C");
    OkRefused(*dialog, _("Extension has existed!"));
    EXPECT_EQ(added.m_strExt, "tmp");
    EXPECT_EQ(rules["C"]->m_strDesc, "C family");

    dialog->m_pTxtExt->SetValue(" .CPP ");
    uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(added.m_strExt, ".cpp");
    EXPECT_EQ(added.m_strDesc, "C++ source");
    EXPECT_EQ(added.m_strRuleType, "C");
    EXPECT_EQ(rules["C"]->m_strDesc, "C and C++");
    EXPECT_EQ(rules["C"]->m_strSingleLineComment, "//");
}

TEST_F(CounterRuleDlgTest, EditModeChangesTheStyleAndItsDescriptionForEveryExtension) {
    FileExtension* c = exts[".c"].get();
    auto dialog = Open(CounterRuleDlg::MODE_EDIT, c);
    EXPECT_EQ(dialog->m_pTxtExt->GetValue(), ".c");
    EXPECT_FALSE(dialog->m_pTxtExt->IsEnabled());
    EXPECT_EQ(dialog->m_pTxtDesc->GetValue(), "C source");
    EXPECT_EQ(dialog->m_pTxtSingle->GetValue(), "//");

    dialog->m_pTxtStyleDesc->SetValue("typed, then replaced");
    dialog->m_pComboStyle->SetStringSelection("Text");
    uitest::Command(dialog->m_pComboStyle, wxEVT_COMBOBOX, 1);
    EXPECT_EQ(dialog->m_pTxtStyleDesc->GetValue(), "Plain text");
    EXPECT_EQ(dialog->m_pTxtSingle->GetValue(), "");
    EXPECT_EQ(dialog->m_pTxtMultiBegin->GetValue(), "");
    dialog->m_pTxtStyleDesc->SetValue("Any text");
    uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
    EXPECT_EQ(dialog->GetReturnCode(), wxID_OK);
    EXPECT_EQ(c->m_strExt, ".c");
    EXPECT_EQ(c->m_strRuleType, "Text");
    EXPECT_EQ(rules["Text"]->m_strDesc, "Any text");

    // The style description belongs to the rule: another extension of it shows the change.
    FileExtension other(".log", "Text", "Log", false);
    auto second = Open(CounterRuleDlg::MODE_EDIT, &other);
    EXPECT_EQ(second->m_pTxtStyleDesc->GetValue(), "Any text");
    uitest::Command(second->m_pBtnCancel, wxEVT_BUTTON);
    EXPECT_EQ(second->GetReturnCode(), wxID_CANCEL);
}

TEST_F(CounterRuleDlgTest, WithoutARuleForTheStyleNothingIsWritten) {
    FileExtension orphan(".cob", "Cobol", "COBOL source", false);
    auto edit = Open(CounterRuleDlg::MODE_EDIT, &orphan);
    EXPECT_EQ(edit->m_pComboStyle->GetSelection(), wxNOT_FOUND);
    EXPECT_EQ(edit->m_pTxtStyleDesc->GetValue(), "");
    EXPECT_EQ(edit->m_pTxtMultiEnd->GetValue(), "");
    edit->m_pTxtStyleDesc->SetValue("Some style");
    OkRefused(*edit, _("Please select a source style!"));
    EXPECT_EQ(orphan.m_strRuleType, "Cobol");
    EXPECT_EQ(rules.count("Cobol"), 0u);

    rules.clear();
    auto add = Open(CounterRuleDlg::MODE_ADD, &added);
    EXPECT_TRUE(add->m_pComboStyle->IsListEmpty());
    add->m_pTxtExt->SetValue(".x");
    add->m_pTxtDesc->SetValue("X");
    add->m_pTxtStyleDesc->SetValue("X style");
    OkRefused(*add, _("Please select a source style!"));
    EXPECT_EQ(added.m_strExt, "tmp");
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
} // namespace
