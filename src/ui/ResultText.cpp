// The result lists' columns and their cell texts.
#include "ResultText.h"

#include "DirectoryResult.h"
#include "ExtensionResult.h"
#include "FileResult.h"

#include <wx/intl.h>

namespace {
FileColumn Text(wxString FileResult::*field) {
    return {field, nullptr, nullptr, nullptr};
}
FileColumn Count(std::size_t Result::*field) {
    return {nullptr, field, nullptr, nullptr};
}
FileColumn Estimate(double Result::*field) {
    return {nullptr, nullptr, field, nullptr};
}

template <typename T> int Compare(const T& a, const T& b) {
    return a > b ? 1 : (a == b ? 0 : -1);
}
} // namespace

const std::array<FileColumn, 16> FILE_COLUMNS = {
    Text(&FileResult::m_strName),    Text(&FileResult::m_strExt),
    Text(&FileResult::m_strDir),     Count(&Result::m_nLines),
    Count(&Result::m_nCodeLines),    Count(&Result::m_nCodeCommentLines),
    Count(&Result::m_nCommentLines), Count(&Result::m_nBlankLines),
    Count(&Result::m_nSize),         Estimate(&Result::m_fManHours),
    Estimate(&Result::m_fCost),      Estimate(&Result::m_fUtCases),
    Estimate(&Result::m_fUtDefects), Estimate(&Result::m_fItCases),
    Estimate(&Result::m_fItDefects), {nullptr, nullptr, nullptr, &FileResult::m_dtModified},
};

// "Size" comes before the line counts here.
const std::array<SummaryColumn, 8> SUMMARY_COLUMNS = {{
    {wxTRANSLATE("Directory"), nullptr},
    {wxTRANSLATE("Count"), &Result::m_nFiles},
    {wxTRANSLATE("Size"), &Result::m_nSize},
    {wxTRANSLATE("Lines"), &Result::m_nLines},
    {wxTRANSLATE("Code lines"), &Result::m_nCodeLines},
    {wxTRANSLATE("Code//Comment"), &Result::m_nCodeCommentLines},
    {wxTRANSLATE("Comment lines"), &Result::m_nCommentLines},
    {wxTRANSLATE("Blank lines"), &Result::m_nBlankLines},
}};

wxString ShownName(const wxString& name, size_t longest) {
    const wxString cut = "...";
    wxString shown;
    if (name.length() > longest && longest > cut.length()) {
        const size_t kept = longest - cut.length(), head = (kept + 1) / 2;
        shown = name.Left(head) + cut + name.Right(kept - head);
    } else {
        shown = name;
    }
    for (auto c = shown.begin(); c != shown.end(); ++c)
        if (wxIscntrl(*c))
            *c = wxUniChar(0xFFFD);
    return shown;
}

wxString CountText(std::size_t value) {
    return wxString::Format("%zu", value);
}

wxString FileRowText(const FileResult& result, long column) {
    if (column < 0 || column >= static_cast<long>(FILE_COLUMNS.size()))
        return wxString();
    const FileColumn& c = FILE_COLUMNS[column];
    if (c.text)
        return ShownName(result.*c.text);
    if (c.count)
        return CountText(result.*c.count);
    if (c.estimate)
        return wxString::Format("%2.2f", result.*c.estimate);
    const wxDateTime& date = result.*c.date;
    return date.IsValid() ? date.Format("%Y-%m-%d") : wxString();
}

int CompareFileColumn(const FileResult& a, const FileResult& b, long column) {
    if (column < 0 || column >= static_cast<long>(FILE_COLUMNS.size()))
        return 0;
    const FileColumn& c = FILE_COLUMNS[column];
    if (c.text)
        return Compare((a.*c.text).compare(b.*c.text), 0);
    if (c.count)
        return Compare(a.*c.count, b.*c.count);
    if (c.estimate)
        return Compare(a.*c.estimate, b.*c.estimate);
    const wxDateTime &x = a.*c.date, &y = b.*c.date;
    return x.IsLaterThan(y) ? 1 : (x.IsEqualTo(y) ? 0 : -1);
}

wxString CountsText(const Result& result, long column) {
    if (column < 0 || column >= static_cast<long>(SUMMARY_COLUMNS.size()))
        return wxString();
    const auto count = SUMMARY_COLUMNS[column].count;
    return count ? CountText(result.*count) : wxString();
}

wxString SummaryRowText(const DirectoryResult& result, long column) {
    return column == 0 ? ShownName(result.m_strDir) : CountsText(result, column);
}

wxString SummaryRowText(const ExtensionResult& result, long column) {
    return column == 0 ? ShownName(result.m_strExt) : CountsText(result, column);
}
