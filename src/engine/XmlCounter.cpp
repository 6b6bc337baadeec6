// The markup style counter.
#include "XmlCounter.h"

const wxString XmlCounter::STYLE = "Xml";
