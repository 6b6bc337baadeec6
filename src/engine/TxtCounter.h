// The counter of plain text: total and blank lines only.
#pragma once

#include "Counter.h"

class TxtCounter : public Counter {
public:
    static const wxString STYLE;

    void CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                    std::uint64_t& comment, std::uint64_t& codeComment,
                    std::uint64_t& blank) override;
};
