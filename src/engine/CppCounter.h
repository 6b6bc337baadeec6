// The counter of the C style: lines are classified by the markers of its rule.
#pragma once

#include "RuleCounter.h"

class CppCounter : public RuleCounter {
public:
    static const wxString STYLE;
    // The one counter shared by every "C" style name.
    static CppCounter* GetInstance();
};
