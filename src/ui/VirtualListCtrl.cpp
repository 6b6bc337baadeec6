// Rows drawn on demand.
#include "VirtualListCtrl.h"

VirtualListCtrl::VirtualListCtrl(wxWindow* parent, wxWindowID id, const wxSize& size,
                                 const wxString& name, TextOf textOf)
    : wxListCtrl(parent, id, wxDefaultPosition, size, wxLC_REPORT | wxLC_VRULES | wxLC_VIRTUAL,
                 wxDefaultValidator, name),
      m_textOf(std::move(textOf)) {}

wxString VirtualListCtrl::OnGetItemText(long row, long column) const {
    return m_textOf(row, column);
}
