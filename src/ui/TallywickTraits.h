// The application's traits: what the toolkit creates on the program's behalf.
#pragma once

#include <wx/apptrait.h>

class TallywickTraits : public wxGUIAppTraits {
public:
    // The toolkit's default store (~/.Tallywick), as a SettingsFile.
    wxConfigBase* CreateConfig() override;
};
