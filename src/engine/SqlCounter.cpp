// The SQL style counter.
#include "SqlCounter.h"

const wxString SqlCounter::STYLE = "Sql";
