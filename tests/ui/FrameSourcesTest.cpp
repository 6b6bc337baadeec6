// The Counting Settings pane: the source folders and the source-type box.
#include "CounterRuleDlg.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "SrcTypeSelDlg.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <gtk/gtk.h>
#include <vector>
#include <wx/bmpbuttn.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/dirdlg.h>
#include <wx/utils.h>

namespace {
class FrameSourcesTest : public uitest::ProgramTest {
protected:
    // The directory dialog, answered with path.
    static uitest::ExpectDialog<wxDirDialog> ChooseDir(const wxString& path) {
        return uitest::ExpectDialog<wxDirDialog>([path](wxDirDialog* dialog) {
            dialog->wxDirDialogBase::SetPath(path); // what the user's choice leaves behind
            return wxID_OK;
        });
    }
    // The selection dialog: the user checks the items whose keys are given and presses OK.
    static uitest::ExpectDialog<SrcTypeSelDlg> ChooseTypes(const std::vector<wxString>& keys) {
        return uitest::ExpectDialog<SrcTypeSelDlg>([keys](SrcTypeSelDlg* dialog) {
            dialog->InitDialog();
            for (unsigned i = 0; i < dialog->m_pTypeList->GetCount(); ++i)
                for (const wxString& key : keys)
                    if (dialog->m_pTypeList->GetString(i).StartsWith(key + " - "))
                        dialog->m_pTypeList->Check(i, true);
            uitest::Command(dialog->m_pBtnOk, wxEVT_BUTTON);
            return dialog->GetReturnCode();
        });
    }
};

// The folder chooser opens on a real folder, where a typed path or Open is taken at once: the
// folder added last, or home when there is none or it is gone.
TEST_F(FrameSourcesTest, TheFolderChooserOpensOnTheLastFolderOrHome) {
    const wxString a = uitest::WorkDir() + "/conf", b = uitest::WorkDir() + "/img";
    const struct {
        std::vector<wxString> folders;
        wxString shown;
    } cases[] = {{{}, wxGetHomeDir()},
                 {{a, b}, b},
                 {{b, uitest::WorkDir() + "/gone"}, wxGetHomeDir()},
                 {{b, a}, a}};
    for (const auto& c : cases) {
        frame->m_pSourceDirList->Clear();
        for (const wxString& folder : c.folders)
            frame->m_pSourceDirList->Append(folder);
        wxString shown;
        wxTEST_DIALOG(uitest::Command(frame->m_pBtnAddDir, wxEVT_BUTTON),
                      uitest::ExpectDialog<wxDirDialog>([&](wxDirDialog* dialog) {
                          // The chooser reads the folder in the background.
                          uitest::WaitFor([&] {
                              gchar* folder = gtk_file_chooser_get_current_folder(
                                  GTK_FILE_CHOOSER(dialog->GetHandle()));
                              shown = folder ? wxString::FromUTF8(folder) : wxString("(recent)");
                              g_free(folder);
                              return shown == c.shown;
                          });
                          return wxID_CANCEL;
                      }));
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(frame->m_pSourceDirList->GetCount(), c.folders.size());
    }
}

TEST_F(FrameSourcesTest, FoldersAreAddedCheckedAndDeletedOnYesAndTypeSelectionsKept) {
    wxCheckListBox* list = frame->m_pSourceDirList;
    ASSERT_EQ(list->GetCount(), 0u);
    // From the button and from the menu.
    wxTEST_DIALOG(uitest::Command(frame->m_pBtnAddDir, wxEVT_BUTTON), ChooseDir("/src/one"));
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_ADDDIR), ChooseDir("/src/two"));
    ASSERT_EQ(list->GetCount(), 2u);
    EXPECT_EQ(list->GetString(1), "/src/two");
    EXPECT_TRUE(list->IsChecked(0));
    EXPECT_TRUE(list->IsChecked(1));

    uitest::Command(frame->m_pBtnDeleteDir, wxEVT_BUTTON); // nothing highlighted: no question
    list->SetSelection(0);
    for (int answer : {wxID_NO, wxID_YES}) {
        wxTEST_DIALOG(uitest::Command(frame->m_pBtnDeleteDir, wxEVT_BUTTON),
                      uitest::ExpectMessage(_("Are you sure you want to delete it?"), answer));
        ASSERT_EQ(list->GetCount(), answer == wxID_YES ? 1u : 2u);
    }
    EXPECT_EQ(list->GetString(0), "/src/two");

    // Each confirmed selection of types is added to the source-type box.
    wxComboBox* box = frame->m_pSourceTypeCombo;
    CountingManager::ExtMap& exts = frame->m_pCountingManager->m_extMap;
    ASSERT_EQ(exts.count(".c"), 1u);
    ASSERT_EQ(exts.count(".h"), 1u);
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_SELTYPE),
                  ChooseTypes({".c", ".h"}));
    EXPECT_EQ(box->GetValue(), ".c;.h;");
    EXPECT_TRUE(exts[".h"]->m_bSelected);
    wxTEST_DIALOG(uitest::Command(frame->m_pBtnSelectType, wxEVT_BUTTON),
                  ChooseTypes({".c", ".h"}));
    EXPECT_EQ(box->GetCount(), 2u);

    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_SELTYPE),
                  uitest::ExpectDialog<SrcTypeSelDlg>([](SrcTypeSelDlg*) { return wxID_CANCEL; }));
    EXPECT_EQ(box->GetValue(), ".c;.h;");
    EXPECT_EQ(box->GetCount(), 2u);
}
} // namespace

