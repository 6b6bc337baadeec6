// Told when a run has ended and the filter candidates and summaries are rebuilt.
#pragma once

class FilterObserver {
public:
    virtual ~FilterObserver() = default;
    virtual void OnFilterUpdate() = 0;
};
