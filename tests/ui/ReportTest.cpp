// The Report page: the fields of the analysis report, the templates and the view's links.
#include "../engine/TempDir.h"
#include "../engine/TestSupport.h"
#include "CountingManager.h"
#include "CrvHtmlWin.h"
#include "ExecutablePath.h"
#include "PageTemplate.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <wx/aui/auibook.h>
#include <wx/config.h>
#include <wx/regex.h>

namespace {
// Every field of the report once, two of them twice and the repeated chart field three
// times (the third stays), in a form that is easy to compare.
const char* const ALL_FIELDS =
    "$report_title$|$report_title$|$run_state$|$your_version$|$latest_version$|"
    "$str_counting_dirs$|$str_counting_exts$|$n_files$|$n_files$|$n_size$|$n_lines$|"
    "$n_code_lines$|$n_code_parcentage$|$n_code_parcentage$|$n_code_w$|$n_code_comm_lines$|"
    "$n_code_comm_parcentage$|$n_code_comm_w$|$n_comm_lines$|$n_comm_parcentage$|$n_comm_w$|"
    "$n_blank_lines$|$n_blank_parcentage$|$n_blank_w$|$str_lines_by_type$|$n_ut_case$|"
    "$n_ut_defect$|$n_ut_case_parcentage$|$n_ut_case_w$|$n_ut_defect_parcentage_chart$|"
    "$n_ut_defect_chart_w$|$n_ut_defect_parcentage$|$n_it_case$|$n_it_defect$|"
    "$n_it_case_parcentage$|$n_it_case_w$|$n_ut_defect_parcentage_chart$|$n_it_defect_chart_w$|"
    "$n_it_defect_parcentage$|$n_ut_defect_parcentage_chart$|$n_total_cost$|$n_cost_lld$|"
    "$n_cost_lld_parcentage$|$n_cost_lld_w$|$n_cost_coding$|$n_cost_coding_parcentage$|"
    "$n_cost_coding_w$|$n_cost_ut$|$n_cost_ut_parcentage$|$n_cost_ut_w$|$n_cost_it$|"
    "$n_cost_it_parcentage$|$n_cost_it_w$|$n_total_mm$|$n_mm_lld$|$n_mm_lld_parcentage$|"
    "$n_mm_lld_w$|$n_mm_coding$|$n_mm_coding_parcentage$|$n_mm_coding_w$|$n_mm_ut$|"
    "$n_mm_ut_parcentage$|$n_mm_ut_w$|$n_mm_it$|$n_mm_it_parcentage$|$n_mm_it_w$";

// A picture of the view, and the whole page to see in a browser.
void SaveViewScreens(const wxString& name) {
    uitest::SaveScreenshot(name);
    wxFile page(wxString(TALLYWICK_SCREENS_DIR) + "/" + name + ".html", wxFile::write);
    page.Write(TallywickFrame::s_strHtmlPage, wxConvUTF8);
}

// Checks that each of the report's 16 bars has a whole-percent width and a colour exactly
// when that width is not 0% (the view draws even an empty cell a pixel wide, so only the
// missing colour hides a bar); returns how many bars are 0%.
std::size_t ZeroBars(wxString page) {
    wxRegEx bar("<td width=\"([0-9]+)%\" bgcolor=\"([^\"]*)\"></td>");
    const wxRegEx colour("^#[0-9a-f]{6}$");
    std::size_t bars = 0, zeros = 0;
    for (std::size_t start, length; bar.Matches(page); page = page.Mid(start + length)) {
        ++bars;
        const wxString shown = bar.GetMatch(page, 2);
        const bool zero = bar.GetMatch(page, 1) == "0";
        zeros += zero;
        EXPECT_TRUE(zero ? shown.empty() : colour.Matches(shown)) << bar.GetMatch(page);
        bar.GetMatch(&start, &length);
    }
    EXPECT_EQ(bars, 16u);
    return zeros;
}

// Some fixed texts of the two templates, long ones and one with characters to escape among them.
const char* const INDEX_TEXTS[] = {
    "Welcome to Tallywick", "Then",
    "Press the green start button, or Alt+S. Each file shows in the \"File\" tab as it is "
    "counted; when the run ends, \"Dir&Type\", \"Summary\" and this \"Report\" tab fill with "
    "the results."};
const char* const REPORT_TEXTS[] = {
    "Lines by type", "Code//Comment lines",
    "Counted and estimated by Tallywick. Estimates follow the analysis parameters of the run."};

// The page shows the texts translated and escaped, has no translation field left, and is no
// wider than the view however long its words.
template <std::size_t N>
void ExpectTranslatedPage(CrvHtmlWin* view, const char* const (&texts)[N]) {
    wxString page = TallywickFrame::s_strHtmlPage;
    EXPECT_FALSE(page.Contains("$tr:"));
    page.Replace("<wbr>", "");
    for (const char* text : texts)
        EXPECT_TRUE(page.Contains(EscapeHtml(wxGetTranslation(text)))) << text;
    EXPECT_LE(view->GetVirtualSize().x, view->GetClientSize().x) << "the page is too wide";
}

class ReportTest : public uitest::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Room for the report's widest table beside side panes as wide as their English texts.
        frame->SetClientSize(1200, 700);
    }
    // The report made from this template in place of the real one.
    wxString Fill(const wxString& fields) {
        const wxString path = GetExecutableDir() + TallywickFrame::REPORT_TEMPLATE_FILE;
        const std::string real = ReadFile(path);
        const auto write = [&](const std::string& bytes) {
            wxFile(path, wxFile::write).Write(bytes.data(), bytes.size());
        };
        write(fields.utf8_string());
        frame->GenerateReport();
        write(real);
        return TallywickFrame::s_strHtmlPage;
    }

    TempDir tree;
};

