// Links of the report view: web and mail links go to the user's browser, anchors scroll.
#include "CrvHtmlWin.h"

#include <wx/utils.h>

CrvHtmlWin::CrvHtmlWin(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       long style, const wxString& name)
    : wxHtmlWindow(parent, id, pos, size, style, name), m_pParent(parent) {}

void CrvHtmlWin::OnLinkClicked(const wxHtmlLinkInfo& link) {
    if (!m_pParent)
        return;
    const wxString href = link.GetHref();
    if (href.StartsWith("#")) {
        ScrollToAnchor(href.Mid(1));
        return;
    }
    // Nothing else is followed: a page made from file names must not open local files.
    const wxString lower = href.Lower();
    if (lower.StartsWith("http://") || lower.StartsWith("https://") || lower.StartsWith("mailto:"))
        wxLaunchDefaultBrowser(href, 0);
}
