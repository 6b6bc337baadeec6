// The main window: construction, layout, the bindings of every handler, and the two commands
// that only open another window.
#include "TallywickFrame.h"

#include "AboutDlg.h"
#include "CountingManager.h"
#include "CrvHtmlWin.h"
#include "PictureLoader.h"
#include "Preference.h"
#include "ResultText.h"
#include "StatusField.h"
#include "chooselang.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <wx/aui/auibar.h>
#include <wx/aui/auibook.h>
#include <wx/aui/framemanager.h>
#include <wx/bmpbuttn.h>
#include <wx/checkbox.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/image.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/propgrid/propgrid.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/statusbr.h>

const wxString TallywickFrame::REPORT_TEMPLATE_FILE = "/conf/report_tpl.html";
const wxString TallywickFrame::INDEX_PAGE_FILE = "/conf/corvane_index.html";
wxString TallywickFrame::s_strHtmlPage;

// Identifiers get their values at program start, in this order.
const long TallywickFrame::ID_TOOL_EXPORT = wxNewId();
const long TallywickFrame::ID_TOOL_FILTER = wxNewId();
const long TallywickFrame::ID_TOOL_FULLSCREEN = wxNewId();
const long TallywickFrame::ID_TOOL_LANGUAGE = wxNewId();
const long TallywickFrame::ID_TOOL_UPDATE = wxNewId();
const long TallywickFrame::ID_TOOL_ABOUT = wxNewId();
const long TallywickFrame::ID_AUITOOLBAR_MAIN = wxNewId();
const long TallywickFrame::ID_LC_DETAIL = wxNewId();
const long TallywickFrame::ID_PANEL_DETAIL = wxNewId();
const long TallywickFrame::ID_LC_DIR = wxNewId();
const long TallywickFrame::ID_LISTCTRL3 = wxNewId();
const long TallywickFrame::ID_PANEL_DIR = wxNewId();
const long TallywickFrame::ID_PANEL_SUM = wxNewId();
const long TallywickFrame::ID_CUSTOM1 = wxNewId();
const long TallywickFrame::ID_PANEL_REPORT = wxNewId();
const long TallywickFrame::ID_AUINOTEBOOK_RESULT = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON1 = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON2 = wxNewId();
const long TallywickFrame::ID_CHECKLISTBOX1 = wxNewId();
const long TallywickFrame::ID_CHECKBOX1 = wxNewId();
const long TallywickFrame::ID_COMBOBOX1 = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON7 = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON_START = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON_STOP = wxNewId();
const long TallywickFrame::ID_PANEL1 = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON3 = wxNewId();
const long TallywickFrame::ID_PANEL2 = wxNewId();
const long TallywickFrame::ID_CHECKLISTBOX_DIR = wxNewId();
const long TallywickFrame::ID_CHECKBOX_DIR = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON4 = wxNewId();
const long TallywickFrame::ID_PANEL3 = wxNewId();
const long TallywickFrame::ID_CHECKLISTBOX_DATE = wxNewId();
const long TallywickFrame::ID_CHECKBOX_DATE = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON5 = wxNewId();
const long TallywickFrame::ID_PANEL4 = wxNewId();
const long TallywickFrame::ID_CHECKLISTBOX_EXT = wxNewId();
const long TallywickFrame::ID_CHECKBOX_EXT = wxNewId();
const long TallywickFrame::ID_BITMAPBUTTON6 = wxNewId();
const long TallywickFrame::ID_PANEL5 = wxNewId();
const long TallywickFrame::ID_MENU_ADDDIR = wxNewId();
const long TallywickFrame::ID_MENU_SELTYPE = wxNewId();
const long TallywickFrame::ID_MENU_START = wxNewId();
const long TallywickFrame::ID_MENU_STOP = wxNewId();
const long TallywickFrame::ID_MENU_QUIT = wxNewId();
const long TallywickFrame::ID_MENU_LANGUAGE = wxNewId();
const long TallywickFrame::ID_MENU_FULLSCREEN = wxNewId();
const long TallywickFrame::ID_MENU_UPDATE = wxNewId();
const long TallywickFrame::ID_MENU_ABOUT = wxNewId();
const long TallywickFrame::ID_STATUSBAR1 = wxNewId();
const long TallywickFrame::ID_MENU_EXPORT_HTML = wxNewId();
const long TallywickFrame::ID_MENU_EXPORT_CSV = wxNewId();
const long TallywickFrame::ID_MENU_OPEN_DIR = wxNewId();
const long TallywickFrame::ID_MENU_OPEN_FILE = wxNewId();
const long TallywickFrame::ID_MENU_ALL_FILTERS = wxNewId();
const long TallywickFrame::ID_MENU_FILTER_DIR = wxNewId();
const long TallywickFrame::ID_MENU_FILTER_EXT = wxNewId();
const long TallywickFrame::ID_MENU_FILTER_DATE = wxNewId();

