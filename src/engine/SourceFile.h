// One source file opened for counting: one open, one status call, then its bytes, mapped
// when large and read into a reused buffer when small.
#pragma once

#include "TextLines.h"

#include <cstdint>
#include <ctime>
#include <wx/string.h>

class SourceFile {
public:
    SourceFile() = default;
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    ~SourceFile();

    // Opens the file if it is a regular file; anything else (FIFO, device, socket, missing
    // target) is refused without blocking.
    bool Open(const wxString& path);
    std::uint64_t Size() const { return m_size; }
    std::time_t ModificationTime() const { return m_mtime; }
    // Makes the bytes available; false when they cannot be read.
    bool Load();
    TextLines Lines() const { return TextLines(m_data, m_length); }

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::time_t m_mtime = 0;
    const char* m_data = nullptr;
    std::size_t m_length = 0;
    void* m_map = nullptr;
};
