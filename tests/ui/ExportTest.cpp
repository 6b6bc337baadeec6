// The exports: the report page as HTML and the file records as CSV, asked with a save dialog.
#include "../engine/TempDir.h"
#include "../engine/TestSupport.h"
#include "CountingManager.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <vector>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {
const char* const HTML_FILTER = "HTML files (*.html;*.htm)|*.html;*.htm";
const char* const CSV_FILTER = "CSV files (*.csv)|*.csv";

// Answers the export's file dialog with a path, after checking that it is a save dialog
// that asks before replacing a file, with the export's own filter and a default name.
uitest::ExpectDialog<wxFileDialog> SaveAs(const wxString& filter, const wxString& name,
                                          const wxString& path, int answer = wxID_OK) {
    return uitest::ExpectDialog<wxFileDialog>([=](wxFileDialog* dialog) {
        EXPECT_TRUE(dialog->HasFlag(wxFD_SAVE) && dialog->HasFlag(wxFD_OVERWRITE_PROMPT));
        EXPECT_EQ(dialog->GetWildcard(), filter);
        EXPECT_EQ(dialog->GetFilename(), name);
        dialog->SetPath(path);
        // The toolkit's chooser takes the path in only when its events have run.
        uitest::WaitFor([&] { return dialog->GetPath() == path; });
        return answer;
    });
}

// Shows the exports' file dialog for real and answers it by typing, as a user does (the
// toolkit's chooser moves back to its first folder at every show, which only a shown one
// reveals), keeping the folder it showed each time; an empty answer cancels. The confirmation
// is answered unseen.
class TypedAnswers : public wxModalDialogHook {
public:
    explicit TypedAnswers(std::vector<wxString> typed) : m_typed(std::move(typed)) {
        m_timer.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            uitest::WaitFor([&] { return !m_chooser->GetDirectory().empty(); });
            folders.push_back(m_chooser->GetDirectory());
            uitest::SaveScreenshot(wxString::Format("export-dialog-%zu", folders.size()));
            const wxString& typed = m_typed.at(folders.size() - 1);
            wxUIActionSimulator user;
            if (!typed.empty()) {
                user.Char('a', wxMOD_CONTROL);
                user.Text(typed.utf8_str());
            }
            user.Char(typed.empty() ? WXK_ESCAPE : WXK_RETURN);
        });
        Register();
    }
    ~TypedAnswers() override { Unregister(); }
    std::vector<wxString> folders;

protected:
    int Enter(wxDialog* dialog) override {
        m_chooser = dynamic_cast<wxFileDialog*>(dialog);
        if (!m_chooser)
            return wxID_OK;
        m_timer.StartOnce(300);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}

private:
    std::vector<wxString> m_typed;
    wxFileDialog* m_chooser = nullptr;
    wxTimer m_timer;
};

class ExportTest : public uitest::ProgramTest {
protected:
    TempDir dir;
};

// The page buffer as UTF-8 without a byte-order mark, replacing an existing file; a name
// without an extension gets the filter's, and replacing a file of that name is asked first.
// The CSV export writes what the manager writes.
TEST_F(ExportTest, ExportsWriteThePageAndTheRecordsByteForByte) {
    const std::string page = "<p>Z\xC3\xA4hlung \xE8\xA1\x8C\xE6\x95\xB0 \xF0\x9F\x98\x80</p>";
    TallywickFrame::s_strHtmlPage = wxString::FromUTF8(page);
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_HTML),
                  SaveAs(HTML_FILTER, "Tallywick.html", dir / "report"),
                  uitest::ExpectMessage("Export completed!"));
    EXPECT_EQ(ReadFile(dir / "report.html"), page);

    const auto replace = [&](const wxString& name, int answer) {
        return uitest::ExpectMessage("The file " + dir / name +
                                         " already exists. Do you want to replace it?",
                                     answer, wxYES_NO | wxCENTRE);
    };
    dir.Write("kept.html", "old");
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_HTML),
                  SaveAs(HTML_FILTER, "report.html", dir / "kept"), replace("kept.html", wxID_NO));
    EXPECT_EQ(ReadFile(dir / "kept.html"), "old");

    dir.Write("old.htm", std::string(4096, 'x'));
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_HTML),
                  SaveAs(HTML_FILTER, "kept.html", dir / "old.htm"),
                  uitest::ExpectMessage("Export completed!"));
    EXPECT_EQ(ReadFile(dir / "old.htm"), page);
    EXPECT_EQ(TallywickFrame::s_strHtmlPage, wxString::FromUTF8(page));

    dir.Write("src/a.c", "int a; // x\n\n");
    uitest::Count(frame, {dir / "src"}, {".c"});
    ASSERT_TRUE(frame->m_pCountingManager->ExportCsv(dir / "direct.csv"));
    dir.Write("list.csv", "old");
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_CSV),
                  SaveAs(CSV_FILTER, "old.csv", dir / "list"), replace("list.csv", wxID_YES),
                  uitest::ExpectMessage("Export completed!"));
    EXPECT_EQ(ReadFile(dir / "list.csv"), ReadFile(dir / "direct.csv"));
    EXPECT_NE(ReadFile(dir / "list.csv").find("a.c,.c"), std::string::npos);
}

// A folder that cannot be written gives "Export failed!"; cancelling writes nothing and says
// nothing.
TEST_F(ExportTest, FailuresAreToldAndCancelWritesNothing) {
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_HTML),
                  SaveAs(HTML_FILTER, "Tallywick.html", "/proc/report.html"),
                  uitest::ExpectMessage("Export failed!"));
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_CSV),
                  SaveAs(CSV_FILTER, "report.csv", "/proc/list.csv"),
                  uitest::ExpectMessage("Export failed!"));

    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_HTML),
                  SaveAs(HTML_FILTER, "list.html", dir / "none.html", wxID_CANCEL));
    wxTEST_DIALOG(uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_CSV),
                  SaveAs(CSV_FILTER, "none.csv", dir / "none.csv", wxID_CANCEL));
    EXPECT_FALSE(wxFileExists(dir / "none.html") || wxFileExists(dir / "none.csv"));
}

// The dialog opens in the folder of the last export, not in the program's.
TEST_F(ExportTest, TheDialogOpensWhereTheLastExportWent) {
    const wxString folder = dir.MakeDir("out");
    uitest::RealDialogs real;
    TypedAnswers user({folder + "/report.html", ""});
    uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_HTML);
    uitest::Command(frame, TallywickFrame::ID_MENU_EXPORT_CSV);
    EXPECT_TRUE(wxFileExists(folder + "/report.html"));
    ASSERT_EQ(user.folders.size(), 2u);
    EXPECT_EQ(user.folders[1].utf8_string(), folder.utf8_string());
}
} // namespace
