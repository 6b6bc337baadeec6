// The Pascal style counter.
#include "PascalCounter.h"

const wxString PascalCounter::STYLE = "Pascal";
