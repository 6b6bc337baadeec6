// Tests of the counter factory (class by style name, caching, rules and the shared
// counters) and of the per-file estimates with their phase breakdown.
#include "AnalysisParam.h"
#include "AspxCounter.h"
#include "BasicCounter.h"
#include "CounterRule.h"
#include "CountingManager.h"
#include "CppCounter.h"
#include "FileResult.h"
#include "JspCounter.h"
#include "PascalCounter.h"
#include "PhaseResult.h"
#include "PhpCounter.h"
#include "RuleCounter.h"
#include "ShellCounter.h"
#include "SqlCounter.h"
#include "TempDir.h"
#include "TextLines.h"
#include "TxtCounter.h"
#include "XmlCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <typeinfo>

namespace {

struct Counts {
    std::uint64_t total = 0, code = 0, comment = 0, codeComment = 0, blank = 0;
    bool operator==(const Counts& o) const {
        return total == o.total && code == o.code && comment == o.comment &&
               codeComment == o.codeComment && blank == o.blank;
    }
};

std::ostream& operator<<(std::ostream& os, const Counts& c) {
    return os << "{total " << c.total << ", code " << c.code << ", comment " << c.comment
              << ", code+comment " << c.codeComment << ", blank " << c.blank << "}";
}

Counts CountWith(Counter& counter, const std::string& text) {
    Counts n;
    counter.CountLines(TextLines(text), n.total, n.code, n.comment, n.codeComment, n.blank);
    return n;
}

CounterRule* AddRule(CountingManager& manager, const wxString& type, const wxString& single,
                     const wxString& begin = "", const wxString& end = "") {
    auto rule = std::make_unique<CounterRule>(type, "");
    rule->m_strSingleLineComment = single;
    rule->m_strMultiLineCommentBegin = begin;
    rule->m_strMultiLineCommentEnd = end;
    CounterRule* added = rule.get();
    manager.m_ruleMap[type] = std::move(rule);
    return added;
}

// The shared counters outlive every test; start each test with them ruleless.
void ResetSharedCounters() {
    CppCounter::GetInstance()->m_rule = nullptr;
    if (BasicCounter::s_pInstance)
        BasicCounter::s_pInstance->m_rule = nullptr;
}

class CounterFactoryTest : public testing::Test {
protected:
    void SetUp() override { ResetSharedCounters(); }

    TempDir m_dir{true}; // a manager's rules file would land here
    CountingManager m_manager;
};

} // namespace