// Twelve lines: 5 code (41.67%), 1 code with comment, 2 comment, 2 blank (16.67% each), and
// two lines of plain text that are neither. The folders' names are markup and a field name.
TEST_F(ReportTest, EveryFieldOfACountedTreeGetsItsText) {
    tree.Write("$n_files$/util.h", "int e;\nint f;\n/* h */\n");
    tree.Write("a&b <x>/main.c", "int a;\nint b;\nint c;\nint d; // tail\n// note\n\n");
    tree.Write("z/notes.txt", "a\nb\n\n");
    uitest::Count(frame, {tree / "$n_files$", tree / "a&b <x>", tree / "z"}, {".c", ".h", ".txt"});
    frame->SetLatestVersion("<i>4.1</i>");

    // Paths may break after each separator.
    const auto breakable = [](wxString path) {
        path.Replace("/", "/<wbr>");
        return path;
    };
    const wxString dirs =
        breakable(tree / "$n_files$<br>" + tree / "a&amp;b &lt;x&gt;<br>" + tree / "z<br>");
    // In counting order; every second row tinted.
    wxString rows;
    for (const char* row : {"<tr>.h|1|22|3|2|0|1|0", "<tr bgcolor=\"#eef4e2\">.c|1|45|6|3|1|1|1",
                            "<tr>.txt|1|5|3|0|0|0|1"}) {
        wxString cells = row;
        cells.Replace(">", "><td>", false);
        cells.Replace("|", "</td><td align=\"right\">");
        rows += cells + "</td></tr>";
    }
    // Estimates over 6 lines with code: 0.30 and 0.06 unit-test, 0.12 and 0.01 (0.012)
    // integration-test cases and defects; cost 15, man-hours 0.24.
    const wxString expected =
        "Tallywick Analysis Report|Tallywick Analysis Report|Completed|Your Version - 4.0.2.0|"
        "Latest Version - &lt;i&gt;4.1&lt;/i&gt;|" +
        dirs + "|.c;.h;.txt;|3|$n_files$|72|12|" + "5|41%|41%|41%|1|8%|8%|2|16%|16%|2|16%|16%|" +
        rows + "|" +
        "0.30|0.06|71.43%|71%|14.29%|14%|20.00%|"
        "0.12|0.01|28.57%|29%|2.86%|3%|10.00%|$n_ut_defect_parcentage_chart$|"
        "51.00|15.00|29.41%|29%|15.00|29.41%|29%|15.00|29.41%|29%|6.00|11.76%|12%|"
        "0.01|0.00|29.41%|29%|0.00|29.41%|29%|0.00|29.41%|29%|0.00|11.76%|12%";
    EXPECT_EQ(Fill(ALL_FIELDS).utf8_string(), expected.utf8_string());
    EXPECT_TRUE(wxRegEx("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$").Matches(Fill("$gen_time$")));

    // The real template: every field filled, names shown as written.
    frame->GenerateReport();
    wxString page = TallywickFrame::s_strHtmlPage;
    EXPECT_EQ(page.Replace(breakable(tree / "$n_files$"), ""), 1u); // shown as written
    EXPECT_FALSE(wxRegEx("\\$[a-z_]+\\$").Matches(page)) << "a field is left in the report";
    EXPECT_TRUE(page.Contains("charset=utf-8"));
    EXPECT_EQ(ZeroBars(page), 0u);
    // The figures come first, the folders after the last of them.
    const wxString shown = frame->m_pHtmlWin->ToText();
    const int figures = shown.Find("Effort by phase");
    EXPECT_TRUE(figures > 0 && shown.Find("a&b <x>") > figures) << shown;
    EXPECT_TRUE(shown.Contains("41%"));
    ExpectTranslatedPage(frame->m_pHtmlWin, REPORT_TEXTS);
    SaveViewScreens("report-en");
}