namespace {
// The result lists lie this far within their pages, which the notebook frames with the other.
const int LIST_BORDER = 4;
const int NOTEBOOK_FRAME = 4;
// The filter panes' starting width.
const int FILTER_PANE_WIDTH = 256;
// What a status field draws around its text.
const int STATUS_TEXT_MARGIN = 12;

// A bitmap button with its normal picture, or the stock art when that cannot be read; the
// disabled and focus pictures only where they can be read (an empty path means none), so
// that the toolkit greys the stock art itself.
wxBitmapButton* MakeBitmapButton(wxWindow* parent, long id, long style, const wxString& normal,
                                 const wxArtID& stock, const wxString& disabled,
                                 const wxString& focus, const wxString& tip, const wxString& name,
                                 int size = 16) {
    auto* button =
        new wxBitmapButton(parent, id, LoadPicture(normal, stock, size), wxDefaultPosition,
                           wxDefaultSize, style, wxDefaultValidator, name);
    if (const wxBitmap picture = LoadPicture(disabled); picture.IsOk())
        button->SetBitmapDisabled(picture);
    if (const wxBitmap picture = LoadPicture(focus); picture.IsOk())
        button->SetBitmapFocus(picture);
    button->SetToolTip(tip);
    return button;
}

wxMenuItem* AppendItem(wxMenu* menu, long id, const wxString& text, const wxString& help,
                       const wxString& picture = wxString()) {
    auto* item = new wxMenuItem(menu, id, text, help, wxITEM_NORMAL);
    if (!picture.empty())
        item->SetBitmap(LoadPicture(picture));
    return menu->Append(item);
}

wxAuiPaneInfo SidePane(const wxString& name, const wxSize& minSize) {
    return wxAuiPaneInfo().Name(name).Caption(wxGetTranslation(name)).PinButton().MinSize(minSize);
}

void FitPanel(wxPanel* panel, wxSizer* sizer) {
    panel->SetSizer(sizer);
    sizer->Fit(panel);
    sizer->SetSizeHints(panel);
}
} // namespace

TallywickFrame::TallywickFrame(wxWindow* parent, wxWindowID)
    : m_strLatestVersion(_("unknown")),
      m_loops([this] { CallAfter(&TallywickFrame::CloseIfDue); }) {
    Create(parent, wxID_ANY, _("Tallywick"), wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_FRAME_STYLE, "wxID_ANY");
    SetClientSize(wxSize(970, 628));
    m_pAuiManager = new DockingManager(this);

    CreateToolBar();
    CreateNotebook();
    CreateSettingsPane();
    CreateAnalysisPane();
    m_pPanelDirFilter = CreateFilterPane(3, "DIR", ID_PANEL3, ID_CHECKLISTBOX_DIR, ID_CHECKBOX_DIR,
                                         ID_BITMAPBUTTON4, wxTRANSLATE("Directory Filter"),
                                         wxSize(FILTER_PANE_WIDTH, 256), 0, m_pDirFilterList,
                                         m_pChkAllDirs, m_pBtnRefreshDir);
    m_pPanelDateFilter = CreateFilterPane(
        4, "DATE", ID_PANEL4, ID_CHECKLISTBOX_DATE, ID_CHECKBOX_DATE, ID_BITMAPBUTTON5,
        wxTRANSLATE("Modified Date Filter"), wxSize(FILTER_PANE_WIDTH, 200), 1, m_pDateFilterList,
        m_pChkAllDates, m_pBtnRefreshDate);
    m_pPanelExtFilter = CreateFilterPane(5, "EXT", ID_PANEL5, ID_CHECKLISTBOX_EXT, ID_CHECKBOX_EXT,
                                         ID_BITMAPBUTTON6, wxTRANSLATE("Extension Filter"),
                                         wxSize(FILTER_PANE_WIDTH, 128), 0, m_pExtFilterList,
                                         m_pChkAllExts, m_pBtnRefreshExt);
    m_pAuiManager->Update();

    CreateMenuBar();
    // A path too long for the state field is shortened in the middle, keeping its start and name.
    m_pStatusBar = new wxStatusBar(this, ID_STATUSBAR1, wxSTB_SIZEGRIP | wxSTB_ELLIPSIZE_MIDDLE,
                                   "ID_STATUSBAR1");
    std::array<int, StatusField::COUNT> styles;
    styles.fill(wxSB_NORMAL);
    m_pStatusBar->SetFieldsCount(StatusField::COUNT, StatusField::WIDTHS.data());
    m_pStatusBar->SetStatusStyles(StatusField::COUNT, styles.data());
    // The bar is as tall as the font's characters, and Chinese and Japanese glyphs reach
    // further; as the text is centred on the character height, their excess counts twice.
    const int textHeight =
        m_pStatusBar
            ->GetTextExtent(_("Ready") + _("Counting") + _("Filtering result by: ") + _("None") +
                            _("Frame Size: w = %d, h = %d"))
            .y;
    m_pStatusBar->SetMinHeight(2 * textHeight - m_pStatusBar->GetCharHeight() + 2);
    SetStatusBar(m_pStatusBar);

    m_pDirDialog = new wxDirDialog(this, _("Select directory"), wxEmptyString, wxDD_DEFAULT_STYLE,
                                   wxDefaultPosition, wxDefaultSize, "wxDirDialog");
    CreatePopupMenus();
    Centre(wxBOTH);
    BindHandlers();

    m_pPreference = Preference::GetInstance();
    m_pPreference->Load(this);
    m_pCountingManager = new CountingManager;
    m_pCountingManager->Init();
    ShowFilterPanes();
    LoadSourceDirs();
    InitListColumns();
    CreatePropertyGrids();
    InitPropertyGrids();
    FitResultPane();  // after a run, the lists' columns ask again
    EnableControls(); // nothing runs yet: Stop is off
    m_pStatusBar->SetStatusText(_("Ready"), StatusField::STATE);
    UpdateFilterStatus();
    ShowIndexPage();
}

