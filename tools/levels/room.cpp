#include "room.h"

#include <algorithm>
#include <vector>

#include "checks.h"
#include "likeness.h"

namespace levels {
namespace {

struct Stroke {
  int width;
  int height;
};

// Shapes of the wide strokes; one-wide corridors are drawn separately.
constexpr Stroke kBlocks[] = {{2, 2}, {2, 3}, {3, 2}, {3, 3}, {2, 4}, {4, 2}, {1, 2}, {2, 1}};
constexpr int kShortestCorridor = 2;
constexpr int kLongestCorridor = 5;
constexpr int kMaxStrokes = 400;

class Carver {
 public:
  Carver(int inner_width, int inner_height)
      : width_(inner_width + 2),
        height_(inner_height + 2),
        floor_(static_cast<std::size_t>(width_ * height_), false) {}

  int floor_count() const { return floor_count_; }

  // Carves one stroke; after the first, every stroke covers a square that is floor
  // already, so the floor stays one piece.
  void stroke(const RoomShape& shape, Random& random) {
    Stroke s = kBlocks[random.below(static_cast<int>(std::size(kBlocks)))];
    if (random.chance(shape.corridor_percent)) {
      const int length = random.between(kShortestCorridor, kLongestCorridor);
      s = random.chance(50) ? Stroke{length, 1} : Stroke{1, length};
    }
    s.width = std::min(s.width, width_ - 2);
    s.height = std::min(s.height, height_ - 2);
    int left = random.between(1, width_ - 1 - s.width);
    int top = random.between(1, height_ - 1 - s.height);
    if (floor_count_ > 0) {
      const int anchor = anchor_cell(random);
      left = std::clamp(anchor % width_ - random.below(s.width), 1, width_ - 1 - s.width);
      top = std::clamp(anchor / width_ - random.below(s.height), 1, height_ - 1 - s.height);
    }
    for (int y = top; y < top + s.height; ++y) {
      for (int x = left; x < left + s.width; ++x) {
        carve(y * width_ + x);
      }
    }
  }

  Level level() const {
    Level level;
    level.width = width_;
    level.height = height_;
    for (bool floor : floor_) {
      level.squares.push_back(floor ? Square::kFloor : Square::kWall);
    }
    return level;
  }

 private:
  int anchor_cell(Random& random) const {
    int pick = random.below(floor_count_);
    for (std::size_t cell = 0;; ++cell) {
      if (floor_[cell] && pick-- == 0) {
        return static_cast<int>(cell);
      }
    }
  }

  void carve(int cell) {
    if (!floor_[static_cast<std::size_t>(cell)]) {
      floor_[static_cast<std::size_t>(cell)] = true;
      ++floor_count_;
    }
  }

  int width_;
  int height_;
  std::vector<bool> floor_;
  int floor_count_ = 0;
};

bool all_floor_around(const Level& level, int cell) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (!level.walkable(cell + dy * level.width + dx)) {
        return false;
      }
    }
  }
  return true;
}

void set_pillars(Level& level, const RoomShape& shape, Random& random) {
  for (int y = 2; y < level.height - 2; ++y) {
    for (int x = 2; x < level.width - 2; ++x) {
      const int cell = y * level.width + x;
      if (all_floor_around(level, cell) && random.chance(shape.pillar_percent)) {
        level.squares[static_cast<std::size_t>(cell)] = Square::kWall;
      }
    }
  }
}

int wall_count(const Level& level, int cell) {
  int walls = 0;
  for (const Direction& d : kDirections) {
    walls += level.walkable(neighbour(level, cell, d)) ? 0 : 1;
  }
  return walls;
}

int count_floor(const Level& level) {
  return static_cast<int>(std::count_if(level.squares.begin(), level.squares.end(),
                                        [](Square s) { return s != Square::kWall; }));
}

}  // namespace

int open_blocks(const Level& level) {
  int blocks = 0;
  for (int y = 1; y < level.height - 1; ++y) {
    for (int x = 1; x < level.width - 1; ++x) {
      blocks += all_floor_around(level, y * level.width + x) ? 1 : 0;
    }
  }
  return blocks;
}

void fill_dead_ends(Level& level) {
  for (bool changed = true; changed;) {
    changed = false;
    for (int cell = 0; cell < level.width * level.height; ++cell) {
      const int x = cell % level.width;
      const int y = cell / level.width;
      const bool inner = x > 0 && y > 0 && x < level.width - 1 && y < level.height - 1;
      const bool crate = std::binary_search(level.crates.begin(), level.crates.end(), cell);
      if (inner && level.at(cell) == Square::kFloor && cell != level.keeper && !crate &&
          wall_count(level, cell) >= 3) {
        level.squares[static_cast<std::size_t>(cell)] = Square::kWall;
        changed = true;
      }
    }
  }
}

std::optional<Level> make_room(const RoomShape& shape, Random& random) {
  const int inner_width = random.between(shape.min_width, shape.max_width);
  const int inner_height = random.between(shape.min_height, shape.max_height);
  const int target = inner_width * inner_height *
                     random.between(shape.min_floor_percent, shape.max_floor_percent) / 100;
  Carver carver(inner_width, inner_height);
  for (int i = 0; i < kMaxStrokes && carver.floor_count() < target; ++i) {
    carver.stroke(shape, random);
  }
  Level level = carver.level();
  set_pillars(level, shape, random);
  fill_dead_ends(level);
  if (count_floor(level) < shape.min_floor) {
    return std::nullopt;
  }
  level = cut_to_floor(level);
  if (open_blocks(level) > shape.max_open_blocks || !needless_walls(level).empty() ||
      !dead_floor(level).empty()) {
    return std::nullopt;
  }
  return level;
}

}  // namespace levels