namespace {
// A choice of types shows in the box shortened and marked, as the lists show a name, and is
// counted and picked again whole: an extension of 60,000 tabs, which the toolkit would take
// many seconds to lay out in the box.
TEST_F(FrameSourcesTest, AChoiceShowsShortenedAndCountsWhole) {
    CountingManager& manager = *frame->m_pCountingManager;
    const wxString giant = "." + wxString('\t', 60000);
    manager.m_extMap[giant] =
        std::make_unique<FileExtension>(giant, manager.m_extMap[".c"]->m_strRuleType, "", false);
    wxComboBox* box = frame->m_pSourceTypeCombo;
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_SELTYPE),
                  ChooseTypes({".c", CounterRuleDlg::Shown(giant)}));
    const wxString chosen = box->GetString(box->GetSelection());
    EXPECT_LE(chosen.length(), 1024u);
    EXPECT_TRUE(chosen.StartsWith("." + wxString(wxUniChar(0xFFFD), 10)));
    EXPECT_TRUE(chosen.EndsWith(";.c;"));
    EXPECT_FALSE(chosen.Contains("\t"));

    // Another choice, then the first picked again: every type of it is chosen again.
    for (auto& entry : manager.m_extMap)
        entry.second->m_bSelected = false;
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_SELTYPE), ChooseTypes({".h"}));
    ASSERT_FALSE(manager.m_extMap[giant]->m_bSelected);
    box->SetSelection(0);
    uitest::Command(box, wxEVT_COMBOBOX, 0);
    EXPECT_TRUE(manager.m_extMap[giant]->m_bSelected);
    EXPECT_TRUE(manager.m_extMap[".c"]->m_bSelected);
    EXPECT_EQ(box->GetCount(), 2u);

    // A run counts the whole types.
    uitest::WriteFile("giant/a.c", "int x;\n");
    frame->m_pSourceDirList->Check(frame->m_pSourceDirList->Append(uitest::WorkDir() + "/giant"));
    uitest::Command(frame, TallywickFrame::ID_MENU_START);
    wxArrayString whole;
    whole.Add(giant);
    whole.Add(".c");
    EXPECT_EQ(manager.m_countingParam.m_arrTypes, whole);
}
} // namespace
