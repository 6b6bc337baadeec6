// Small tests on a trimmed line shared by the script-page counters.
#pragma once

#include <string_view>

inline bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

inline bool EndsWith(std::string_view line, std::string_view suffix) {
    return line.size() >= suffix.size() && line.substr(line.size() - suffix.size()) == suffix;
}

inline bool Contains(std::string_view line, std::string_view part) {
    return line.find(part) != std::string_view::npos;
}

// The "//" rules of the script pages apply only when the line does not end like "%>" could:
// its last character is not '>' and the one before it is not '%'.
inline bool EndsLikeScriptCode(std::string_view line) {
    const std::size_t n = line.size();
    return line[n - 1] != '>' && line[n - 2] != '%';
}
