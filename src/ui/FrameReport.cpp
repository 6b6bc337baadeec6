// The Report page: the index page and the analysis report, made from templates.
#include "TallywickFrame.h"

#include "CorvkitUtil.h"
#include "CountingManager.h"
#include "CrvHtmlWin.h"
#include "ExecutablePath.h"
#include "PageTemplate.h"
#include "PhaseResult.h"
#include "ResultText.h"

#include <cmath>
#include <string>
#include <wx/datetime.h>
#include <wx/file.h>
#include <wx/log.h>

namespace {
const char* const BUILT_IN_PAGE =
    "<html><body><h2>Welcome to use Tallywick!</h2>\t\t\t\t\t\t\t<br>The default report page "
    "seems to be missing...</body></html>";

// The whole file; false when it cannot be opened or read.
bool ReadBytes(const wxString& path, std::string& bytes) {
    wxLogNull quiet; // a missing template shows the built-in page, not an error box
    wxFile file;
    if (!file.Open(path, wxFile::read))
        return false;
    char buffer[16384];
    for (;;) {
        const ssize_t got = file.Read(buffer, sizeof buffer);
        if (got == wxInvalidOffset)
            return false;
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// UTF-8 to text; each byte that starts no valid sequence becomes U+FFFD, so a template
// saved in another encoding still shows.
wxString DecodeUtf8(const std::string& bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char lead = p[i];
        std::size_t length = 0;
        char32_t code = 0, min = 0;
        if (lead < 0x80) {
            length = 1, code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F, min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F, min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07, min = 0x10000;
        }
        bool valid = length != 0 && i + length <= n;
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        valid = valid && code >= min && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        text += valid ? static_cast<wchar_t>(code) : L'\uFFFD';
        i += valid ? length : 1;
    }
    return wxString(text);
}

// Numbers take '.' as the decimal mark, whatever the locale.
wxString Fixed(double value) {
    return wxString::FromCDouble(value, 2);
}

// The bars' colours, by what they show.
namespace colour {
const char* const CODE = "#4f81bd";
const char* const CODE_COMMENT = "#8064a2";
const char* const COMMENT = "#9bbb59";
const char* const BLANK = "#a5a5a5";
const char* const CASES = "#4bacc6";
const char* const DEFECTS = "#f79646";
const char* const COST = CODE;
const char* const EFFORT = COMMENT;
} // namespace colour

// The fields "$<bar>_w$" and "$<bar>_c$" of a bar: its share in whole percent, rounded as
// its label rounds it (a truncated label passes its truncated share), at least 1 for any share
// above 0, and its colour. A share of 0 gets "0%" and no colour, since the view draws even an
// empty cell a pixel wide.
void AddBar(PageTemplate& f, const wxString& bar, double percent, const char* colour) {
    const bool shown = percent > 0;
    const long whole = shown ? std::max(1L, std::lround(std::min(percent, 100.0))) : 0;
    f.Add("$" + bar + "_w$", CountText(static_cast<std::size_t>(whole)) + "%");
    f.Add("$" + bar + "_c$", shown ? colour : "");
}

wxString PercentText(float percent) {
    return Fixed(percent) + "%";
}

// Whether a line may break between two characters of a translation. The view breaks only at
// spaces, so Chinese and Japanese get <wbr> between their characters, though never before
// closing or after opening punctuation, nor inside a word of katakana; Latin text may break
// after a slash.
bool MayBreakBetween(wxUniChar before, wxUniChar after) {
    const auto in = [](wxUniChar c, unsigned first, unsigned last) {
        return c.GetValue() >= first && c.GetValue() <= last;
    };
    const auto wide = [&](wxUniChar c) {
        return in(c, 0x2E80, 0x9FFF) || in(c, 0xF900, 0xFAFF) || in(c, 0xFF00, 0xFFEF);
    };
    static const wxString noStart =
        L"、。，．：；？！）」』】〉》”’ー々ぁぃぅぇぉっゃゅょァィゥェォッャュョ・…,.:;!?)]+";
    static const wxString noEnd = L"（「『【〈《“‘([";
    if (before == '/')
        return wxIsalpha(after);
    return (wide(before) || wide(after)) && !wxIsspace(before) && !wxIsspace(after) &&
           !(in(before, 0x30A0, 0x30FF) && in(after, 0x30A0, 0x30FF)) &&
           noStart.Find(after) == wxNOT_FOUND && noEnd.Find(before) == wxNOT_FOUND;
}

// Each "$tr:text$" of a template becomes the text's translation, escaped, with its dollar
// signs written as entities so that no translation can form a field of the later pass.
wxString TranslateFields(const wxString& page) {
    const wxString open = "$tr:";
    wxString out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t start = page.find(open, pos);
        const std::size_t end =
            start == wxString::npos ? start : page.find('$', start + open.length());
        if (end == wxString::npos) {
            out.append(page, pos, wxString::npos);
            return out;
        }
        out.append(page, pos, start - pos);
        const wxString text =
            wxGetTranslation(page.substr(start + open.length(), end - start - open.length()));
        // A line never holds the first or the last character of a text alone.
        for (std::size_t i = 0; i < text.length(); ++i) {
            if (i > 1 && i + 1 < text.length() && MayBreakBetween(text[i - 1], text[i]))
                out += "<wbr>";
            out += text[i] == '$' ? wxString("&#36;") : EscapeHtml(wxString(text[i]));
        }
        pos = end + 1;
    }
}

wxString LatestVersionText(TallywickFrame& frame) {
    wxMutexLocker lock(frame.m_mutexVersion);
    return EscapeHtml(_("Latest Version - ") + frame.m_strLatestVersion);
}
} // namespace

