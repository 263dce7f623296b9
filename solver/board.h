// Board decoding, validation and region floods on the solver's cell tables.
#ifndef RV7SOLV_BOARD_H
#define RV7SOLV_BOARD_H

#include <cstdint>
#include <span>

#include "solver_state.h"

namespace rv7solv {

// Copies geometry.cells codes from board into work.input and fills the wall, goal,
// start-crate and occupancy tables, the crate, goal and player counts and the player cell.
void decode_board(const int16_t* board);

// Checks the decoded board. Returns 0 when it can be searched, else kTooManyCrates (first)
// or kMalformed (no goal, goals differ from crates, not exactly one player, or a player,
// crate or goal in an area open to the board edge, whose neighbours would lie off the board).
int32_t validate_board();

// Sets marks to the cells reachable from start through cells empty in the occupancy table,
// start included whatever it holds. Returns the lowest of them, the normalised player cell
// of the region.
int32_t flood(CellBits& marks, int32_t start);

// The same from a seed: a set of empty cells known to lie in start's region, grown to the
// whole region in fewer rounds than from start alone.
int32_t flood_from(CellBits& marks, const CellBits& seed, int32_t start);

// The same for the player's region after one crate move: the crate left `vacated` for
// `filled` (both already changed in the occupancy table) and the player stands on `start`,
// which is `vacated` or lies in `before`, the region that held the player before the move.
// Gives the same marks as a flood from start, but grows them from what is known to stay in
// the region, which takes far fewer rounds.
int32_t flood_after_move(CellBits& marks, const CellBits& before, int32_t vacated, int32_t filled,
                         int32_t start);

// The cells next to a cell of cells (one step in a direction), those of cells included.
CellBits neighbours_on_board(const CellBits& cells);

// Sets the occupancy of cell to value, keeping work.empty in step.
inline void set_occupancy(int32_t cell, int16_t value) {
  work.occupancy[cell] = value;
  work.empty.assign(cell, value == kEmpty);
}

// Sets the occupancy of every cell in cells to value.
void set_cells(std::span<const uint8_t> cells, int16_t value);

// Sets the occupancy table to the wall table over the whole board.
void occupancy_from_walls();

// Recomputes work.empty and work.open from the occupancy and wall tables, after they were
// written directly.
void refresh_cell_bits();

}  // namespace rv7solv

#endif  // RV7SOLV_BOARD_H
