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
#include "TestSupport.h"
#include "TxtCounter.h"
#include "XmlCounter.h"

#include <cmath>
#include <limits>
#include <tuple>
#include <typeinfo>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// NaN expects NaN.
template <std::size_t N>
void ExpectFloats(const std::array<double, N>& got, const std::array<float, N>& expected) {
    for (std::size_t i = 0; i < N; ++i) {
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(got[i])) << "figure " << i << ": " << got[i];
        else
            EXPECT_FLOAT_EQ(static_cast<float>(got[i]), expected[i]) << "figure " << i;
    }
}

CounterRule* AddRule(CountingManager& manager, const wxString& type, const wxString& single) {
    auto rule = std::make_unique<CounterRule>(type, "");
    rule->m_strSingleLineComment = single;
    CounterRule* added = rule.get();
    manager.m_ruleMap[type] = std::move(rule);
    return added;
}

class CounterFactoryTest : public testing::Test {
protected:
    // The shared counters outlive every test; start each test with them ruleless.
    void SetUp() override {
        CppCounter::GetInstance()->m_rule = nullptr;
        if (BasicCounter::s_pInstance)
            BasicCounter::s_pInstance->m_rule = nullptr;
    }

    TempDir m_dir{true}; // a manager's rules file would land here
    CountingManager m_manager;
};

} // namespace

// The class follows the name without regard to case; the counter is cached under the exact
// name and takes the rule of that exact name, which Text, PHP, ASPX and JSP ignore.
TEST_F(CounterFactoryTest, StyleNamePicksClassAndRule) {
    const std::string text = "# a\nx # b\n\n";
    const LineCounts byRule{3, 0, 1, 1, 1}, noRule{3, 2, 0, 0, 1}, blankOnly{3, 0, 0, 0, 1};
    // The name, the counter's class, and the single-line marker of a rule of that name, if any.
    const std::tuple<const char*, const std::type_info&, const char*, LineCounts> cases[] = {
        {"c", typeid(CppCounter), "#", byRule},
        {"PASCAL", typeid(PascalCounter), "#", byRule},
        {"Sql", typeid(SqlCounter), "#", byRule},
        {"sql", typeid(SqlCounter), "x", {3, 1, 1, 0, 1}},
        {"SQL", typeid(SqlCounter), nullptr, noRule},
        {"xml", typeid(XmlCounter), "#", byRule},
        {"shell", typeid(ShellCounter), "#", byRule},
        {"TEXT", typeid(TxtCounter), "#", blankOnly},
        {"Texts", typeid(RuleCounter), nullptr, noRule},
        {"php", typeid(PhpCounter), "#", blankOnly},
        {"ASPX", typeid(AspxCounter), "#", blankOnly},
        {"Jsp", typeid(JspCounter), "#", blankOnly},
        {"Lua", typeid(RuleCounter), "#", byRule},
        {"Cpp", typeid(RuleCounter), nullptr, noRule},
        {"", typeid(RuleCounter), nullptr, noRule},
    };
    for (const auto& [name, type, single, expected] : cases) {
        SCOPED_TRACE(name);
        CounterRule* rule = single ? AddRule(m_manager, name, single) : nullptr;
        Counter* counter = m_manager.GetCounter(name);
        EXPECT_EQ(typeid(*counter), type);
        EXPECT_EQ(counter->m_rule, rule);
        EXPECT_EQ(CountText(*counter, text), expected);
        EXPECT_EQ(m_manager.GetCounter(name), counter);
        EXPECT_EQ(m_manager.m_counterMap.at(name), counter);
    }
    EXPECT_NE(m_manager.GetCounter("Sql"), m_manager.GetCounter("sql"));
}

// A shared counter takes the rule of the name of the last cache miss; a hit changes nothing.
TEST_F(CounterFactoryTest, RuleOfASharedCounter) {
    CounterRule* upper = AddRule(m_manager, "Basic", "'");
    Counter* shared = m_manager.GetCounter("BASIC");
    EXPECT_EQ(shared, BasicCounter::s_pInstance.get());
    EXPECT_EQ(shared->m_rule, nullptr); // no rule of that exact name
    m_manager.GetCounter("Basic");
    EXPECT_EQ(shared->m_rule, upper);
    CounterRule* lower = AddRule(m_manager, "basic", "#");
    m_manager.GetCounter("basic");
    m_manager.GetCounter("Basic");
    EXPECT_EQ(shared->m_rule, lower);
}

