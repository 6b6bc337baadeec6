// Which results are visible: accepted directories, extensions and dates.
#pragma once

#include <wx/arrstr.h>

class FilterParam {
public:
    virtual ~FilterParam() { Clear(); }

    // Empties the three lists; the flags stay.
    void Clear();
    // Sorts each list by character code, case-sensitive.
    void Sort();

    bool m_bChanged = false;
    bool m_bFilterDir = false;
    bool m_bFilterExt = false;
    bool m_bFilterDate = false;
    wxArrayString m_arrDirs;
    wxArrayString m_arrExts;
    wxArrayString m_arrDates; // "%Y-%m-%d"
};
