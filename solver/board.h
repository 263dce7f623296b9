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

struct Region {
  int32_t lowest;  // lowest cell index of the region: the normalised player cell
  int32_t count;   // number of cells in the region
};

// Clears table over the whole board, then marks with 1 the cells reachable from start through
// cells empty in the occupancy table. start is marked whatever it holds.
Region flood(CellTable& table, int32_t start);

// Sets the occupancy of every cell in cells to value.
void set_cells(std::span<const int16_t> cells, int16_t value);

// Sets the occupancy table to the wall table over the whole board.
void occupancy_from_walls();

}  // namespace rv7solv

#endif  // RV7SOLV_BOARD_H
