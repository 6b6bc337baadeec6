// Links of the report view: web and mail links go to the user's browser, anchors scroll.
// Also the <wbr> tag, which the toolkit's HTML view lacks.
#include "CrvHtmlWin.h"

#include <wx/html/m_templ.h>
#include <wx/utils.h>

namespace {
// A place of no width where a line may break. The view breaks lines only at spaces, so
// Chinese and Japanese texts mark their break points with <wbr>.
class LineBreakCell : public wxHtmlCell {
public:
    bool IsLinebreakAllowed() const override { return true; }
};
} // namespace

TAG_HANDLER_BEGIN(WBR, "WBR")
TAG_HANDLER_PROC(WXUNUSED(tag)) {
    m_WParser->GetContainer()->InsertCell(new LineBreakCell);
    return false;
}
TAG_HANDLER_END(WBR)

TAGS_MODULE_BEGIN(LineBreaks)
TAGS_MODULE_ADD(WBR)
TAGS_MODULE_END(LineBreaks)

CrvHtmlWin::CrvHtmlWin(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                       long style, const wxString& name)
    : wxHtmlWindow(parent, id, pos, size, style, name), m_pParent(parent) {
    Bind(wxEVT_HTML_LINK_CLICKED, &CrvHtmlWin::OnHtmlLinkClicked, this);
}

void CrvHtmlWin::OnLinkClicked(const wxHtmlLinkInfo& link) {
    // The base class would load an unhandled link into the view; this view shows only the
    // pages the program makes.
    wxHtmlLinkEvent event(GetId(), link);
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

void CrvHtmlWin::OnHtmlLinkClicked(wxHtmlLinkEvent& event) {
    if (!m_pParent)
        return;
    const wxString href = event.GetLinkInfo().GetHref();
    if (href.StartsWith("#")) {
        ScrollToAnchor(href.Mid(1));
        return;
    }
    // Nothing else is followed: a page made from file names must not open local files.
    const wxString lower = href.Lower();
    if (lower.StartsWith("http://") || lower.StartsWith("https://") || lower.StartsWith("mailto:"))
        wxLaunchDefaultBrowser(href, 0);
}
