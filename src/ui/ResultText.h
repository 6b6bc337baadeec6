// The columns of the result lists: which record field each shows, its cell text and its order.
#pragma once

#include "Result.h"

#include <array>
#include <wx/datetime.h>
#include <wx/string.h>

class DirectoryResult;
class ExtensionResult;
class FileResult;

// A column of the file list shows one field of the record; exactly one pointer is set.
struct FileColumn {
    wxString FileResult::*text;
    std::size_t Result::*count;
    double Result::*estimate;
    wxDateTime FileResult::*date;
};
// In the order of the file list's titles.
extern const std::array<FileColumn, 16> FILE_COLUMNS;
// The file list's name and folder columns, and its code lines, which show beside them.
constexpr int FILE_NAME_COLUMN = 0, FILE_FOLDER_COLUMN = 2, FILE_CODE_COLUMN = 4;

// A column of the directory and type lists: the first shows the folder or the extension, the
// others a count.
struct SummaryColumn {
    const char* title; // untranslated; the type list's first column is "Type"
    std::size_t Result::*count;
};
extern const std::array<SummaryColumn, 8> SUMMARY_COLUMNS;
// The folder list's code lines, which show beside the folders.
constexpr int SUMMARY_CODE_COLUMN = 4;

// A name as the lists show it: a control character (a line break in a file's name) would
// split its row, so each shows as the replacement mark U+FFFD. A name longer than longest
// characters keeps its two ends around "...": the toolkit lays a row out whole, and takes
// seconds for one of many thousand characters.
wxString ShownName(const wxString& name, size_t longest = wxString::npos);
// A count as the lists and the report show it.
wxString CountText(std::size_t value);
wxString FileRowText(const FileResult& result, long column);
// -1, 0 or 1 as the column's value of a is smaller than, equal to or larger than b's.
int CompareFileColumn(const FileResult& a, const FileResult& b, long column);
// The counts of the directory and type lists; empty for their first column.
wxString CountsText(const Result& result, long column);
wxString SummaryRowText(const DirectoryResult& result, long column);
wxString SummaryRowText(const ExtensionResult& result, long column);
