// The counts of one file, with where it lies and when it was modified.
#pragma once

#include "Result.h"

#include <wx/datetime.h>
#include <wx/string.h>

class FileResult : public Result {
public:
    wxString m_strPath;
    wxString m_strDir;
    wxString m_strName;
    wxString m_strExt; // lower case, with its dot
    wxDateTime m_dtModified = wxDateTime::Now();
    bool m_bVisible = true;
};
