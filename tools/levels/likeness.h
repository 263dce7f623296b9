// Whether two levels are built in the same room, so that a set never holds one room twice
// with only the crates moved.
#pragma once

#include "level.h"

namespace levels {

// True when b, turned or mirrored in one of the eight ways a grid can be, has a's size
// and differs from a in the walls of at most `tolerance_percent` of its squares.
bool same_room(const Level& a, const Level& b, int tolerance_percent);

}  // namespace levels
