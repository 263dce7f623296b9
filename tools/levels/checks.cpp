#include "checks.h"

#include <algorithm>

namespace levels {
namespace {

bool inner(const Level& level, int cell) {
  const int x = cell % level.width;
  const int y = cell / level.width;
  return x > 0 && y > 0 && x < level.width - 1 && y < level.height - 1;
}

// Squares the keeper reaches from `from`, walking over everything but walls and the
// squares marked in `blocked` (may be empty).
std::vector<bool> reach(const Level& level, int from, const std::vector<bool>& blocked) {
  std::vector<bool> seen(level.squares.size(), false);
  std::vector<int> todo{from};
  seen[static_cast<std::size_t>(from)] = true;
  while (!todo.empty()) {
    const int cell = todo.back();
    todo.pop_back();
    for (const Direction& d : kDirections) {
      const int next = neighbour(level, cell, d);
      const auto n = static_cast<std::size_t>(next);
      if (level.walkable(next) && !seen[n] && (blocked.empty() || !blocked[n])) {
        seen[n] = true;
        todo.push_back(next);
      }
    }
  }
  return seen;
}

int first_floor(const Level& level) {
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    if (level.walkable(cell)) {
      return cell;
    }
  }
  return -1;
}

// The level with one crate turned into wall on square `home`, its goal gone with it.
Level with_crate_frozen(const Level& level, int crate, int home, int keeper) {
  Level rest = level;
  rest.squares[static_cast<std::size_t>(home)] = Square::kWall;
  std::erase(rest.crates, crate);
  rest.keeper = keeper;
  return rest;
}

bool stays_solvable(const Level& rest, const SolvableCheck& solvable) {
  return rest.crates.empty() || solvable(rest).value_or(false);
}

bool is_trivial(const Level& level, int crate, const std::vector<bool>& keeper_reach,
                const std::vector<bool>& crate_at, const SolvableCheck& solvable) {
  if (level.at(crate) == Square::kGoal &&
      stays_solvable(with_crate_frozen(level, crate, crate, level.keeper), solvable)) {
    return true;
  }
  for (const Direction& d : kDirections) {
    const int behind = crate - (neighbour(level, crate, d) - crate);
    if (!keeper_reach[static_cast<std::size_t>(behind)]) {
      continue;
    }
    // Push the crate along d square by square; after each push the keeper stands on the
    // square the crate left.
    for (int at = crate;; at = neighbour(level, at, d)) {
      const int next = neighbour(level, at, d);
      if (!level.walkable(next) || crate_at[static_cast<std::size_t>(next)]) {
        break;
      }
      if (level.at(next) == Square::kGoal &&
          stays_solvable(with_crate_frozen(level, crate, next, at), solvable)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

bool touches_floor(const Level& level, int cell) {
  const int x = cell % level.width;
  const int y = cell / level.width;
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx;
      const int ny = y + dy;
      if (nx >= 0 && ny >= 0 && nx < level.width && ny < level.height &&
          level.walkable(ny * level.width + nx)) {
        return true;
      }
    }
  }
  return false;
}

std::vector<int> dead_floor(const Level& level) {
  const int start = level.keeper >= 0 ? level.keeper : first_floor(level);
  std::vector<int> dead;
  if (start < 0) {
    return dead;
  }
  const std::vector<bool> reached = reach(level, start, {});
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    if (!level.walkable(cell) || cell == level.keeper) {
      continue;
    }
    int walls = 0;
    for (const Direction& d : kDirections) {
      walls += level.walkable(neighbour(level, cell, d)) ? 0 : 1;
    }
    const bool dead_end = inner(level, cell) && level.at(cell) != Square::kGoal && walls >= 3;
    if (!reached[static_cast<std::size_t>(cell)] || dead_end) {
      dead.push_back(cell);
    }
  }
  return dead;
}

std::vector<int> needless_walls(const Level& level) {
  std::vector<bool> drawn(level.squares.size(), false);
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    drawn[static_cast<std::size_t>(cell)] = !level.walkable(cell) && touches_floor(level, cell);
  }
  const auto drawn_at = [&](int x, int y) {
    return drawn[static_cast<std::size_t>(y * level.width + x)];
  };
  std::vector<int> needless;
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    if (level.walkable(cell) || drawn[static_cast<std::size_t>(cell)]) {
      continue;
    }
    const int x = cell % level.width;
    const int y = cell / level.width;
    bool left = false, right = false, above = false, below = false;
    for (int i = 0; i < level.width; ++i) {
      left = left || (i < x && drawn_at(i, y));
      right = right || (i > x && drawn_at(i, y));
    }
    for (int i = 0; i < level.height; ++i) {
      above = above || (i < y && drawn_at(x, i));
      below = below || (i > y && drawn_at(x, i));
    }
    if (left && right && above && below) {
      needless.push_back(cell);
    }
  }
  return needless;
}

std::vector<int> trivial_crates(const Level& level, const SolvableCheck& solvable) {
  std::vector<bool> crate_at(level.squares.size(), false);
  for (int crate : level.crates) {
    crate_at[static_cast<std::size_t>(crate)] = true;
  }
  const std::vector<bool> keeper_reach = reach(level, level.keeper, crate_at);
  std::vector<int> trivial;
  for (int crate : level.crates) {
    if (is_trivial(level, crate, keeper_reach, crate_at, solvable)) {
      trivial.push_back(crate);
    }
  }
  return trivial;
}

}  // namespace levels
