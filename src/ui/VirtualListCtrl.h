// A report list whose rows are drawn from the caller's own data: adding a row costs nothing
// but a count, however many rows the list holds. Its column titles stay over their columns
// however it is scrolled sideways, and Left and Right scroll it sideways. Name columns may be
// given less than their widest text needs, so that the first figures beside them show: their
// texts are then shortened in the middle, and a column widened by hand shows them whole.
#pragma once

#include <functional>
#include <vector>
#include <wx/listctrl.h>

class VirtualListCtrl : public wxListCtrl {
public:
    using TextOf = std::function<wxString(long row, long column)>;

    VirtualListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, const wxString& name,
                    TextOf textOf);

    // The columns whose texts may be shortened, strongest claim first, and the last column
    // that should show without scrolling beside them. The first one asks the list's width for
    // up to claim pixels of its texts (ClaimedWidth).
    void SetShortenedColumns(std::vector<int> columns, int lastInView, int claim = 0);
    // Sets each column to the width it needs, except the shortened ones, which take what the
    // columns up to lastInView leave of the visible width: each in turn as much as it needs
    // while the later ones keep their floors. The widths follow the list's size until the
    // user resizes a column.
    void FitColumns(const std::vector<int>& needed, const std::vector<int>& floors);
    // The same widths again, for the present sort arrow, unless a column was sized by hand.
    void Refit();
    // The width that shows the columns up to lastInView, the shortened ones at their floors.
    int FirstFiguresWidth() const;
    // The same with the first shortened column given its claim.
    int ClaimedWidth() const;
    // Back to the first column, as for a new run.
    void ScrollToLeftEdge();

protected:
    wxString OnGetItemText(long row, long column) const override;

private:
    void ApplyWidths();
    // A shortened column's least width: its title, with the sort arrow only where it shows.
    int Floor(int column) const;
    bool IsShortened(long column) const;
    void OnScroll(wxScrollWinEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnIdle(wxIdleEvent& event);
    void RedrawTitles();

    TextOf m_textOf;
    std::vector<int> m_shortened;
    int m_lastInView = -1;
    int m_claim = 0;
    std::vector<int> m_needed;
    std::vector<int> m_floors;
    bool m_sizedByHand = false;
    int m_fittedWidth = -1; // the visible width the columns were last shared out for
};
