// The counter of Java Server Pages: script blocks open at a line that starts with "<%" and
// close at a line that ends with "%>"; markup lines count in the total only.
#pragma once

#include "Counter.h"

class JspCounter : public Counter {
public:
    static const wxString STYLE;

    void CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                    std::uint64_t& comment, std::uint64_t& codeComment,
                    std::uint64_t& blank) override;
};
