#include "path.h"

#include <algorithm>
#include <cstdint>

#include "board.h"
#include "solver_state.h"

namespace rv7solv {

namespace {

constexpr int32_t kStepFrom = 10000;
constexpr int32_t kStepTo = 10;
constexpr int32_t kUnknownDirection = 4;
constexpr int32_t kEndOfSteps = -1;

struct Walker {
  int32_t player;
  int32_t steps;  // steps made; only the first kMaxSteps are written
};

// Turns the parent links of the forward part into successor links that run from the forward
// start through the meeting into the backward part.
void link_solution() {
  const bool matched_forward = table[work.matched].verdict == kForward;
  int32_t slot = matched_forward ? work.matched : work.expanded;
  int32_t successor = matched_forward ? work.expanded : work.matched;
  while (slot != kNoSlot) {
    const int32_t parent = table[slot].parent;
    table[slot].parent = successor;
    successor = slot;
    slot = parent;
  }
}

// Shortest distances through empty cells from start (distance 1); every other cell keeps
// the cell count.
void distance_flood(int32_t start) {
  CellTable& distance = work.distance;
  std::fill(distance.begin(), distance.begin() + geometry.cells,
            static_cast<int16_t>(geometry.cells));
  std::array<int16_t, kMaxCells> queue;
  int32_t head = 0;
  int32_t tail = 0;
  distance[start] = 1;
  queue[tail++] = static_cast<int16_t>(start);
  while (head < tail) {
    const int32_t cell = queue[head++];
    for (const int32_t offset : geometry.offset) {
      const int32_t next = cell + offset;
      if (work.occupancy[next] == kEmpty && distance[next] > distance[cell] + 1) {
        distance[next] = static_cast<int16_t>(distance[cell] + 1);
        queue[tail++] = static_cast<int16_t>(next);
      }
    }
  }
}

int16_t distance_at(int32_t cell) {
  return cell >= 0 && cell < geometry.cells ? work.distance[cell]
                                            : static_cast<int16_t>(geometry.cells);
}

void append_step(Walker& walker, int32_t to, int32_t direction) {
  if (walker.steps < kMaxSteps) {
    position_list[walker.steps] = walker.player * kStepFrom + to * kStepTo + direction;
  }
  ++walker.steps;
  walker.player = to;
}

// Walks the player down the distances to the cell with distance 0, lower direction first.
void walk_to_push(Walker& walker) {
  for (int32_t j = distance_at(walker.player) - 1; j >= 0; --j) {
    int32_t direction = 0;
    while (direction < kDirections &&
           distance_at(walker.player + geometry.offset[direction]) != j) {
      ++direction;
    }
    if (direction < kDirections) {
      append_step(walker, walker.player + geometry.offset[direction], direction);
    } else {
      // No neighbour at this distance: a broken chain. Name the upper neighbour and stay on
      // the board.
      const int32_t up = walker.player + geometry.offset[kDirections - 1];
      append_step(walker, std::max(up, 0), kUnknownDirection);
    }
  }
}

// Makes the push from the occupancy table to the crates of slot.
void play_push(Walker& walker, int32_t slot) {
  CellTable scratch{};
  std::copy(work.wall.begin(), work.wall.begin() + geometry.cells, scratch.begin());
  for (int32_t i = 0; i < work.crates; ++i) {
    scratch[table[slot].key[i]] = kCrate;
  }
  int32_t vacated = 0;
  int32_t target = 0;
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    vacated = work.occupancy[cell] == kCrate && scratch[cell] != kCrate ? cell : vacated;
    target = work.occupancy[cell] == kEmpty && scratch[cell] == kCrate ? cell : target;
  }
  const int32_t behind = vacated - (target - vacated);
  distance_flood(std::clamp(behind, 0, geometry.cells - 1));
  work.distance[vacated] = 0;
  walk_to_push(walker);
  work.occupancy = scratch;
  walker.player = vacated;
  ++work.pushes;
}

}  // namespace

void rebuild_path() {
  link_solution();
  occupancy_from_walls();
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (work.start_crate[cell] != 0) {
      work.occupancy[cell] = kCrate;
    }
  }
  work.pushes = 0;
  Walker walker{work.player_cell, 0};
  for (int32_t slot = table[position_list[0]].parent; slot != kNoSlot; slot = table[slot].parent) {
    play_push(walker, slot);
  }
  position_list[std::min(walker.steps, kMaxSteps)] = kEndOfSteps;
}

}  // namespace rv7solv
