// The analysis parameter grid and the summary grid.
#include "TallywickFrame.h"

#include "CountingManager.h"
#include "FixedFloatProperty.h"
#include "PhaseResult.h"

#include <algorithm>
#include <wx/aui/framemanager.h>
#include <wx/propgrid/advprops.h>
#include <wx/propgrid/propgrid.h>
#include <wx/settings.h>

namespace {
struct AnalysisRow {
    const char* category; // null: same category as the row before
    const char* label;
    const char* name;
    int AnalysisParam::*field;
    long min;
    long max;
    const char* units;
};

const AnalysisRow ANALYSIS_ROWS[] = {
    {wxTRANSLATE("Productivity and Cost"), wxTRANSLATE("Coding productivity per man-month"),
     "ManMonthLines", &AnalysisParam::m_nManMonthLines, 1000, 100000, wxTRANSLATE("Lines")},
    {nullptr, wxTRANSLATE("Man-days of one man-month"), "ManMonthDays",
     &AnalysisParam::m_nManMonthDays, 15, 31, wxTRANSLATE("Days")},
    {nullptr, wxTRANSLATE("Cost of one man-month"), "ManMonthCost", &AnalysisParam::m_nManMonthCost,
     1, 100000, wxTRANSLATE("Dollars")},
    {wxTRANSLATE("Test Case and Defect"), wxTRANSLATE("Unit Test case density"), "UTCaseDensity",
     &AnalysisParam::m_nUTCaseDensity, 1, 200, wxTRANSLATE("Cases/KLOC")},
    {nullptr, wxTRANSLATE("Unit Test defect density"), "UTDefectDensity",
     &AnalysisParam::m_nUTDefectDensity, 1, 20, wxTRANSLATE("Defects/KLOC")},
    {nullptr, wxTRANSLATE("Integration Test case density"), "ITCaseDensity",
     &AnalysisParam::m_nITCaseDensity, 1, 100, wxTRANSLATE("Cases/KLOC")},
    {nullptr, wxTRANSLATE("Integration Test defect density"), "ITDefectDensity",
     &AnalysisParam::m_nITDefectDensity, 1, 10, wxTRANSLATE("Defects/KLOC")},
    {wxTRANSLATE("Phase Percentage(%)"), wxTRANSLATE("Low Level Design / Coding"), "LLD",
     &AnalysisParam::m_nLLD, 10, 500, nullptr},
    {nullptr, wxTRANSLATE("Unit Test / Coding"), "UT", &AnalysisParam::m_nUT, 10, 500, nullptr},
    {nullptr, wxTRANSLATE("Integration Test / Coding"), "IT", &AnalysisParam::m_nIT, 10, 500,
     nullptr},
};

// A summary row shows one figure of the total or of the phases; exactly one pointer is set.
// Counts show as integers, the estimates with two decimals.
struct SummaryRow {
    const char* category;
    const char* label;
    const char* name;
    const char* units;
    std::size_t Result::*count;
    double Result::*estimate;
    double PhaseResult::*phase;
};

SummaryRow Count(const char* category, const char* label, const char* name, const char* units,
                 std::size_t Result::*count) {
    return {category, label, name, units, count, nullptr, nullptr};
}
SummaryRow Estimate(const char* category, const char* label, const char* name, const char* units,
                    double Result::*estimate) {
    return {category, label, name, units, nullptr, estimate, nullptr};
}
SummaryRow Phase(const char* category, const char* label, const char* name, const char* units,
                 double PhaseResult::*phase) {
    return {category, label, name, units, nullptr, nullptr, phase};
}

const char* const LINES = wxTRANSLATE("Lines");
const char* const DOLLARS = wxTRANSLATE("Dollars");
const char* const MAN_MONTH = wxTRANSLATE("Man-month");

// A cell's text with the room the grid leaves around it. The rows lie directly under their
// categories, which the grid draws with no indent beyond its margin.
int CellWidth(wxPropertyGrid* grid, const wxString& text) {
    return grid->GetTextExtent(text).x + 2 * wxPG_XBEFORETEXT;
}

const SummaryRow SUMMARY_ROWS[] = {
    Count(wxTRANSLATE("Lines Counting"), wxTRANSLATE("Total Lines"), "TotalLines", LINES,
          &Result::m_nLines),
    Count(nullptr, wxTRANSLATE("Code lines"), "CodeLines", LINES, &Result::m_nCodeLines),
    Count(nullptr, wxTRANSLATE("Code-Comment lines"), "CodeCommLines", LINES,
          &Result::m_nCodeCommentLines),
    Count(nullptr, wxTRANSLATE("Comment lines"), "CommLines", LINES, &Result::m_nCommentLines),
    Count(nullptr, wxTRANSLATE("Blank lines"), "BlankLines", LINES, &Result::m_nBlankLines),
    Estimate(wxTRANSLATE("Test Case and Defect"), wxTRANSLATE("Unit Test Case"), "UTCase",
             wxTRANSLATE("Cases"), &Result::m_fUtCases),
    Estimate(nullptr, wxTRANSLATE("Unit Test Defect"), "UTDefect", wxTRANSLATE("Defects"),
             &Result::m_fUtDefects),
    Estimate(nullptr, wxTRANSLATE("Integration Test Case"), "ITCase", wxTRANSLATE("Cases"),
             &Result::m_fItCases),
    Estimate(nullptr, wxTRANSLATE("Integration Test Defect"), "ITDefect", wxTRANSLATE("Defects"),
             &Result::m_fItDefects),
    Count(wxTRANSLATE("Other"), wxTRANSLATE("Files"), "Files", wxTRANSLATE("Files"),
          &Result::m_nFiles),
    Count(nullptr, wxTRANSLATE("Size"), "Size", wxTRANSLATE("Bytes"), &Result::m_nSize),
    Phase(wxTRANSLATE("Cost and Man-month by phase"), wxTRANSLATE("Low Level Design Cost"),
          "LLDCost", DOLLARS, &PhaseResult::m_fLLDCost),
    Phase(nullptr, wxTRANSLATE("Low Level Design Man-month"), "LLDMM", MAN_MONTH,
          &PhaseResult::m_fLLDMM),
    Phase(nullptr, wxTRANSLATE("Coding Cost"), "CDCost", DOLLARS, &PhaseResult::m_fCDCost),
    Phase(nullptr, wxTRANSLATE("Coding Man-month"), "CDMM", MAN_MONTH, &PhaseResult::m_fCDMM),
    Phase(nullptr, wxTRANSLATE("Unit Test Cost"), "UTCost", DOLLARS, &PhaseResult::m_fUTCost),
    Phase(nullptr, wxTRANSLATE("Unit Test Man-month"), "UTMM", MAN_MONTH, &PhaseResult::m_fUTMM),
    Phase(nullptr, wxTRANSLATE("Integration Test Cost"), "ITCost", DOLLARS,
          &PhaseResult::m_fITCost),
    Phase(nullptr, wxTRANSLATE("Integration Test Man-month"), "ITMM", MAN_MONTH,
          &PhaseResult::m_fITMM),
};
} // namespace

