// The counter of the markup style: lines are classified by the markers of its rule.
#pragma once

#include "RuleCounter.h"

class XmlCounter : public RuleCounter {
public:
    static const wxString STYLE;
};
