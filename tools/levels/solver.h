// A breadth-first search over crate pushes that finds a solution with the fewest pushes
// and writes it as step letters. Meant for checking the small levels we ship, not for
// hard ones: it stops after a given number of positions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "level.h"

namespace levels {

inline constexpr std::size_t kDefaultMaxPositions = 2'000'000;

struct SolveResult {
  std::optional<std::string> letters;  // the solution; none when unsolvable or given up
  std::size_t positions = 0;           // positions the search stored
  bool gave_up = false;                // the position limit was reached first
};

// Searches the level from its start. Pushes that put a crate on a square from which no
// goal can be reached, or that freeze a crate off its goal in a 2 x 2 block of crates and
// walls, are never tried; neither loses a solution.
SolveResult solve(const Level& level, std::size_t max_positions = kDefaultMaxPositions);

}  // namespace levels
