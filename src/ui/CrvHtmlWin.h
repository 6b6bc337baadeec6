// The report view: an HTML window whose links open outside it.
#pragma once

#include <wx/html/htmlwin.h>

class CrvHtmlWin : public wxHtmlWindow {
public:
    CrvHtmlWin(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style,
               const wxString& name);
    virtual ~CrvHtmlWin() = default;

    // Sends the link event, and never lets the view load the link itself.
    void OnLinkClicked(const wxHtmlLinkInfo& link) override;

    wxWindow* m_pParent;

private:
    void OnHtmlLinkClicked(wxHtmlLinkEvent& event);
};
