// The white space of line classification: space, tab, LF, VT, FF and CR only.
#pragma once

#include "LinePace.h"

#include <algorithm>
#include <string_view>

inline bool IsSpace(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

inline std::size_t SpacesAtStart(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    return i;
}

inline std::size_t SpacesAtEnd(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsSpace(text[n - 1]))
        --n;
    return text.size() - n;
}

// A giant line is trimmed a step at a time (LinePace).
inline std::string_view TrimLeftInSteps(std::string_view text) {
    for (;;) {
        const std::size_t step = std::min(text.size(), LinePace::STEP);
        const std::size_t spaces = SpacesAtStart(text.substr(0, step));
        text.remove_prefix(spaces);
        if (spaces < step || text.empty())
            return text;
        LinePace::Check();
    }
}

inline std::string_view TrimRightInSteps(std::string_view text) {
    for (;;) {
        const std::size_t step = std::min(text.size(), LinePace::STEP);
        const std::size_t spaces = SpacesAtEnd(text.substr(text.size() - step));
        text.remove_suffix(spaces);
        if (spaces < step || text.empty())
            return text;
        LinePace::Check();
    }
}

inline std::string_view TrimLeft(std::string_view text) {
    return text.size() <= LinePace::STEP ? text.substr(SpacesAtStart(text)) : TrimLeftInSteps(text);
}

inline std::string_view TrimRight(std::string_view text) {
    return text.size() <= LinePace::STEP ? text.substr(0, text.size() - SpacesAtEnd(text))
                                         : TrimRightInSteps(text);
}

inline std::string_view Trim(std::string_view text) {
    return TrimLeft(TrimRight(text));
}
