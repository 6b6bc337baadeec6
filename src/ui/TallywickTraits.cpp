// The application's traits.
#include "TallywickTraits.h"

#include "SettingsFile.h"

wxConfigBase* TallywickTraits::CreateConfig() {
    return new SettingsFile;
}
