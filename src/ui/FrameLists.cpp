// The result lists: columns, rows, sorting and the context menu.
#include "TallywickFrame.h"

#include "ColumnWidths.h"
#include "CountingManager.h"
#include "CrvConst.h"
#include "DesktopLauncher.h"
#include "ResultText.h"

#include <algorithm>
#include <array>
#include <wx/listctrl.h>

namespace {
const long DESCENDING = 0x1000;
// The directory and type lists' first widths; a title that needs more gets more.
const int FOLDER_COLUMN_WIDTH = 320;
const int COLUMN_WIDTH = 64;
// A file's name has the stronger claim on the list's width: the docks give way for names of
// about this many characters, so that the usual ones read whole beside the first figures.
const int NAME_CLAIM_CHARACTERS = 16;
} // namespace

void TallywickFrame::InitListColumns() {
    const wxArrayString& titles = CrvConst::GetColumnTitles();
    for (std::size_t i = 0; i < FILE_COLUMNS.size(); ++i)
        m_pFileList->InsertColumn(i, titles[i], wxLIST_FORMAT_LEFT, wxLIST_AUTOSIZE_USEHEADER);

    for (std::size_t i = 0; i < SUMMARY_COLUMNS.size(); ++i) {
        const bool first = i == 0;
        m_pDirList->InsertColumn(i, wxGetTranslation(SUMMARY_COLUMNS[i].title), wxLIST_FORMAT_LEFT,
                                 first ? FOLDER_COLUMN_WIDTH : COLUMN_WIDTH);
        m_pTypeList->InsertColumn(i, wxGetTranslation(first ? "Type" : SUMMARY_COLUMNS[i].title),
                                  wxLIST_FORMAT_LEFT, COLUMN_WIDTH);
    }
    // Names and folders leave room for the lines and code lines beside them.
    m_pFileList->SetShortenedColumns({FILE_NAME_COLUMN, FILE_FOLDER_COLUMN}, FILE_CODE_COLUMN,
                                     NAME_CLAIM_CHARACTERS * m_pFileList->GetCharWidth());
    m_pDirList->SetShortenedColumns({0}, SUMMARY_CODE_COLUMN);
    // No title is cut, in any language.
    ColumnWidths(m_pDirList).Apply(true);
    ColumnWidths(m_pTypeList).Apply(true);
}

void TallywickFrame::FitListColumns() {
    // Names, types and folders are offered row by row; a figure or a date is as wide as the
    // largest value of its column.
    ColumnWidths files(m_pFileList);
    std::array<const FileResult*, FILE_COLUMNS.size()> largest = {};
    for (const FileResult* row : m_fileRows) {
        for (std::size_t column = 0; column < FILE_COLUMNS.size(); ++column) {
            if (FILE_COLUMNS[column].text)
                files.Offer(column, FileRowText(*row, column));
            else if (!largest[column] || CompareFileColumn(*row, *largest[column], column) > 0)
                largest[column] = row;
        }
    }
    for (std::size_t column = 0; column < FILE_COLUMNS.size(); ++column)
        if (largest[column])
            files.Offer(column, FileRowText(*largest[column], column));
    m_pFileList->FitColumns(files.Needed(), files.TitleWidths());

    ColumnWidths dirs(m_pDirList);
    for (const DirectoryResult* row : m_dirRows)
        for (std::size_t column = 0; column < SUMMARY_COLUMNS.size(); ++column)
            dirs.Offer(column, SummaryRowText(*row, column));
    m_pDirList->FitColumns(dirs.Needed(), dirs.TitleWidths());
    ColumnWidths types(m_pTypeList);
    for (const auto& row : m_pCountingManager->m_extResults)
        for (std::size_t column = 0; column < SUMMARY_COLUMNS.size(); ++column)
            types.Offer(column, SummaryRowText(*row, column));
    types.Apply();
    FitResultPane();
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
        const long row =
            m_pTypeList->InsertItem(m_pTypeList->GetItemCount(), ShownName(result->m_strExt));
        for (std::size_t column = 1; column < SUMMARY_COLUMNS.size(); ++column)
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
    m_pFileList->Refit();
    FitResultPane(); // the sort arrow's room changes what the first figures need
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
    const int result = CompareFileColumn(*a, *b, column);
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
    const NestedLoops::Scope popup = m_loops.Popup(m_menuListContext);
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