void TallywickFrame::CreateToolBar() {
    m_pToolBar = new wxAuiToolBar(this, ID_AUITOOLBAR_MAIN, wxPoint(180, 329), wxDefaultSize, 0);
    const auto addTool = [this](long id, const char* label, const char* tip, const char* picture,
                                const wxArtID& stock) {
        m_pToolBar->AddTool(id, wxGetTranslation(label), LoadPicture(picture, stock), wxNullBitmap,
                            wxITEM_NORMAL, wxGetTranslation(tip), wxGetTranslation(tip), nullptr);
    };
    addTool(ID_TOOL_EXPORT, wxTRANSLATE("Export"), wxTRANSLATE("Export Result"),
            "img/Report_s16_01.png", wxART_FILE_SAVE_AS);
    addTool(ID_TOOL_FILTER, wxTRANSLATE("Filter"), wxTRANSLATE("Show/Hide filter"),
            "img/Filter_s16_01.png", wxART_FIND);
    addTool(ID_TOOL_FULLSCREEN, wxTRANSLATE("Fullscreen"), wxTRANSLATE("Fullscreen"),
            "img/Fullscreen_s16_01.png", wxART_FULL_SCREEN);
    m_pToolBar->AddSeparator();
    addTool(ID_TOOL_LANGUAGE, wxTRANSLATE("UI Language"), wxTRANSLATE("UI Language"),
            "img/lang_s16_01.png", wxART_HELP_SETTINGS);
    addTool(ID_TOOL_UPDATE, wxTRANSLATE("Update"), wxTRANSLATE("Check for update"),
            "img/Update_s16_01.png", wxART_GO_DOWN);
    addTool(ID_TOOL_ABOUT, wxTRANSLATE("About"), wxTRANSLATE("About"), "img/About_s16_01.png",
            wxART_INFORMATION);
    m_pToolBar->SetToolDropDown(ID_TOOL_EXPORT, true);
    m_pToolBar->SetToolDropDown(ID_TOOL_FILTER, true);
    m_pToolBar->Realize();
    m_pAuiManager->AddPane(m_pToolBar, wxAuiPaneInfo()
                                           .Name("PaneName")
                                           .Caption(_("MainToolbar"))
                                           .ToolbarPane()
                                           .Top()
                                           .Layer(10)
                                           .Gripper(true));
}

