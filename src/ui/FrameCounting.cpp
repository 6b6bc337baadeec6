// The frame's side of a counting run: Start, Stop, the controls' states and the engine's
// notifications.
#include "TallywickFrame.h"

#include "ConfirmBox.h"
#include "CountingManager.h"
#include "StatusField.h"

#include <wx/aui/auibook.h>
#include <wx/bmpbuttn.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/propgrid/propgrid.h>
#include <wx/statusbr.h>
#include <wx/tokenzr.h>

namespace {
// Status field 0 redraws at once on every change, and the file list is laid out and drawn
// anew: progress is shown this often, so that new rows appear within a tenth of a second.
const long PROGRESS_INTERVAL_MS = 50;
const std::size_t UNREADABLE_SHOWN = 10;
} // namespace

void TallywickFrame::OnStartCounting(wxCommandEvent&) {
    if (CheckCountingInputs())
        RunCounting(ReadCountingParam());
}

bool TallywickFrame::CheckCountingInputs() {
    const unsigned count = m_pSourceDirList->GetCount();
    if (count == 0) {
        ShowConfirm(_("Please add source directory."), wxOK, this);
        return false;
    }
    bool anyChecked = false;
    for (unsigned i = 0; i < count && !anyChecked; ++i)
        anyChecked = m_pSourceDirList->IsChecked(i);
    if (!anyChecked) {
        ShowConfirm(_("Please check counting directory."), wxOK | wxCENTRE);
        return false;
    }
    if (ChosenTypes().empty()) {
        ShowConfirm(_("Please select source types."), wxOK | wxCENTRE);
        return false;
    }
    return true;
}

CountingParam TallywickFrame::ReadCountingParam() const {
    CountingParam param;
    for (unsigned i = 0; i < m_pSourceDirList->GetCount(); ++i)
        if (m_pSourceDirList->IsChecked(i))
            param.m_arrDirs.Add(m_pSourceDirList->GetString(i));
    wxStringTokenizer types(ChosenTypes(), ";");
    while (types.HasMoreTokens())
        param.m_arrTypes.Add(types.GetNextToken());
    param.m_bRecursive = m_pChkRecursive->GetValue();
    return param;
}

void TallywickFrame::RunCounting(const CountingParam& param) {
    // The lists are emptied first: their rows point into the records that Reset deletes.
    ClearResults();
    m_pCountingManager->Reset();
    m_pCountingManager->m_nState = CountingManager::STATE_BUSY;
    if (m_pNotebook->GetSelection() != 0)
        m_pNotebook->SetSelection(0);
    EnableControls();
    KeepKeyboardFocus(m_pBtnStop);
    m_nSortColumn = 0;
    m_nSortAscending = false;
    m_pFileList->RemoveSortIndicator();

    ReadAnalysisParam();
    m_pCountingManager->SetCountingParam(param, &m_analysisParam);
    m_pCountingManager->m_pCountingObserver = this;
    m_pCountingManager->m_pAnalysisObserver = this;
    m_pCountingManager->m_pFilterObserver = this;

    SetCursor(wxCursor(wxCURSOR_WAIT));
    m_pStatusBar->SetStatusText(_("Counting"), StatusField::STATE);
    m_progressClock.Start();
    m_nScrollRow = -1;
    {
        const NestedLoops::Scope run = m_loops.Run();
        m_pCountingManager->Count();
    }
    SetCursor(wxCursor(wxCURSOR_ARROW));
    if (m_pCountingManager->m_nState == CountingManager::STATE_STOPPED)
        m_pStatusBar->SetStatusText(_("Canceled"), StatusField::STATE);
    else if (m_pCountingManager->m_nState == CountingManager::STATE_COMPLETED)
        m_pStatusBar->SetStatusText(_("Completed"), StatusField::STATE);
    EnableControls();
    KeepKeyboardFocus(m_pBtnStart);
    if (m_loops.ClosePutOff())
        return; // the user closed the window during the run, and it closes next
    ReportUnreadablePaths();
}

void TallywickFrame::OnStopCounting(wxCommandEvent&) {
    m_pCountingManager->Stop();
}

void TallywickFrame::EnableControls() {
    const bool busy = m_pCountingManager->m_nState == CountingManager::STATE_BUSY;
    const bool on = !busy;
    for (wxWindow* control :
         {static_cast<wxWindow*>(m_pSourceDirList), static_cast<wxWindow*>(m_pBtnAddDir),
          static_cast<wxWindow*>(m_pBtnDeleteDir), static_cast<wxWindow*>(m_pChkRecursive),
          static_cast<wxWindow*>(m_pSourceTypeCombo), static_cast<wxWindow*>(m_pBtnSelectType),
          static_cast<wxWindow*>(m_pBtnStart)})
        control->Enable(on);
    m_pBtnStop->Enable(busy);
    for (wxWindow* control :
         {static_cast<wxWindow*>(m_pAnalysisGrid), static_cast<wxWindow*>(m_pBtnRefreshAnalysis),
          static_cast<wxWindow*>(m_pDirFilterList), static_cast<wxWindow*>(m_pChkAllDirs),
          static_cast<wxWindow*>(m_pBtnRefreshDir), static_cast<wxWindow*>(m_pExtFilterList),
          static_cast<wxWindow*>(m_pChkAllExts), static_cast<wxWindow*>(m_pBtnRefreshExt),
          static_cast<wxWindow*>(m_pDateFilterList), static_cast<wxWindow*>(m_pChkAllDates),
          static_cast<wxWindow*>(m_pBtnRefreshDate), static_cast<wxWindow*>(m_pFileList),
          static_cast<wxWindow*>(m_pDirList), static_cast<wxWindow*>(m_pTypeList)})
        control->Enable(on);
}

