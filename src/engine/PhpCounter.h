// The counter of PHP pages: only script between "<?" and "?>" counts as code or comment;
// each line's markers are walked from left to right.
#pragma once

#include "Counter.h"

#include <string_view>
#include <vector>

class PhpCounter : public Counter {
public:
    static const wxString STYLE;
    // The markers, in the order of Marker below.
    static constexpr std::string_view MARKERS[6] = {"<?", "?>", "//", "/*", "*/", "#"};

    void CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                    std::uint64_t& comment, std::uint64_t& codeComment,
                    std::uint64_t& blank) override;

private:
    enum Marker { ScriptBegin, ScriptEnd, LineComment, BlockBegin, BlockEnd, HashComment };
    struct Found {
        std::size_t pos;
        Marker marker;
    };

    // Fills m_found with the markers of the line in ascending order of position.
    void FindMarkers(std::string_view line);

    std::vector<Found> m_found; // scratch, reused from line to line
};
