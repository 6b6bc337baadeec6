// A report list whose rows are drawn from the caller's own data: adding a row costs nothing
// but a count, however many rows the list holds. Its column titles stay over their columns
// however it is scrolled sideways, and Left and Right scroll it sideways.
#pragma once

#include <functional>
#include <wx/listctrl.h>

class VirtualListCtrl : public wxListCtrl {
public:
    using TextOf = std::function<wxString(long row, long column)>;

    VirtualListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size, const wxString& name,
                    TextOf textOf);

protected:
    wxString OnGetItemText(long row, long column) const override;

private:
    void OnScroll(wxScrollWinEvent& event);
    void OnKeyDown(wxKeyEvent& event);

    TextOf m_textOf;
};
