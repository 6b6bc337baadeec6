// The main window: docking panes, result notebook, menus, toolbar and status bar, and the
// frame's side of a counting run. The class is one header and several source files, each for
// one concern (layout, window state, counting, lists, filters, grids, report, exports).
#pragma once

#include "AnalysisObserver.h"
#include "AnalysisParam.h"
#include "CheckVerThread.h"
#include "CountingObserver.h"
#include "FilterObserver.h"
#include "FilterParam.h"
#include "ModalTracker.h"

#include <memory>
#include <vector>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/stopwatch.h>
#include <wx/thread.h>

class CountingManager;
class CrvHtmlWin;
class DirectoryResult;
class FileResult;
class Result;
class Preference;
class wxAuiManager;
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

    // Engine notifications.
    void OnFileCounted() override;
    void OnAnalysisUpdate() override;
    void OnFilterUpdate() override;

    static const wxString REPORT_TEMPLATE_FILE;
    static const wxString INDEX_PAGE_FILE;
    // The page last loaded into the report view; what the HTML export writes.
    static wxString s_strHtmlPage;

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
    wxAuiManager* m_pAuiManager = nullptr;
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
    wxCheckListBox* m_pDateFilterList = nullptr;
    wxCheckListBox* m_pDirFilterList = nullptr;
    wxCheckListBox* m_pExtFilterList = nullptr;
    wxCheckListBox* m_pSourceDirList = nullptr;
    wxComboBox* m_pSourceTypeCombo = nullptr;
    wxDirDialog* m_pDirDialog = nullptr;
    wxFileDialog* m_pFileDialog = nullptr;
    wxListCtrl* m_pFileList = nullptr;
    wxListCtrl* m_pDirList = nullptr;
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

    // True while a counting run is on the stack of the Start handler: nothing may then delete
    // the manager or the frame, and a close request is carried out when the run returns.
    bool m_bCounting = false;
    bool m_bCloseAfterRun = false;
    // Set once a close has begun: requests that arrive meanwhile (a signal during its message
    // box) must not start another on a frame that is about to go.
    bool m_bClosing = false;
    // Dialogs and popup menus run loops of their own; the frame must outlive them too.
    ModalTracker m_modalTracker;
    int m_nOpenPopups = 0;

    // The rows of the file and directory lists, which draw them on demand. Emptied before the
    // manager deletes or rebuilds the records they point to.
    std::vector<FileResult*> m_fileRows;
    std::vector<DirectoryResult*> m_dirRows;
    // What the last right click in a result list was on: the list and the row's record.
    long m_nContextListId = 0;
    Result* m_pContextRecord = nullptr;
    // When the run's progress was last shown, and the row to bring into view next.
    wxStopWatch m_progressClock;
    long m_nScrollRow = -1;

    // Window state and shutdown.
    void OnFullscreen(wxCommandEvent& event);
    void OnToolExportDropDown(wxCommandEvent& event);
    void OnToolFilterDropDown(wxCommandEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnQuit(wxCommandEvent& event);
    void ShowFrameSize();

    void OnChangeLanguage(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);

    // Counting.
    void OnStartCounting(wxCommandEvent& event);
    void OnStopCounting(wxCommandEvent& event);
    void EnableControls();
    void ClearResults();
    void OnSourceTypePicked(wxCommandEvent& event);

    // Source directories and source types.
    void OnAddDirClick(wxCommandEvent& event);
    void OnDeleteDirClick(wxCommandEvent& event);
    void OnSelectSourceType(wxCommandEvent& event);
    void LoadSourceDirs();

    // Result lists.
    void InitListColumns();
    void AddFileResult(FileResult* result);
    void FillDirList();
    void FillTypeList();
    // Sizes the columns of the three result lists to their widest title or cell.
    void FitListColumns();
    static int wxCALLBACK CompareFileResult(wxIntPtr item1, wxIntPtr item2, wxIntPtr sortData);
    void SortFileList(long sortData);
    void OnFileListItemRightClick(wxListEvent& event);
    void OnFileListColClick(wxListEvent& event);
    void OnDirListItemRightClick(wxListEvent& event);
    void OnOpenDirectory(wxCommandEvent& event);
    void OnOpenFile(wxCommandEvent& event);

    // Filters.
    void OnRefreshResultClick(wxCommandEvent& event);
    void OnCheckBoxSelectAllClick(wxCommandEvent& event);
    void OnFilterMenu(wxCommandEvent& event);
    void ReadFilterParam();
    void UpdateFilterStatus();

    // Grids.
    void InitPropertyGrids();
    // Gives the analysis grid's labels and values the room they need.
    void FitAnalysisGrid();
    void ReadAnalysisParam();
    void UpdateSummaryGrid();

    // Report page.
    void LoadHtmlTemplate(const wxString& relativePath);
    void ShowIndexPage();

    // Exports and version check.
    void OnExportHtml(wxCommandEvent& event);
    void OnExportCsv(wxCommandEvent& event);
    void OnCheckUpdate(wxCommandEvent& event);

    // Report page and version check: the analysis report, the latest version.
    void GenerateReport();
    void SetLatestVersion(const wxString& version);
    void PrefixLatestVersion();
    // The file an export writes, asked with the frame's file dialog; empty when cancelled.
    wxString AskExportPath(const wxString& wildcard, const wxString& extension);
    // Whether the last counting run was stopped; its reports say so, also after a refresh.
    bool m_bRunCanceled = false;
    // A running version check: destroying the frame waits for it before the window goes.
    std::unique_ptr<CheckVerThread, CheckVerThread::Joiner> m_pCheckVerThread;

private:
    void CreateToolBar();
    void CreateNotebook();
    void CreateSettingsPane();
    void CreateAnalysisPane();
    wxPanel* CreateFilterPane(int number, const char* kind, long panelId, long listId, long checkId,
                              long buttonId, const wxString& name, const wxSize& minSize,
                              int position, wxCheckListBox*& list, wxCheckBox*& selectAll,
                              wxBitmapButton*& refresh);
    void CreateMenuBar();
    void CreatePopupMenus();
    void CreatePropertyGrids();
    void BindHandlers();
    void ShowFilterPanes();
    // Sizes the status bar's fields to their texts.
    void FitStatusFields();

    // Toolkit-specific paths to the drop-down menus and the shortcuts.
    void OnToolDropDown(wxAuiToolBarEvent& event);
    void PopupToolMenu(long toolId, wxMenu& menu);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);
    // True while a run, a dialog or a popup menu is on the stack.
    bool IsInNestedLoop() const;
    // Carries out a close that was put off while IsInNestedLoop held.
    void CloseIfPending();

    void ShowProgress(const wxString& path);
    // Gives the focus to fallback when no control that is on holds it.
    void KeepKeyboardFocus(wxWindow* fallback);
    void ShowContextMenu(long listId, Result* record);
    void ReportUnreadablePaths();
};
