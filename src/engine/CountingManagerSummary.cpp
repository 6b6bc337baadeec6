// The counting manager: summaries after a run, filtering and recalculation.
#include "CountingManager.h"

#include "AnalysisObserver.h"
#include "FileExtension.h"
#include "FilterObserver.h"
#include "FilterParam.h"

#include <unordered_map>
#include <unordered_set>
#include <wx/hashmap.h>

namespace {
using StringSet = std::unordered_set<wxString, wxStringHash, wxStringEqual>;

wxString DateText(const wxDateTime& when) {
    return when.Format("%Y-%m-%d");
}

// Appends each value once, in the order first met.
void AppendDistinct(wxArrayString& list, StringSet& seen, const wxString& value) {
    if (seen.insert(value).second)
        list.push_back(value);
}

// Builds one record per key (the keys are distinct) and adds into it every (visible) file
// whose value of the grouped field equals the key. One pass over the files, whatever the
// number of keys.
template <typename Record, typename Field>
void Group(const wxArrayString& keys, const std::vector<std::unique_ptr<FileResult>>& files,
           bool visibleOnly, bool withEstimates, Field field,
           std::vector<std::unique_ptr<Record>>& records) {
    std::unordered_map<wxString, Record*, wxStringHash, wxStringEqual> byKey;
    for (const wxString& key : keys) {
        records.push_back(std::make_unique<Record>(key));
        byKey.emplace(key, records.back().get());
    }
    if (byKey.empty())
        return;
    for (const auto& file : files) {
        if (visibleOnly && !file->m_bVisible)
            continue;
        const auto found = byKey.find((*file).*field);
        if (found == byKey.end())
            continue;
        found->second->AddCounts(*file, 1);
        if (withEstimates)
            found->second->AddEstimates(*file);
    }
}
} // namespace

void CountingManager::Summarize() {
    m_dirList.clear();
    m_extList.clear();
    m_dateList.clear();
    StringSet dirs, exts, dates;
    for (const auto& file : m_fileResults) {
        AppendDistinct(m_dirList, dirs, file->m_strDir);
        AppendDistinct(m_extList, exts, file->m_strExt);
        AppendDistinct(m_dateList, dates, DateText(file->m_dtModified));
    }
    ClearDirectoryResults();
    Group(m_dirList, m_fileResults, false, true, &FileResult::m_strDir, m_dirResults);
    ClearExtensionResults();
    Group(m_extList, m_fileResults, false, true, &FileResult::m_strExt, m_extResults);
    if (m_pFilterObserver)
        m_pFilterObserver->OnFilterUpdate();
}

void CountingManager::ApplyFilter(const FilterParam* filter) {
    const bool active = filter->m_bFilterDir || filter->m_bFilterExt || filter->m_bFilterDate;
    if (!active) {
        SetAllVisible(true);
        return;
    }
    const StringSet exts(filter->m_arrExts.begin(), filter->m_arrExts.end());
    const StringSet dirs(filter->m_arrDirs.begin(), filter->m_arrDirs.end());
    const StringSet dates(filter->m_arrDates.begin(), filter->m_arrDates.end());
    for (const auto& file : m_fileResults)
        file->m_bVisible = exts.count(file->m_strExt) && dirs.count(file->m_strDir) &&
                           dates.count(DateText(file->m_dtModified));
}

void CountingManager::Recalculate(const AnalysisParam* param, const FilterParam* filter) {
    m_totalResult.Reset();
    for (const auto& file : m_fileResults) {
        if (!file->m_bVisible)
            continue;
        Analyse(param, file.get());
        m_totalResult.AddCounts(*file, 1);
        m_totalResult.AddEstimates(*file);
    }
    ClearDirectoryResults();
    Group(filter->m_arrDirs, m_fileResults, true, false, &FileResult::m_strDir, m_dirResults);
    ClearExtensionResults();
    Group(filter->m_arrExts, m_fileResults, true, false, &FileResult::m_strExt, m_extResults);
}

void CountingManager::Filter(const AnalysisParam* param, const FilterParam* filter) {
    if (m_fileResults.empty())
        return;
    ApplyFilter(filter);
    Recalculate(param, filter);
    if (m_pAnalysisObserver)
        m_pAnalysisObserver->OnAnalysisUpdate();
}

FileExtension* CountingManager::GetFileExtension(const wxString& ext) const {
    const auto found = m_extMap.find(ext);
    return found == m_extMap.end() ? nullptr : found->second.get();
}

void CountingManager::SetAllVisible(bool visible) {
    for (const auto& file : m_fileResults)
        file->m_bVisible = visible;
}
