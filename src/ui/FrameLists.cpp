// The result lists: columns, rows, sorting and the context menu.
#include "TallywickFrame.h"

#include "ColumnWidths.h"
#include "CountingManager.h"
#include "CrvConst.h"
#include "DesktopLauncher.h"
#include "ResultText.h"

#include <algorithm>
#include <wx/listctrl.h>

namespace {
const long DESCENDING = 0x1000;

template <typename T> int Compare(const T& a, const T& b) {
    return a > b ? 1 : (a == b ? 0 : -1);
}
} // namespace

void TallywickFrame::InitListColumns() {
    const wxArrayString& titles = CrvConst::GetColumnTitles();
    for (std::size_t i = 0; i < titles.size(); ++i)
        m_pFileList->InsertColumn(i, titles[i], wxLIST_FORMAT_LEFT, wxLIST_AUTOSIZE_USEHEADER);

    const char* const dirTitles[] = {wxTRANSLATE("Directory"),     wxTRANSLATE("Count"),
                                     wxTRANSLATE("Size"),          wxTRANSLATE("Lines"),
                                     wxTRANSLATE("Code lines"),    wxTRANSLATE("Code//Comment"),
                                     wxTRANSLATE("Comment lines"), wxTRANSLATE("Blank lines")};
    for (int i = 0; i < 8; ++i) {
        m_pDirList->InsertColumn(i, wxGetTranslation(dirTitles[i]), wxLIST_FORMAT_LEFT,
                                 i == 0 ? 320 : 64);
        m_pTypeList->InsertColumn(i, wxGetTranslation(i == 0 ? "Type" : dirTitles[i]),
                                  wxLIST_FORMAT_LEFT, 64);
    }
    // No title is cut, in any language.
    ColumnWidths(m_pDirList).Apply(true);
    ColumnWidths(m_pTypeList).Apply(true);
}

void TallywickFrame::FitListColumns() {
    // Names, types and folders are offered row by row; a figure or a date is as wide as the
    // largest value of its column.
    ColumnWidths files(m_pFileList);
    FileResult* largest[16] = {};
    for (FileResult* row : m_fileRows) {
        for (int column = 0; column < 3; ++column)
            files.Offer(column, FileRowText(*row, column));
        for (int column = 3; column < 16; ++column)
            if (!largest[column] ||
                CompareFileResult(reinterpret_cast<wxIntPtr>(row),
                                  reinterpret_cast<wxIntPtr>(largest[column]), column) > 0)
                largest[column] = row;
    }
    for (int column = 3; column < 16; ++column)
        if (largest[column])
            files.Offer(column, FileRowText(*largest[column], column));
    files.Apply();

    ColumnWidths dirs(m_pDirList);
    for (const DirectoryResult* row : m_dirRows)
        for (int column = 0; column < 8; ++column)
            dirs.Offer(column, SummaryRowText(*row, column));
    dirs.Apply();
    ColumnWidths types(m_pTypeList);
    for (const auto& row : m_pCountingManager->m_extResults)
        for (int column = 0; column < 8; ++column)
            types.Offer(column, SummaryRowText(*row, column));
    types.Apply();
}

void TallywickFrame::AddFileResult(FileResult* result) {
    const long row = static_cast<long>(m_fileRows.size());
    m_fileRows.push_back(result);
    // The list learns of new rows, and brings every third one into view, at the next progress
    // step (ShowProgress): laying out a growing list costs far more than counting a file.
    if (row % 3 == 0)
        m_nScrollRow = row;
}

void TallywickFrame::FillDirList() {
    for (const auto& result : m_pCountingManager->m_dirResults)
        m_dirRows.push_back(result.get());
    m_pDirList->SetItemCount(static_cast<long>(m_dirRows.size()));
    m_pDirList->Refresh();
}

void TallywickFrame::FillTypeList() {
    for (const auto& result : m_pCountingManager->m_extResults) {
        const long row = m_pTypeList->InsertItem(m_pTypeList->GetItemCount(), result->m_strExt);
        for (long column = 1; column < 8; ++column)
            m_pTypeList->SetItem(row, column, CountsText(*result, column));
    }
}

