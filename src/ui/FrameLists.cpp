// The result lists: columns, rows, sorting and the context menu.
#include "TallywickFrame.h"

#include "CrvConst.h"

#include <wx/listctrl.h>

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

void TallywickFrame::OnFileListItemRightClick(wxListEvent&) {}

void TallywickFrame::OnFileListColClick(wxListEvent&) {}

void TallywickFrame::OnDirListItemRightClick(wxListEvent&) {}

void TallywickFrame::OnOpenDirectory(wxCommandEvent&) {}

void TallywickFrame::OnOpenFile(wxCommandEvent&) {}
