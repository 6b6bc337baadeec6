// A counter that classifies lines by the comment markers of its rule. It serves the six
// marker-driven styles and any style name the rules file adds on its own.
#pragma once

#include "Counter.h"

class RuleCounter : public Counter {
public:
    void CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                    std::uint64_t& comment, std::uint64_t& codeComment,
                    std::uint64_t& blank) override {
        CountByRule(lines, m_rule, total, code, comment, codeComment, blank);
    }
};
