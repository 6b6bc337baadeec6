// Cell texts of the result lists.
#include "ResultText.h"

#include "DirectoryResult.h"
#include "ExtensionResult.h"
#include "FileResult.h"

namespace {
wxString Count(std::size_t value) {
    return wxString::Format("%zu", value);
}

wxString Estimate(float value) {
    return wxString::Format("%2.2f", value);
}
} // namespace

wxString FileRowText(const FileResult& result, long column) {
    switch (column) {
    case 0:
        return result.m_strName;
    case 1:
        return result.m_strExt;
    case 2:
        return result.m_strDir;
    case 3:
        return Count(result.m_nLines);
    case 4:
        return Count(result.m_nCodeLines);
    case 5:
        return Count(result.m_nCodeCommentLines);
    case 6:
        return Count(result.m_nCommentLines);
    case 7:
        return Count(result.m_nBlankLines);
    case 8:
        return Count(result.m_nSize);
    case 9:
        return Estimate(result.m_fManHours);
    case 10:
        return Estimate(result.m_fCost);
    case 11:
        return Estimate(result.m_fUtCases);
    case 12:
        return Estimate(result.m_fUtDefects);
    case 13:
        return Estimate(result.m_fItCases);
    case 14:
        return Estimate(result.m_fItDefects);
    case 15:
        return result.m_dtModified.IsValid() ? result.m_dtModified.Format("%Y-%m-%d") : wxString();
    }
    return wxString();
}

wxString CountsText(const Result& result, long column) {
    switch (column) {
    case 1:
        return Count(result.m_nFiles);
    case 2:
        return Count(result.m_nSize);
    case 3:
        return Count(result.m_nLines);
    case 4:
        return Count(result.m_nCodeLines);
    case 5:
        return Count(result.m_nCodeCommentLines);
    case 6:
        return Count(result.m_nCommentLines);
    case 7:
        return Count(result.m_nBlankLines);
    }
    return wxString();
}

wxString SummaryRowText(const DirectoryResult& result, long column) {
    return column == 0 ? result.m_strDir : CountsText(result, column);
}

wxString SummaryRowText(const ExtensionResult& result, long column) {
    return column == 0 ? result.m_strExt : CountsText(result, column);
}
