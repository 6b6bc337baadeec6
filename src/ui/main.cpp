// The program's entry point.
#include "TallywickApp.h"

wxIMPLEMENT_APP(TallywickApp);
