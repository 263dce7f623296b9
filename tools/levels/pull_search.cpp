#include "pull_search.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <map>

namespace levels {
namespace {

constexpr std::size_t kTableLoad = 2;  // slots per position at the most

}  // namespace

PullSearch::PullSearch(const Level& level, std::size_t max_positions)
    : board_(level), crate_count_(level.goal_count()), max_positions_(max_positions) {
  assert(level.width * level.height <= kMaxCells);
  assert(crate_count_ >= 1 && crate_count_ <= kMaxCrates);
  board_.crates.clear();
  for (int i = 0; i < 4; ++i) {
    offset_[static_cast<std::size_t>(i)] = kDirections[i].dy * level.width + kDirections[i].dx;
  }
  table_.assign(std::bit_ceil(max_positions * kTableLoad + 1), 0);
  crate_at_.assign(level.squares.size(), false);
  area_mark_.assign(level.squares.size(), 0);
  child_mark_.assign(level.squares.size(), 0);
}

std::uint64_t PullSearch::hash(const Key& key) const {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (std::uint8_t b : key) {
    h = (h ^ b) * 0x100000001B3ULL;
  }
  return h ^ (h >> 29);
}

std::optional<std::size_t> PullSearch::find(const Key& key) const {
  const std::size_t mask = table_.size() - 1;
  for (std::size_t slot = hash(key) & mask; table_[slot] != 0; slot = (slot + 1) & mask) {
    if (keys_[table_[slot] - 1] == key) {
      return table_[slot] - 1;
    }
  }
  return std::nullopt;
}

int PullSearch::depth_of(std::size_t position) const {
  const auto after = std::upper_bound(level_start_.begin(), level_start_.end(), position);
  return static_cast<int>(after - level_start_.begin()) - 1;
}

bool PullSearch::store(const Key& key, std::uint32_t parent) {
  const std::size_t mask = table_.size() - 1;
  for (std::size_t slot = hash(key) & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t entry = table_[slot];
    if (entry == 0) {
      table_[slot] = static_cast<std::uint32_t>(keys_.size() + 1);
      keys_.push_back(key);
      parent_.push_back(parent);
      return true;
    }
    if (keys_[entry - 1] == key) {
      return false;
    }
  }
}

int PullSearch::flood(int from, std::vector<std::uint32_t>& mark, std::uint32_t stamp) {
  int lowest = from;
  std::vector<int>& todo = todo_;
  todo.assign(1, from);
  mark[static_cast<std::size_t>(from)] = stamp;
  while (!todo.empty()) {
    const int cell = todo.back();
    todo.pop_back();
    lowest = std::min(lowest, cell);
    for (int off : offset_) {
      const int next = cell + off;
      const auto n = static_cast<std::size_t>(next);
      if (mark[n] != stamp && board_.walkable(next) && !crate_at_[n]) {
        mark[n] = stamp;
        todo.push_back(next);
      }
    }
  }
  return lowest;
}

void PullSearch::store_solved_positions() {
  Key key{};
  int n = 0;
  for (int cell = 0; cell < board_.width * board_.height; ++cell) {
    if (board_.at(cell) == Square::kGoal) {
      crate_at_[static_cast<std::size_t>(cell)] = true;
      key[static_cast<std::size_t>(n++)] = static_cast<std::uint8_t>(cell);
    }
  }
  ++area_stamp_;
  for (int cell = 0; cell < board_.width * board_.height; ++cell) {
    const auto c = static_cast<std::size_t>(cell);
    if (board_.walkable(cell) && !crate_at_[c] && area_mark_[c] != area_stamp_) {
      key[static_cast<std::size_t>(crate_count_)] =
          static_cast<std::uint8_t>(flood(cell, area_mark_, area_stamp_));
      store(key, kNoParent);
    }
  }
  std::fill(crate_at_.begin(), crate_at_.end(), false);
}

void PullSearch::enter(const Key& key) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(crate_count_); ++i) {
    crate_at_[key[i]] = true;
  }
  ++area_stamp_;
  flood(key[static_cast<std::size_t>(crate_count_)], area_mark_, area_stamp_);
}

void PullSearch::leave(const Key& key) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(crate_count_); ++i) {
    crate_at_[key[i]] = false;
  }
}

bool PullSearch::in_area(int cell) const {
  return area_mark_[static_cast<std::size_t>(cell)] == area_stamp_;
}

PullSearch::Key PullSearch::moved(const Key& key, std::size_t i, int to, int keeper) {
  const auto n = static_cast<std::size_t>(crate_count_);
  const int from = key[i];
  crate_at_[static_cast<std::size_t>(from)] = false;
  crate_at_[static_cast<std::size_t>(to)] = true;
  Key child = key;
  child[i] = static_cast<std::uint8_t>(to);
  std::sort(child.begin(), child.begin() + static_cast<std::ptrdiff_t>(n));
  child[n] = static_cast<std::uint8_t>(flood(keeper, child_mark_, ++child_stamp_));
  crate_at_[static_cast<std::size_t>(to)] = false;
  crate_at_[static_cast<std::size_t>(from)] = true;
  return child;
}

