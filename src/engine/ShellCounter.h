// The counter of the shell-script style: lines are classified by the markers of its rule.
#pragma once

#include "RuleCounter.h"

class ShellCounter : public RuleCounter {
public:
    static const wxString STYLE;
};
