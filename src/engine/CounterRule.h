// One source style: its name, description and comment markers.
#pragma once

#include <wx/string.h>

class CounterRule {
public:
    CounterRule(const wxString& type, const wxString& desc) : m_strType(type), m_strDesc(desc) {}
    virtual ~CounterRule() = default;

    wxString m_strType;
    wxString m_strDesc;
    // Kept for the file format's sake; nothing reads or writes them.
    wxString m_strScriptBegin;
    wxString m_strScriptEnd;
    wxString m_strSingleLineComment;
    wxString m_strMultiLineCommentBegin;
    wxString m_strMultiLineCommentEnd;
};
