// The shell-script style counter.
#include "ShellCounter.h"

const wxString ShellCounter::STYLE = "Shell";
