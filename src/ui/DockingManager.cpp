// Side docks that give way to the centre pane.
#include "DockingManager.h"

#include <algorithm>
#include <array>
#include <wx/aui/dockart.h>

namespace {
// Which dock gives way first; the last one takes its width back first.
const std::array<int, 2> GIVING_ORDER = {wxAUI_DOCK_RIGHT, wxAUI_DOCK_LEFT};
} // namespace

DockingManager::DockingManager(wxWindow* frame) : wxAuiManager(frame, wxAUI_MGR_DEFAULT) {}

void DockingManager::SetDockWidth(int direction, int width) {
    m_wanted[direction] = width + 2 * GetArtProvider()->GetMetric(wxAUI_DOCKART_PANE_BORDER_SIZE);
    if (wxAuiDockInfo* dock = Dock(direction)) {
        dock->size = std::max(m_wanted[direction], dock->min_size);
        m_given[direction] = dock->size;
        Update();
    }
    FitDocks();
}

void DockingManager::SetCentreWidth(int needed, int wished) {
    m_centreWidth = needed;
    m_centreWish = std::max(needed, wished);
    FitDocks();
}

void DockingManager::FitDocks() {
    const wxAuiPaneInfo* centre = nullptr;
    for (size_t i = 0; i < m_panes.GetCount(); ++i)
        if (m_panes[i].dock_direction == wxAUI_DOCK_CENTER && m_panes[i].IsShown())
            centre = &m_panes[i];
    if (!centre || !GetManagedWindow()->IsShown())
        return;
    // A dock whose width is not the one given last was resized by the user: that is the width
    // it wants from now on.
    for (int direction : GIVING_ORDER) {
        wxAuiDockInfo* dock = Dock(direction);
        if (!dock)
            continue;
        const auto given = m_given.find(direction);
        if (given != m_given.end() && given->second != dock->size)
            m_wanted[direction] = dock->size;
        m_wanted.emplace(direction, dock->size);
    }
    int centreWidth = centre->rect.width;
    const bool narrow = centreWidth < m_centreWidth;
    bool changed = false;
    const auto resize = [&](int direction) {
        wxAuiDockInfo* dock = Dock(direction);
        if (!dock)
            return;
        const int spare =
            centreWidth - (direction == wxAUI_DOCK_RIGHT ? m_centreWish : m_centreWidth);
        const int size =
            spare < 0 ? std::max(dock->min_size, dock->size + spare)
                      : std::min(std::max(dock->size, m_wanted[direction]), dock->size + spare);
        centreWidth -= size - dock->size;
        changed = changed || size != dock->size;
        dock->size = size;
        m_given[direction] = size;
    };
    if (narrow)
        std::for_each(GIVING_ORDER.begin(), GIVING_ORDER.end(), resize);
    else
        std::for_each(GIVING_ORDER.rbegin(), GIVING_ORDER.rend(), resize);
    if (changed)
        Update();
}

int DockingManager::DockWidth(int direction) const {
    const wxAuiDockInfo* dock = Dock(direction);
    return dock ? dock->size : 0;
}

int DockingManager::DockMinWidth(int direction) const {
    const wxAuiDockInfo* dock = Dock(direction);
    return dock ? dock->min_size : 0;
}

wxAuiDockInfo* DockingManager::Dock(int direction) {
    return const_cast<wxAuiDockInfo*>(std::as_const(*this).Dock(direction));
}

const wxAuiDockInfo* DockingManager::Dock(int direction) const {
    // The side panes lie in the innermost layer; the toolbar has a layer of its own.
    for (size_t i = 0; i < m_docks.GetCount(); ++i) {
        const wxAuiDockInfo& dock = m_docks[i];
        if (dock.dock_direction == direction && dock.dock_layer == 0 && !dock.panes.empty())
            return &dock;
    }
    return nullptr;
}
