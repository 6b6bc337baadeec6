// The result lists: columns, rows, sorting and the context menu.
#include "TallywickFrame.h"

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
}

void TallywickFrame::AddFileResult(FileResult* result) {
    const long row = static_cast<long>(m_fileRows.size());
    m_fileRows.push_back(result);
    m_pFileList->SetItemCount(row + 1);
    // Every third row is brought into view; the scrolling itself is done at most every
    // 100 ms (ShowProgress), as scrolling a growing list costs far more than counting a file.
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
    switch (column) {
    case 0:
        result = a->m_strName.compare(b->m_strName);
        break;
    case 1:
        result = a->m_strExt.compare(b->m_strExt);
        break;
    case 2:
        result = a->m_strDir.compare(b->m_strDir);
        break;
    case 3:
        result = Compare(a->m_nLines, b->m_nLines);
        break;
    case 4:
        result = Compare(a->m_nCodeLines, b->m_nCodeLines);
        break;
    case 5:
        result = Compare(a->m_nCodeCommentLines, b->m_nCodeCommentLines);
        break;
    case 6:
        result = Compare(a->m_nCommentLines, b->m_nCommentLines);
        break;
    case 7:
        result = Compare(a->m_nBlankLines, b->m_nBlankLines);
        break;
    case 8:
        result = Compare(a->m_nSize, b->m_nSize);
        break;
    case 9:
        result = Compare(a->m_fManHours, b->m_fManHours);
        break;
    case 10:
        result = Compare(a->m_fCost, b->m_fCost);
        break;
    case 11:
        result = Compare(a->m_fUtCases, b->m_fUtCases);
        break;
    case 12:
        result = Compare(a->m_fUtDefects, b->m_fUtDefects);
        break;
    case 13:
        result = Compare(a->m_fItCases, b->m_fItCases);
        break;
    case 14:
        result = Compare(a->m_fItDefects, b->m_fItDefects);
        break;
    case 15:
        result = a->m_dtModified.IsLaterThan(b->m_dtModified)
                     ? 1
                     : (a->m_dtModified.IsEqualTo(b->m_dtModified) ? 0 : -1);
        break;
    default:
        return 0;
    }
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
