// Static working storage of the solver: geometry, cell tables, position table and list.
// Nothing is allocated; one solve at a time.
#ifndef RV7SOLV_SOLVER_STATE_H
#define RV7SOLV_SOLVER_STATE_H

#include <array>
#include <cstdint>

#include "cell_bits.h"

namespace rv7solv {

constexpr int32_t kMaxCells = 256;
constexpr int32_t kMaxCrates = 13;
constexpr int32_t kKeyLength = kMaxCrates + 1;
constexpr int32_t kTableSlots = 330017;
constexpr int32_t kListSize = 99013;
constexpr int32_t kListLast = kListSize - 1;
constexpr int32_t kMaxSteps = kListSize - 1;  // step count that turns a solution into code 7
constexpr int32_t kCorralQueueSize = 1001;
constexpr int32_t kCorralGiveUp = 1000;
constexpr int32_t kDirections = 4;
constexpr int32_t kNoSlot = -1;
constexpr int32_t kDefaultWidth = 18;
constexpr int32_t kDefaultHeight = 14;

// Occupancy table values.
constexpr int16_t kEmpty = 0;
constexpr int16_t kWall = 1;
constexpr int16_t kCrate = 2;

// Slot verdicts: the main search's sides and the corral test's kept verdicts.
constexpr int16_t kVerdictNone = 0;
constexpr int16_t kForward = 1;
constexpr int16_t kBackward = 2;
constexpr int16_t kForwardEscape = 3;
constexpr int16_t kForwardDeadlock = 4;
constexpr int16_t kBackwardEscape = 5;
constexpr int16_t kBackwardDeadlock = 6;

// Result codes of the entry points.
constexpr int32_t kTooManyCrates = 1;
constexpr int32_t kMalformed = 2;
constexpr int32_t kNoSolution = 3;
constexpr int32_t kStoreFull = 4;
constexpr int32_t kSolved = 6;
constexpr int32_t kTooLong = 7;
constexpr int32_t kAborted = 8;

using CellTable = std::array<int16_t, kMaxCells>;
// A key holds cell numbers below 256, so a byte holds each entry.
using Key = std::array<uint8_t, kKeyLength>;

// Board geometry; lives as long as the library stays loaded.
struct Geometry {
  int32_t width = kDefaultWidth;
  int32_t height = kDefaultHeight;
  int32_t cells = kDefaultWidth * kDefaultHeight;
  // Direction numbers: 0 left, 1 down, 2 right, 3 up.
  std::array<int32_t, kDirections> offset = {-1, kDefaultWidth, 1, -kDefaultWidth};
};

struct Slot {
  Key key;  // free while key[0] is 0 (or while the slot belongs to an earlier solve)
  int16_t verdict;
  uint32_t solve;  // the solve that wrote the slot; a slot of an earlier solve is free
  int32_t parent;
};

// Per-direction list counters of the main search.
struct Side {
  int32_t next;       // next entry to expand
  int32_t level_end;  // end of the level being expanded
  int32_t free;       // next free entry
  int32_t width;      // width of the last finished level
};

// Everything one solve works on; cleared at the start of every call.
struct Work {
  CellTable input, wall, goal, start_crate, occupancy, distance, dead;
  CellBits empty;  // the cells whose occupancy is kEmpty, kept in step with the table
  CellBits open;   // the cells that are no wall
  CellBits flood_a, flood_b, flood_c, flood_d;
  int32_t crates, goals, players, player_cell;
  Side forward, backward;
  int32_t positions, free_area, corral_cap, pushes;
  int32_t matched, expanded;
  // Slots in use as the table counts them: one for every stored position and every corral
  // position and verdict, also for the verdicts that share one slot (see corral.cpp). The
  // table is full when this reaches kTableSlots.
  int32_t slots_in_use;
  // Corral test: crate list, its length and its own queue.
  std::array<int32_t, kMaxCrates> corral_crates;
  int32_t corral_count, queue_next, queue_free;
  std::array<int32_t, kCorralQueueSize> corral_queue;
  bool table_full;  // a store found the position table full
};

extern Geometry geometry;
extern Work work;
extern std::array<Slot, kTableSlots> table;
extern std::array<int32_t, kListSize> position_list;  // also the step list after a solve
// The player's region of each listed position, kept from when it was stored, so that its
// expansion needs no flood.
extern std::array<CellBits, kListSize> list_regions;
// The same for the entries of the corral queue.
extern std::array<CellBits, kCorralQueueSize> corral_regions;

// Clears the work tables and empties the position table; keeps the geometry. The slots of
// earlier solves count as free from now on, so the table itself is not written.
void clear_state();

}  // namespace rv7solv

#endif  // RV7SOLV_SOLVER_STATE_H
