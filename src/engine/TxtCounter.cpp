// Plain-text line counting.
#include "TxtCounter.h"

#include "WhiteSpace.h"

const wxString TxtCounter::STYLE = "Text";

void TxtCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t&,
                            std::uint64_t&, std::uint64_t&, std::uint64_t& blank) {
    for (std::string_view line : lines) {
        ++total;
        if (TrimLeft(line).empty())
            ++blank;
    }
}
