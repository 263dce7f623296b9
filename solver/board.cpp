#include "board.h"

#include <algorithm>

#include "position_table.h"

namespace rv7solv {

Geometry geometry;
Work work;
std::array<Slot, kTableSlots> table;
std::array<int32_t, kListSize> position_list;
std::array<CellBits, kListSize> list_regions;
std::array<CellBits, kCorralQueueSize> corral_regions;

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
  CellBits seen;
  std::array<int16_t, kMaxCells> stack{};
  int32_t top = 0;
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (on_edge(cell) && work.wall[cell] == 0) {
      seen.set(cell);
      stack[top++] = static_cast<int16_t>(cell);
    }
  }
  bool open = false;
  while (top > 0) {
    const int32_t cell = stack[--top];
    open = open || work.goal[cell] != 0 || work.start_crate[cell] != 0;
    open = open || cell == work.player_cell;
    for (const int32_t next : neighbours_on_board(cell)) {
      if (next >= 0 && work.wall[next] == 0 && !seen.test(next)) {
        seen.set(next);
        stack[top++] = static_cast<int16_t>(next);
      }
    }
  }
  return open;
}

// The region grown from seed by whole rings of neighbours through passable cells until it
// grows no more. For boards of 64 columns and more, whose up and down moves cross words.
CellBits grow_wide(CellBits region, const CellBits& passable) {
  for (;;) {
    const CellBits grown = neighbours_on_board(region) & passable;
    if (grown == region) {
      return region;
    }
    region = grown;
  }
}

// The region grown from seed through passable (see CellBits::grown_within), on as few words
// as the board needs. For boards narrower than 64 columns.
CellBits grown_on_board(const CellBits& seed, const CellBits& passable,
                        const CellBits* goal = nullptr) {
  const auto width = static_cast<uint32_t>(geometry.width);
  switch ((geometry.cells - 1) / CellBits::kWordBits) {
    case 0:
      return seed.grown_within<1>(passable, width, goal);
    case 1:
      return seed.grown_within<2>(passable, width, goal);
    case 2:
      return seed.grown_within<3>(passable, width, goal);
    default:
      return seed.grown_within<4>(passable, width, goal);
  }
}

// The eight cells around a cell in ring order: up, up-right, right, down-right, down,
// down-left, left, up-left. The four neighbours are the even ones.
constexpr int32_t kRingCells = 8;

// The 3 x 3 block of cells around a cell as nine bits, row by row from the upper left (the
// middle cell is bit 4), and the bit of each ring cell in it, in ring order.
constexpr int32_t kBlockCells = 9;
constexpr int32_t kBlockSide = 3;
constexpr std::array<int32_t, kRingCells> kRingBitInBlock = {1, 2, 5, 8, 7, 6, 3, 0};

// For each pattern of empty ring cells (bit i for ring cell i): whether the empty
// neighbours all lie on one unbroken stretch of empty ring cells, so that they reach each
// other around the middle cell without passing through it.
constexpr std::array<bool, 1 << kRingCells> kNeighboursJoinedAround = [] {
  std::array<bool, 1 << kRingCells> joined{};
  for (uint32_t pattern = 0; pattern < joined.size(); ++pattern) {
    const auto empty = [pattern](int32_t i) { return ((pattern >> (i % kRingCells)) & 1U) != 0; };
    int32_t first_gap = 0;
    while (first_gap < kRingCells && empty(first_gap)) {
      ++first_gap;
    }
    // Walk once round from the first gap, counting the stretches that hold a neighbour.
    int32_t stretches_with_neighbours = 0;
    bool neighbour_in_stretch = false;
    for (int32_t step = 1; step <= kRingCells; ++step) {
      const int32_t i = first_gap + step;
      if (empty(i)) {
        neighbour_in_stretch = neighbour_in_stretch || i % 2 == 0;
      } else {
        stretches_with_neighbours += neighbour_in_stretch ? 1 : 0;
        neighbour_in_stretch = false;
      }
    }
    joined[pattern] = first_gap == kRingCells || stretches_with_neighbours <= 1;
  }
  return joined;
}();

