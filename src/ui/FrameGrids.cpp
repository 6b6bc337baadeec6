// The analysis parameter grid and the summary grid.
#include "TallywickFrame.h"

void TallywickFrame::InitPropertyGrids() {}
