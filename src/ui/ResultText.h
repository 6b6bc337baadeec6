// The texts of the result lists' cells.
#pragma once

#include <wx/string.h>

class DirectoryResult;
class ExtensionResult;
class FileResult;
class Result;

// Column 0 to 15 of the file list.
wxString FileRowText(const FileResult& result, long column);
// Column 1 to 7 of the directory and type lists (column 0 is the folder or the extension).
wxString CountsText(const Result& result, long column);
wxString SummaryRowText(const DirectoryResult& result, long column);
wxString SummaryRowText(const ExtensionResult& result, long column);