// A run that finds no file: zeros, "0%" shares, no bars, no rows, no folders or types.
// Lines without code give no cost, so the phase shares are "0%" while line shares count:
// only the blank lines' bar shows.
TEST_F(ReportTest, EmptyRunsAndRunsWithoutCodeGiveZeroSharesAndNoBars) {
    uitest::Count(frame, {tree.Path()}, {".c"});
    EXPECT_EQ(Fill("$str_counting_dirs$|$str_counting_exts$|$str_lines_by_type$|$n_files$|"
                   "$n_code_parcentage$|$n_code_w$|$n_blank_parcentage$|$n_ut_case$|"
                   "$n_ut_case_parcentage$|$n_ut_case_w$|$n_ut_defect_parcentage_chart$|"
                   "$n_it_defect_parcentage$|$n_total_cost$|$n_cost_lld_parcentage$|"
                   "$n_cost_lld_w$|$n_total_mm$|$n_mm_it_parcentage$|$n_mm_it_w$"),
              "|||0|0%|0%|0%|0.00|0%|0%|0%|0%|0.00|0%|0%|0.00|0%|0%");
    frame->GenerateReport();
    EXPECT_EQ(ZeroBars(TallywickFrame::s_strHtmlPage), 16u);

    tree.Write("notes.txt", "a\n\nb\n");
    uitest::Count(frame, {tree.Path()}, {".txt"});
    EXPECT_EQ(Fill("$n_lines$|$n_blank_parcentage$|$n_blank_w$|$n_code_parcentage$|"
                   "$n_total_cost$|$n_cost_coding_parcentage$|$n_mm_ut_parcentage$"),
              "3|33%|33%|0%|0.00|0%|0%");
    frame->GenerateReport();
    EXPECT_EQ(ZeroBars(TallywickFrame::s_strHtmlPage), 15u);
}