TEST_F(CounterFactoryTest, StyleNamePicksTheClassWithoutRegardToCase) {
    struct Case {
        const char* name;
        const std::type_info& type;
    };
    const Case cases[] = {
        {"Basic", typeid(BasicCounter)},
        {"bASIC", typeid(BasicCounter)},
        {"C", typeid(CppCounter)},
        {"c", typeid(CppCounter)},
        {"Pascal", typeid(PascalCounter)},
        {"PASCAL", typeid(PascalCounter)},
        {"PHP", typeid(PhpCounter)},
        {"php", typeid(PhpCounter)},
        {"Aspx", typeid(AspxCounter)},
        {"ASPX", typeid(AspxCounter)},
        {"JSP", typeid(JspCounter)},
        {"Jsp", typeid(JspCounter)},
        {"Sql", typeid(SqlCounter)},
        {"SQL", typeid(SqlCounter)},
        {"Xml", typeid(XmlCounter)},
        {"xml", typeid(XmlCounter)},
        {"Shell", typeid(ShellCounter)},
        {"shell", typeid(ShellCounter)},
        {"Text", typeid(TxtCounter)},
        {"TEXT", typeid(TxtCounter)},
        // No class of their own: counted by their rule's markers.
        {"Lua", typeid(RuleCounter)},
        {"Cpp", typeid(RuleCounter)},
        {"Texts", typeid(RuleCounter)},
        {"", typeid(RuleCounter)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Counter* counter = m_manager.GetCounter(c.name);
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(typeid(*counter), c.type);
        EXPECT_EQ(m_manager.m_counterMap.at(c.name), counter);
    }
    EXPECT_EQ(m_manager.GetCounter("c"), CppCounter::GetInstance());
    EXPECT_EQ(m_manager.GetCounter("Basic"), BasicCounter::s_pInstance.get());
}

// A cache hit hands back the counter as it is, whatever the rule map holds now.
TEST_F(CounterFactoryTest, CachedCounterKeepsItsFirstRule) {
    Counter* sql = m_manager.GetCounter("Sql");
    EXPECT_EQ(sql->m_rule, nullptr);
    AddRule(m_manager, "Sql", "--");
    EXPECT_EQ(m_manager.GetCounter("Sql"), sql);
    EXPECT_EQ(sql->m_rule, nullptr);

    CounterRule* first = AddRule(m_manager, "Lua", "--");
    Counter* lua = m_manager.GetCounter("Lua");
    EXPECT_EQ(lua->m_rule, first);
    const auto keep = std::move(m_manager.m_ruleMap["Lua"]); // outlives the counter's use
    CounterRule* second = AddRule(m_manager, "Lua", "#");
    ASSERT_NE(second, first);
    EXPECT_EQ(m_manager.GetCounter("Lua"), lua);
    EXPECT_EQ(lua->m_rule, first);
}

TEST_F(CounterFactoryTest, NamesDifferingInCaseGetTheirOwnCounterAndRule) {
    CounterRule* upper = AddRule(m_manager, "Sql", "--");
    CounterRule* lower = AddRule(m_manager, "sql", "#");
    Counter* a = m_manager.GetCounter("Sql");
    Counter* b = m_manager.GetCounter("sql");
    Counter* c = m_manager.GetCounter("SQL");
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(b, c);
    EXPECT_EQ(a->m_rule, upper);
    EXPECT_EQ(b->m_rule, lower);
    EXPECT_EQ(c->m_rule, nullptr);
    EXPECT_EQ(CountWith(*b, "-- a\n# b\n"), (Counts{2, 1, 1, 0, 0}));
    EXPECT_EQ(CountWith(*c, "-- a\n# b\n"), (Counts{2, 2, 0, 0, 0}));
}

TEST_F(CounterFactoryTest, LowerCaseCTakesNoRuleFromUpperCase) {
    CounterRule* c = AddRule(m_manager, "C", "//", "/*", "*/");
    Counter* shared = m_manager.GetCounter("c");
    EXPECT_EQ(shared, CppCounter::GetInstance());
    EXPECT_EQ(shared->m_rule, nullptr);
    EXPECT_EQ(m_manager.GetCounter("C"), shared);
    EXPECT_EQ(shared->m_rule, c);
    EXPECT_EQ(m_manager.GetCounter("c"), shared);
    EXPECT_EQ(shared->m_rule, c);
}

TEST_F(CounterFactoryTest, LastCacheMissSetsTheSharedRule) {
    CounterRule* upper = AddRule(m_manager, "C", "//");
    CounterRule* lower = AddRule(m_manager, "c", "#");
    Counter* shared = m_manager.GetCounter("C");
    EXPECT_EQ(shared->m_rule, upper);
    EXPECT_EQ(m_manager.GetCounter("c"), shared);
    EXPECT_EQ(shared->m_rule, lower);
    EXPECT_EQ(m_manager.GetCounter("C"), shared); // a hit: the rule stays
    EXPECT_EQ(shared->m_rule, lower);
}

TEST_F(CounterFactoryTest, OnlyBasicAndCAreSharedBetweenManagers) {
    CountingManager other;
    EXPECT_EQ(m_manager.GetCounter("Basic"), other.GetCounter("BASIC"));
    EXPECT_EQ(m_manager.GetCounter("C"), other.GetCounter("C"));
    EXPECT_NE(m_manager.GetCounter("Sql"), other.GetCounter("Sql"));
    EXPECT_NE(m_manager.GetCounter("Lua"), other.GetCounter("Lua"));
}

// Six styles and unknown ones count by their rule; the four built-in styles ignore theirs.
TEST_F(CounterFactoryTest, CountersCountByTheRuleOfTheirName) {
    struct Case {
        const char* style;
        const char* single;
        const char* begin;
        const char* end;
        std::string text;
        Counts expected;
    };
    const Case cases[] = {
        {"Basic", "'", "", "", "' a\nx = 1 ' b\ny\n", {3, 1, 1, 1, 0}},
        {"C", "//", "/*", "*/", "/* a\nb */ c;\n// d\n", {3, 0, 2, 1, 0}},
        {"Pascal", "//", "{", "}", "{ a }\nb; { c\n}\n", {3, 0, 2, 1, 0}},
        {"Sql", "--", "/*", "*/", "-- a\nselect 1; -- b\n\n", {3, 0, 1, 1, 1}},
        {"Xml", "", "<!--", "-->", "<!-- a\n-->\n<b/>\n", {3, 1, 2, 0, 0}},
        {"Shell", "#", "", "", "# a\nls # b\n", {2, 0, 1, 1, 0}},
        {"Lua", "--", "--[[", "]]", "--[[ a\n]] b\n-- c\n", {3, 0, 2, 1, 0}},
        {"Text", "//", "/*", "*/", "// a\nx\n\n", {3, 0, 0, 0, 1}},
        {"PHP", "--", "", "", "<?php\n-- a\n?>\n", {3, 3, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CounterRule* rule = AddRule(m_manager, c.style, c.single, c.begin, c.end);
        Counter* counter = m_manager.GetCounter(c.style);
        EXPECT_EQ(counter->m_rule, rule);
        EXPECT_EQ(CountWith(*counter, c.text), c.expected);
    }
}

TEST_F(CounterFactoryTest, UnknownStyleWithoutRuleCountsEveryLineAsCode) {
    AddRule(m_manager, "Lua", "--", "--[[", "]]");
    Counter* counter = m_manager.GetCounter("lua");
    EXPECT_EQ(counter->m_rule, nullptr);
    EXPECT_EQ(CountWith(*counter, "-- a\n--[[ b ]]\n\nc\n"), (Counts{4, 3, 0, 0, 1}));
    EXPECT_EQ(m_manager.GetCounter("lua"), counter);
}

// The shared counters outlive a manager; they must not keep pointing into its rules.
TEST(SharedCounterRuleTest, ClearedWhenTheOwningManagerEnds) {
    TempDir dir(true);
    ResetSharedCounters();
    Counter* cpp = CppCounter::GetInstance();
    {
        auto first = std::make_unique<CountingManager>();
        CounterRule* c = AddRule(*first, "C", "//", "/*", "*/");
        CounterRule* basic = AddRule(*first, "Basic", "'");
        first->GetCounter("C");
        Counter* shared = first->GetCounter("Basic");
        {
            // No rules of its own: the shared counters keep the first manager's rules, and
            // this manager's end must leave them alone.
            CountingManager second;
            second.GetCounter("c");
            second.GetCounter("Basic");
        }
        EXPECT_EQ(cpp->m_rule, c);
        EXPECT_EQ(shared->m_rule, basic);
        first.reset();
        EXPECT_EQ(cpp->m_rule, nullptr);
        EXPECT_EQ(shared->m_rule, nullptr);
        EXPECT_EQ(CountWith(*cpp, "// a\n"), (Counts{1, 1, 0, 0, 0}));
    }
    {
        CountingManager first;
        AddRule(first, "C", "//");
        first.GetCounter("C");
        auto second = std::make_unique<CountingManager>();
        CounterRule* later = AddRule(*second, "C", "#");
        second->GetCounter("C");
        EXPECT_EQ(cpp->m_rule, later);
        second.reset();
        EXPECT_EQ(cpp->m_rule, nullptr);
        EXPECT_EQ(CountWith(*cpp, "# a\n"), (Counts{1, 1, 0, 0, 0}));
    }
}

// ---- Estimates ------------------------------------------------------------------------

namespace {

struct Figures {
    float manHours, cost, utCases, utDefects, itCases, itDefects;
};

void ExpectFigures(const Result& r, const Figures& f) {
    EXPECT_FLOAT_EQ(r.m_fManHours, f.manHours);
    EXPECT_FLOAT_EQ(r.m_fCost, f.cost);
    EXPECT_FLOAT_EQ(r.m_fUtCases, f.utCases);
    EXPECT_FLOAT_EQ(r.m_fUtDefects, f.utDefects);
    EXPECT_FLOAT_EQ(r.m_fItCases, f.itCases);
    EXPECT_FLOAT_EQ(r.m_fItDefects, f.itDefects);
}

FileResult Record(std::size_t code, std::size_t codeComment, std::size_t comment = 0,
                  std::size_t blank = 0) {
    FileResult r;
    r.m_nCodeLines = code;
    r.m_nCodeCommentLines = codeComment;
    r.m_nCommentLines = comment;
    r.m_nBlankLines = blank;
    r.m_nLines = code + codeComment + comment + blank;
    // Stale figures from an earlier run, to be replaced.
    r.m_fManHours = r.m_fCost = r.m_fUtCases = r.m_fUtDefects = r.m_fItCases = r.m_fItDefects = 99;
    return r;
}

} // namespace

TEST(AnalyseTest, DefaultCoefficients) {
    struct Case {
        const char* name;
        FileResult record;
        Figures expected;
    };
    const Case cases[] = {
        {"one code line", Record(1, 0), {0.04f, 2.5f, 0.05f, 0.01f, 0.02f, 0.002f}},
        {"one code+comment line", Record(0, 1, 7, 3), {0.04f, 2.5f, 0.05f, 0.01f, 0.02f, 0.002f}},
        {"one man-month", Record(3000, 1000, 500, 200), {160, 10000, 200, 40, 80, 8}},
        {"comment and blank only", Record(0, 0, 10, 3), {0, 0, 0, 0, 0, 0}},
        // Sums of many files exceed 32 bits.
        {"three billion lines", Record(3000000000u, 0), {1.2e8f, 7.5e9f, 1.5e8f, 3e7f, 6e7f, 6e6f}},
    };
    const AnalysisParam param;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileResult r = c.record;
        CountingManager::Analyse(&param, &r);
        ExpectFigures(r, c.expected);
        EXPECT_EQ(r.m_nCodeLines, c.record.m_nCodeLines);
        EXPECT_EQ(r.m_nCodeCommentLines, c.record.m_nCodeCommentLines);
        EXPECT_EQ(r.m_nLines, c.record.m_nLines);
    }
}

TEST(AnalyseTest, CoefficientsAreRead) {
    AnalysisParam param;
    param.m_nUTCaseDensity = 30;
    param.m_nUTDefectDensity = 5;
    param.m_nITCaseDensity = 12;
    param.m_nITDefectDensity = 1;
    param.m_nManMonthLines = 2000;
    param.m_nManMonthDays = 22;
    param.m_nManMonthCost = 5000;
    FileResult r = Record(1500, 500);
    CountingManager::Analyse(&param, &r);
    // N = 2000: one man-month of 22 days at 8 hours.
    ExpectFigures(r, {176, 5000, 60, 10, 24, 2});
}

// IEEE arithmetic: no lines per man-month make effort and cost infinite, or undefined for a
// file without code.
TEST(AnalyseTest, ZeroLinesPerManMonth) {
    AnalysisParam param;
    param.m_nManMonthLines = 0;
    FileResult withCode = Record(1, 0);
    CountingManager::Analyse(&param, &withCode);
    EXPECT_TRUE(std::isinf(withCode.m_fManHours) && withCode.m_fManHours > 0);
    EXPECT_TRUE(std::isinf(withCode.m_fCost) && withCode.m_fCost > 0);
    EXPECT_FLOAT_EQ(withCode.m_fUtCases, 0.05f);

    FileResult withoutCode = Record(0, 0, 4, 1);
    CountingManager::Analyse(&param, &withoutCode);
    EXPECT_TRUE(std::isnan(withoutCode.m_fManHours));
    EXPECT_TRUE(std::isnan(withoutCode.m_fCost));
    EXPECT_EQ(withoutCode.m_fUtCases, 0);
}

TEST(PhaseResultTest, OneManMonth) {
    const AnalysisParam param;
    FileResult r = Record(4000, 0);
    CountingManager::Analyse(&param, &r);
    const PhaseResult phase(r, param);
    EXPECT_FLOAT_EQ(phase.m_fCDCost, 10000);
    EXPECT_FLOAT_EQ(phase.m_fCDMM, 1);
    EXPECT_FLOAT_EQ(phase.m_fLLDCost, 10000);
    EXPECT_FLOAT_EQ(phase.m_fLLDMM, 1);
    EXPECT_FLOAT_EQ(phase.m_fUTCost, 10000);
    EXPECT_FLOAT_EQ(phase.m_fUTMM, 1);
    EXPECT_FLOAT_EQ(phase.m_fITCost, 4000);
    EXPECT_FLOAT_EQ(phase.m_fITMM, 0.4f);
}

TEST(PhaseResultTest, OneLine) {
    const AnalysisParam param;
    FileResult r = Record(1, 0);
    CountingManager::Analyse(&param, &r);
    const PhaseResult phase(r, param);
    // 0.04 man-hours of 160 per man-month.
    EXPECT_FLOAT_EQ(phase.m_fCDCost, 2.5f);
    EXPECT_FLOAT_EQ(phase.m_fCDMM, 0.00025f);
    EXPECT_FLOAT_EQ(phase.m_fLLDCost, 2.5f);
    EXPECT_FLOAT_EQ(phase.m_fLLDMM, 0.00025f);
    EXPECT_FLOAT_EQ(phase.m_fUTCost, 2.5f);
    EXPECT_FLOAT_EQ(phase.m_fUTMM, 0.00025f);
    EXPECT_FLOAT_EQ(phase.m_fITCost, 1);
    EXPECT_FLOAT_EQ(phase.m_fITMM, 0.0001f);
}

TEST(PhaseResultTest, ZeroPercentPhaseCostsNothing) {
    AnalysisParam param;
    param.m_nLLD = 0;
    param.m_nIT = 0;
    param.m_nUT = 50;
    FileResult r;
    r.m_fCost = 10000;
    r.m_fManHours = 160;
    const PhaseResult phase(r, param);
    EXPECT_EQ(phase.m_fLLDCost, 0);
    EXPECT_EQ(phase.m_fLLDMM, 0);
    EXPECT_EQ(phase.m_fITCost, 0);
    EXPECT_EQ(phase.m_fITMM, 0);
    EXPECT_FLOAT_EQ(phase.m_fUTCost, 5000);
    EXPECT_FLOAT_EQ(phase.m_fUTMM, 0.5f);
}

TEST(PhaseResultTest, ZeroDaysPerManMonth) {
    AnalysisParam param;
    param.m_nManMonthDays = 0;
    FileResult r;
    r.m_fCost = 10000;
    r.m_fManHours = 160;
    const PhaseResult busy(r, param);
    for (float mm : {busy.m_fCDMM, busy.m_fLLDMM, busy.m_fUTMM, busy.m_fITMM})
        EXPECT_TRUE(std::isinf(mm) && mm > 0) << mm;
    EXPECT_FLOAT_EQ(busy.m_fITCost, 4000);

    r.m_fManHours = 0;
    const PhaseResult idle(r, param);
    for (float mm : {idle.m_fCDMM, idle.m_fLLDMM, idle.m_fUTMM, idle.m_fITMM})
        EXPECT_TRUE(std::isnan(mm)) << mm;
}
