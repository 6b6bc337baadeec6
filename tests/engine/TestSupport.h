// Small pieces shared by the engine tests.
#pragma once

#include "CounterRule.h"
#include "CountingManager.h"
#include "FileExtension.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <wx/string.h>

// The whole file as bytes; empty when it cannot be read.
inline std::string ReadFile(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A "C" rule with the usual markers, and ".c" and ".h" selected for counting.
inline void AddCStyle(CountingManager& manager) {
    auto c = std::make_unique<CounterRule>("C", "C/C++");
    c->m_strSingleLineComment = "//";
    c->m_strMultiLineCommentBegin = "/*";
    c->m_strMultiLineCommentEnd = "*/";
    manager.m_ruleMap["C"] = std::move(c);
    manager.m_extMap[".c"] = std::make_unique<FileExtension>(".c", "C", "C source", true);
    manager.m_extMap[".h"] = std::make_unique<FileExtension>(".h", "C", "C header", true);
}
