// The interface language: asked on the first run, stored as "ui_language", installed at start.
#pragma once

#include <wx/intl.h>

// Shows the language list; wxLANGUAGE_UNKNOWN when the user cancels.
wxLanguage ChooseUILanguage();
// Stores the choice; wxLANGUAGE_UNKNOWN stores nothing.
void SaveUILanguage(wxLanguage language);
// The language to install, asking the user when none has been chosen yet.
wxLanguage GetUILanguage();
// The "UI Language" command: a new choice takes effect at the next start.
void ChangeUILanguage();
