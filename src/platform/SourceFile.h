// One source file opened for counting: one open, one status call, then its bytes in chunks.
#pragma once

#include "ChunkReader.h"

#include <cstdint>
#include <ctime>
#include <optional>
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
    // The file's bytes, to be read once.
    ChunkReader& Reader() { return *m_reader; }
    // The file could not be opened, or reading stopped early: the bytes read are not the whole
    // file. A file that is not a regular file is refused, not failed.
    bool Failed() const { return m_failed || (m_reader && m_reader->Failed()); }

private:
    int m_fd = -1;
    bool m_failed = false;
    std::uint64_t m_size = 0;
    std::time_t m_mtime = 0;
    std::optional<ChunkReader> m_reader;
};
