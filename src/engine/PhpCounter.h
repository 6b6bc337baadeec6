// The counter of PHP pages: only script between "<?" and "?>" counts as code or comment;
// each line's markers are walked from left to right.
#pragma once

#include "Counter.h"
#include "LinePace.h"

#include <string_view>

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

    // Walks the markers of one line in ascending order of position, without storing them:
    // a line of any length costs no memory.
    class MarkerWalk {
    public:
        explicit MarkerWalk(std::string_view line) : m_line(line) {}
        // The next marker; false after the last.
        bool Next(Found& found);

    private:
        std::string_view m_line;
        std::size_t m_pos = 0;
        std::size_t m_resume[6] = {};
        LinePace m_pace;
    };
};
