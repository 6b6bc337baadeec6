// The frame's docking manager. When the window is too narrow for the centre pane's contents,
// the side docks give way, the right one first, down to their panes' minimum widths; as the
// window widens again they take back the widths they had, the left one first.
#pragma once

#include <map>
#include <wx/aui/framemanager.h>

class DockingManager : public wxAuiManager {
public:
    explicit DockingManager(wxWindow* frame);

    // The width a side dock (wxAUI_DOCK_LEFT or wxAUI_DOCK_RIGHT) takes when there is room:
    // its panes' width, borders not included.
    void SetDockWidth(int direction, int width);
    // The width the centre pane's contents need, which both docks give way to, and the wider
    // one it would like, which only the right dock gives way to: the left one holds settings
    // that a user reads whole.
    void SetCentreWidth(int needed, int wished);
    // Sizes the side docks for the frame's present width.
    void FitDocks();
    // A side dock's width now, borders included; 0 when it shows no pane.
    int DockWidth(int direction) const;
    int DockMinWidth(int direction) const;

private:
    wxAuiDockInfo* Dock(int direction);
    const wxAuiDockInfo* Dock(int direction) const;

    int m_centreWidth = 0;
    int m_centreWish = 0;
    std::map<int, int> m_wanted; // per direction, borders included
    std::map<int, int> m_given;  // the width given last: another one is the user's choice
};