void TallywickFrame::InitPropertyGrids() {
    for (const AnalysisRow& row : ANALYSIS_ROWS) {
        if (row.category)
            m_pAnalysisGrid->Append(new wxPropertyCategory(wxGetTranslation(row.category)));
        m_pAnalysisGrid->Append(
            new wxUIntProperty(wxGetTranslation(row.label), row.name, m_analysisParam.*row.field));
        m_pAnalysisGrid->SetPropertyAttribute(row.name, wxPG_ATTR_MIN, row.min);
        m_pAnalysisGrid->SetPropertyAttribute(row.name, wxPG_ATTR_MAX, row.max);
        m_pAnalysisGrid->SetPropertyAttribute(row.name, wxPG_ATTR_UNITS,
                                              row.units ? wxGetTranslation(row.units) : "%");
    }
    FitAnalysisGrid();
    for (const SummaryRow& row : SUMMARY_ROWS) {
        if (row.category)
            m_pSummaryGrid->Append(new wxPropertyCategory(wxGetTranslation(row.category)));
        if (row.count) {
            m_pSummaryGrid->Append(new wxUIntProperty(wxGetTranslation(row.label), row.name, 0));
        } else {
            m_pSummaryGrid->Append(
                new FixedFloatProperty(wxGetTranslation(row.label), row.name, 0));
            // Two decimals and never an exponent: 1250000.00, not 1.25e+06.
            m_pSummaryGrid->SetPropertyAttribute(row.name, wxPG_FLOAT_PRECISION, 2);
        }
        m_pSummaryGrid->SetPropertyAttribute(row.name, wxPG_ATTR_UNITS,
                                             wxGetTranslation(row.units));
        // Results to read and copy, not to type over.
        m_pSummaryGrid->SetPropertyReadOnly(row.name);
    }
    FitSummaryGrid();
}

