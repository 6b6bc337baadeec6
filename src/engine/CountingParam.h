// What a counting run counts: the directories and whether to descend into them.
#pragma once

#include <wx/arrstr.h>

class CountingParam {
public:
    virtual ~CountingParam() = default;

    wxArrayString m_arrDirs;
    wxArrayString m_arrTypes; // the window's source-type tokens, carried along only
    bool m_bRecursive = true;
};
