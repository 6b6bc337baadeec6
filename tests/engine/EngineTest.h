// What the engine tests share: a temporary folder and file helpers.
#pragma once

#include "Counter.h"
#include "CounterRule.h"
#include "CountingManager.h"
#include "FileExtension.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>

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

inline std::string ReadFile(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Dates a file to noon of the given day.
inline void SetModified(const wxString& path, int year, int month, int day) {
    const wxDateTime when(day, wxDateTime::Month(month - 1), year, 12);
    ASSERT_TRUE(wxFileName(path).SetTimes(&when, &when, nullptr));
}

// A fresh temporary folder, also the working directory, so that a manager's rules file
// lands inside it. Removed with everything in it, locked folders too, at the end.
class TempDir {
public:
    TempDir() : m_oldCwd(wxGetCwd()) {
        char name[] = "/tmp/tallywick-test-XXXXXX";
        m_path = wxString(mkdtemp(name));
        wxSetWorkingDirectory(m_path);
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        wxSetWorkingDirectory(m_oldCwd);
        std::error_code error;
        const fs::path root(m_path.ToStdString());
        for (auto it = fs::recursive_directory_iterator(root, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error))
            if (it->is_directory(error) && !it->is_symlink(error))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(root, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const wxString& Path() const { return m_path; }
    wxString operator/(const wxString& relative) const { return m_path + "/" + relative; }

    // Writes the bytes to a file below the folder, creating its folders; returns its path.
    wxString Write(const wxString& relative, const std::string& bytes) const {
        const wxString path = *this / relative;
        wxFileName::Mkdir(wxFileName(path).GetPath(), 0755, wxPATH_MKDIR_FULL);
        wxFile(path, wxFile::write).Write(bytes.data(), bytes.size());
        return path;
    }

private:
    wxString m_path, m_oldCwd;
};
