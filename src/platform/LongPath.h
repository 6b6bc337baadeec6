// Opening files and folders whose path is longer than the system accepts in one call.
#pragma once

#include <string>

// open() for a path of any length: a path too long for one call is opened one stretch of
// folders at a time, each relative to the one before. Returns the descriptor, or -1 with
// errno set.
int OpenPath(const std::string& path, int flags);
