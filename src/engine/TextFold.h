// Case folding for comparisons that ignore case.
#pragma once

#include <wx/string.h>
#include <wx/wxcrt.h>

// Folds a text so that two texts fold alike exactly when wxString::CmpNoCase finds them equal.
inline wxString Fold(const wxString& text) {
    wxString folded;
    folded.reserve(text.length());
    for (wxUniChar ch : text)
        folded += static_cast<wxChar>(wxTolower(ch));
    return folded;
}
