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
    // The width the centre pane's contents need.
    void SetCentreWidth(int width);
    // Sizes the side docks for the frame's present width.
    void FitDocks();
    // A side dock's width now, borders included; 0 when it shows no pane.
    int DockWidth(int direction) const;
    int DockMinWidth(int direction) const;

private:
    wxAuiDockInfo* Dock(int direction);
    const wxAuiDockInfo* Dock(int direction) const;

    int m_centreWidth = 0;
    std::map<int, int> m_wanted; // per direction, borders included
    std::map<int, int> m_given;  // the width given last: another one is the user's choice
};
