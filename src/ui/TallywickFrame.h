// The main window: docking panes, result notebook, menus, toolbar and status bar, and the
// frame's side of a counting run. The class is one header and several source files, each for
// one concern (layout, window state, counting, sources, lists, filters, grids, report, exports,
// version). Below, the members of each file are grouped under its name in the file's order:
// public what the handlers, the dialogs and the tests share, private the frame's own.
#pragma once

#include "AnalysisObserver.h"
#include "AnalysisParam.h"
#include "CheckVerThread.h"
#include "CountingObserver.h"
#include "DockingManager.h"
#include "FilterObserver.h"
#include "FilterParam.h"
#include "NestedLoops.h"
#include "ShortenedCheckListBox.h"
#include "VirtualListCtrl.h"

#include <memory>
#include <vector>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/stopwatch.h>
#include <wx/thread.h>

class CountingManager;
class CountingParam;
class CrvHtmlWin;
class DirectoryResult;
class FileResult;
class Result;
class Preference;
class wxAuiNotebook;
class wxAuiToolBar;
class wxAuiToolBarEvent;
class wxBitmapButton;
class wxBoxSizer;
class wxCheckBox;
class wxCheckListBox;
class wxComboBox;
class wxDirDialog;
class wxFileDialog;
class wxListCtrl;
class wxListEvent;
class wxPanel;
class wxPropertyGrid;
class wxStatusBar;

