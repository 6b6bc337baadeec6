// Titles of the file list's sixteen columns, in the interface language.
#pragma once

#include <wx/arrstr.h>

class CrvConst {
public:
    virtual ~CrvConst() = default;
    CrvConst() = delete;

    // Filled on the first call, after the catalog is loaded; the same table afterwards.
    static const wxArrayString& GetColumnTitles();
};
