// Small pieces shared by the engine tests.
#pragma once

#include "Counter.h"
#include "CounterRule.h"
#include "CountingManager.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
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

// Adds a rule of the given markers to the manager.
inline CounterRule* AddRule(CountingManager& manager, const wxString& type, const wxString& single,
                            const wxString& begin = "", const wxString& end = "") {
    auto rule = std::make_unique<CounterRule>(type, "");
    rule->m_strSingleLineComment = single;
    rule->m_strMultiLineCommentBegin = begin;
    rule->m_strMultiLineCommentEnd = end;
    return (manager.m_ruleMap[type] = std::move(rule)).get();
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