void TallywickFrame::CreateNotebook() {
    m_pNotebook = new wxAuiNotebook(this, ID_AUINOTEBOOK_RESULT, wxDefaultPosition, wxDefaultSize,
                                    wxAUI_NB_TAB_SPLIT | wxAUI_NB_TAB_EXTERNAL_MOVE |
                                        wxAUI_NB_SCROLL_BUTTONS);

    m_pPanelDetail = new wxPanel(m_pNotebook, ID_PANEL_DETAIL, wxDefaultPosition, wxDefaultSize,
                                 wxTAB_TRAVERSAL, "ID_PANEL_DETAIL");
    auto* detailSizer = new wxBoxSizer(wxVERTICAL);
    m_pFileList = new VirtualListCtrl(
        m_pPanelDetail, ID_LC_DETAIL, wxDefaultSize, "ID_LC_DETAIL",
        [this](long row, long column) { return FileRowText(*m_fileRows[row], column); });
    detailSizer->Add(m_pFileList, 1, wxALL | wxEXPAND, LIST_BORDER);
    FitPanel(m_pPanelDetail, detailSizer);

    m_pPanelDir = new wxPanel(m_pNotebook, ID_PANEL_DIR, wxDefaultPosition, wxDefaultSize,
                              wxTAB_TRAVERSAL, "ID_PANEL_DIR");
    m_pPanelDir->SetMinSize(wxSize(260, 400));
    auto* dirSizer = new wxBoxSizer(wxVERTICAL);
    m_pDirList = new VirtualListCtrl(
        m_pPanelDir, ID_LC_DIR, wxSize(260, 84), "ID_LC_DIR",
        [this](long row, long column) { return SummaryRowText(*m_dirRows[row], column); });
    dirSizer->Add(m_pDirList, 2, wxTOP | wxLEFT | wxRIGHT | wxEXPAND, LIST_BORDER);
    m_pTypeList = new wxListCtrl(m_pPanelDir, ID_LISTCTRL3, wxDefaultPosition, wxSize(260, 83),
                                 wxLC_REPORT | wxLC_VRULES, wxDefaultValidator, "ID_LISTCTRL3");
    dirSizer->Add(m_pTypeList, 1, wxALL | wxEXPAND, 4);
    FitPanel(m_pPanelDir, dirSizer);

    m_pPanelSum = new wxPanel(m_pNotebook, ID_PANEL_SUM, wxDefaultPosition, wxDefaultSize,
                              wxTAB_TRAVERSAL, "ID_PANEL_SUM");
    FitPanel(m_pPanelSum, new wxBoxSizer(wxHORIZONTAL));

    m_pPanelReport = new wxPanel(m_pNotebook, ID_PANEL_REPORT, wxDefaultPosition, wxDefaultSize,
                                 wxTAB_TRAVERSAL, "ID_PANEL_REPORT");
    auto* reportSizer = new wxBoxSizer(wxHORIZONTAL);
    m_pHtmlWin = new CrvHtmlWin(m_pPanelReport, ID_CUSTOM1, wxDefaultPosition, wxDefaultSize,
                                wxBORDER_SIMPLE | wxHW_SCROLLBAR_AUTO, "ID_CUSTOM1");
    reportSizer->Add(m_pHtmlWin, 1, wxALL | wxEXPAND, 4);
    FitPanel(m_pPanelReport, reportSizer);

    m_pNotebook->AddPage(m_pPanelDetail, _("File"), false);
    m_pNotebook->AddPage(m_pPanelDir, _("Dir&Type"), true);
    m_pNotebook->AddPage(m_pPanelSum, _("Summary"), false);
    m_pNotebook->AddPage(m_pPanelReport, _("Report"), true);
    m_pAuiManager->AddPane(m_pNotebook, wxAuiPaneInfo()
                                            .Name("Result")
                                            .Caption(_("Result"))
                                            .CenterPane()
                                            .CaptionVisible()
                                            .MaximizeButton()
                                            .Floatable()
                                            .Movable(false));
}

void TallywickFrame::FitResultPane() {
    // The result pane asks for its tab row, the summary, and the first figures of the lists,
    // which lie within a border on their pages.
    // A file's name, beyond what the first figures leave it, is only wished for.
    const int lists = std::max(m_pFileList->FirstFiguresWidth(), m_pDirList->FirstFiguresWidth());
    const int needed =
        std::max({TabRowWidth(), m_nSummaryWidth, lists + 2 * LIST_BORDER}) + NOTEBOOK_FRAME;
    m_pAuiManager->SetCentreWidth(needed,
                                  m_pFileList->ClaimedWidth() + 2 * LIST_BORDER + NOTEBOOK_FRAME);
}

int TallywickFrame::TabRowWidth() const {
    wxClientDC dc(m_pNotebook);
    dc.SetFont(m_pNotebook->GetFont());
    int width = 0;
    for (size_t page = 0; page < m_pNotebook->GetPageCount(); ++page) {
        int extent = 0;
        m_pNotebook->GetArtProvider()->GetTabSize(dc, m_pNotebook, m_pNotebook->GetPageText(page),
                                                  wxBitmapBundle(), page == 0,
                                                  wxAUI_BUTTON_STATE_HIDDEN, &extent);
        width += extent;
    }
    return width;
}

