// Searching a giant line in steps.
#include "LinePace.h"

void LinePace::Check() {
    if (!ChunkReader::CheckBetweenChunks())
        throw Stopped();
}

// Steps overlap by the length of what less one byte, so an occurrence across two steps is
// found, and in the step where it starts.
std::size_t LinePace::FindInSteps(std::string_view text, std::string_view what) {
    const std::size_t overlap = what.empty() ? 0 : what.size() - 1;
    for (std::size_t from = 0;; from += STEP) {
        if (from > 0)
            Check();
        const std::size_t found = text.substr(from, STEP + overlap).find(what);
        if (found != std::string_view::npos)
            return from + found;
        if (from + STEP + overlap >= text.size())
            return std::string_view::npos;
    }
}

std::size_t LinePace::RFindInSteps(std::string_view text, std::string_view what) {
    if (what.size() > text.size())
        return std::string_view::npos;
    const std::size_t overlap = what.empty() ? 0 : what.size() - 1;
    // Occurrences may start before end; each step looks at those that start in STEP bytes.
    for (std::size_t end = text.size() - overlap;;) {
        const std::size_t from = end > STEP ? end - STEP : 0;
        const std::size_t found = text.substr(from, end - from + overlap).rfind(what);
        if (found != std::string_view::npos)
            return from + found;
        if (from == 0)
            return std::string_view::npos;
        end = from;
        Check();
    }
}