void PullSearch::expand(std::size_t position) {
  const Key key = keys_[position];
  enter(key);
  for (std::size_t i = 0;
       i < static_cast<std::size_t>(crate_count_) && keys_.size() < max_positions_; ++i) {
    const int crate = key[i];
    for (int off : offset_) {
      const int keeper = crate + off;  // where the keeper stands to pull
      const int back = keeper + off;   // where the pull takes him
      if (in_area(keeper) && in_area(back)) {
        store(moved(key, i, keeper, back), static_cast<std::uint32_t>(position));
      }
    }
  }
  leave(key);
}

bool PullSearch::run() {
  keys_.clear();
  parent_.clear();
  std::fill(table_.begin(), table_.end(), 0);
  store_solved_positions();
  level_start_.assign(1, 0);
  std::size_t next = 0;
  while (next < keys_.size()) {
    const std::size_t level_end = keys_.size();
    for (; next < level_end; ++next) {
      if (keys_.size() >= max_positions_) {
        level_start_.push_back(level_end);
        return false;
      }
      expand(next);
    }
    if (keys_.size() > level_end) {
      level_start_.push_back(level_end);
    }
  }
  return true;
}

std::pair<std::size_t, std::size_t> PullSearch::level_range(int pulls) const {
  const auto p = static_cast<std::size_t>(pulls);
  const std::size_t end = p + 1 < level_start_.size() ? level_start_[p + 1] : keys_.size();
  return {level_start_[p], end};
}

std::vector<int> PullSearch::crates(std::size_t position) const {
  const Key& key = keys_[position];
  return {key.begin(), key.begin() + crate_count_};
}

int PullSearch::keeper_area(std::size_t position) const {
  return keys_[position][static_cast<std::size_t>(crate_count_)];
}

std::vector<Push> PullSearch::pushes_to_solve(std::size_t position) const {
  std::vector<Push> pushes;
  for (std::size_t at = position; parent_[at] != kNoParent; at = parent_[at]) {
    const std::vector<int> here = crates(at);
    const std::vector<int> there = crates(parent_[at]);
    Push push{};
    std::set_difference(here.begin(), here.end(), there.begin(), there.end(), &push.from);
    std::set_difference(there.begin(), there.end(), here.begin(), here.end(), &push.to);
    pushes.push_back(push);
  }
  return pushes;
}

}  // namespace levels

namespace levels {

std::vector<std::pair<std::size_t, Push>> PullSearch::pushes_down(std::size_t position) {
  const Key key = keys_[position];
  const int below = depth_of(position) - 1;
  std::vector<std::pair<std::size_t, Push>> found;
  enter(key);
  for (std::size_t i = 0; i < static_cast<std::size_t>(crate_count_); ++i) {
    const int crate = key[i];
    for (int off : offset_) {
      const int target = crate + off;
      if (!in_area(crate - off) || !board_.walkable(target) ||
          crate_at_[static_cast<std::size_t>(target)]) {
        continue;
      }
      const std::optional<std::size_t> next = find(moved(key, i, target, crate));
      if (next && depth_of(*next) == below) {
        found.push_back({*next, Push{crate, target}});
      }
    }
  }
  leave(key);
  return found;
}

std::vector<Push> PullSearch::fewest_changes(std::size_t position) {
  // Walk down the pull levels one push at a time. A step is a position together with the
  // square of the crate pushed last; each keeps the fewest changes that reach it and the
  // step it came from.
  struct Step {
    std::size_t position;
    int last_crate;  // -1 before the first push
    int changes;
    int came_from;  // index into the previous layer, -1 for the start
    Push push;
  };
  std::vector<std::vector<Step>> layers{{Step{position, -1, 0, -1, {}}}};
  while (depth_of(layers.back().front().position) > 0) {
    std::map<std::pair<std::size_t, int>, std::size_t> index;
    std::vector<Step> next;
    const std::vector<Step>& here = layers.back();
    for (std::size_t h = 0; h < here.size(); ++h) {
      for (const auto& [to, push] : pushes_down(here[h].position)) {
        const int changes =
            here[h].changes + (here[h].last_crate >= 0 && here[h].last_crate != push.from);
        const auto [it, fresh] = index.try_emplace({to, push.to}, next.size());
        if (fresh) {
          next.push_back({to, push.to, changes, static_cast<int>(h), push});
        } else if (changes < next[it->second].changes) {
          next[it->second] = {to, push.to, changes, static_cast<int>(h), push};
        }
      }
    }
    layers.push_back(std::move(next));
  }
  const std::vector<Step>& last = layers.back();
  std::size_t at = static_cast<std::size_t>(
      std::min_element(last.begin(), last.end(),
                       [](const Step& a, const Step& b) { return a.changes < b.changes; }) -
      last.begin());
  std::vector<Push> pushes;
  for (std::size_t layer = layers.size() - 1; layer > 0; --layer) {
    const Step& step = layers[layer][at];
    pushes.push_back(step.push);
    at = static_cast<std::size_t>(step.came_from);
  }
  std::reverse(pushes.begin(), pushes.end());
  return pushes;
}

}  // namespace levels
