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

struct SummaryRow {
    const char* category;
    const char* label;
    const char* name;
    bool integer;
    const char* units;
};

const SummaryRow SUMMARY_ROWS[] = {
    {wxTRANSLATE("Lines Counting"), wxTRANSLATE("Total Lines"), "TotalLines", true,
     wxTRANSLATE("Lines")},
    {nullptr, wxTRANSLATE("Code lines"), "CodeLines", true, wxTRANSLATE("Lines")},
    {nullptr, wxTRANSLATE("Code-Comment lines"), "CodeCommLines", true, wxTRANSLATE("Lines")},
    {nullptr, wxTRANSLATE("Comment lines"), "CommLines", true, wxTRANSLATE("Lines")},
    {nullptr, wxTRANSLATE("Blank lines"), "BlankLines", true, wxTRANSLATE("Lines")},
    {wxTRANSLATE("Test Case and Defect"), wxTRANSLATE("Unit Test Case"), "UTCase", false,
     wxTRANSLATE("Cases")},
    {nullptr, wxTRANSLATE("Unit Test Defect"), "UTDefect", false, wxTRANSLATE("Defects")},
    {nullptr, wxTRANSLATE("Integration Test Case"), "ITCase", false, wxTRANSLATE("Cases")},
    {nullptr, wxTRANSLATE("Integration Test Defect"), "ITDefect", false, wxTRANSLATE("Defects")},
    {wxTRANSLATE("Other"), wxTRANSLATE("Files"), "Files", true, wxTRANSLATE("Files")},
    {nullptr, wxTRANSLATE("Size"), "Size", true, wxTRANSLATE("Bytes")},
    {wxTRANSLATE("Cost and Man-month by phase"), wxTRANSLATE("Low Level Design Cost"), "LLDCost",
     false, wxTRANSLATE("Dollars")},
    {nullptr, wxTRANSLATE("Low Level Design Man-month"), "LLDMM", false, wxTRANSLATE("Man-month")},
    {nullptr, wxTRANSLATE("Coding Cost"), "CDCost", false, wxTRANSLATE("Dollars")},
    {nullptr, wxTRANSLATE("Coding Man-month"), "CDMM", false, wxTRANSLATE("Man-month")},
    {nullptr, wxTRANSLATE("Unit Test Cost"), "UTCost", false, wxTRANSLATE("Dollars")},
    {nullptr, wxTRANSLATE("Unit Test Man-month"), "UTMM", false, wxTRANSLATE("Man-month")},
    {nullptr, wxTRANSLATE("Integration Test Cost"), "ITCost", false, wxTRANSLATE("Dollars")},
    {nullptr, wxTRANSLATE("Integration Test Man-month"), "ITMM", false, wxTRANSLATE("Man-month")},
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
        if (row.integer) {
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
}

void TallywickFrame::FitAnalysisGrid() {
    // Every label, and every value up to the largest allowed with its unit, is read in full:
    // the columns share the width as their texts need it, and the pane asks for their sum.
    int labels = 0, values = 0;
    for (const AnalysisRow& row : ANALYSIS_ROWS) {
        wxPGProperty* property = m_pAnalysisGrid->GetProperty(row.name);
        labels = std::max(labels, m_pAnalysisGrid->GetState()->GetColumnFullWidth(property, 0));
        const wxString largest = wxString::Format(
            "%ld %s", row.max, property->GetAttribute(wxPG_ATTR_UNITS).GetString());
        values = std::max(values, m_pAnalysisGrid->GetTextExtent(largest).x + 2 * wxPG_XBEFORETEXT);
    }
    m_pAnalysisGrid->SetColumnProportion(0, labels);
    m_pAnalysisGrid->SetColumnProportion(1, values);
    const int pane = m_pAnalysisGrid->GetMarginWidth() + labels + values +
                     wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, m_pAnalysisGrid);
    // The dock takes a new best size only when it is built; a minimum widens it now, and the
    // user may narrow it again afterwards.
    wxAuiPaneInfo& info = m_pAuiManager->GetPane(m_pPanelAnalysis);
    const wxSize minimum = info.min_size;
    info.BestSize(pane, minimum.y).MinSize(pane, minimum.y);
    m_pAuiManager->Update();
    info.MinSize(minimum);
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
    // A long is 64 bits here, so sizes of 4 GiB and more show in full.
    const std::pair<const char*, long> integers[] = {
        {"TotalLines", static_cast<long>(total.m_nLines)},
        {"CodeLines", static_cast<long>(total.m_nCodeLines)},
        {"CodeCommLines", static_cast<long>(total.m_nCodeCommentLines)},
        {"CommLines", static_cast<long>(total.m_nCommentLines)},
        {"BlankLines", static_cast<long>(total.m_nBlankLines)},
        {"Files", static_cast<long>(total.m_nFiles)},
        {"Size", static_cast<long>(total.m_nSize)},
    };
    for (const auto& value : integers)
        m_pSummaryGrid->SetPropertyValue(value.first, wxVariant(value.second));
    const std::pair<const char*, double> floats[] = {
        {"UTCase", total.m_fUtCases},  {"UTDefect", total.m_fUtDefects},
        {"ITCase", total.m_fItCases},  {"ITDefect", total.m_fItDefects},
        {"LLDCost", phase.m_fLLDCost}, {"CDCost", phase.m_fCDCost},
        {"UTCost", phase.m_fUTCost},   {"ITCost", phase.m_fITCost},
        {"LLDMM", phase.m_fLLDMM},     {"CDMM", phase.m_fCDMM},
        {"UTMM", phase.m_fUTMM},       {"ITMM", phase.m_fITMM},
    };
    for (const auto& value : floats)
        m_pSummaryGrid->SetPropertyValue(value.first, wxVariant(value.second));
}
