// Told after each counted file.
#pragma once

class CountingObserver {
public:
    virtual ~CountingObserver() = default;
    virtual void OnFileCounted() = 0;
};
