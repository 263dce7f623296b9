// Test set-up of the solver's internal tables from a drawing (tests linking rv7solv_impl).
#ifndef RV7SOLV_TESTS_DECODED_BOARD_H
#define RV7SOLV_TESTS_DECODED_BOARD_H

#include <string_view>

#include "board.h"
#include "level_text.h"
#include "solve_helper.h"
#include "solver.h"
#include "solver_state.h"

// Clears the solver's storage and decodes drawing with the drawing's geometry.
inline void load_drawing(std::string_view drawing) {
  const rv7solv::LevelText level{"", rows_of(drawing)};
  const auto board = rv7solv::board_codes(level);
  rv7solv::set_geometry(level.width(), level.height());
  rv7solv::clear_state();
  rv7solv::decode_board(board.data());
}

inline int32_t cell_at(int32_t row, int32_t column) {
  return row * rv7solv::geometry.width + column;
}

#endif  // RV7SOLV_TESTS_DECODED_BOARD_H
