#include "board.h"

#include <algorithm>

namespace rv7solv {

Geometry geometry;
Work work;
std::array<Slot, kTableSlots> table;
std::array<int32_t, kListSize> position_list;

namespace {

enum class Cell { kFloor, kGoal, kCrate, kCrateOnGoal, kWall, kPlayer, kPlayerOnGoal };

// Numeric codes and their level-file characters; anything else is floor.
Cell classify(int16_t code) {
  switch (code) {
    case 1:
    case '.':
      return Cell::kGoal;
    case 2:
    case '$':
      return Cell::kCrate;
    case 3:
    case '*':
      return Cell::kCrateOnGoal;
    case 4:
    case '#':
      return Cell::kWall;
    case 5:
    case '@':
      return Cell::kPlayer;
    case 9:
    case '+':
      return Cell::kPlayerOnGoal;
    default:
      return Cell::kFloor;
  }
}

void decode_cell(int32_t cell, Cell kind) {
  const bool wall = kind == Cell::kWall;
  const bool goal =
      kind == Cell::kGoal || kind == Cell::kCrateOnGoal || kind == Cell::kPlayerOnGoal;
  const bool crate = kind == Cell::kCrate || kind == Cell::kCrateOnGoal;
  const bool player = kind == Cell::kPlayer || kind == Cell::kPlayerOnGoal;
  work.wall[cell] = wall ? 1 : 0;
  work.goal[cell] = goal ? 1 : 0;
  work.start_crate[cell] = crate ? 1 : 0;
  work.occupancy[cell] = wall ? kWall : (crate ? kCrate : kEmpty);
  work.crates += crate ? 1 : 0;
  work.goals += goal ? 1 : 0;
  if (player) {
    ++work.players;
    work.player_cell = cell;
  }
}

// The four neighbours of cell in direction order, -1 for one that lies off the board.
std::array<int32_t, kDirections> neighbours_on_board(int32_t cell) {
  const int32_t row = cell / geometry.width;
  const int32_t column = cell % geometry.width;
  return {column > 0 ? cell - 1 : -1, row < geometry.height - 1 ? cell + geometry.width : -1,
          column < geometry.width - 1 ? cell + 1 : -1, row > 0 ? cell - geometry.width : -1};
}

bool on_edge(int32_t cell) {
  const auto neighbours = neighbours_on_board(cell);
  return std::any_of(neighbours.begin(), neighbours.end(), [](int32_t next) { return next < 0; });
}

// The search reads the neighbours of every cell that the player, a crate or a goal can
// occupy, and never tests the board edge. Floods the non-wall cells connected to the edge and
// reports whether the player, a crate or a goal lies among them.
bool level_is_open() {
  CellTable& seen = work.flood_d;
  std::array<int16_t, kMaxCells> stack{};
  int32_t top = 0;
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (on_edge(cell) && work.wall[cell] == 0) {
      seen[cell] = 1;
      stack[top++] = static_cast<int16_t>(cell);
    }
  }
  bool open = false;
  while (top > 0) {
    const int32_t cell = stack[--top];
    open = open || work.goal[cell] != 0 || work.start_crate[cell] != 0;
    open = open || cell == work.player_cell;
    for (const int32_t next : neighbours_on_board(cell)) {
      if (next >= 0 && work.wall[next] == 0 && seen[next] == 0) {
        seen[next] = 1;
        stack[top++] = static_cast<int16_t>(next);
      }
    }
  }
  std::fill(seen.begin(), seen.end(), 0);
  return open;
}

}  // namespace

void clear_state() {
  work = Work{};
  // A slot whose key starts with 0 and whose verdict is 0 is already free; leaving it alone
  // spares writing every page of a freshly loaded table.
  for (Slot& slot : table) {
    if (slot.key[0] != 0 || slot.verdict != kVerdictNone) {
      slot = Slot{};
    }
  }
  position_list.fill(0);
}

void decode_board(const int16_t* board) {
  std::copy(board, board + geometry.cells, work.input.begin());
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    decode_cell(cell, classify(work.input[cell]));
  }
}

int32_t validate_board() {
  if (work.crates > kMaxCrates) {
    return kTooManyCrates;
  }
  if (work.goals == 0 || work.goals != work.crates || work.players != 1) {
    return kMalformed;
  }
  return level_is_open() ? kMalformed : 0;
}

Region flood(CellTable& marks, int32_t start) {
  std::fill(marks.begin(), marks.begin() + geometry.cells, 0);
  std::array<int16_t, kMaxCells> stack;
  int32_t top = 0;
  Region region{start, 1};
  marks[start] = 1;
  stack[top++] = static_cast<int16_t>(start);
  while (top > 0) {
    const int32_t cell = stack[--top];
    for (const int32_t offset : geometry.offset) {
      const int32_t next = cell + offset;
      if (work.occupancy[next] == kEmpty && marks[next] == 0) {
        marks[next] = 1;
        ++region.count;
        region.lowest = std::min(region.lowest, next);
        stack[top++] = static_cast<int16_t>(next);
      }
    }
  }
  return region;
}

void set_cells(std::span<const int16_t> cells, int16_t value) {
  for (const int16_t cell : cells) {
    work.occupancy[cell] = value;
  }
}

void occupancy_from_walls() {
  std::copy(work.wall.begin(), work.wall.begin() + geometry.cells, work.occupancy.begin());
}

}  // namespace rv7solv
