// The analysis report's fields: figures, shares, bars and the lines-by-type table.
#include "ReportFields.h"

#include "AnalysisParam.h"
#include "CorvkitUtil.h"
#include "ExtensionResult.h"
#include "FilterParam.h"
#include "PhaseResult.h"
#include "ResultText.h"
#include "TotalResult.h"

#include <algorithm>
#include <cmath>
#include <wx/intl.h>

namespace {
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

} // namespace

void AddVersionFields(PageTemplate& fields, const wxString& latestVersion) {
    fields.Add("$your_version$", EscapeHtml(_("Your Version - ") + GetVersionString()));
    fields.Add("$latest_version$", EscapeHtml(_("Latest Version - ") + latestVersion));
}

PageTemplate ReportFields(const TotalResult& t,
                          const std::vector<std::unique_ptr<ExtensionResult>>& types,
                          const AnalysisParam& analysis, const FilterParam& filter,
                          const ReportRun& run) {
    PageTemplate f;
    f.Add("$report_title$", EscapeHtml(_("Tallywick Analysis Report")), PageTemplate::ALL);
    f.Add("$gen_time$", run.generated.Format("%Y-%m-%d %H:%M:%S"));
    f.Add("$run_state$", EscapeHtml(run.canceled ? _("Canceled") : _("Completed")));
    AddVersionFields(f, run.latestVersion);
    wxString dirs, exts;
    for (const wxString& dir : filter.m_arrDirs) {
        // Long paths may break after a separator instead of widening the page.
        wxString shown = EscapeHtml(dir);
        shown.Replace("/", "/<wbr>");
        dirs << shown << "<br>";
    }
    for (const wxString& ext : filter.m_arrExts)
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
    for (std::size_t i = 0; i < types.size(); ++i) {
        const ExtensionResult& e = *types[i];
        rows << (i % 2 ? "<tr bgcolor=\"#eef4e2\">" : "<tr>") << "<td>" << EscapeHtml(e.m_strExt)
             << "</td>";
        for (long column = 1; column < static_cast<long>(SUMMARY_COLUMNS.size()); ++column)
            rows << "<td align=\"right\">" << CountsText(e, column) << "</td>";
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
    const PhaseResult p(t, analysis);
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
