// The counting manager: construction and end, the counter factory, the estimates and the
// counting run.
#include "CountingManager.h"

#include "AnalysisParam.h"
#include "AspxCounter.h"
#include "BasicCounter.h"
#include "ChunkReader.h"
#include "CounterRule.h"
#include "CountingObserver.h"
#include "CppCounter.h"
#include "DirectorySearch.h"
#include "FileExtension.h"
#include "FileIdentity.h"
#include "JspCounter.h"
#include "MessagePump.h"
#include "PascalCounter.h"
#include "PhpCounter.h"
#include "ShellCounter.h"
#include "SqlCounter.h"
#include "TxtCounter.h"
#include "XmlCounter.h"

#include <set>
#include <unordered_set>
#include <wx/filefn.h>
#include <wx/hashmap.h>

const wxString CountingManager::RULES_FILE = "conf/conf.xml";

namespace {
template <typename Style> std::unique_ptr<Counter> Make() {
    return std::make_unique<Style>();
}
} // namespace

CountingManager::CountingManager() = default;

CountingManager::~CountingManager() {
    if (!m_bRulesSaved)
        SaveRules();
    // The shared counters outlive this manager: they must not keep pointing at its rules.
    for (auto& entry : m_counterMap) {
        Counter* counter = entry.second;
        for (const auto& rule : m_ruleMap)
            if (counter->m_rule == rule.second.get())
                counter->m_rule = nullptr;
    }
    m_counterMap.clear();
    m_ownedCounters.clear();
    m_ruleMap.clear();
    m_extMap.clear();
    ClearFileResults();
    ClearDirectoryResults();
    ClearExtensionResults();
}

void CountingManager::Init() {
    LoadRules();
}

Counter* CountingManager::GetCounter(const wxString& style) {
    const auto cached = m_counterMap.find(style);
    if (cached != m_counterMap.end())
        return cached->second;

    Counter* counter = nullptr;
    if (style.CmpNoCase(BasicCounter::STYLE) == 0) {
        if (!BasicCounter::s_pInstance)
            BasicCounter::s_pInstance = std::make_unique<BasicCounter>();
        counter = BasicCounter::s_pInstance.get();
    } else if (style.CmpNoCase(CppCounter::STYLE) == 0) {
        counter = CppCounter::GetInstance();
    } else {
        using Factory = std::unique_ptr<Counter> (*)();
        static const std::pair<const wxString*, Factory> styles[] = {
            {&PascalCounter::STYLE, &Make<PascalCounter>}, {&PhpCounter::STYLE, &Make<PhpCounter>},
            {&AspxCounter::STYLE, &Make<AspxCounter>},     {&JspCounter::STYLE, &Make<JspCounter>},
            {&SqlCounter::STYLE, &Make<SqlCounter>},       {&XmlCounter::STYLE, &Make<XmlCounter>},
            {&ShellCounter::STYLE, &Make<ShellCounter>},   {&TxtCounter::STYLE, &Make<TxtCounter>}};
        // A style of the user's own is counted by the markers of the rule of that name.
        Factory make = &Make<RuleCounter>;
        for (const auto& [name, factory] : styles)
            if (style.CmpNoCase(*name) == 0) {
                make = factory;
                break;
            }
        m_ownedCounters.push_back(make());
        counter = m_ownedCounters.back().get();
    }

    const auto rule = m_ruleMap.find(style);
    if (rule != m_ruleMap.end())
        counter->m_rule = rule->second.get();
    m_counterMap[style] = counter;
    return counter;
}

void CountingManager::Analyse(const AnalysisParam* param, Result* result) {
    // Only lines holding code carry effort.
    const double lines = static_cast<double>(result->m_nCodeLines + result->m_nCodeCommentLines);
    result->m_fUtCases = static_cast<float>(param->m_nUTCaseDensity * lines / 1000.0);
    result->m_fUtDefects = static_cast<float>(param->m_nUTDefectDensity * lines / 1000.0);
    result->m_fItCases = static_cast<float>(param->m_nITCaseDensity * lines / 1000.0);
    result->m_fItDefects = static_cast<float>(param->m_nITDefectDensity * lines / 1000.0);
    result->m_fManHours = static_cast<float>(
        param->m_nManMonthDays * lines * AnalysisParam::HOURS_PER_DAY / param->m_nManMonthLines);
    result->m_fCost = static_cast<float>(
        lines * (static_cast<double>(param->m_nManMonthCost) / param->m_nManMonthLines));
}

void CountingManager::SetCountingParam(const CountingParam& param, AnalysisParam* analysisParam) {
    m_countingParam.m_arrDirs = param.m_arrDirs;
    m_countingParam.m_arrTypes = param.m_arrTypes;
    m_countingParam.m_bRecursive = param.m_bRecursive;
    m_pAnalysisParam = analysisParam;
}

void CountingManager::Reset() {
    m_totalResult.Reset();
    ClearFileResults();
    ClearDirectoryResults();
    ClearExtensionResults();
    m_unreadablePaths.clear();
    m_nState = STATE_IDLE;
}

namespace {
// Deletes last record first and releases the storage.
template <typename Records> void ClearRecords(Records& records) {
    while (!records.empty())
        records.pop_back();
    Records().swap(records);
}
} // namespace

