// The sums over all counted (or all visible) files.
#pragma once

#include "Result.h"

class TotalResult : public Result {};