// Occurrences: FIRST takes the next one, ALL the rest; inserted text is never searched; a
// closing dollar sign may open the next field.
TEST(PageTemplateTest, ReplacesInOnePassInTheOrderAdded) {
    PageTemplate fields;
    fields.Add("$a$", "1");
    fields.Add("$a$", "2");
    fields.Add("$b$", "$a$", PageTemplate::ALL);
    fields.Add("$c$", "x", PageTemplate::ALL);
    fields.Add("$c$", "never");
    const std::pair<const char*, const char*> cases[] = {
        {"$a$ $a$ $a$", "1 2 $a$"},
        {"$b$|$b$|$a$", "$a$|$a$|1"},
        {"$c$$c$$c$", "xxx"},
        {"$$a$$", "$1$"},
        {"$a$b$", "1b$"},
        {"$x$a$", "$x1"},
        {"$ $", "$ $"},
        {"no fields", "no fields"},
        {"$a", "$a"},
    };
    for (const auto& [page, filled] : cases)
        EXPECT_EQ(fields.Fill(page), filled) << page;
    EXPECT_EQ(EscapeHtml("<a href=\"x\">'&'</a>"),
              "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
}

// Templates are read beside the executable, whatever the characters of their path; bytes
// that are not UTF-8 show as U+FFFD, each byte of an overlong form too (C0 BC is no "<").
TEST_F(ReportTest, TemplatesAreReadAsUtf8OrReplacedByTheBuiltInPage) {
    const wxString name = "/conf/t#1%20 " + wxString::Format("%lu", wxGetProcessId()) + ".html";
    const wxString path = GetExecutableDir() + name;
    ASSERT_TRUE(wxFile().Create(path, true));
    {
        wxFile file(path, wxFile::write);
        const char bytes[] = "a\xC3\xA9\xE8\xA1\x8C|\xFF|\xC3|\xED\xA0\x80|\xF0\x9F\x98\x80|"
                             "\xC0\xBC|\xC1\x81|\xE0\x80\xBC";
        file.Write(bytes, sizeof bytes - 1);
    }
    frame->LoadHtmlTemplate(name);
    wxRemoveFile(path);
    EXPECT_EQ(TallywickFrame::s_strHtmlPage,
              wxString::FromUTF8("a\xC3\xA9\xE8\xA1\x8C|\xEF\xBF\xBD|\xEF\xBF\xBD|"
                                 "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD|\xF0\x9F\x98\x80|"
                                 "\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD|"
                                 "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"));

    // Missing, no regular file (a FIFO would block for ever, a device never end), or larger
    // than any page: the built-in page.
    const wxString stem = wxString::Format("/conf/bad%lu", wxGetProcessId());
    const std::string bad = (GetExecutableDir() + stem).ToStdString();
    ASSERT_EQ(mkfifo((bad + "fifo").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", bad + "zero");
    std::filesystem::create_directory(bad + "dir");
    wxFile().Create(bad + "big");
    std::filesystem::resize_file(bad + "big", PageTemplate::MAX_SIZE + 1);
    for (const char* name : {"missing", "fifo", "zero", "dir", "big"}) {
        frame->LoadHtmlTemplate(stem + name);
        EXPECT_EQ(TallywickFrame::s_strHtmlPage,
                  "<html><body><h2>Welcome to use Tallywick!</h2>\t\t\t\t\t\t\t<br>The "
                  "default report page seems to be missing...</body></html>")
            << name;
        std::filesystem::remove(bad + name);
    }
}

// The index page at start: both versions, escaped; links other than the web's never load into
// the view.
TEST_F(ReportTest, IndexPageShowsTheVersionsAndLinksStayOutOfTheView) {
    const wxString& page = TallywickFrame::s_strHtmlPage;
    EXPECT_TRUE(page.Contains("Your Version - 4.0.2.0"));
    EXPECT_TRUE(page.Contains("Latest Version - unknown"));
    EXPECT_FALSE(page.Contains("$your_version$") || page.Contains("$latest_version$"));
    EXPECT_TRUE(frame->m_pHtmlWin->ToText().Contains("Count in three steps"));
    EXPECT_TRUE(page.Contains("&quot;Dir&amp;Type&quot;"));
    ExpectTranslatedPage(frame->m_pHtmlWin, INDEX_TEXTS);
    SaveViewScreens("index-en");

    frame->SetLatestVersion("a<b");
    frame->ShowIndexPage();
    EXPECT_TRUE(page.Contains("Latest Version - a&lt;b"));
    const wxString before = frame->m_pHtmlWin->ToText();
    for (const char* href : {"other.html", "file:///etc/hostname", "#nowhere"})
        frame->m_pHtmlWin->OnLinkClicked(wxHtmlLinkInfo(href));
    uitest::Idle();
    EXPECT_EQ(frame->m_pHtmlWin->GetOpenedPage(), "");
    EXPECT_EQ(frame->m_pHtmlWin->ToText(), before);
}

// The report and the index page as a Chinese or Japanese user sees them.
class TranslatedReportTest : public testing::TestWithParam<const char*> {};

TEST_P(TranslatedReportTest, ShowsTranslatedTexts) {
    wxConfigBase::Get()->Write("ui_language", GetParam());
    TallywickFrame* frame = uitest::StartProgram();
    ASSERT_NE(frame, nullptr);
    const wxString title = wxGetTranslation("Tallywick Analysis Report");
    EXPECT_NE(title, "Tallywick Analysis Report");
    EXPECT_TRUE(TallywickFrame::s_strHtmlPage.Contains(wxGetTranslation("Your Version - ")));
    EXPECT_NE(wxGetTranslation(INDEX_TEXTS[0]), INDEX_TEXTS[0]);
    ExpectTranslatedPage(frame->m_pHtmlWin, INDEX_TEXTS);
    SaveViewScreens(wxString("index-") + GetParam());

    TempDir tree;
    tree.Write("源码/main.c", "int a;\n// note\n\n");
    uitest::Count(frame, {tree / "源码"}, {".c"});
    const wxString shown = frame->m_pHtmlWin->ToText();
    EXPECT_TRUE(shown.Contains(title));
    EXPECT_TRUE(shown.Contains("源码"));
    EXPECT_TRUE(shown.Contains(wxGetTranslation("Completed")));
    EXPECT_EQ(ZeroBars(TallywickFrame::s_strHtmlPage), 1u); // no code with comment
    EXPECT_NE(wxGetTranslation(REPORT_TEXTS[0]), REPORT_TEXTS[0]);
    ExpectTranslatedPage(frame->m_pHtmlWin, REPORT_TEXTS);
    SaveViewScreens(wxString("report-") + GetParam());
    uitest::CloseProgram(frame);
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedReportTest, testing::Values("zh_CN", "ja"));
} // namespace
