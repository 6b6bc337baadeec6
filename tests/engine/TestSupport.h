// Small pieces shared by the engine tests.
#pragma once

#include "Counter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <wx/filename.h>
#include <wx/string.h>

// total, code, comment, code+comment, blank
using LineCounts = std::array<std::uint64_t, 5>;

// The counts a counter adds for the text to those given.
inline LineCounts CountText(Counter& counter, const std::string& text, LineCounts n = {}) {
    counter.CountLines(TextLines(text), n[0], n[1], n[2], n[3], n[4]);
    return n;
}

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Dates a file to the given day, at noon unless an hour is given.
inline void SetModified(const wxString& path, int year, int month, int day, int hour = 12) {
    const wxDateTime when(day, wxDateTime::Month(month - 1), year, hour);
    ASSERT_TRUE(wxFileName(path).SetTimes(&when, &when, nullptr));
}
