// A counting manager over a temporary folder, for the tests of counting runs.
#pragma once

#include "AnalysisParam.h"
#include "CounterRule.h"
#include "CountingManager.h"
#include "FileExtension.h"
#include "FilterParam.h"
#include "TestSupport.h"

#include <initializer_list>
#include <memory>

// A manager with a "C" rule whose ".c" and ".h" files are counted, working in a temporary
// folder, and the main window's order of calls for one counting run.
class CountingFixture : public ::testing::Test {
protected:
    CountingFixture() {
        auto c = std::make_unique<CounterRule>("C", "C/C++");
        c->m_strSingleLineComment = "//";
        c->m_strMultiLineCommentBegin = "/*";
        c->m_strMultiLineCommentEnd = "*/";
        mgr.m_ruleMap["C"] = std::move(c);
        mgr.m_extMap[".c"] = std::make_unique<FileExtension>(".c", "C", "C source", true);
        mgr.m_extMap[".h"] = std::make_unique<FileExtension>(".h", "C", "C header", true);
    }

    // Folders below the temporary one; "" is the temporary folder itself.
    wxArrayString Dirs(std::initializer_list<const char*> relative) const {
        wxArrayString dirs;
        for (const char* d : relative)
            dirs.push_back(*d ? dir / d : dir.Path());
        return dirs;
    }

    void Run(const wxArrayString& dirs, bool recursive = true,
             std::uint32_t state = CountingManager::STATE_BUSY) {
        mgr.Reset();
        mgr.m_nState = state;
        CountingParam param;
        param.m_arrDirs = dirs;
        param.m_bRecursive = recursive;
        mgr.SetCountingParam(param, &analysis);
        mgr.Count();
    }

    // A filter holding the run's candidate lists, none of them switched on.
    FilterParam Candidates() const {
        FilterParam filter;
        filter.m_arrDirs = mgr.m_dirList;
        filter.m_arrExts = mgr.m_extList;
        filter.m_arrDates = mgr.m_dateList;
        return filter;
    }

    TempDir dir{true};
    AnalysisParam analysis;
    CountingManager mgr;
};
