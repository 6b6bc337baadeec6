// Rows drawn on demand, column titles kept in step with them, name columns that leave room.
#include "VirtualListCtrl.h"

#include "ColumnWidths.h"

#include <algorithm>
#include <wx/dcclient.h>

namespace {
// The list draws a cell's text within its column less these pixels.
const int CELL_CLIP = 8;
} // namespace

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
    Bind(wxEVT_IDLE, &VirtualListCtrl::OnIdle, this);
    Bind(wxEVT_LIST_COL_END_DRAG, [this](wxListEvent& event) {
        m_sizedByHand = true;
        event.Skip();
    });
}

void VirtualListCtrl::SetShortenedColumns(std::vector<int> columns, int lastInView, int claim) {
    m_shortened = std::move(columns);
    m_lastInView = lastInView;
    m_claim = claim;
}

void VirtualListCtrl::FitColumns(const std::vector<int>& needed, const std::vector<int>& floors) {
    m_needed = needed;
    m_floors = floors;
    m_sizedByHand = false;
    ApplyWidths();
}

void VirtualListCtrl::ApplyWidths() {
    if (m_needed.size() != static_cast<std::size_t>(GetColumnCount()))
        return;
    std::vector<int> widths = m_needed;
    // What the other columns up to the last one in view leave goes to the shortened ones in
    // the order of their claims: a file's name before its folder. Each takes what it needs of
    // the room that the later ones leave at their floors; the last one takes the rest.
    m_fittedWidth = GetClientSize().x;
    int room = m_fittedWidth;
    for (int column = 0; column <= m_lastInView && column < GetColumnCount(); ++column)
        room -= IsShortened(column) ? Floor(column) : m_needed[column];
    for (int column : m_shortened) {
        widths[column] = Floor(column) + std::clamp(room, 0, m_needed[column] - Floor(column));
        room -= widths[column] - Floor(column);
    }
    for (int column = 0; column < GetColumnCount(); ++column)
        if (GetColumnWidth(column) != widths[column])
            SetColumnWidth(column, widths[column]);
}

int VirtualListCtrl::FirstFiguresWidth() const {
    if (m_needed.empty())
        return 0;
    int width = GetSize().x - GetClientSize().x; // borders and scroll bar
    for (int column = 0; column <= m_lastInView; ++column)
        width += IsShortened(column) ? Floor(column) : m_needed[column];
    return width;
}

int VirtualListCtrl::ClaimedWidth() const {
    int width = FirstFiguresWidth();
    // The first shortened column's claim, as far as its texts need it.
    if (!m_needed.empty() && !m_shortened.empty()) {
        const int first = m_shortened.front();
        width += std::clamp(m_claim - Floor(first), 0, m_needed[first] - Floor(first));
    }
    return width;
}

int VirtualListCtrl::Floor(int column) const {
    // A title needs room for the sort arrow only while its column is the sorted one.
    return column == GetSortIndicator() ? m_floors[column]
                                        : m_floors[column] - ColumnWidths::SORT_ARROW_WIDTH;
}

void VirtualListCtrl::Refit() {
    if (!m_sizedByHand)
        ApplyWidths();
}

bool VirtualListCtrl::IsShortened(long column) const {
    return std::find(m_shortened.begin(), m_shortened.end(), column) != m_shortened.end();
}

void VirtualListCtrl::ScrollToLeftEdge() {
    Scroll(0, -1);
    RedrawTitles();
}

wxString VirtualListCtrl::OnGetItemText(long row, long column) const {
    const wxString text = m_textOf(row, column);
    if (!IsShortened(column))
        return text;
    // Only rows being drawn are asked for, so measuring here costs nothing per counted file.
    const int width = GetColumnWidth(column) - CELL_CLIP;
    if (GetTextExtent(text).x <= width)
        return text;
    wxClientDC dc(const_cast<VirtualListCtrl*>(this));
    dc.SetFont(GetFont());
    return wxControl::Ellipsize(text, dc, wxELLIPSIZE_MIDDLE, width);
}

void VirtualListCtrl::OnIdle(wxIdleEvent& event) {
    event.Skip();
    // Not on a size event, which can come before the list's visible width has changed (a
    // window moved and sized in one step, a page shown again, a scroll bar come or gone):
    // whatever the order, the columns follow the width that shows once the window settles.
    if (!m_sizedByHand && !m_needed.empty() && GetClientSize().x != m_fittedWidth) {
        ApplyWidths();
        // The list lays out and draws its new columns at idle time too, which would otherwise
        // wait for the next event: the pointer moving, say.
        event.RequestMore();
    }
}

void VirtualListCtrl::OnScroll(wxScrollWinEvent& event) {
    // The toolkit's list redraws its titles before it scrolls sideways, so they trailed the
    // rows by one step and a click on a title sorted the column beside it: scroll first, then
    // redraw the titles.
    if (event.GetOrientation() != wxHORIZONTAL) {
        event.Skip();
        return;
    }
    HandleOnScroll(event);
    RedrawTitles();
}

void VirtualListCtrl::RedrawTitles() {
    // The titles are the one child that the scrolling leaves alone.
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
