// Backward search for new levels: starting with every crate on a goal, the keeper pulls
// crates (never pushes them), breadth first. Every position it meets can be pushed back to
// the solved one, so a level made from it is solvable by construction, and a position
// first met after d pulls needs exactly d pushes at best.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "level.h"

namespace levels {

// One push of a solution: the crate moves from one square to the next.
struct Push {
  int from;
  int to;
};

class PullSearch {
 public:
  // Largest board and crate count the search keys hold. More crates than the game's solver
  // takes are allowed: crates that a level's solution never moves become wall.
  static constexpr int kMaxCells = 256;
  static constexpr int kMaxCrates = 16;

  // The board: walls and goals of `level`, which must be closed by walls, have at most
  // kMaxCells squares and 1 to kMaxCrates goals. Its crates and keeper are ignored.
  PullSearch(const Level& level, std::size_t max_positions);

  // Stores every position reachable by pulls, level by level, until none is new or
  // max_positions are stored (then the deepest level may be incomplete). Returns true
  // when the search ran out of new positions.
  bool run();

  std::size_t positions() const { return keys_.size(); }
  // Pulls from the solved positions to the positions of the deepest level stored.
  int depth() const { return static_cast<int>(level_start_.size()) - 1; }
  // Indices of the positions first met after `pulls` pulls.
  std::pair<std::size_t, std::size_t> level_range(int pulls) const;

  // Crate squares of a stored position, ascending.
  std::vector<int> crates(std::size_t position) const;
  // The keeper's area in a stored position, as its lowest square.
  int keeper_area(std::size_t position) const;
  // The pushes that lead from a stored position back to a solved one, in playing order:
  // the path by which the search first met the position.
  std::vector<Push> pushes_to_solve(std::size_t position) const;
  // Of all solutions with the fewest pushes from a stored position, one that changes
  // crates least often, in playing order. (Every level below the deepest one is complete,
  // so all such solutions pass through stored positions.)
  std::vector<Push> fewest_changes(std::size_t position);

 private:
  using Key = std::array<std::uint8_t, kMaxCrates + 1>;
  static constexpr std::uint32_t kNoParent = UINT32_MAX;

  void store_solved_positions();
  void expand(std::size_t position);
  // Puts the key's crates on the board and marks the keeper's area; leave() takes them off.
  void enter(const Key& key);
  void leave(const Key& key);
  bool in_area(int cell) const;
  // The key after crate i of the entered key moved to `to`, the keeper on `keeper`.
  Key moved(const Key& key, std::size_t i, int to, int keeper);
  // Marks the keeper's area from `from` in `mark` with the current stamp; returns its
  // lowest square.
  int flood(int from, std::vector<std::uint32_t>& mark, std::uint32_t stamp);
  bool store(const Key& key, std::uint32_t parent);
  // Index of a stored key, or nullopt.
  std::optional<std::size_t> find(const Key& key) const;
  int depth_of(std::size_t position) const;
  // The positions one push away from `position` that lie one pull level lower, with the
  // push that leads to each.
  std::vector<std::pair<std::size_t, Push>> pushes_down(std::size_t position);
  std::uint64_t hash(const Key& key) const;

  Level board_;
  int crate_count_;
  std::size_t max_positions_;
  std::array<int, 4> offset_;
  std::vector<Key> keys_;
  std::vector<std::uint32_t> parent_;
  std::vector<std::size_t> level_start_;  // first position of each level, pulls 0 upward
  std::vector<std::uint32_t> table_;      // position index + 1; 0 for a free slot
  std::vector<bool> crate_at_;
  std::vector<std::uint32_t> area_mark_;
  std::vector<std::uint32_t> child_mark_;
  std::uint32_t area_stamp_ = 0;
  std::uint32_t child_stamp_ = 0;
  std::vector<int> todo_;
};

}  // namespace levels
