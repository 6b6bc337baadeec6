// The counter of the SQL style: lines are classified by the markers of its rule.
#pragma once

#include "RuleCounter.h"

class SqlCounter : public RuleCounter {
public:
    static const wxString STYLE;
};
