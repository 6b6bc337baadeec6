// Work on one line far longer than a chunk (a data file that is one giant line) lets the check
// between chunks in after each chunk's worth of bytes, as reading the line did, so that a
// stop, a click or a paint never waits for the line to be classified. A line up to a chunk
// long, as nearly all are, pays one comparison per scan.
#pragma once

#include "ChunkReader.h"

#include <cstddef>
#include <string_view>

class LinePace {
public:
    static constexpr std::size_t STEP = ChunkReader::DEFAULT_CHUNK;

    // Thrown when the check stops the file: the counts of its lines so far are dropped.
    struct Stopped {};

    // Runs the check between chunks; throws Stopped when it says stop.
    static void Check();

    // The first and the last position of what in text, as std::string_view's find and rfind
    // give them, with a check after each STEP bytes searched.
    static std::size_t Find(std::string_view text, std::string_view what) {
        return text.size() <= STEP ? text.find(what) : FindInSteps(text, what);
    }
    static std::size_t RFind(std::string_view text, std::string_view what) {
        return text.size() <= STEP ? text.rfind(what) : RFindInSteps(text, what);
    }

    // For a walk through one line, one marker after another: checks whenever the walk has
    // come STEP bytes further than at the last check.
    void At(std::size_t position) {
        if (position >= m_next) {
            Check();
            m_next = position + STEP;
        }
    }
    // Where the next check is due: a scan may run up to there between two calls of At.
    std::size_t Due() const { return m_next; }

private:
    static std::size_t FindInSteps(std::string_view text, std::string_view what);
    static std::size_t RFindInSteps(std::string_view text, std::string_view what);

    std::size_t m_next = STEP;
};
