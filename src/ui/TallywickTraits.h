// The application's traits: what the toolkit creates on the program's behalf.
#pragma once

#include <wx/apptrait.h>

class TallywickTraits : public wxGUIAppTraits {
public:
    // The toolkit's default store (~/.Tallywick), read as UTF-8 one character at a time: by
    // default one invalid byte makes it read the whole file as Latin-1.
    wxConfigBase* CreateConfig() override;
};
