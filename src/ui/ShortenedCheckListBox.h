// A check-list that shows each item on one line within its width: control characters as a
// mark, and a text too long for the list shortened in the middle, so that the ends of long
// folder names show. Each item keeps its full text as its key, which is what a filter reads.
#pragma once

#include <wx/arrstr.h>
#include <wx/checklst.h>

class ShortenedCheckListBox : public wxCheckListBox {
public:
    ShortenedCheckListBox(wxWindow* parent, wxWindowID id, long style, const wxString& name);

    // Replaces the items by these keys, unchecked.
    void SetKeys(const wxArrayString& keys);
    const wxString& GetKey(unsigned int n) const { return m_keys[n]; }
    // The item with exactly this key (case counts), or wxNOT_FOUND.
    int FindKey(const wxString& key) const { return m_keys.Index(key, true); }
    // The least height at which the list draws within its bounds: GTK draws one that is given
    // less over the controls below it. 0 until GTK has realized it.
    int LeastHeight() const;

protected:
    void DoClear() override;

private:
    // Every key as the list's present width allows it to show.
    wxArrayString ShortenKeys();
    void OnIdle(wxIdleEvent& event);

    wxArrayString m_keys;
    int m_shownWidth = -1; // the width the texts were last shortened for
};
