// Sizes the columns of a report list to their widest title or cell, from texts the caller
// offers: the list itself would measure every row of a virtual list, or only some of them.
#pragma once

#include <array>
#include <unordered_map>
#include <vector>
#include <wx/string.h>

class wxListCtrl;

class ColumnWidths {
public:
    // Of a title's width (TitleWidths), the room its column's sort arrow takes.
    static constexpr int SORT_ARROW_WIDTH = 14;

    explicit ColumnWidths(wxListCtrl* list);

    // A cell text of the column. Texts are compared by the sum of their characters' widths,
    // so only the widest text of each column is measured as a whole.
    void Offer(int column, const wxString& text);
    // The width each column needs for its title and widest text.
    std::vector<int> Needed() const;
    // The width each column needs for its title alone.
    std::vector<int> TitleWidths() const;
    // Sets every column to the width it needs; with growOnly, a column never becomes
    // narrower than it is.
    void Apply(bool growOnly = false);

private:
    int Estimate(const wxString& text);
    int CharWidth(wxUniChar c);
    int Measure(const wxString& text) const;

    wxListCtrl* m_list;
    std::vector<wxString> m_widest;
    std::vector<int> m_estimates;
    std::array<int, 128> m_asciiWidths;
    std::unordered_map<wxUniChar::value_type, int> m_otherWidths;
};
