#include "solver.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "walk.h"

namespace levels {
namespace {

struct Position {
  std::vector<int> crates;  // ascending
  int keeper;               // any square of the keeper's reach
};

struct Node {
  std::size_t parent;
  int crate;      // the pushed crate's square before the push
  int direction;  // index into kDirections
};

constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

class Search {
 public:
  Search(const Level& level, std::size_t max_positions)
      : level_(level), max_positions_(max_positions), live_(live_squares()) {}

  SolveResult run();

 private:
  std::vector<bool> live_squares() const;
  std::vector<int> reach(const Position& p) const;
  std::string key(const Position& p) const;
  bool frozen(const std::vector<int>& crates, int moved) const;
  bool solved(const std::vector<int>& crates) const;
  std::optional<Position> push(const Position& from, int keeper, const Direction& d) const;
  std::optional<std::size_t> expand(std::size_t at);
  // Walk of the keeper from one square to another around the crates, as step letters.
  std::string walk(const std::vector<int>& crates, int from, int to) const;
  std::string letters(std::size_t last) const;

  const Level& level_;
  std::size_t max_positions_;
  std::vector<bool> live_;
  std::vector<Node> nodes_;
  std::vector<Position> positions_;
  std::unordered_map<std::string, std::size_t> seen_;  // key of each stored position
};

// A square is live when a crate on it could still be pushed to some goal, crates aside:
// found by pulling crates backwards from every goal.
std::vector<bool> Search::live_squares() const {
  std::vector<bool> live(level_.squares.size(), false);
  std::vector<int> todo;
  for (std::size_t cell = 0; cell < level_.squares.size(); ++cell) {
    if (level_.squares[cell] == Square::kGoal) {
      live[cell] = true;
      todo.push_back(static_cast<int>(cell));
    }
  }
  while (!todo.empty()) {
    const int cell = todo.back();
    todo.pop_back();
    for (const Direction& d : kDirections) {
      const int to = neighbour(level_, cell, d);
      const int keeper = neighbour(level_, to, d);
      if (level_.walkable(to) && level_.walkable(keeper) && !live[static_cast<std::size_t>(to)]) {
        live[static_cast<std::size_t>(to)] = true;
        todo.push_back(to);
      }
    }
  }
  return live;
}

std::vector<int> Search::reach(const Position& p) const {
  std::vector<char> blocked(level_.squares.size(), 0);
  for (int c : p.crates) {
    blocked[static_cast<std::size_t>(c)] = 1;
  }
  std::vector<int> cells{p.keeper};
  blocked[static_cast<std::size_t>(p.keeper)] = 1;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    for (const Direction& d : kDirections) {
      const int next = neighbour(level_, cells[i], d);
      if (level_.walkable(next) && !blocked[static_cast<std::size_t>(next)]) {
        blocked[static_cast<std::size_t>(next)] = 1;
        cells.push_back(next);
      }
    }
  }
  return cells;
}

std::string Search::key(const Position& p) const {
  const std::vector<int> cells = reach(p);
  const int corner = *std::min_element(cells.begin(), cells.end());
  std::string k;
  for (int c : p.crates) {
    k.push_back(static_cast<char>(c & 0xFF));
    k.push_back(static_cast<char>(c >> 8));
  }
  k.push_back(static_cast<char>(corner & 0xFF));
  k.push_back(static_cast<char>(corner >> 8));
  return k;
}

bool Search::frozen(const std::vector<int>& crates, int moved) const {
  const auto is_crate = [&](int c) { return std::binary_search(crates.begin(), crates.end(), c); };
  const int w = level_.width;
  for (int top_left : {moved, moved - 1, moved - w, moved - w - 1}) {
    const int block[4] = {top_left, top_left + 1, top_left + w, top_left + w + 1};
    bool solid = true;
    bool stray = false;
    for (int c : block) {
      solid = solid && (!level_.walkable(c) || is_crate(c));
      stray = stray || (is_crate(c) && level_.at(c) != Square::kGoal);
    }
    if (solid && stray) {
      return true;
    }
  }
  return false;
}

bool Search::solved(const std::vector<int>& crates) const {
  return std::all_of(crates.begin(), crates.end(),
                     [&](int c) { return level_.at(c) == Square::kGoal; });
}

// The position after pushing the crate in front of the keeper, or nullopt when the push
// is impossible or leads to a dead position.
std::optional<Position> Search::push(const Position& from, int keeper, const Direction& d) const {
  const auto holds_crate = [&](int cell) {
    return std::binary_search(from.crates.begin(), from.crates.end(), cell);
  };
  const int crate = neighbour(level_, keeper, d);
  const int target = neighbour(level_, crate, d);
  if (!holds_crate(crate) || !level_.walkable(target) || !live_[static_cast<std::size_t>(target)] ||
      holds_crate(target)) {
    return std::nullopt;
  }
  Position next{from.crates, crate};
  *std::find(next.crates.begin(), next.crates.end(), crate) = target;
  std::sort(next.crates.begin(), next.crates.end());
  if (frozen(next.crates, target)) {
    return std::nullopt;
  }
  return next;
}

// Stores every new position one push away from position at; returns the index of a
// solved one as soon as it is stored.
std::optional<std::size_t> Search::expand(std::size_t at) {
  const Position here = positions_[at];  // a copy: storing may move the vector
  for (int keeper : reach(here)) {
    for (int dir = 0; dir < 4; ++dir) {
      std::optional<Position> next = push(here, keeper, kDirections[dir]);
      if (!next || !seen_.emplace(key(*next), positions_.size()).second) {
        continue;
      }
      nodes_.push_back({at, neighbour(level_, keeper, kDirections[dir]), dir});
      positions_.push_back(std::move(*next));
      if (solved(positions_.back().crates)) {
        return positions_.size() - 1;
      }
    }
  }
  return std::nullopt;
}

SolveResult Search::run() {
  SolveResult result;
  positions_.push_back({level_.crates, level_.keeper});
  nodes_.push_back({kNoParent, -1, -1});
  seen_.emplace(key(positions_[0]), 0);
  if (solved(level_.crates)) {
    result.letters = "";
  }
  for (std::size_t at = 0; at < positions_.size() && !result.letters; ++at) {
    if (const std::optional<std::size_t> done = expand(at)) {
      result.letters = letters(*done);
    } else if (positions_.size() >= max_positions_) {
      result.gave_up = true;
      break;
    }
  }
  result.positions = positions_.size();
  return result;
}

std::string Search::walk(const std::vector<int>& crates, int from, int to) const {
  std::vector<bool> crate_at(level_.squares.size(), false);
  for (int c : crates) {
    crate_at[static_cast<std::size_t>(c)] = true;
  }
  return walk_letters(level_, crate_at, from, to).value_or("");
}

std::string Search::letters(std::size_t last) const {
  std::vector<std::size_t> chain;
  for (std::size_t n = last; nodes_[n].parent != kNoParent; n = nodes_[n].parent) {
    chain.push_back(n);
  }
  std::reverse(chain.begin(), chain.end());
  std::string out;
  int keeper = level_.keeper;
  for (std::size_t n : chain) {
    const Node& node = nodes_[n];
    const Direction& d = kDirections[node.direction];
    const int stand = node.crate - (neighbour(level_, node.crate, d) - node.crate);
    out += walk(positions_[node.parent].crates, keeper, stand);
    out.push_back(d.push);
    keeper = node.crate;
  }
  return out;
}

}  // namespace

SolveResult solve(const Level& level, std::size_t max_positions) {
  return Search(level, max_positions).run();
}

}  // namespace levels
