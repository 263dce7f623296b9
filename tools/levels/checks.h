// Tests that keep poor levels out of our sets: floor that is never of use, walls that do
// nothing, and crates that need no thought.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "level.h"

namespace levels {

// Floor squares that no solution can ever use, ascending: squares the keeper cannot walk
// to even with every crate gone, and non-goal squares with three walls around them (a
// crate pushed in never comes out, and standing there the keeper can push nothing out).
// The keeper's own square is never dead; a level without a keeper (a bare room) counts
// the area of its first floor square as reachable.
std::vector<int> dead_floor(const Level& level);

// Whether a square has floor among its eight neighbours.
bool touches_floor(const Level& level, int cell);

// Walls that touch no floor square, not even at a corner, and still lie inside the level
// (between walls in their row and in their column), so that the level file must draw
// them. Everything else that touches no floor is written as blank outside the level.
std::vector<int> needless_walls(const Level& level);

// Answer of a solvability check: true solvable, false not, nullopt unknown (gave up).
using SolvableCheck = std::function<std::optional<bool>(const Level&)>;

// Crates that need no thought, ascending by their start square: a crate that already
// stands on a goal, or that one straight run of pushes from the start puts on a goal,
// where it can then stay for good - the rest of the level, with that crate turned into
// wall, is still solvable.
std::vector<int> trivial_crates(const Level& level, const SolvableCheck& solvable);

}  // namespace levels
