// Cell texts of the result lists.
#include "ResultText.h"

#include "DirectoryResult.h"
#include "ExtensionResult.h"
#include "FileResult.h"

std::size_t Result::*const FILE_COUNT_COLUMNS[6] = {
    &Result::m_nLines,        &Result::m_nCodeLines,  &Result::m_nCodeCommentLines,
    &Result::m_nCommentLines, &Result::m_nBlankLines, &Result::m_nSize};
double Result::*const FILE_ESTIMATE_COLUMNS[6] = {&Result::m_fManHours, &Result::m_fCost,
                                                  &Result::m_fUtCases,  &Result::m_fUtDefects,
                                                  &Result::m_fItCases,  &Result::m_fItDefects};

namespace {
// Columns 1 to 7 of the directory and type lists: "Size" comes before the line counts there.
std::size_t Result::*const SUMMARY_COUNT_COLUMNS[7] = {&Result::m_nFiles,
                                                       &Result::m_nSize,
                                                       &Result::m_nLines,
                                                       &Result::m_nCodeLines,
                                                       &Result::m_nCodeCommentLines,
                                                       &Result::m_nCommentLines,
                                                       &Result::m_nBlankLines};
} // namespace

wxString CountText(std::size_t value) {
    return wxString::Format("%zu", value);
}

wxString FileRowText(const FileResult& result, long column) {
    if (column >= 3 && column <= 8)
        return CountText(result.*FILE_COUNT_COLUMNS[column - 3]);
    if (column >= 9 && column <= 14)
        return wxString::Format("%2.2f", result.*FILE_ESTIMATE_COLUMNS[column - 9]);
    switch (column) {
    case 0:
        return result.m_strName;
    case 1:
        return result.m_strExt;
    case 2:
        return result.m_strDir;
    case 15:
        return result.m_dtModified.IsValid() ? result.m_dtModified.Format("%Y-%m-%d") : wxString();
    }
    return wxString();
}

wxString CountsText(const Result& result, long column) {
    return column >= 1 && column <= 7 ? CountText(result.*SUMMARY_COUNT_COLUMNS[column - 1])
                                      : wxString();
}

wxString SummaryRowText(const DirectoryResult& result, long column) {
    return column == 0 ? result.m_strDir : CountsText(result, column);
}

wxString SummaryRowText(const ExtensionResult& result, long column) {
    return column == 0 ? result.m_strExt : CountsText(result, column);
}