void TallywickFrame::CreateSettingsPane() {
    m_pPanelSettings = new wxPanel(this, ID_PANEL1, wxDefaultPosition, wxDefaultSize,
                                   wxTAB_TRAVERSAL, "ID_PANEL1");
    m_pPanelSettings->SetMinSize(wxSize(256, 256));
    auto* sizer = new wxBoxSizer(wxVERTICAL);

    auto* dirBox = new wxStaticBoxSizer(wxVERTICAL, m_pPanelSettings, _("Source Directory"));
    wxWindow* dirParent = dirBox->GetStaticBox();
    auto* dirButtons = new wxBoxSizer(wxHORIZONTAL);
    m_pBtnAddDir = MakeBitmapButton(dirParent, ID_BITMAPBUTTON1, wxBORDER_NONE,
                                    "img/Add_s16_01.png", wxART_PLUS, "", "img/Add_s16_02.png",
                                    _("Add directory"), "ID_BITMAPBUTTON1");
    dirButtons->Add(m_pBtnAddDir, 1, 0, 4);
    m_pBtnDeleteDir =
        MakeBitmapButton(dirParent, ID_BITMAPBUTTON2, wxBORDER_NONE, "img/Del_s16_01.png",
                         wxART_MINUS, "img/Del_s16_03.png", "img/Del_s16_02.png",
                         _("Delete selected directory"), "ID_BITMAPBUTTON2");
    m_pBtnDeleteDir->SetDefault();
    dirButtons->Add(m_pBtnDeleteDir, 1, 0, 4);
    dirBox->Add(dirButtons, 0, wxRIGHT, 4);
    m_pSourceDirList = new wxCheckListBox(dirParent, ID_CHECKLISTBOX1, wxDefaultPosition,
                                          wxSize(-1, 64), 0, nullptr, wxLB_SINGLE | wxLB_HSCROLL,
                                          wxDefaultValidator, "ID_CHECKLISTBOX1");
    m_pSourceDirList->SetMinSize(wxSize(-1, 64));
    dirBox->Add(m_pSourceDirList, 1, wxLEFT | wxRIGHT | wxEXPAND, 4);
    m_pChkRecursive =
        new wxCheckBox(dirParent, ID_CHECKBOX1, _("&Recursive file counting"), wxDefaultPosition,
                       wxDefaultSize, 0, wxDefaultValidator, "ID_CHECKBOX1");
    m_pChkRecursive->SetValue(true);
    dirBox->Add(m_pChkRecursive, 0, wxALL, 4);
    sizer->Add(dirBox, 1, wxALL | wxEXPAND, 4);

    auto* typeBox = new wxStaticBoxSizer(wxHORIZONTAL, m_pPanelSettings, _("Source Type"));
    wxWindow* typeParent = typeBox->GetStaticBox();
    m_pSourceTypeCombo =
        new wxComboBox(typeParent, ID_COMBOBOX1, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                       nullptr, wxCB_READONLY, wxDefaultValidator, "ID_COMBOBOX1");
    typeBox->Add(m_pSourceTypeCombo, 1, wxBOTTOM | wxLEFT, 4);
    m_pBtnSelectType = MakeBitmapButton(typeParent, ID_BITMAPBUTTON7, 0, "img/Ext_s16_02.png",
                                        wxART_LIST_VIEW, "img/Ext_s16_03.png", "img/Ext_s16_01.png",
                                        _("Select source type"), "ID_BITMAPBUTTON7");
    m_pBtnSelectType->SetDefault();
    typeBox->Add(m_pBtnSelectType, 0, wxRIGHT | wxBOTTOM, 4);
    sizer->Add(typeBox, 0, wxALL | wxEXPAND, 4);

    auto* runButtons = new wxBoxSizer(wxHORIZONTAL);
    runButtons->Add(0, 0, 0, wxALL | wxALIGN_CENTER, 4);
    m_pBtnStart =
        MakeBitmapButton(m_pPanelSettings, ID_BITMAPBUTTON_START, 0, "img/Start_s24_01.png",
                         wxART_GO_FORWARD, "img/Start_s24_03.png", "img/Start_s24_02.png",
                         _("Start counting"), "ID_BITMAPBUTTON_START", 24);
    m_pBtnStart->SetHelpText(_("Start counting"));
    runButtons->Add(m_pBtnStart, 0, 0, 4);
    // The greyed stop picture is not a focus picture: this toolkit shows that one on hover.
    m_pBtnStop = MakeBitmapButton(m_pPanelSettings, ID_BITMAPBUTTON_STOP, 0,
                                  "img/Stop_02_s24_01.png", wxART_STOP, "img/Stop_02_s24_02.png",
                                  "", _("Stop counting"), "ID_BITMAPBUTTON_STOP", 24);
    m_pBtnStop->SetHelpText(_("Stop counting"));
    m_pBtnStop->SetDefault();
    runButtons->Add(m_pBtnStop, 0, 0, 4);
    sizer->Add(runButtons, 0, wxBOTTOM | wxLEFT | wxEXPAND, 4);

    FitPanel(m_pPanelSettings, sizer);
    m_pAuiManager->AddPane(m_pPanelSettings,
                           SidePane(wxTRANSLATE("Counting Settings"), wxSize(256, 256))
                               .CloseButton(false)
                               .Left()
                               .TopDockable(false)
                               .BottomDockable(false)
                               .RightDockable(false));
}

void TallywickFrame::CreateAnalysisPane() {
    m_pPanelAnalysis = new wxPanel(this, ID_PANEL2, wxDefaultPosition, wxDefaultSize,
                                   wxTAB_TRAVERSAL, "ID_PANEL2");
    m_pPanelAnalysis->SetMinSize(wxSize(256, 280));
    m_pAnalysisSizer = new wxBoxSizer(wxVERTICAL);
    m_pAnalysisGridSizer = new wxBoxSizer(wxHORIZONTAL);
    m_pAnalysisSizer->Add(m_pAnalysisGridSizer, 1, wxEXPAND, 4);
    m_pBtnRefreshAnalysis = MakeBitmapButton(
        m_pPanelAnalysis, ID_BITMAPBUTTON3, wxBORDER_NONE, "img/Ref_s16_01.png", wxART_REFRESH,
        "img/Ref_s16_03.png", "img/Ref_s16_02.png", _("Refresh result"), "ID_BITMAPBUTTON3");
    m_pBtnRefreshAnalysis->SetDefault();
    m_pAnalysisSizer->Add(m_pBtnRefreshAnalysis, 0, wxLEFT, 4);
    FitPanel(m_pPanelAnalysis, m_pAnalysisSizer);
    m_pAuiManager->AddPane(m_pPanelAnalysis,
                           SidePane(wxTRANSLATE("Analysis Parameter"), wxSize(256, 280))
                               .BestSize(300, 280) // room for the parameters' names
                               .CloseButton(false)
                               .Left()
                               .TopDockable(false));
}

