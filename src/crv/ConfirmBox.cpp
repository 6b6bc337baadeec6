// The program's message boxes.
#include "ConfirmBox.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>

int ShowConfirm(const wxString& text, long style, wxWindow* parent) {
    return wxMessageBox(text, _("Confirm"), style, parent);
}
