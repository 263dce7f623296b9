// Step letters of the keeper's walks and of whole solutions given as pushes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "level.h"
#include "pull_search.h"

namespace levels {

// The shortest walk of the keeper from one square to another around the crates marked in
// crate_at, as plain step letters; nullopt when `to` cannot be reached. Ties go up, down,
// left, right, in that order.
std::optional<std::string> walk_letters(const Level& level, const std::vector<bool>& crate_at,
                                        int from, int to);

// Step letters that play the pushes from the level's start: before each push the keeper
// walks the shortest way to the square behind the crate. Returns nullopt when a push
// cannot be made.
std::optional<std::string> solution_letters(const Level& level, const std::vector<Push>& pushes);

// Number of times a push moves another crate than the push before it.
int crate_changes(const std::vector<Push>& pushes);

}  // namespace levels
