// The counter of the Visual Basic style: lines are classified by the markers of its rule.
#pragma once

#include "RuleCounter.h"

#include <memory>
class BasicCounter : public RuleCounter {
public:
    static const wxString STYLE;
    // The one counter shared by every "Basic" style name, created by the factory on first use.
    static std::unique_ptr<BasicCounter> s_pInstance;
};
