// The GTK side of the native dialogs.
#include "NativeDialog.h"

#include <gtk/gtk.h>
#include <wx/dialog.h>
#include <wx/menu.h>

bool CancelNativeDialog(wxDialog* dialog) {
    // The toolkit's message box is a GtkDialog run by gtk_dialog_run while it shows; its own
    // windows run in the toolkit's loop, which EndModal ends.
    GtkWidget* widget = static_cast<GtkWidget*>(dialog->GetHandle());
    if (!widget || !GTK_IS_DIALOG(widget) || !gtk_widget_get_visible(widget))
        return false;
    gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_DELETE_EVENT);
    return true;
}

bool CancelQuestionsOver(wxDialog* dialog) {
    auto* window = static_cast<GtkWindow*>(static_cast<void*>(dialog->GetHandle()));
    if (!window)
        return false;
    bool found = false;
    GList* windows = gtk_window_list_toplevels();
    for (GList* item = windows; item; item = item->next) {
        auto* question = static_cast<GtkWidget*>(item->data);
        if (GTK_IS_DIALOG(question) && gtk_widget_get_visible(question) &&
            gtk_window_get_transient_for(GTK_WINDOW(question)) == window) {
            gtk_dialog_response(GTK_DIALOG(question), GTK_RESPONSE_DELETE_EVENT);
            found = true;
        }
    }
    g_list_free(windows);
    return found;
}

void CloseNativeMenu(wxMenu* menu) {
    if (menu->m_menu && gtk_widget_get_visible(menu->m_menu))
        gtk_menu_popdown(GTK_MENU(menu->m_menu));
}
