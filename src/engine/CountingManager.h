// The engine's facade: the rule and extension sets, the counter cache, the counting run,
// its results and summaries, filtering and the CSV export.
#pragma once

#include "CountingParam.h"
#include "DirectoryResult.h"
#include "ExtensionResult.h"
#include "FileResult.h"
#include "TotalResult.h"
#include "xmlex.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>
#include <wx/arrstr.h>
#include <wx/string.h>

class AnalysisObserver;
class AnalysisParam;
class Counter;
class CounterRule;
class CountingObserver;
class FileExtension;
class FilterObserver;
class FilterParam;
class wxXmlNode;

class CountingManager {
public:
    // Keys are ordered, so the rules file and the dialogs list them the same way every run.
    using CounterMap = std::map<wxString, Counter*>; // entries not owned; see m_ownedCounters
    using RuleMap = std::map<wxString, std::unique_ptr<CounterRule>>;
    using ExtMap = std::map<wxString, std::unique_ptr<FileExtension>>;

    // Values of m_nState.
    enum : std::uint32_t {
        STATE_IDLE = 0,      // nothing run since construction or Reset
        STATE_STOPPED = 1,   // stop requested, or a refresh has ended
        STATE_BUSY = 2,      // a run or a refresh is under way
        STATE_COMPLETED = 3, // the last run ended without a stop
    };

    static const wxString RULES_FILE;
    static const wxString COLUMN_NAMES[16];
    static const wxString CSV_LINE_FORMAT;

    CountingManager();
    CountingManager(const CountingManager&) = delete;
    CountingManager& operator=(const CountingManager&) = delete;
    virtual ~CountingManager();

    void Init();

    // Rules file.
    void LoadRules();
    // Writes the rules back if they changed since they were read; false when the file could
    // not be replaced (it then stays as it was). Without a loaded document there is nothing
    // to write, which is no failure. Once it has been called, the destructor leaves the file
    // alone; otherwise it saves.
    bool SaveRules();

    // Counter factory.
    Counter* GetCounter(const wxString& style);

    // Estimates of one file record.
    static void Analyse(const AnalysisParam* param, Result* result);

    // The counting run.
    void SetCountingParam(const CountingParam& param, AnalysisParam* analysisParam);
    void Reset();
    void ClearFileResults();
    void ClearDirectoryResults();
    void ClearExtensionResults();
    void Stop();
    bool IsCountable(const wxString& ext, wxString& ruleType) const;
    static void GetExtension(const wxString& path, wxString& ext);
    static void SplitPath(const wxString& path, wxString& name, wxString& dir);
    void CollectSubDirs();
    void Count();

    // Summaries, filtering and recalculation.
    void Summarize();
    void ApplyFilter(const FilterParam* filter);
    void Recalculate(const AnalysisParam* param, const FilterParam* filter);
    void Filter(const AnalysisParam* param, const FilterParam* filter);
    FileExtension* GetFileExtension(const wxString& ext) const;
    void SetAllVisible(bool visible);

    // Writes every file record and the totals; false when the file could not be written.
    bool ExportCsv(const wxString& path) const;

    wxXmlDocumentEx m_xmlDoc;
    wxXmlNode* m_pRootNode = nullptr;
    CounterMap m_counterMap;
    RuleMap m_ruleMap;
    ExtMap m_extMap;
    std::uint32_t m_nState = STATE_IDLE;
    CountingObserver* m_pCountingObserver = nullptr;
    AnalysisObserver* m_pAnalysisObserver = nullptr;
    FilterObserver* m_pFilterObserver = nullptr;
    AnalysisParam* m_pAnalysisParam = nullptr;
    CountingParam m_countingParam;
    TotalResult m_totalResult;
    std::vector<std::unique_ptr<FileResult>> m_fileResults;
    std::vector<std::unique_ptr<DirectoryResult>> m_dirResults;
    std::vector<std::unique_ptr<ExtensionResult>> m_extResults;
    wxArrayString m_dirList;
    wxArrayString m_extList;
    wxArrayString m_dateList;
    // Folders that could not be listed and files that could not be read in full during the
    // last run; their records (if any) look like empty ones. Emptied by Reset.
    wxArrayString m_unreadablePaths;

private:
    // Drops directories already in the list: a folder chosen twice, under two names, or
    // inside another. The first name met is kept.
    void RemoveDuplicateDirs();
    // Counts the countable files directly inside one directory.
    void CountDirectory(const wxString& dir);

    // Counters created for this manager; the "Basic" and "C" counters are shared and live
    // for the whole program.
    std::vector<std::unique_ptr<Counter>> m_ownedCounters;
    bool m_bRulesSaved = false;
    // What the rules file says, as last read or written.
    std::vector<wxString> m_loadedRules;
};