void CountingManager::ClearFileResults() {
    ClearRecords(m_fileResults);
}

void CountingManager::ClearDirectoryResults() {
    ClearRecords(m_dirResults);
}

void CountingManager::ClearExtensionResults() {
    ClearRecords(m_extResults);
}

void CountingManager::Stop() {
    m_nState = STATE_STOPPED;
}

bool CountingManager::IsCountable(const wxString& ext, wxString& ruleType) const {
    const auto found = m_extMap.find(ext);
    if (found == m_extMap.end() || !found->second->m_bSelected)
        return false;
    ruleType = found->second->m_strRuleType;
    return true;
}

void CountingManager::GetExtension(const wxString& path, wxString& ext) {
    ext.clear();
    const size_t dot = path.rfind('.');
    if (dot != wxString::npos)
        ext = path.substr(dot);
}

void CountingManager::SplitPath(const wxString& path, wxString& name, wxString& dir) {
    name.clear();
    dir.clear();
    const size_t sep = path.rfind(wxFILE_SEP_PATH);
    if (sep == wxString::npos)
        return;
    dir = path.substr(0, sep);
    name = path.substr(sep + 1);
}

void CountingManager::CollectSubDirs() {
    wxArrayString found;
    std::vector<wxString> stack;
    const size_t chosen = m_countingParam.m_arrDirs.size();
    for (size_t i = 0; i < chosen; ++i) {
        if (m_nState == STATE_STOPPED)
            continue;
        wxString dir = m_countingParam.m_arrDirs[i];
        for (;;) {
            PumpOneMessage();
            DirectorySearch search(dir, DirectorySearch::DIRS);
            for (wxString entry = search.Next(); !entry.empty() && m_nState != STATE_STOPPED;
                 entry = search.Next()) {
                PumpOneMessage();
                found.push_back(entry);
                stack.push_back(entry);
            }
            if (stack.empty() || m_nState != STATE_BUSY)
                break;
            dir = stack.back();
            stack.pop_back();
        }
        stack.clear();
    }
    for (const wxString& dir : found)
        m_countingParam.m_arrDirs.push_back(dir);
    m_countingParam.m_arrDirs.Sort();
}

void CountingManager::RemoveDuplicateDirs() {
    // A folder is known by its device and inode, whatever its spelling ("/t" and "/t/.",
    // or a link to it). One that cannot be opened is known by its spelling, where "/a/b/"
    // and "/a/b" are the same.
    std::set<FileIdentity> seenIds;
    std::unordered_set<wxString, wxStringHash, wxStringEqual> seenNames;
    wxArrayString unique;
    for (const wxString& dir : m_countingParam.m_arrDirs) {
        const std::optional<FileIdentity> id = IdentifyFile(dir);
        wxString name = dir;
        while (name.length() > 1 && name.Last() == wxFILE_SEP_PATH)
            name.RemoveLast();
        if (id ? seenIds.insert(*id).second : seenNames.insert(name).second)
            unique.push_back(dir);
    }
    m_countingParam.m_arrDirs.swap(unique);
}

void CountingManager::Count() {
    // Before the walk as well, so that a folder chosen twice is not walked twice.
    RemoveDuplicateDirs();
    if (m_countingParam.m_bRecursive) {
        CollectSubDirs();
        RemoveDuplicateDirs();
    }
    if (m_nState != STATE_STOPPED) {
        for (const wxString& dir : m_countingParam.m_arrDirs) {
            PumpOneMessage();
            CountDirectory(dir);
            if (m_nState == STATE_STOPPED)
                break;
        }
    }
    Summarize();
    if (m_nState == STATE_BUSY)
        m_nState = STATE_COMPLETED;
}

void CountingManager::CountDirectory(const wxString& dir) {
    DirectorySearch search(dir, DirectorySearch::FILES);
    wxString path, ext, ruleType;
    // Within a large file, or a giant line, a stop ends the run at the next chunk, and the
    // window shows what has been counted so far.
    const ChunkReader::BetweenChunks betweenChunks([this, &path] {
        PumpOneMessage();
        if (m_pCountingObserver)
            m_pCountingObserver->OnFileReading(path);
        return m_nState != STATE_STOPPED;
    });
    for (path = search.Next(); !path.empty() && m_nState != STATE_STOPPED; path = search.Next()) {
        PumpOneMessage();
        GetExtension(path, ext);
        ext.MakeLower();
        if (!IsCountable(ext, ruleType))
            continue;
        auto record = std::make_unique<FileResult>();
        record->m_strExt = ext;
        record->m_strPath = path;
        SplitPath(path, record->m_strName, record->m_strDir);
        const bool read =
            GetCounter(ruleType)->Count(record.get(), &m_countingParam, m_pAnalysisParam);
        if (m_nState == STATE_STOPPED)
            break; // stopped within it: its lines are not all counted, and it is left out
        if (!read)
            m_unreadablePaths.push_back(path);
        Analyse(m_pAnalysisParam, record.get());
        m_totalResult.AddCounts(*record, 1);
        m_totalResult.AddEstimates(*record);
        m_fileResults.push_back(std::move(record));
        if (m_pCountingObserver)
            m_pCountingObserver->OnFileCounted();
    }
    if (search.Failed())
        m_unreadablePaths.push_back(dir);
}
