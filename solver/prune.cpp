#include "prune.h"

#include <algorithm>

#include "board.h"
#include "solver_state.h"

namespace rv7solv {

namespace {

constexpr int32_t kBlindWalls = 3;  // walls around a cell that make it a dead end
constexpr int32_t kAxes = 2;

int32_t walls_around(int32_t cell) {
  int32_t walls = 0;
  for (const int32_t offset : geometry.offset) {
    walls += work.wall[cell + offset] != 0 ? 1 : 0;
  }
  return walls;
}

bool fillable(int32_t cell) {
  return work.occupancy[cell] == kEmpty && work.goal[cell] == 0 && cell != work.player_cell &&
         walls_around(cell) >= kBlindWalls;
}

// One pass over the interior cells in index order; returns whether a cell was filled.
bool fill_pass() {
  bool changed = false;
  for (int32_t row = 1; row < geometry.height - 1; ++row) {
    for (int32_t column = 1; column < geometry.width - 1; ++column) {
      const int32_t cell = row * geometry.width + column;
      if (fillable(cell)) {
        work.wall[cell] = 1;
        work.open.reset(cell);
        set_occupancy(cell, kWall);
        changed = true;
      }
    }
  }
  return changed;
}

// Unmarks every cell from which a crate can be pulled on to cell, cell included.
void pull_walk(int32_t cell) {
  work.dead[cell] = 0;
  for (const int32_t offset : geometry.offset) {
    const int32_t crate_cell = cell + offset;
    if (work.dead[crate_cell] != 0 && work.wall[crate_cell] == 0 &&
        work.wall[crate_cell + offset] == 0) {
      pull_walk(crate_cell);
    }
  }
}

struct FreezeTest {
  bool off_goal = false;

  // Whether the crate on x is blocked along the axis after axis_in (0: left and right,
  // 1: above and below). Neighbouring crates are tested along the other axis, with x held as
  // a wall meanwhile.
  bool blocked(int32_t x, int32_t axis_in) {
    off_goal = off_goal || work.goal[x] == 0;
    const int32_t axis = (axis_in + 1) % kAxes;
    const int32_t a = x - geometry.offset[axis];
    const int32_t b = x + geometry.offset[axis];
    if (work.occupancy[a] == kWall || work.occupancy[b] == kWall) {
      return true;
    }
    if (work.dead[a] != 0 && work.dead[b] != 0) {
      return true;
    }
    // Held as a wall for the moment; a crate and a wall are both not empty, so the set of
    // empty cells stays as it is.
    work.occupancy[x] = kWall;
    const bool result = (work.occupancy[a] == kCrate && blocked(a, axis)) ||
                        (work.occupancy[b] == kCrate && blocked(b, axis));
    work.occupancy[x] = kCrate;
    return result;
  }
};

}  // namespace

void fill_dead_ends() {
  while (fill_pass()) {
  }
}

void mark_dead_squares() {
  work.dead.fill(0);
  std::fill(work.dead.begin(), work.dead.begin() + geometry.cells, 1);
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (work.goal[cell] != 0 && work.dead[cell] != 0) {
      pull_walk(cell);
    }
  }
}

bool frozen_off_goal(int32_t t) {
  FreezeTest test;
  const bool frozen = test.blocked(t, 0) && test.blocked(t, 1);
  return frozen && test.off_goal;
}

}  // namespace rv7solv
