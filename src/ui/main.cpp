// The program's entry point.
#include "HomeFolder.h"
#include "TallywickApp.h"

wxIMPLEMENT_APP_NO_MAIN(TallywickApp);

// The toolkit's own main, with the home folder settled first.
int main(int argc, char** argv) {
    wxDISABLE_DEBUG_SUPPORT();
    // GTK and GLib read HOME as they start; an empty one would put the settings at the root.
    SettleHomeFolder();
    return wxEntry(argc, argv);
}
