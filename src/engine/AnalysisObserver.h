// Told when a refresh has recomputed visibility, estimates and sums.
#pragma once

class AnalysisObserver {
public:
    virtual ~AnalysisObserver() = default;
    virtual void OnAnalysisUpdate() = 0;
};
