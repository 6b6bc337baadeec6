// The Visual Basic style counter.
#include "BasicCounter.h"

const wxString BasicCounter::STYLE = "Basic";
std::unique_ptr<BasicCounter> BasicCounter::s_pInstance;
