// The toolkit's native dialogs and popup menus, which run a loop of their own that the
// toolkit cannot end.
#pragma once

class wxDialog;
class wxMenu;

// Ends a native message box as its window's close button does (the toolkit reads that as
// Cancel); false when the dialog is none, or not showing.
bool CancelNativeDialog(wxDialog* dialog);

// Ends as cancelled each question that GTK asks over the dialog on its own (the file
// chooser's "replace the file?"), which the toolkit never sees; false when there is none.
bool CancelQuestionsOver(wxDialog* dialog);

// Closes a popup menu that shows, as a click outside it does: nothing is chosen.
void CloseNativeMenu(wxMenu* menu);
