// A report list whose rows are drawn from the caller's own data: adding a row costs nothing
// but a count, however many rows the list holds.
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
    TextOf m_textOf;
};
