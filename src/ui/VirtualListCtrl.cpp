// Rows drawn on demand, and column titles kept in step with them.
#include "VirtualListCtrl.h"

VirtualListCtrl::VirtualListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size,
                                 const wxString& name, TextOf textOf)
    : wxListCtrl(parent, id, wxDefaultPosition, size, wxLC_REPORT | wxLC_VRULES | wxLC_VIRTUAL,
                 wxDefaultValidator, name),
      m_textOf(std::move(textOf)) {
    const wxEventTypeTag<wxScrollWinEvent> scrolls[] = {
        wxEVT_SCROLLWIN_TOP,        wxEVT_SCROLLWIN_BOTTOM,      wxEVT_SCROLLWIN_LINEUP,
        wxEVT_SCROLLWIN_LINEDOWN,   wxEVT_SCROLLWIN_PAGEUP,      wxEVT_SCROLLWIN_PAGEDOWN,
        wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE};
    for (const auto& type : scrolls)
        Bind(type, &VirtualListCtrl::OnScroll, this);
    Bind(wxEVT_KEY_DOWN, &VirtualListCtrl::OnKeyDown, this);
}

wxString VirtualListCtrl::OnGetItemText(long row, long column) const {
    return m_textOf(row, column);
}

void VirtualListCtrl::OnScroll(wxScrollWinEvent& event) {
    // The toolkit's list redraws its titles before it scrolls sideways, so they trailed the
    // rows by one step and a click on a title sorted the column beside it: scroll first, then
    // redraw the titles, the one child that the scrolling leaves alone.
    if (event.GetOrientation() != wxHORIZONTAL) {
        event.Skip();
        return;
    }
    HandleOnScroll(event);
    for (wxWindow* child : GetChildren())
        if (child != GetTargetWindow()) {
            child->Refresh();
            child->Update();
        }
}

void VirtualListCtrl::OnKeyDown(wxKeyEvent& event) {
    // The toolkit's list has no key to scroll sideways in this view; Left and Right do it, as
    // in the desktop's own lists.
    const int key = event.GetKeyCode();
    if (event.HasAnyModifiers() || (key != WXK_LEFT && key != WXK_RIGHT)) {
        event.Skip();
        return;
    }
    wxScrollWinEvent scroll(key == WXK_LEFT ? wxEVT_SCROLLWIN_LINEUP : wxEVT_SCROLLWIN_LINEDOWN, 0,
                            wxHORIZONTAL);
    scroll.SetEventObject(this);
    GetEventHandler()->ProcessEvent(scroll);
}
