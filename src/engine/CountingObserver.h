// Told after each counted file, and between the chunks of a file that takes long to read.
#pragma once

#include <wx/string.h>

class CountingObserver {
public:
    virtual ~CountingObserver() = default;
    virtual void OnFileCounted() = 0;
    // The file at path is still being counted: it is larger than a chunk, or holds a line far
    // longer. Told about every chunk's worth of work; it is not in the results yet.
    virtual void OnFileReading(const wxString& path) { (void)path; }
};
