// The toolkit's native dialogs, which run a loop of their own that the toolkit cannot end.
#pragma once

class wxDialog;

// Ends a native message box as its window's close button does (the toolkit reads that as
// Cancel); false when the dialog is none, or not showing.
bool CancelNativeDialog(wxDialog* dialog);