void TallywickFrame::LoadHtmlTemplate(const wxString& relativePath) {
    s_strHtmlPage.clear();
    // Read with the file classes: the virtual file system would misread paths with '#' or '%'.
    std::string bytes;
    if (!ReadBytes(GetExecutableDir() + relativePath, bytes)) {
        s_strHtmlPage = BUILT_IN_PAGE;
        return;
    }
    s_strHtmlPage = TranslateFields(DecodeUtf8(bytes));
}

void TallywickFrame::ShowIndexPage() {
    LoadHtmlTemplate(INDEX_PAGE_FILE);
    PageTemplate fields;
    fields.Add("$your_version$", EscapeHtml(_("Your Version - ") + GetVersionString()));
    fields.Add("$latest_version$", LatestVersionText(*this));
    s_strHtmlPage = fields.Fill(s_strHtmlPage);
    m_pHtmlWin->SetPage(s_strHtmlPage);
}

void TallywickFrame::GenerateReport() {
    LoadHtmlTemplate(REPORT_TEMPLATE_FILE);
    s_strHtmlPage = ReportFields().Fill(s_strHtmlPage);
    m_pHtmlWin->SetPage(s_strHtmlPage);
}

PageTemplate TallywickFrame::ReportFields() {
    // Only while the run is on the stack is the state word the run's own.
    if (m_loops.Counting())
        m_bRunCanceled = m_pCountingManager->m_nState == CountingManager::STATE_STOPPED;

    const TotalResult& t = m_pCountingManager->m_totalResult;
    PageTemplate f;
    f.Add("$report_title$", EscapeHtml(_("Tallywick Analysis Report")), PageTemplate::ALL);
    f.Add("$gen_time$", wxDateTime::Now().Format("%Y-%m-%d %H:%M:%S"));
    f.Add("$run_state$", EscapeHtml(m_bRunCanceled ? _("Canceled") : _("Completed")));
    f.Add("$your_version$", EscapeHtml(_("Your Version - ") + GetVersionString()));
    f.Add("$latest_version$", LatestVersionText(*this));
    wxString dirs, exts;
    for (const wxString& dir : m_filterParam.m_arrDirs) {
        // Long paths may break after a separator instead of widening the page.
        wxString shown = EscapeHtml(dir);
        shown.Replace("/", "/<wbr>");
        dirs << shown << "<br>";
    }
    for (const wxString& ext : m_filterParam.m_arrExts)
        exts << EscapeHtml(ext) << ";";
    f.Add("$str_counting_dirs$", dirs);
    f.Add("$str_counting_exts$", exts);
    f.Add("$n_files$", CountText(t.m_nFiles));
    f.Add("$n_size$", CountText(t.m_nSize));
    f.Add("$n_lines$", CountText(t.m_nLines));

    // Line shares are whole percent, truncated, and so are their bars.
    const auto lines = [&](const char* field, const char* share, const char* bar, std::size_t n,
                           const char* colour) {
        const std::size_t percent = t.m_nLines == 0 ? 0 : n * 100 / t.m_nLines;
        f.Add(field, CountText(n));
        f.Add(share, CountText(percent) + "%", PageTemplate::ALL);
        AddBar(f, bar, percent, colour);
    };
    lines("$n_code_lines$", "$n_code_parcentage$", "n_code", t.m_nCodeLines, colour::CODE);
    lines("$n_code_comm_lines$", "$n_code_comm_parcentage$", "n_code_comm", t.m_nCodeCommentLines,
          colour::CODE_COMMENT);
    lines("$n_comm_lines$", "$n_comm_parcentage$", "n_comm", t.m_nCommentLines, colour::COMMENT);
    lines("$n_blank_lines$", "$n_blank_parcentage$", "n_blank", t.m_nBlankLines, colour::BLANK);

    wxString rows;
    for (std::size_t i = 0; i < m_pCountingManager->m_extResults.size(); ++i) {
        const ExtensionResult& e = *m_pCountingManager->m_extResults[i];
        rows << (i % 2 ? "<tr bgcolor=\"#eef4e2\">" : "<tr>") << "<td>" << EscapeHtml(e.m_strExt)
             << "</td>";
        for (std::size_t n : {e.m_nFiles, e.m_nSize, e.m_nLines, e.m_nCodeLines,
                              e.m_nCodeCommentLines, e.m_nCommentLines, e.m_nBlankLines})
            rows << "<td align=\"right\">" << CountText(n) << "</td>";
        rows << "</tr>";
    }
    f.Add("$str_lines_by_type$", rows, PageTemplate::ALL);

    // Test shares are kept in single precision; "0%" when there are no such cases.
    const double utc = t.m_fUtCases, utd = t.m_fUtDefects, itc = t.m_fItCases, itd = t.m_fItDefects;
    const auto test = [&](const char* share, const char* bar, bool valid, float percent,
                          const char* colour = nullptr) {
        f.Add(share, valid ? PercentText(percent) : wxString("0%"));
        if (bar)
            AddBar(f, bar, valid ? percent : 0.0, colour);
    };
    f.Add("$n_ut_case$", Fixed(utc));
    f.Add("$n_ut_defect$", Fixed(utd));
    test("$n_ut_case_parcentage$", "n_ut_case", utc > 0, 100.0f * utc / (utc + itc), colour::CASES);
    test("$n_ut_defect_parcentage_chart$", "n_ut_defect_chart", utc > 0, 100.0f * utd / (utc + itc),
         colour::DEFECTS);
    test("$n_ut_defect_parcentage$", nullptr, utc > 0, 100.0f * utd / utc);
    f.Add("$n_it_case$", Fixed(itc));
    f.Add("$n_it_defect$", Fixed(itd));
    test("$n_it_case_parcentage$", "n_it_case", itc > 0, 100.0f * itc / (utc + itc), colour::CASES);
    // The second occurrence of the chart field takes the integration-test value.
    test("$n_ut_defect_parcentage_chart$", "n_it_defect_chart", itc > 0, 100.0f * itd / (utc + itc),
         colour::DEFECTS);
    test("$n_it_defect_parcentage$", nullptr, itc > 0, 100.0f * itd / itc);

    // Phase shares are kept in single precision; "0%" without lines or without a total.
    const PhaseResult p(t, m_analysisParam);
    const auto phases = [&](const char* total, double sum, const char* colour,
                            std::initializer_list<std::pair<const char*, double>> values) {
        f.Add(total, Fixed(sum));
        for (const auto& [field, value] : values) {
            const wxString name = wxString(field).Mid(1).BeforeLast('$');
            const bool valid = t.m_nLines != 0 && sum > 0;
            const float percent = valid ? 100.0f * value / sum : 0.0f;
            f.Add(field, Fixed(value));
            f.Add("$" + name + "_parcentage$", valid ? PercentText(percent) : wxString("0%"),
                  PageTemplate::ALL);
            AddBar(f, name, percent, colour);
        }
    };
    phases("$n_total_cost$", p.m_fLLDCost + p.m_fCDCost + p.m_fUTCost + p.m_fITCost, colour::COST,
           {{"$n_cost_lld$", p.m_fLLDCost},
            {"$n_cost_coding$", p.m_fCDCost},
            {"$n_cost_ut$", p.m_fUTCost},
            {"$n_cost_it$", p.m_fITCost}});
    phases("$n_total_mm$", p.m_fLLDMM + p.m_fCDMM + p.m_fUTMM + p.m_fITMM, colour::EFFORT,
           {{"$n_mm_lld$", p.m_fLLDMM},
            {"$n_mm_coding$", p.m_fCDMM},
            {"$n_mm_ut$", p.m_fUTMM},
            {"$n_mm_it$", p.m_fITMM}});
    return f;
}
