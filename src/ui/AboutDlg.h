// The about box: logo, icon, product name, version and build, toolkit build and a link.
#pragma once

#include <wx/dialog.h>

class wxButton;
class wxHyperlinkCtrl;
class wxStaticBitmap;
class wxStaticLine;
class wxStaticText;

// The toolkit's version text; with format 1 also the platform and the character build.
wxString GetWxBuildInfo(int format);

class AboutDlg : public wxDialog {
public:
    // The identifier is not used.
    AboutDlg(wxWindow* parent, wxWindowID id = wxID_ANY);
    virtual ~AboutDlg() = default;

    static const long ID_STATICBITMAP2;
    static const long ID_STATICBITMAP1;
    static const long ID_STATICTEXT1;
    static const long ID_STATICTEXT2;
    static const long ID_STATICTEXT5;
    static const long ID_STATICLINE1;
    static const long ID_HYPERLINKCTRL2;

    // The authors' web log, shown and opened by the link.
    static const wxString WEBLOG_URL;

    wxStaticBitmap* m_pLogo = nullptr;
    wxStaticBitmap* m_pIcon = nullptr;
    wxStaticText* m_pProductName = nullptr;
    wxStaticText* m_pVersion = nullptr;
    wxStaticText* m_pBuildInfo = nullptr;
    wxStaticLine* m_pLine = nullptr;
    wxHyperlinkCtrl* m_pLink = nullptr;
    wxButton* m_pBtnOk = nullptr;

private:
    void OnInit(wxInitDialogEvent& event);
};
