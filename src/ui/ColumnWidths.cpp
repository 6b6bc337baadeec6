// Column widths from the widest texts.
#include "ColumnWidths.h"

#include <algorithm>
#include <wx/listctrl.h>

namespace {
// What the list draws around a text: a cell clips its text 8 pixels before the column's end,
// a header leaves 24 for its margins and the sort arrow. A few pixels more keep a text
// whose width was estimated from its characters clear of the edge.
const int CELL_MARGIN = 12;
const int TITLE_MARGIN = 26;
} // namespace

ColumnWidths::ColumnWidths(wxListCtrl* list)
    : m_list(list), m_widest(list->GetColumnCount()), m_estimates(list->GetColumnCount(), 0) {
    m_asciiWidths.fill(-1);
}

void ColumnWidths::Offer(int column, const wxString& text) {
    const int estimate = Estimate(text);
    if (estimate > m_estimates[column]) {
        m_estimates[column] = estimate;
        m_widest[column] = text;
    }
}

std::vector<int> ColumnWidths::Needed() const {
    std::vector<int> widths = TitleWidths();
    for (std::size_t column = 0; column < widths.size(); ++column)
        if (!m_widest[column].empty())
            widths[column] =
                std::max(widths[column],
                         std::max(Measure(m_widest[column]), m_estimates[column]) + CELL_MARGIN);
    return widths;
}

std::vector<int> ColumnWidths::TitleWidths() const {
    std::vector<int> widths;
    for (int column = 0; column < m_list->GetColumnCount(); ++column) {
        wxListItem title;
        title.SetMask(wxLIST_MASK_TEXT);
        m_list->GetColumn(column, title);
        widths.push_back(Measure(title.GetText()) + TITLE_MARGIN);
    }
    return widths;
}

void ColumnWidths::Apply(bool growOnly) {
    const std::vector<int> widths = Needed();
    for (int column = 0; column < m_list->GetColumnCount(); ++column)
        m_list->SetColumnWidth(column,
                               growOnly ? std::max(widths[column], m_list->GetColumnWidth(column))
                                        : widths[column]);
}

int ColumnWidths::Estimate(const wxString& text) {
    int width = 0;
    for (const wxUniChar c : text)
        width += CharWidth(c);
    return width;
}

int ColumnWidths::CharWidth(wxUniChar c) {
    const wxUniChar::value_type code = c.GetValue();
    if (code < m_asciiWidths.size()) {
        int& width = m_asciiWidths[code];
        if (width < 0)
            width = Measure(wxString(c));
        return width;
    }
    auto found = m_otherWidths.find(code);
    if (found == m_otherWidths.end())
        found = m_otherWidths.emplace(code, Measure(wxString(c))).first;
    return found->second;
}

int ColumnWidths::Measure(const wxString& text) const {
    return text.empty() ? 0 : m_list->GetTextExtent(text).x;
}
