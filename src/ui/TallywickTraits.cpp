// The application's traits.
#include "TallywickTraits.h"

#include "FileNames.h"

#include <wx/app.h>
#include <wx/fileconf.h>

wxConfigBase* TallywickTraits::CreateConfig() {
    // A byte that is not UTF-8 stays as it is, as in file names, so a folder stored under
    // such a name is found again.
    return new wxFileConfig(wxTheApp->GetAppName(), wxString(), wxString(), wxString(),
                            wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_GLOBAL_FILE,
                            FileSystemConverter());
}
