// The program's message boxes: every one carries the caption "Confirm".
#pragma once

#include <wx/string.h>

class wxWindow;

// Shows text with the translated caption "Confirm"; returns the button pressed.
int ShowConfirm(const wxString& text, long style, wxWindow* parent = nullptr);