void TallywickFrame::KeepKeyboardFocus(wxWindow* fallback) {
    // A control switched off loses the focus, and with the focus nowhere this toolkit gives
    // Alt with a letter to the menu bar (Alt-T opens Tools) instead of the frame's shortcuts.
    const wxWindow* focus = FindFocus();
    if (!focus || !focus->IsEnabled())
        fallback->SetFocus();
}

void TallywickFrame::ClearResults() {
    m_fileRows.clear();
    m_pFileList->SetItemCount(0);
    m_pFileList->ScrollToLeftEdge(); // a new run's rows start with their names
    m_pFileList->Refresh();
    m_dirRows.clear();
    m_pDirList->SetItemCount(0);
    m_pDirList->ScrollToLeftEdge();
    m_pDirList->Refresh();
    if (m_pTypeList->GetItemCount() > 0)
        m_pTypeList->DeleteAllItems();
    for (wxCheckListBox* list : {m_pDirFilterList, m_pExtFilterList, m_pDateFilterList})
        if (list->GetCount() > 0)
            list->Clear();
}

void TallywickFrame::OnFileCounted() {
    FileResult* result = m_pCountingManager->m_fileResults.back().get();
    AddFileResult(result);
    if (m_progressClock.Time() >= PROGRESS_INTERVAL_MS)
        ShowProgress(result->m_strPath);
}

void TallywickFrame::OnFileReading(const wxString& path) {
    // A large file: the rows counted before it are shown, and its name, as between files.
    if (m_progressClock.Time() >= PROGRESS_INTERVAL_MS)
        ShowProgress(path);
}

void TallywickFrame::ShowProgress(const wxString& path) {
    // Unchanged during a large file, and a new count lays the whole list out again.
    if (m_pFileList->GetItemCount() != static_cast<long>(m_fileRows.size()))
        m_pFileList->SetItemCount(static_cast<long>(m_fileRows.size()));
    if (m_nScrollRow >= 0)
        m_pFileList->EnsureVisible(m_nScrollRow);
    m_nScrollRow = -1;
    // The list lays its rows out only when the event loop is idle, which a run never is. Laid
    // out here, it can also redraw itself until the next step, as when the pointer passes.
    m_pFileList->Update();
    m_pStatusBar->SetStatusText(path, StatusField::STATE);
    m_progressClock.Start();
}

void TallywickFrame::OnFilterUpdate() {
    // Only at the end of a run is the state word the run's own; refreshes keep what it said.
    m_bRunCanceled = m_pCountingManager->m_nState == CountingManager::STATE_STOPPED;
    // The run has ended: show the last progress, which the throttle may have held back.
    if (!m_pCountingManager->m_fileResults.empty())
        ShowProgress(m_pCountingManager->m_fileResults.back()->m_strPath);
    CountingManager& manager = *m_pCountingManager;
    const auto refill = [](ShortenedCheckListBox* list, const wxArrayString& values) {
        list->Freeze();
        list->SetKeys(values);
        for (unsigned i = 0; i < list->GetCount(); ++i)
            list->Check(i, true);
        list->Thaw();
    };
    refill(m_pDirFilterList, manager.m_dirList);
    manager.m_extList.Sort();
    refill(m_pExtFilterList, manager.m_extList);
    manager.m_dateList.Sort();
    refill(m_pDateFilterList, manager.m_dateList);

    UpdateSummaryGrid();
    FillDirList();
    FillTypeList();
    ReadFilterParam();
    GenerateReport();
    FitListColumns();
}

void TallywickFrame::OnAnalysisUpdate() {
    m_fileRows.clear();
    for (const auto& result : m_pCountingManager->m_fileResults)
        if (result->m_bVisible)
            m_fileRows.push_back(result.get());
    m_pFileList->SetItemCount(static_cast<long>(m_fileRows.size()));
    m_nSortAscending = true;
    SortFileList(m_nSortColumn);
    UpdateSummaryGrid();
    m_dirRows.clear();
    m_pDirList->SetItemCount(0);
    FillDirList();
    if (m_pTypeList->GetItemCount() > 0)
        m_pTypeList->DeleteAllItems();
    FillTypeList();
    GenerateReport();
    FitListColumns();
}

void TallywickFrame::ReportUnreadablePaths() {
    const wxArrayString& paths = m_pCountingManager->m_unreadablePaths;
    if (paths.empty())
        return;
    wxString text =
        wxString::Format(wxPLURAL("%zu file or folder could not be read:",
                                  "%zu files or folders could not be read:", paths.size()),
                         paths.size());
    for (std::size_t i = 0; i < paths.size() && i < UNREADABLE_SHOWN; ++i)
        text += "\n" + paths[i];
    if (paths.size() > UNREADABLE_SHOWN)
        text += "\n...";
    wxLogWarning("%s", text);
}
