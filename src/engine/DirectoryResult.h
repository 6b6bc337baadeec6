// The sums over the files of one directory.
#pragma once

#include "Result.h"

#include <wx/string.h>

class DirectoryResult : public Result {
public:
    explicit DirectoryResult(const wxString& dir = wxString()) : m_strDir(dir) {}
    wxString m_strDir;
};
