// The counter of ASP and ASP.NET pages: only script between "<%" and "%>" counts as code or
// comment; markup lines count in the total only.
#pragma once

#include "Counter.h"

class AspxCounter : public Counter {
public:
    static const wxString STYLE;

    void CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                    std::uint64_t& comment, std::uint64_t& codeComment,
                    std::uint64_t& blank) override;
};