class TallywickFrame : public wxFrame,
                       public CountingObserver,
                       public AnalysisObserver,
                       public FilterObserver {
public:
    TallywickFrame(wxWindow* parent, wxWindowID id = wxID_ANY);
    virtual ~TallywickFrame();

    static const wxString REPORT_TEMPLATE_FILE;
    static const wxString INDEX_PAGE_FILE;
    // The page last loaded into the report view; what the HTML export writes.
    static wxString s_strHtmlPage;

    // The windows, menu items and tools, by identifier.
    static const long ID_TOOL_EXPORT;
    static const long ID_TOOL_FILTER;
    static const long ID_TOOL_FULLSCREEN;
    static const long ID_TOOL_LANGUAGE;
    static const long ID_TOOL_UPDATE;
    static const long ID_TOOL_ABOUT;
    static const long ID_AUITOOLBAR_MAIN;
    static const long ID_LC_DETAIL;
    static const long ID_PANEL_DETAIL;
    static const long ID_LC_DIR;
    static const long ID_LISTCTRL3;
    static const long ID_PANEL_DIR;
    static const long ID_PANEL_SUM;
    static const long ID_CUSTOM1;
    static const long ID_PANEL_REPORT;
    static const long ID_AUINOTEBOOK_RESULT;
    static const long ID_BITMAPBUTTON1;
    static const long ID_BITMAPBUTTON2;
    static const long ID_CHECKLISTBOX1;
    static const long ID_CHECKBOX1;
    static const long ID_COMBOBOX1;
    static const long ID_BITMAPBUTTON7;
    static const long ID_BITMAPBUTTON_START;
    static const long ID_BITMAPBUTTON_STOP;
    static const long ID_PANEL1;
    static const long ID_BITMAPBUTTON3;
    static const long ID_PANEL2;
    static const long ID_CHECKLISTBOX_DIR;
    static const long ID_CHECKBOX_DIR;
    static const long ID_BITMAPBUTTON4;
    static const long ID_PANEL3;
    static const long ID_CHECKLISTBOX_DATE;
    static const long ID_CHECKBOX_DATE;
    static const long ID_BITMAPBUTTON5;
    static const long ID_PANEL4;
    static const long ID_CHECKLISTBOX_EXT;
    static const long ID_CHECKBOX_EXT;
    static const long ID_BITMAPBUTTON6;
    static const long ID_PANEL5;
    static const long ID_MENU_ADDDIR;
    static const long ID_MENU_SELTYPE;
    static const long ID_MENU_START;
    static const long ID_MENU_STOP;
    static const long ID_MENU_QUIT;
    static const long ID_MENU_LANGUAGE;
    static const long ID_MENU_FULLSCREEN;
    static const long ID_MENU_UPDATE;
    static const long ID_MENU_ABOUT;
    static const long ID_STATUSBAR1;
    static const long ID_MENU_EXPORT_HTML;
    static const long ID_MENU_EXPORT_CSV;
    static const long ID_MENU_OPEN_DIR;
    static const long ID_MENU_OPEN_FILE;
    static const long ID_MENU_ALL_FILTERS;
    static const long ID_MENU_FILTER_DIR;
    static const long ID_MENU_FILTER_EXT;
    static const long ID_MENU_FILTER_DATE;

    Preference* m_pPreference = nullptr;
    CountingManager* m_pCountingManager = nullptr;
    wxPropertyGrid* m_pAnalysisGrid = nullptr;
    wxPropertyGrid* m_pSummaryGrid = nullptr;
    AnalysisParam m_analysisParam;
    FilterParam m_filterParam;
    wxString m_strLatestVersion;
    wxMutex m_mutexVersion;
    int m_nSortColumn = 0;
    bool m_nSortAscending = false;
    CrvHtmlWin* m_pHtmlWin = nullptr;
    DockingManager* m_pAuiManager = nullptr;
    wxAuiNotebook* m_pNotebook = nullptr;
    wxAuiToolBar* m_pToolBar = nullptr;
    wxBitmapButton* m_pBtnAddDir = nullptr;
    wxBitmapButton* m_pBtnDeleteDir = nullptr;
    wxBitmapButton* m_pBtnRefreshExt = nullptr;
    wxBitmapButton* m_pBtnRefreshDate = nullptr;
    wxBitmapButton* m_pBtnRefreshAnalysis = nullptr;
    wxBitmapButton* m_pBtnRefreshDir = nullptr;
    wxBitmapButton* m_pBtnSelectType = nullptr;
    wxBitmapButton* m_pBtnStart = nullptr;
    wxBitmapButton* m_pBtnStop = nullptr;
    wxBoxSizer* m_pAnalysisSizer = nullptr;
    wxBoxSizer* m_pAnalysisGridSizer = nullptr;
    wxCheckBox* m_pChkRecursive = nullptr;
    wxCheckBox* m_pChkAllDates = nullptr;
    wxCheckBox* m_pChkAllDirs = nullptr;
    wxCheckBox* m_pChkAllExts = nullptr;
    ShortenedCheckListBox* m_pDateFilterList = nullptr;
    ShortenedCheckListBox* m_pDirFilterList = nullptr;
    ShortenedCheckListBox* m_pExtFilterList = nullptr;
    wxCheckListBox* m_pSourceDirList = nullptr;
    wxComboBox* m_pSourceTypeCombo = nullptr;
    wxDirDialog* m_pDirDialog = nullptr;
    wxFileDialog* m_pFileDialog = nullptr;
    VirtualListCtrl* m_pFileList = nullptr;
    VirtualListCtrl* m_pDirList = nullptr;
    wxListCtrl* m_pTypeList = nullptr;
    wxMenu m_menuExport;
    wxMenu m_menuFilter;
    wxMenu m_menuListContext;
    wxMenu* m_pMenuTools = nullptr;
    wxMenuItem* m_pItemAddDir = nullptr;
    wxMenuItem* m_pItemSelectType = nullptr;
    wxMenuItem* m_pItemStart = nullptr;
    wxMenuItem* m_pItemStop = nullptr;
    wxMenuItem* m_pItemFullscreen = nullptr;
    wxMenuItem* m_pItemAllFilters = nullptr;
    wxMenuItem* m_pItemFilterDate = nullptr;
    wxMenuItem* m_pItemFilterDir = nullptr;
    wxMenuItem* m_pItemFilterExt = nullptr;
    wxMenuItem* m_pItemOpenDir = nullptr;
    wxMenuItem* m_pItemOpenFile = nullptr;
    wxMenuItem* m_pItemUpdate = nullptr;
    wxMenuItem* m_pItemExportCsv = nullptr;
    wxMenuItem* m_pItemExportHtml = nullptr;
    wxMenuItem* m_pItemLanguage = nullptr;
    wxPanel* m_pPanelAnalysis = nullptr;
    wxPanel* m_pPanelSettings = nullptr;
    wxPanel* m_pPanelDetail = nullptr;
    wxPanel* m_pPanelDirFilter = nullptr;
    wxPanel* m_pPanelExtFilter = nullptr;
    wxPanel* m_pPanelDateFilter = nullptr;
    wxPanel* m_pPanelReport = nullptr;
    wxPanel* m_pPanelSum = nullptr;
    wxPanel* m_pPanelDir = nullptr;
    wxStatusBar* m_pStatusBar = nullptr;

    // A version check started for this window: destroying the frame waits for it before the
    // window goes.
    std::unique_ptr<CheckVerThread, CheckVerThread::Joiner> m_pCheckVerThread;

    // TallywickFrame.cpp: the commands that open another window.
    void OnChangeLanguage(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);

    // FrameWindowState.cpp
    void OnFullscreen(wxCommandEvent& event);
    void OnToolExportDropDown(wxCommandEvent& event);
    void OnToolFilterDropDown(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);
    void ShowFrameSize();
    void OnQuit(wxCommandEvent& event);

    // FrameCounting.cpp
    void OnStartCounting(wxCommandEvent& event);
    void OnStopCounting(wxCommandEvent& event);
    void EnableControls();
    void ClearResults();
    // The engine's notifications.
    void OnFileCounted() override;
    void OnFileReading(const wxString& path) override;
    void OnFilterUpdate() override;
    void OnAnalysisUpdate() override;

    // FrameSources.cpp
    void LoadSourceDirs();
    void OnAddDirClick(wxCommandEvent& event);
    void OnDeleteDirClick(wxCommandEvent& event);
    void OnSelectSourceType(wxCommandEvent& event);

    // FrameLists.cpp
    void InitListColumns();
    void AddFileResult(FileResult* result);
    void FillDirList();
    void FillTypeList();
    void OnFileListColClick(wxListEvent& event);
    static int wxCALLBACK CompareFileResult(wxIntPtr item1, wxIntPtr item2, wxIntPtr sortData);
    void OnFileListItemRightClick(wxListEvent& event);
    void OnDirListItemRightClick(wxListEvent& event);
    void OnOpenDirectory(wxCommandEvent& event);
    void OnOpenFile(wxCommandEvent& event);

    // FrameFilters.cpp
    void ReadFilterParam();
    void UpdateFilterStatus();
    void OnRefreshResultClick(wxCommandEvent& event);
    void OnCheckBoxSelectAllClick(wxCommandEvent& event);
    void OnFilterMenu(wxCommandEvent& event);

    // FrameGrids.cpp
    void InitPropertyGrids();
    void ReadAnalysisParam();
    void UpdateSummaryGrid();

    // FrameReport.cpp
    void LoadHtmlTemplate(const wxString& relativePath);
    void ShowIndexPage();
    void GenerateReport();

    // FrameExports.cpp
    void OnExportCsv(wxCommandEvent& event);
    void OnExportHtml(wxCommandEvent& event);

    // FrameVersion.cpp
    void OnCheckUpdate(wxCommandEvent& event);
    void SetLatestVersion(const wxString& version);
    void PrefixLatestVersion();

private:
    // TallywickFrame.cpp
    void CreateToolBar();
    void CreateNotebook();
    void CreateSettingsPane();
    void CreateAnalysisPane();
    wxPanel* CreateFilterPane(int number, const char* kind, long panelId, long listId, long checkId,
                              long buttonId, const wxString& name, const wxSize& minSize,
                              int position, ShortenedCheckListBox*& list, wxCheckBox*& selectAll,
                              wxBitmapButton*& refresh);
    void CreateMenuBar();
    void CreatePopupMenus();
    void CreatePropertyGrids();
    // Asks the docking manager for the width the result pane's contents need.
    void FitResultPane();
    // The width the result notebook's tabs take side by side.
    int TabRowWidth() const;
    void BindHandlers();
    // Sizes the status bar's fields to their texts.
    void FitStatusFields();
    void ShowFilterPanes();

    // FrameWindowState.cpp: a run, a dialog or a popup menu on the stack puts a close off.
    NestedLoops m_loops;
    // Carries out a close that was put off, unless a loop has begun since.
    void CloseIfDue();
    void OnClose(wxCloseEvent& event);
    // Toolkit-specific paths to the drop-down menus and the shortcuts.
    void OnToolDropDown(wxAuiToolBarEvent& event);
    void PopupToolMenu(long toolId, wxMenu& menu);
    void OnCharHook(wxKeyEvent& event);

    // FrameCounting.cpp: a run is checking the inputs, reading them, and counting.
    bool CheckCountingInputs();
    CountingParam ReadCountingParam() const;
    void RunCounting(const CountingParam& param);
    // Gives the focus to fallback when no control that is on holds it.
    void KeepKeyboardFocus(wxWindow* fallback);
    void ShowProgress(const wxString& path);
    void ReportUnreadablePaths();
    // When the run's progress was last shown, and the row to bring into view next.
    wxStopWatch m_progressClock;
    long m_nScrollRow = -1;

    // FrameSources.cpp
    void OnSourceTypePicked(wxCommandEvent& event);
    // The box shows a choice of types as the lists show a name, shortened and marked, and
    // keeps it whole beside: a rules file may hold an extension of many thousand characters,
    // which the toolkit would take seconds to lay out.
    void InsertTypeChoice(const wxString& types, unsigned at);
    // The chosen types, whole; a choice given as bare text is its text.
    wxString ChosenTypes() const;

    // FrameLists.cpp
    // Sizes the columns of the three result lists to their widest title or cell; names and
    // folders leave room for the first figures.
    void FitListColumns();
    void SortFileList(long sortData);
    void ShowContextMenu(long listId, Result* record);
    // The rows of the file and directory lists, which draw them on demand. Emptied before the
    // manager deletes or rebuilds the records they point to.
    std::vector<FileResult*> m_fileRows;
    std::vector<DirectoryResult*> m_dirRows;
    // What the last right click in a result list was on: the list and the row's record.
    long m_nContextListId = 0;
    Result* m_pContextRecord = nullptr;

    // FrameGrids.cpp
    // Give the grids' labels and values the room they need.
    void FitAnalysisGrid();
    void FitSummaryGrid();
    // Shares the grid's width between its columns as they need; returns the grid's width.
    static int FitGridColumns(wxPropertyGrid* grid, int labels, int values);
    // The summary grid's width for its present labels and values.
    int m_nSummaryWidth = 0;

    // FrameReport.cpp
    // Whether the last counting run was stopped; its reports say so, also after a refresh.
    bool m_bRunCanceled = false;

    // FrameExports.cpp
    // The file an export writes, asked with the frame's file dialog; empty when cancelled.
    wxString AskExportPath(const wxString& wildcard, const wxString& extension);
};