// The window names follow the identifiers: panel n holds the list and box of its kind and
// refresh button n + 1.
wxPanel* TallywickFrame::CreateFilterPane(int number, const char* kind, long panelId, long listId,
                                          long checkId, long buttonId, const wxString& name,
                                          const wxSize& minSize, int position,
                                          ShortenedCheckListBox*& list, wxCheckBox*& selectAll,
                                          wxBitmapButton*& refresh) {
    auto* panel = new wxPanel(this, panelId, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL,
                              wxString::Format("ID_PANEL%d", number));
    panel->SetMinSize(minSize);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    list = new ShortenedCheckListBox(panel, listId, wxLB_SINGLE | wxLB_HSCROLL,
                                     wxString("ID_CHECKLISTBOX_") + kind);
    sizer->Add(list, 1, wxTOP | wxLEFT | wxRIGHT | wxEXPAND, 4);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    selectAll = new wxCheckBox(panel, checkId, _("Select All"), wxDefaultPosition, wxDefaultSize, 0,
                               wxDefaultValidator, wxString("ID_CHECKBOX_") + kind);
    selectAll->SetValue(false);
    row->Add(selectAll, 1, wxALL, 4);
    refresh = MakeBitmapButton(panel, buttonId, wxBORDER_NONE, "img/Ref_s16_01.png", wxART_REFRESH,
                               "img/Ref_s16_03.png", "img/Ref_s16_02.png", _("Refresh result"),
                               wxString::Format("ID_BITMAPBUTTON%d", number + 1));
    refresh->SetDefault();
    row->Add(refresh, 0, 0, 4);
    sizer->Add(row, 0, wxLEFT | wxRIGHT, 4);
    FitPanel(panel, sizer);
    // A pane too short for the list shows the rest of its controls without it.
    panel->Bind(wxEVT_SIZE, [=](wxSizeEvent& event) {
        event.Skip(); // the panel's own handler lays it out
        const int room = panel->GetClientSize().y - row->GetMinSize().y - 4;
        sizer->Show(list, room >= list->LeastHeight());
    });
    // A filter starts this wide, and gives way to the results down to what its controls need.
    const wxSize narrowest(std::min(minSize.x, sizer->CalcMin().x), minSize.y);
    panel->SetMinSize(narrowest);
    wxAuiPaneInfo pane = SidePane(name, narrowest).BestSize(minSize).Right();
    if (position)
        pane.Position(position);
    m_pAuiManager->AddPane(panel, pane);
    return panel;
}

void TallywickFrame::CreateMenuBar() {
    auto* menuBar = new wxMenuBar;
    auto* file = new wxMenu;
    m_pItemAddDir = AppendItem(file, ID_MENU_ADDDIR, _("Add directory..."), _("Add directory"),
                               "img/Add_s16_01.png");
    m_pItemSelectType = AppendItem(file, ID_MENU_SELTYPE, _("Select source type..."),
                                   _("Select source type"), "img/Ext_s16_02.png");
    file->AppendSeparator();
    m_pItemStart = AppendItem(file, ID_MENU_START, _("Start\tAlt-S"), _("Start counting"),
                              "img/Start_s16_01.png");
    m_pItemStop =
        AppendItem(file, ID_MENU_STOP, _("Stop\tAlt-T"), _("Stop counting"), "img/Stop_s16_01.png");
    file->AppendSeparator();
    AppendItem(file, ID_MENU_QUIT, _("Quit\tAlt-X"), _("Quit the application"));
    menuBar->Append(file, _("&File"));

    m_pMenuTools = new wxMenu;
    m_pItemLanguage = AppendItem(m_pMenuTools, ID_MENU_LANGUAGE, _("UI &Language..."),
                                 _("Change UI Language"), "img/lang_s16_01.png");
    m_pItemFullscreen = AppendItem(m_pMenuTools, ID_MENU_FULLSCREEN, _("Fullscreen\tF11"),
                                   _("Fullscreen"), "img/Fullscreen_s16_01.png");
    menuBar->Append(m_pMenuTools, _("&Tools"));

    auto* help = new wxMenu;
    m_pItemUpdate = AppendItem(help, ID_MENU_UPDATE, _("Check for update..."),
                               _("Check for update"), "img/Update_s16_01.png");
    help->AppendSeparator();
    AppendItem(help, ID_MENU_ABOUT, _("&About...\tF1"), _("Show info about this application"),
               "img/About_s16_01.png");
    menuBar->Append(help, _("&Help"));
    SetMenuBar(menuBar);
}

