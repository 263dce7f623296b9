#include "walk.h"

#include <algorithm>
#include <deque>

namespace levels {

std::optional<std::string> walk_letters(const Level& level, const std::vector<bool>& crate_at,
                                        int from, int to) {
  std::vector<int> came(level.squares.size(), -1);
  std::vector<int> how(level.squares.size(), -1);
  std::deque<int> queue{from};
  came[static_cast<std::size_t>(from)] = from;
  while (!queue.empty() && came[static_cast<std::size_t>(to)] == -1) {
    const int cell = queue.front();
    queue.pop_front();
    for (int dir = 0; dir < 4; ++dir) {
      const int next = neighbour(level, cell, kDirections[dir]);
      const auto n = static_cast<std::size_t>(next);
      if (level.walkable(next) && !crate_at[n] && came[n] == -1) {
        came[n] = cell;
        how[n] = dir;
        queue.push_back(next);
      }
    }
  }
  if (came[static_cast<std::size_t>(to)] == -1) {
    return std::nullopt;
  }
  std::string path;
  for (int cell = to; cell != from; cell = came[static_cast<std::size_t>(cell)]) {
    path.push_back(kDirections[how[static_cast<std::size_t>(cell)]].step);
  }
  std::reverse(path.begin(), path.end());
  return path;
}

std::optional<std::string> solution_letters(const Level& level, const std::vector<Push>& pushes) {
  std::vector<bool> crate_at(level.squares.size(), false);
  for (int crate : level.crates) {
    crate_at[static_cast<std::size_t>(crate)] = true;
  }
  std::string letters;
  int keeper = level.keeper;
  for (const Push& push : pushes) {
    const auto* d = std::find_if(
        std::begin(kDirections), std::end(kDirections),
        [&](const Direction& dir) { return neighbour(level, push.from, dir) == push.to; });
    if (d == std::end(kDirections) || !crate_at[static_cast<std::size_t>(push.from)]) {
      return std::nullopt;
    }
    const int behind = push.from - (push.to - push.from);
    const std::optional<std::string> walk = walk_letters(level, crate_at, keeper, behind);
    if (!walk) {
      return std::nullopt;
    }
    letters += *walk;
    letters.push_back(d->push);
    crate_at[static_cast<std::size_t>(push.from)] = false;
    crate_at[static_cast<std::size_t>(push.to)] = true;
    keeper = push.from;
  }
  return letters;
}

int crate_changes(const std::vector<Push>& pushes) {
  int changes = 0;
  for (std::size_t i = 1; i < pushes.size(); ++i) {
    changes += pushes[i].from != pushes[i - 1].to ? 1 : 0;
  }
  return changes;
}

}  // namespace levels