// Only the Basic and C counters are shared between managers. When a manager ends, they must
// not keep pointing into its rules, but keep those of other managers.
TEST_F(CounterFactoryTest, SharedCounterRuleEndsWithItsManager) {
    CounterRule* c = AddRule(m_manager, "C", "//");
    Counter* cpp = m_manager.GetCounter("C");
    {
        CountingManager ruleless;
        EXPECT_EQ(ruleless.GetCounter("c"), cpp);
        EXPECT_EQ(ruleless.GetCounter("BASIC"), m_manager.GetCounter("Basic"));
        EXPECT_NE(ruleless.GetCounter("Sql"), m_manager.GetCounter("Sql"));
        EXPECT_NE(ruleless.GetCounter("Lua"), m_manager.GetCounter("Lua"));
    }
    EXPECT_EQ(cpp->m_rule, c);
    {
        CountingManager later;
        CounterRule* own = AddRule(later, "C", "#");
        later.GetCounter("C");
        EXPECT_EQ(cpp->m_rule, own);
    }
    // The last manager to set the rule clears it, though the first one still lives.
    EXPECT_EQ(cpp->m_rule, nullptr);
}

// Figures: man-hours, cost, UT cases, UT defects, IT cases, IT defects.
TEST(AnalyseTest, WorkedFigures) {
    const AnalysisParam standard;
    AnalysisParam custom, noLines;
    custom.m_nUTCaseDensity = 30;
    custom.m_nUTDefectDensity = 5;
    custom.m_nITCaseDensity = 12;
    custom.m_nITDefectDensity = 1;
    custom.m_nManMonthLines = 2000;
    custom.m_nManMonthDays = 22;
    custom.m_nManMonthCost = 5000;
    noLines.m_nManMonthLines = 0;
    struct Case {
        const char* name;
        const AnalysisParam* param;
        std::size_t code, codeComment, comment;
        std::array<float, 6> expected;
    };
    const Case cases[] = {
        {"one line", &standard, 0, 1, 7, {0.04f, 2.5f, .05f, .01f, .02f, .002f}},
        {"> 2^32", &standard, 3000000000u, 0, 0, {1.2e8f, 7.5e9f, 1.5e8f, 3e7f, 6e7f, 6e6f}},
        {"22 days", &custom, 1500, 500, 0, {176, 5000, 60, 10, 24, 2}},
        {"0 lines/MM", &noLines, 1, 0, 0, {kInf, kInf, .05f, .01f, .02f, .002f}},
        {"0 lines/MM, 0 code", &noLines, 0, 0, 4, {kNaN, kNaN, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileResult r; // holding an earlier run's figures, to be replaced
        r.m_nCodeLines = c.code;
        r.m_nCodeCommentLines = c.codeComment;
        r.m_nLines = c.code + c.codeComment + c.comment;
        r.m_fManHours = r.m_fCost = r.m_fUtCases = r.m_fUtDefects = r.m_fItCases = r.m_fItDefects =
            99;
        CountingManager::Analyse(c.param, &r);
        ExpectFloats<6>(
            {r.m_fManHours, r.m_fCost, r.m_fUtCases, r.m_fUtDefects, r.m_fItCases, r.m_fItDefects},
            c.expected);
    }
}

// Figures: cost and man-months of coding, low-level design, UT and IT.
TEST(PhaseResultTest, WorkedFigures) {
    const AnalysisParam standard;
    AnalysisParam halfUt, noDays;
    halfUt.m_nLLD = 0;
    halfUt.m_nUT = 50;
    halfUt.m_nIT = 0;
    noDays.m_nManMonthDays = 0;
    struct Case {
        const AnalysisParam* param;
        float cost, manHours;
        std::array<float, 8> expected;
    };
    const Case cases[] = {
        {&standard, 10000, 160, {10000, 1, 10000, 1, 10000, 1, 4000, 0.4f}},
        {&standard, 2.5f, 0.04f, {2.5f, 0.00025f, 2.5f, 0.00025f, 2.5f, 0.00025f, 1, 0.0001f}},
        {&halfUt, 10000, 160, {10000, 1, 0, 0, 5000, 0.5f, 0, 0}},
        {&noDays, 10000, 160, {10000, kInf, 10000, kInf, 10000, kInf, 4000, kInf}},
        {&noDays, 10000, 0, {10000, kNaN, 10000, kNaN, 10000, kNaN, 4000, kNaN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        FileResult r;
        r.m_fCost = c.cost;
        r.m_fManHours = c.manHours;
        const PhaseResult p(r, *c.param);
        ExpectFloats<8>({p.m_fCDCost, p.m_fCDMM, p.m_fLLDCost, p.m_fLLDMM, p.m_fUTCost, p.m_fUTMM,
                         p.m_fITCost, p.m_fITMM},
                        c.expected);
    }
}
