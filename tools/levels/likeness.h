// Whether two levels are built in the same room, so that a set never holds one room twice
// with only the crates moved.
#pragma once

#include "level.h"

namespace levels {

// The grid cut down to its floor (walls, floor and goals; no crates or keeper) and one
// ring of wall around it. A level without floor comes back as it is.
Level cut_to_floor(const Level& level);

// True when the second level, turned or mirrored in one of the eight ways a grid can be,
// has the first one's size and differs from it in the walls of at most `tolerance_percent`
// of its squares. Both are first cut to their floor and one ring of wall.
bool same_room(const Level& first, const Level& second, int tolerance_percent);

}  // namespace levels
