// Check-list items shortened in the middle to the list's width, keeping their full texts.
#include "ShortenedCheckListBox.h"

#include "ResultText.h"

#include <gtk/gtk.h>
#include <wx/dcclient.h>
#include <wx/renderer.h>

namespace {
// Besides its check box, an item's row leaves these pixels around the text.
const int ROW_PADDING = 14;
} // namespace

ShortenedCheckListBox::ShortenedCheckListBox(wxWindow* parent, wxWindowID id, long style,
                                             const wxString& name)
    : wxCheckListBox(parent, id, wxDefaultPosition, wxDefaultSize, 0, nullptr, style,
                     wxDefaultValidator, name) {
    Bind(wxEVT_IDLE, &ShortenedCheckListBox::OnIdle, this);
}

void ShortenedCheckListBox::SetKeys(const wxArrayString& keys) {
    if (!IsEmpty())
        Clear();
    m_keys = keys;
    Append(ShortenKeys());
}

void ShortenedCheckListBox::DoClear() {
    m_keys.clear();
    wxCheckListBox::DoClear();
}

int ShortenedCheckListBox::LeastHeight() const {
    // Before GTK realizes the list its scroll bars are not yet styled as they will be drawn.
    if (!gtk_widget_get_realized(m_widget))
        return 0;
    // The list's own size request is the size the toolkit gave it, so the least height comes
    // from its frame and the vertical bar's least length. A horizontal bar needs room of its
    // own only when it is a classic one: an overlay bar is drawn over the rows, and its height
    // changes with its state (thin, hovered, restyled), which must not hide the list.
    auto* scrolled = GTK_SCROLLED_WINDOW(m_widget);
    int height = GetSize().y - GetClientSize().y;
    gint least = 0;
    gtk_widget_get_preferred_height(gtk_scrolled_window_get_vscrollbar(scrolled), &least, nullptr);
    height += least;
    GtkWidget* across = gtk_scrolled_window_get_hscrollbar(scrolled);
    if (!gtk_style_context_has_class(gtk_widget_get_style_context(across), "overlay-indicator")) {
        gtk_widget_get_preferred_height(across, &least, nullptr);
        height += least;
    }
    return height;
}

wxArrayString ShortenedCheckListBox::ShortenKeys() {
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    m_shownWidth = GetClientSize().x;
    const int width = m_shownWidth - wxRendererNative::Get().GetCheckBoxSize(this).x - ROW_PADDING;
    wxArrayString shown;
    shown.reserve(m_keys.size());
    for (const wxString& key : m_keys) {
        const wxString name = ShownName(key);
        shown.push_back(dc.GetTextExtent(name).x <= width
                            ? name
                            : wxControl::Ellipsize(name, dc, wxELLIPSIZE_MIDDLE, width));
    }
    return shown;
}

void ShortenedCheckListBox::OnIdle(wxIdleEvent& event) {
    event.Skip();
    // Shortened again once the pane has settled at a new width; checks stay as they are.
    if (m_keys.empty() || GetClientSize().x == m_shownWidth)
        return;
    const wxArrayString shown = ShortenKeys();
    for (unsigned int n = 0; n < shown.size(); ++n)
        if (shown[n] != GetString(n))
            SetString(n, shown[n]);
}