void TallywickFrame::OnFileListColClick(wxListEvent& event) {
    const int column = event.GetColumn();
    if (column < 0)
        return;
    if (column != m_nSortColumn) {
        m_nSortAscending = true;
        m_nSortColumn = column;
    } else {
        m_nSortAscending = !m_nSortAscending;
    }
    SortFileList(m_nSortAscending ? column : column + DESCENDING);
}

void TallywickFrame::SortFileList(long sortData) {
    // A stable sort keeps rows that compare equal in the order they had.
    std::stable_sort(m_fileRows.begin(), m_fileRows.end(),
                     [sortData](FileResult* a, FileResult* b) {
                         return CompareFileResult(reinterpret_cast<wxIntPtr>(a),
                                                  reinterpret_cast<wxIntPtr>(b), sortData) < 0;
                     });
    m_pFileList->ShowSortIndicator(m_nSortColumn, m_nSortAscending);
    m_pFileList->Refresh();
}

int wxCALLBACK TallywickFrame::CompareFileResult(wxIntPtr item1, wxIntPtr item2,
                                                 wxIntPtr sortData) {
    const bool descending = (sortData & DESCENDING) != 0;
    const long column = sortData & ~DESCENDING;
    const auto* a = reinterpret_cast<const FileResult*>(item1);
    const auto* b = reinterpret_cast<const FileResult*>(item2);
    if (!a)
        return !b ? 0 : (descending ? 1 : -1);
    if (!b)
        return descending ? -1 : 1;
    int result = 0;
    if (column == 0)
        result = a->m_strName.compare(b->m_strName);
    else if (column == 1)
        result = a->m_strExt.compare(b->m_strExt);
    else if (column == 2)
        result = a->m_strDir.compare(b->m_strDir);
    else if (column <= 8)
        result = Compare(a->*FILE_COUNT_COLUMNS[column - 3], b->*FILE_COUNT_COLUMNS[column - 3]);
    else if (column <= 14)
        result =
            Compare(a->*FILE_ESTIMATE_COLUMNS[column - 9], b->*FILE_ESTIMATE_COLUMNS[column - 9]);
    else if (column == 15)
        result = a->m_dtModified.IsLaterThan(b->m_dtModified)
                     ? 1
                     : (a->m_dtModified.IsEqualTo(b->m_dtModified) ? 0 : -1);
    else
        return 0;
    if (column <= 2)
        result = result > 0 ? 1 : (result < 0 ? -1 : 0);
    return descending ? -result : result;
}

void TallywickFrame::OnFileListItemRightClick(wxListEvent& event) {
    const long row = event.GetIndex();
    if (row >= 0 && row < static_cast<long>(m_fileRows.size()))
        ShowContextMenu(ID_LC_DETAIL, m_fileRows[row]);
}

void TallywickFrame::OnDirListItemRightClick(wxListEvent& event) {
    const long row = event.GetIndex();
    if (row >= 0 && row < static_cast<long>(m_dirRows.size()))
        ShowContextMenu(ID_LC_DIR, m_dirRows[row]);
}

void TallywickFrame::ShowContextMenu(long listId, Result* record) {
    // The choice is acted on here, while the record is sure to exist.
    m_nContextListId = listId;
    m_pContextRecord = record;
    m_pItemOpenFile->Enable(listId == ID_LC_DETAIL);
    const NestedLoops::Scope popup = m_loops.Popup();
    const int chosen = GetPopupMenuSelectionFromUser(m_menuListContext);
    wxCommandEvent command(wxEVT_MENU, chosen);
    if (chosen == ID_MENU_OPEN_DIR)
        OnOpenDirectory(command);
    else if (chosen == ID_MENU_OPEN_FILE)
        OnOpenFile(command);
    m_pContextRecord = nullptr;
}

void TallywickFrame::OnOpenDirectory(wxCommandEvent&) {
    if (!m_pContextRecord)
        return;
    if (m_nContextListId == ID_LC_DIR)
        OpenWithDesktop(static_cast<DirectoryResult*>(m_pContextRecord)->m_strDir);
    else if (m_nContextListId == ID_LC_DETAIL)
        OpenWithDesktop(static_cast<FileResult*>(m_pContextRecord)->m_strDir);
}

void TallywickFrame::OnOpenFile(wxCommandEvent&) {
    if (m_pContextRecord && m_nContextListId == ID_LC_DETAIL)
        OpenAsText(static_cast<FileResult*>(m_pContextRecord)->m_strPath);
}
