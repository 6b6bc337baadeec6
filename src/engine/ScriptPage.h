// Small tests on a trimmed line shared by the script-page counters.
#pragma once

#include "LinePace.h"
#include "TextLines.h"
#include "WhiteSpace.h"

#include <cstdint>
#include <string_view>

inline bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

inline bool EndsWith(std::string_view line, std::string_view suffix) {
    return line.size() >= suffix.size() && line.substr(line.size() - suffix.size()) == suffix;
}

inline bool Contains(std::string_view line, std::string_view part) {
    return LinePace::Find(line, part) != std::string_view::npos;
}

// The "//" rules of the script pages apply only when the line does not end like "%>" could:
// its last character is not '>' and the one before it is not '%'.
inline bool EndsLikeScriptCode(std::string_view line) {
    const std::size_t n = line.size();
    return line[n - 1] != '>' && line[n - 2] != '%';
}

// The rules both script-page styles try first on a line inside a script block. Counts the
// line and returns true when one of them matches.
inline bool CountByScriptRules(std::string_view line, bool& inScript, std::uint64_t& code,
                               std::uint64_t& comment) {
    if (line.size() == 1) {
        ++code;
    } else if (EndsWith(line, "%>")) {
        ++code;
        inScript = false;
    } else if (EndsLikeScriptCode(line) && StartsWith(line, "//")) {
        ++comment;
    } else if (EndsLikeScriptCode(line) && Contains(line, "//")) {
        ++code;
        ++comment;
    } else {
        return false;
    }
    return true;
}

// The frame of the script-page styles: every line counts in the total, a line that is empty
// after trimming is blank, any other goes to classify() trimmed at both ends.
template <typename Classify>
void ForEachScriptLine(const TextLines& lines, std::uint64_t& total, std::uint64_t& blank,
                       Classify classify) {
    for (std::string_view line : lines) {
        ++total;
        line = Trim(line);
        if (line.empty())
            ++blank;
        else
            classify(line);
    }
}
