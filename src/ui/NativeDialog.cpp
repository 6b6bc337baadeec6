// The GTK side of the native dialogs.
#include "NativeDialog.h"

#include <gtk/gtk.h>
#include <wx/dialog.h>

bool CancelNativeDialog(wxDialog* dialog) {
    // The toolkit's message box is a GtkDialog run by gtk_dialog_run while it shows; its own
    // windows run in the toolkit's loop, which EndModal ends.
    GtkWidget* widget = static_cast<GtkWidget*>(dialog->GetHandle());
    if (!widget || !GTK_IS_DIALOG(widget) || !gtk_widget_get_visible(widget))
        return false;
    gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_DELETE_EVENT);
    return true;
}
