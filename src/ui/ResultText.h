// The cells of the result lists: which record field each column shows, and its text.
#pragma once

#include "Result.h"

#include <wx/string.h>

class DirectoryResult;
class ExtensionResult;
class FileResult;

// The file list's count columns 3 to 8 and estimate columns 9 to 14.
extern std::size_t Result::*const FILE_COUNT_COLUMNS[6];
extern double Result::*const FILE_ESTIMATE_COLUMNS[6];

// A count as the lists and the report show it.
wxString CountText(std::size_t value);
// Column 0 to 15 of the file list.
wxString FileRowText(const FileResult& result, long column);
// Column 1 to 7 of the directory and type lists (column 0 is the folder or the extension).
wxString CountsText(const Result& result, long column);
wxString SummaryRowText(const DirectoryResult& result, long column);
wxString SummaryRowText(const ExtensionResult& result, long column);
