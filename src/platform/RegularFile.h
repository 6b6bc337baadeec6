// Opening a file for reading only when it is a regular file: a FIFO would block for ever, a
// device never end.
#pragma once

#include <cstdint>
#include <ctime>
#include <wx/string.h>

struct FileStatus {
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

// Opens the file read-only, whatever the length of its path, and fills status when given.
// Returns the descriptor, or -1: with errno set when the file could not be opened or its
// status read, with errno 0 when it is no regular file. Never blocks on a FIFO.
int OpenRegularFile(const wxString& path, FileStatus* status = nullptr);