// The same for each pattern of empty cells in the 3 x 3 block.
constexpr std::array<bool, 1 << kBlockCells> kJoinedAroundBlock = [] {
  std::array<bool, 1 << kBlockCells> joined{};
  for (uint32_t block = 0; block < joined.size(); ++block) {
    uint32_t ring = 0;
    for (int32_t i = 0; i < kRingCells; ++i) {
      ring |= ((block >> kRingBitInBlock[i]) & 1U) << i;
    }
    joined[block] = kNeighboursJoinedAround[ring];
  }
  return joined;
}();

// The empty cells among the four neighbours of cell.
CellBits empty_neighbours(int32_t cell) {
  CellBits around;
  for (const int32_t offset : geometry.offset) {
    if (work.empty.test(cell + offset)) {
      around.set(cell + offset);
    }
  }
  return around;
}

// Whether a crate now standing on cell leaves the empty cells around it joined: every path
// that used to cross the cell can go round it instead.
bool crate_splits_nothing(int32_t cell) {
  const int32_t w = geometry.width;
  const uint32_t block = work.empty.three_from(cell - w - 1) |
                         work.empty.three_from(cell - 1) << kBlockSide |
                         work.empty.three_from(cell + w - 1) << (2 * kBlockSide);
  return kJoinedAroundBlock[block];
}

}  // namespace

void clear_state() {
  work = Work{};
  begin_solve_table();
}

void decode_board(const int16_t* board) {
  std::copy(board, board + geometry.cells, work.input.begin());
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    decode_cell(cell, classify(work.input[cell]));
  }
  refresh_cell_bits();
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

int32_t flood(CellBits& marks, int32_t start) {
  CellBits seed;
  seed.set(start);
  return flood_from(marks, seed, start);
}

int32_t flood_from(CellBits& marks, const CellBits& seed, int32_t start) {
  CellBits passable = work.empty;
  passable.set(start);
  CellBits region = seed;
  region.set(start);
  marks = geometry.width < CellBits::kWordBits ? grown_on_board(region, passable)
                                               : grow_wide(region, passable);
  return marks.lowest(start);
}

int32_t flood_after_move(CellBits& marks, const CellBits& before, int32_t vacated, int32_t filled,
                         int32_t start) {
  if (geometry.width >= CellBits::kWordBits) {
    return flood(marks, start);
  }
  CellBits passable = work.empty;
  passable.set(start);
  CellBits seed;
  seed.set(start);
  if (before.test(filled) && !crate_splits_nothing(filled)) {
    // The crate may have cut the region. Grow from the player until it reaches every empty
    // neighbour of the crate: then it cut nothing after all. Else the growth has found the
    // whole region, a part of the one before.
    const CellBits around = empty_neighbours(filled);
    seed = grown_on_board(seed, passable, &around);
    if (!seed.holds(around)) {
      marks = seed;
      return marks.lowest(start);
    }
  }
  // The region before the move, the filled cell aside, stays in one piece, and the vacated
  // cell joins it next to the player: grow from all of it.
  seed |= before;
  seed.reset(filled);
  seed.set(vacated);
  marks = grown_on_board(seed, passable);
  return marks.lowest(start);
}

CellBits neighbours_on_board(const CellBits& cells) {
  const int32_t width = geometry.width;
  if (width < CellBits::kWordBits) {
    return cells.with_neighbours(static_cast<uint32_t>(width));
  }
  return cells | cells.moved(1) | cells.moved(-1) | cells.moved(width) | cells.moved(-width);
}

void set_cells(std::span<const uint8_t> cells, int16_t value) {
  for (const uint8_t cell : cells) {
    set_occupancy(cell, value);
  }
}

void occupancy_from_walls() {
  std::copy(work.wall.begin(), work.wall.begin() + geometry.cells, work.occupancy.begin());
  work.empty = work.open;
}

void refresh_cell_bits() {
  work.empty.clear();
  work.open.clear();
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    work.empty.assign(cell, work.occupancy[cell] == kEmpty);
    work.open.assign(cell, work.wall[cell] == 0);
  }
}

}  // namespace rv7solv