void TallywickFrame::FitAnalysisGrid() {
    // Every label, and every value up to the largest allowed with its unit, is read in full.
    int labels = 0, values = 0;
    for (const AnalysisRow& row : ANALYSIS_ROWS) {
        wxPGProperty* property = m_pAnalysisGrid->GetProperty(row.name);
        labels = std::max(labels, CellWidth(m_pAnalysisGrid, property->GetLabel()));
        const wxString largest = wxString::Format(
            "%ld %s", row.max, property->GetAttribute(wxPG_ATTR_UNITS).GetString());
        values = std::max(values, CellWidth(m_pAnalysisGrid, largest));
    }
    m_pAuiManager->SetDockWidth(wxAUI_DOCK_LEFT, FitGridColumns(m_pAnalysisGrid, labels, values));
}

void TallywickFrame::FitSummaryGrid() {
    // Every label and value as shown; the result pane asks for the room (FitResultPane).
    int labels = 0, values = 0;
    for (const SummaryRow& row : SUMMARY_ROWS) {
        wxPGProperty* property = m_pSummaryGrid->GetProperty(row.name);
        labels = std::max(labels, CellWidth(m_pSummaryGrid, property->GetLabel()));
        values =
            std::max(values, CellWidth(m_pSummaryGrid,
                                       property->GetDisplayedString() + " " +
                                           property->GetAttribute(wxPG_ATTR_UNITS).GetString()));
    }
    m_nSummaryWidth = FitGridColumns(m_pSummaryGrid, labels, values);
}

int TallywickFrame::FitGridColumns(wxPropertyGrid* grid, int labels, int values) {
    // The columns share the width as their texts need it.
    grid->SetColumnProportion(0, labels);
    grid->SetColumnProportion(1, values);
    return grid->GetMarginWidth() + labels + values +
           wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, grid);
}

void TallywickFrame::ReadAnalysisParam() {
    // A value still being typed counts as entered.
    m_pAnalysisGrid->CommitChangesFromEditor();
    if (!m_pAnalysisGrid->IsAnyModified()) {
        m_analysisParam.m_bValid = false;
        return;
    }
    m_analysisParam.m_bValid = true;
    for (const AnalysisRow& row : ANALYSIS_ROWS)
        m_analysisParam.*row.field =
            static_cast<int>(m_pAnalysisGrid->GetPropertyValueAsLong(row.name));
}

void TallywickFrame::UpdateSummaryGrid() {
    const TotalResult& total = m_pCountingManager->m_totalResult;
    const PhaseResult phase(total, m_analysisParam);
    for (const SummaryRow& row : SUMMARY_ROWS) {
        // A long is 64 bits here, so sizes of 4 GiB and more show in full.
        const wxVariant value = row.count      ? wxVariant(static_cast<long>(total.*row.count))
                                : row.estimate ? wxVariant(total.*row.estimate)
                                               : wxVariant(phase.*row.phase);
        m_pSummaryGrid->SetPropertyValue(row.name, value);
    }
    FitSummaryGrid();
}
