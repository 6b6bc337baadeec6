// The fields of the frame's status bar, and their usual widths.
#pragma once

#include <array>

struct StatusField {
    // The state: "Ready", the file being counted, how the run ended. UNUSED is never written.
    enum Index { STATE, UNUSED, FILTERS, FRAME_SIZE, COUNT };
    // STATE takes what the others leave.
    static constexpr std::array<int, COUNT> WIDTHS = {-1, 128, 320, 192};
};
