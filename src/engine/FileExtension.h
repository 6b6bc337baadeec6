// One known file extension and the rule type that counts it.
#pragma once

#include <wx/string.h>

class FileExtension {
public:
    FileExtension(const wxString& ext, const wxString& ruleType, const wxString& desc,
                  bool selected)
        : m_strExt(ext), m_strRuleType(ruleType), m_strDesc(desc), m_bSelected(selected) {}
    virtual ~FileExtension() = default;

    wxString m_strExt;      // with its leading dot; lower case when loaded
    wxString m_strRuleType; // linked to its rule by name only
    wxString m_strDesc;
    bool m_bSelected;
};
