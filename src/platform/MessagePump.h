// Keeps the window responsive during a long synchronous run.
#pragma once

// Dispatches one pending event of the running event loop, if there is one.
// Without a running loop (tests, benchmarks) it does nothing.
void PumpOneMessage();
