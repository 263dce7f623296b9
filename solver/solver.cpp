#include "solver.h"

#include <span>

#include "board.h"
#include "search.h"
#include "solver_state.h"
#include "steps.h"

namespace rv7solv {

bool geometry_fits(int32_t width, int32_t height) {
  return width > 0 && height > 0 && static_cast<int64_t>(width) * height <= kMaxCells;
}

void set_geometry(int32_t width, int32_t height) {
  geometry.width = width;
  geometry.height = height;
  geometry.cells = width * height;
  geometry.offset[1] = width;
  geometry.offset[3] = -width;
}

int32_t solve(const int16_t* board, int32_t* moves, int32_t* pushes, char* text) {
  clear_state();
  decode_board(board);
  int32_t result = validate_board();
  if (result == 0) {
    result = search();
  }
  *moves = 0;
  *pushes = result == kSolved ? work.pushes : 0;
  if (result != kSolved) {
    return result;
  }
  *moves = count_steps(position_list, kMaxSteps);
  if (*moves == kMaxSteps) {
    return kTooLong;
  }
  write_step_text(std::span<const int32_t>(position_list.data(), *moves), text);
  return result;
}

int32_t positions_stored() {
  return work.positions;
}

}  // namespace rv7solv
