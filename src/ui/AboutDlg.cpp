// The about box.
#include "AboutDlg.h"

#include "CorvkitUtil.h"
#include "PictureLoader.h"

#include <wx/button.h>
#include <wx/hyperlink.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>

const long AboutDlg::ID_STATICBITMAP2 = wxNewId();
const long AboutDlg::ID_STATICBITMAP1 = wxNewId();
const long AboutDlg::ID_STATICTEXT1 = wxNewId();
const long AboutDlg::ID_STATICTEXT2 = wxNewId();
const long AboutDlg::ID_STATICTEXT5 = wxNewId();
const long AboutDlg::ID_STATICLINE1 = wxNewId();
const long AboutDlg::ID_HYPERLINKCTRL2 = wxNewId();

const wxString AboutDlg::WEBLOG_URL = "https://blog.corvane.example/";

namespace {
const int BUILD_NUMBER = 160;
const char* const BUILD_DAY = "12";
const char* const BUILD_MONTH = "02";
const char* const BUILD_YEAR = "2021";
} // namespace

wxString GetWxBuildInfo(int format) {
    wxString info = wxVERSION_STRING;
    if (format == 1) {
        info << "-Linux";
        info << "-Unicode build";
    }
    return info;
}

AboutDlg::AboutDlg(wxWindow* parent, wxWindowID) {
    Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_DIALOG_STYLE, "wxID_ANY");
    auto* mainSizer = new wxBoxSizer(wxVERTICAL);
    // A picture that cannot be read leaves an empty space; the box still opens.
    m_pLogo = new wxStaticBitmap(this, ID_STATICBITMAP2, LoadPicture("img/corvane_logo.png"),
                                 wxDefaultPosition, wxDefaultSize, 0, "ID_STATICBITMAP2");
    mainSizer->Add(m_pLogo, 0, wxBOTTOM | wxEXPAND, 0);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_pIcon = new wxStaticBitmap(this, ID_STATICBITMAP1, LoadPicture("img/Tallywick_01.ico"),
                                 wxDefaultPosition, wxDefaultSize, 0, "ID_STATICBITMAP1");
    row->Add(m_pIcon, 0, wxALL, 4);

    auto* column = new wxBoxSizer(wxVERTICAL);
    m_pProductName = new wxStaticText(this, ID_STATICTEXT1, _("Tallywick"), wxDefaultPosition,
                                      wxDefaultSize, 0, "ID_STATICTEXT1");
    column->Add(m_pProductName, 0, wxLEFT | wxRIGHT, 4);
    // Two blanks before "(Build": the line has always read so. Both lines are set before the
    // layout is fitted, so neither is cut off.
    const wxString version =
        wxString::Format("Version " + GetVersionString() + " " + " (Build %d." + BUILD_DAY +
                             BUILD_MONTH + BUILD_YEAR + ")",
                         BUILD_NUMBER);
    m_pVersion = new wxStaticText(this, ID_STATICTEXT2, version, wxDefaultPosition, wxDefaultSize,
                                  0, "ID_STATICTEXT2");
    column->Add(m_pVersion, 0, wxLEFT | wxRIGHT, 4);
    m_pBuildInfo = new wxStaticText(this, ID_STATICTEXT5, GetWxBuildInfo(1), wxDefaultPosition,
                                    wxDefaultSize, 0, "ID_STATICTEXT5");
    column->Add(m_pBuildInfo, 0, wxLEFT | wxRIGHT, 4);
    m_pLine = new wxStaticLine(this, ID_STATICLINE1, wxDefaultPosition, wxSize(10, -1),
                               wxLI_HORIZONTAL, "ID_STATICLINE1");
    column->Add(m_pLine, 0, wxALL | wxEXPAND, 5);
    m_pLink = new wxHyperlinkCtrl(this, ID_HYPERLINKCTRL2, WEBLOG_URL, WEBLOG_URL,
                                  wxDefaultPosition, wxDefaultSize,
                                  wxHL_CONTEXTMENU | wxHL_ALIGN_CENTRE, "ID_HYPERLINKCTRL2");
    column->Add(m_pLink, 0, wxLEFT | wxRIGHT, 4);
    column->Add(0, 0, 1, wxALL, 4);
    m_pBtnOk = new wxButton(this, wxID_OK, _("&OK"), wxDefaultPosition, wxDefaultSize, 0,
                            wxDefaultValidator, "wxID_OK");
    m_pBtnOk->SetFocus();
    column->Add(m_pBtnOk, 1, wxALL | wxALIGN_RIGHT, 4);
    row->Add(column, 1, wxALL, 4);
    mainSizer->Add(row, 1, wxALL | wxEXPAND, 4);

    SetSizer(mainSizer);
    mainSizer->Fit(this);
    mainSizer->SetSizeHints(this);
    Centre(wxBOTH);

    Bind(wxEVT_INIT_DIALOG, &AboutDlg::OnInit, this);
}

void AboutDlg::OnInit(wxInitDialogEvent&) {}
