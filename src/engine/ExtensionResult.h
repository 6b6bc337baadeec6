// The sums over the files of one extension.
#pragma once

#include "Result.h"

#include <wx/string.h>

class ExtensionResult : public Result {
public:
    explicit ExtensionResult(const wxString& ext = wxString()) : m_strExt(ext) {}
    wxString m_strExt;
};
