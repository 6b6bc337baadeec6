// The fields of the analysis report, made from a run's results and parameters; no window needed.
#pragma once

#include "PageTemplate.h"

#include <memory>
#include <vector>
#include <wx/datetime.h>

class AnalysisParam;
class ExtensionResult;
class FilterParam;
class TotalResult;

// What the report says about the run besides its figures.
struct ReportRun {
    bool canceled = false;
    // As the version check left it, unescaped.
    wxString latestVersion;
    wxDateTime generated = wxDateTime::Now();
};

// "$your_version$" and "$latest_version$", which the index page shows too.
void AddVersionFields(PageTemplate& fields, const wxString& latestVersion);

PageTemplate ReportFields(const TotalResult& total,
                          const std::vector<std::unique_ptr<ExtensionResult>>& types,
                          const AnalysisParam& analysis, const FilterParam& filter,
                          const ReportRun& run);
