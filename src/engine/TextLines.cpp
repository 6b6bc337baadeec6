// Line splitting of a file's bytes.
#include "TextLines.h"

std::size_t TextLines::LineCount() const {
    std::size_t lines = 0;
    for (auto it = begin(), last = end(); it != last; ++it)
        ++lines;
    return lines;
}