void TallywickFrame::CreatePopupMenus() {
    m_pItemExportHtml = AppendItem(&m_menuExport, ID_MENU_EXPORT_HTML, _("Export HTML..."),
                                   _("Export result as HTML file"));
    m_pItemExportCsv = AppendItem(&m_menuExport, ID_MENU_EXPORT_CSV, _("Export CSV..."),
                                  _("Export result as CSV file"));
    // The exports' file dialog: a save dialog, as an open dialog only lets the user pick a
    // file that exists, which the export would then replace without a question.
    m_pFileDialog = new wxFileDialog(
        this, _("Select file"), wxEmptyString, wxEmptyString, wxFileSelectorDefaultWildcardStr,
        wxFD_SAVE | wxFD_OVERWRITE_PROMPT, wxDefaultPosition, wxDefaultSize, "wxFileDialog");
    m_pItemOpenDir = AppendItem(&m_menuListContext, ID_MENU_OPEN_DIR, _("Open Directory"), "");
    m_pItemOpenFile = AppendItem(&m_menuListContext, ID_MENU_OPEN_FILE, _("Open File"), "");
    m_pItemAllFilters =
        AppendItem(&m_menuFilter, ID_MENU_ALL_FILTERS, _("All Filters"), _("Show All Filters"));
    m_menuFilter.AppendSeparator();
    m_pItemFilterDir =
        AppendItem(&m_menuFilter, ID_MENU_FILTER_DIR, _("Directory Filter"), _("Directory Filter"));
    m_pItemFilterExt =
        AppendItem(&m_menuFilter, ID_MENU_FILTER_EXT, _("Extension Filter"), _("Extension Filter"));
    m_pItemFilterDate = AppendItem(&m_menuFilter, ID_MENU_FILTER_DATE, _("Modified Date Filter"),
                                   _("Modified Date Filter"));
}

void TallywickFrame::CreatePropertyGrids() {
    const long style = wxPG_BOLD_MODIFIED | wxPG_SPLITTER_AUTO_CENTER | wxPG_TOOLTIPS;
    m_pAnalysisGrid =
        new wxPropertyGrid(m_pPanelAnalysis, wxID_ANY, m_pAnalysisGridSizer->GetPosition(),
                           m_pAnalysisGridSizer->GetSize(), style, wxPropertyGridNameStr);
    m_pAnalysisGridSizer->Add(m_pAnalysisGrid, 1, wxALL | wxEXPAND, 0);
    m_pAnalysisGrid->SetColumnProportion(0, 3);
    m_pAnalysisGrid->SetColumnProportion(1, 2);

    wxSizer* sumSizer = m_pPanelSum->GetSizer();
    m_pSummaryGrid = new wxPropertyGrid(m_pPanelSum, wxID_ANY, sumSizer->GetPosition(),
                                        sumSizer->GetSize(), style, wxPropertyGridNameStr);
    sumSizer->Add(m_pSummaryGrid, 1, wxEXPAND, 0);
    m_pSummaryGrid->SetColumnProportion(0, 3);
    m_pSummaryGrid->SetColumnProportion(1, 2);
}

