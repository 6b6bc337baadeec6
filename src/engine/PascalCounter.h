// The counter of the Pascal style: lines are classified by the markers of its rule.
#pragma once

#include "RuleCounter.h"

class PascalCounter : public RuleCounter {
public:
    static const wxString STYLE;
};
