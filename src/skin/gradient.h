#pragma once

#include "skin/skin_colour.h"

#include <vector>

namespace zorvia::skin {

// A colour ramp of `length` entries from `from` to `to` (resolved RGB
// values), each channel interpolated linearly and rounded to the nearest
// step. Ramps are cached: up to 16, keyed by length and end colours, a new
// one taking the next slot round-robin. For the GUI thread (one cache per
// thread).
std::vector<SkinColour> gradientRamp(int length, SkinColour from, SkinColour to);

// How many ramps were computed (not served from the cache) on this thread.
int gradientRampsComputed();

} // namespace zorvia::skin