void TallywickFrame::BindHandlers() {
    // A run dispatches events between files. Commands that would reset the engine, change
    // what the run reads or open a window of their own are ignored while one is on the stack,
    // and once the window is closing.
    const auto unlessCounting = [this](void (TallywickFrame::*handler)(wxCommandEvent&)) {
        return [this, handler](wxCommandEvent& event) {
            if (!m_loops.Counting() && !m_loops.Stopping())
                (this->*handler)(event);
        };
    };
    Bind(wxEVT_MENU, &TallywickFrame::OnToolExportDropDown, this, ID_TOOL_EXPORT);
    Bind(wxEVT_MENU, &TallywickFrame::OnToolFilterDropDown, this, ID_TOOL_FILTER);
    Bind(wxEVT_MENU, &TallywickFrame::OnFullscreen, this, ID_TOOL_FULLSCREEN);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnChangeLanguage), ID_TOOL_LANGUAGE);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnCheckUpdate), ID_TOOL_UPDATE);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnAbout), ID_TOOL_ABOUT);
    Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, &TallywickFrame::OnFileListItemRightClick, this,
         ID_LC_DETAIL);
    Bind(wxEVT_LIST_COL_CLICK, &TallywickFrame::OnFileListColClick, this, ID_LC_DETAIL);
    Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, &TallywickFrame::OnDirListItemRightClick, this, ID_LC_DIR);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnAddDirClick), ID_BITMAPBUTTON1);
    Bind(wxEVT_BUTTON, &TallywickFrame::OnDeleteDirClick, this, ID_BITMAPBUTTON2);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnSelectSourceType), ID_BITMAPBUTTON7);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnStartCounting), ID_BITMAPBUTTON_START);
    Bind(wxEVT_BUTTON, &TallywickFrame::OnStopCounting, this, ID_BITMAPBUTTON_STOP);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnRefreshResultClick), ID_BITMAPBUTTON3);
    Bind(wxEVT_CHECKBOX, &TallywickFrame::OnCheckBoxSelectAllClick, this, ID_CHECKBOX_DIR);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnRefreshResultClick), ID_BITMAPBUTTON4);
    Bind(wxEVT_CHECKBOX, &TallywickFrame::OnCheckBoxSelectAllClick, this, ID_CHECKBOX_DATE);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnRefreshResultClick), ID_BITMAPBUTTON5);
    Bind(wxEVT_CHECKBOX, &TallywickFrame::OnCheckBoxSelectAllClick, this, ID_CHECKBOX_EXT);
    Bind(wxEVT_BUTTON, unlessCounting(&TallywickFrame::OnRefreshResultClick), ID_BITMAPBUTTON6);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnAddDirClick), ID_MENU_ADDDIR);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnSelectSourceType), ID_MENU_SELTYPE);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnStartCounting), ID_MENU_START);
    Bind(wxEVT_MENU, &TallywickFrame::OnStopCounting, this, ID_MENU_STOP);
    Bind(wxEVT_MENU, &TallywickFrame::OnQuit, this, ID_MENU_QUIT);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnChangeLanguage), ID_MENU_LANGUAGE);
    Bind(wxEVT_MENU, &TallywickFrame::OnFullscreen, this, ID_MENU_FULLSCREEN);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnCheckUpdate), ID_MENU_UPDATE);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnAbout), ID_MENU_ABOUT);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnExportHtml), ID_MENU_EXPORT_HTML);
    Bind(wxEVT_MENU, unlessCounting(&TallywickFrame::OnExportCsv), ID_MENU_EXPORT_CSV);
    Bind(wxEVT_MENU, &TallywickFrame::OnOpenDirectory, this, ID_MENU_OPEN_DIR);
    Bind(wxEVT_MENU, &TallywickFrame::OnOpenFile, this, ID_MENU_OPEN_FILE);
    Bind(wxEVT_MENU, &TallywickFrame::OnFilterMenu, this, ID_MENU_ALL_FILTERS);
    Bind(wxEVT_MENU, &TallywickFrame::OnFilterMenu, this, ID_MENU_FILTER_DIR);
    Bind(wxEVT_MENU, &TallywickFrame::OnFilterMenu, this, ID_MENU_FILTER_EXT);
    Bind(wxEVT_MENU, &TallywickFrame::OnFilterMenu, this, ID_MENU_FILTER_DATE);
    Bind(wxEVT_SIZE, &TallywickFrame::OnSize, this, wxID_ANY);
    // This toolkit's ways to the same commands: the drop-down arrows of Export and Filter,
    // shortcuts that the menu mnemonics would otherwise take, and closing during a run.
    Bind(wxEVT_AUITOOLBAR_TOOL_DROPDOWN, &TallywickFrame::OnToolDropDown, this, ID_TOOL_EXPORT);
    Bind(wxEVT_AUITOOLBAR_TOOL_DROPDOWN, &TallywickFrame::OnToolDropDown, this, ID_TOOL_FILTER);
    Bind(wxEVT_CHAR_HOOK, &TallywickFrame::OnCharHook, this);
    Bind(wxEVT_COMBOBOX, unlessCounting(&TallywickFrame::OnSourceTypePicked), ID_COMBOBOX1);
    Bind(wxEVT_CLOSE_WINDOW, &TallywickFrame::OnClose, this);
}

void TallywickFrame::FitStatusFields() {
    // The filters and the frame size grow beyond their usual widths as far as their texts need
    // (the last field also holds the size grip), but not into the room that the state needs
    // during a run. The frame's width is the bar's next one: the bar is laid out after the frame.
    const int grip = m_pStatusBar->GetClientSize().y;
    const auto needed = [this](const wxString& text) {
        return m_pStatusBar->GetTextExtent(text).x + STATUS_TEXT_MARGIN;
    };
    std::array<int, StatusField::COUNT> widths = StatusField::WIDTHS;
    int spare = GetClientSize().x - grip -
                std::accumulate(widths.begin() + StatusField::STATE + 1, widths.end(), 0) -
                std::max({needed(_("Ready")), needed(_("Counting")), needed(_("Completed")),
                          needed(_("Canceled"))});
    for (int field : {StatusField::FILTERS, StatusField::FRAME_SIZE}) {
        const int wanted = needed(m_pStatusBar->GetStatusText(field)) +
                           (field == StatusField::FRAME_SIZE ? grip : 0);
        const int grow = std::clamp(wanted - widths[field], 0, std::max(spare, 0));
        widths[field] += grow;
        spare -= grow;
    }
    m_pStatusBar->SetStatusWidths(StatusField::COUNT, widths.data());
}

void TallywickFrame::ShowFilterPanes() {
    m_pAuiManager->GetPane(m_pPanelDirFilter).Show(m_pPreference->m_nShowFilterDirectory == 1);
    m_pAuiManager->GetPane(m_pPanelExtFilter).Show(m_pPreference->m_nShowFilterExtension == 1);
    m_pAuiManager->GetPane(m_pPanelDateFilter).Show(m_pPreference->m_nShowFilterModifiedDate == 1);
    m_pAuiManager->Update();
    m_pAuiManager->SetDockWidth(wxAUI_DOCK_RIGHT, FILTER_PANE_WIDTH);
}

void TallywickFrame::OnChangeLanguage(wxCommandEvent&) {
    ChangeUILanguage();
}

void TallywickFrame::OnAbout(wxCommandEvent&) {
    AboutDlg dialog(this, wxID_ANY);
    dialog.ShowModal();
}
