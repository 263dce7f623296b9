// Exported entry points of librv7solv.so.
#include "rv7solv.h"

#include "abort.h"
#include "solver.h"

namespace {

constexpr int32_t kRefusedGeometry = 2;  // same code as any other malformed board

int32_t solve_with_current_geometry(const int16_t* board, int32_t* code, int32_t* moves,
                                    int32_t* pushes, char* text) {
  *code = rv7solv::solve(board, moves, pushes, text);
  return *code;
}

}  // namespace

extern "C" int32_t Rv7Solver(const int16_t* board, int32_t* code, int32_t* moves, int32_t* pushes,
                             char* text) {
  rv7solv::clear_abort();
  return solve_with_current_geometry(board, code, moves, pushes, text);
}

extern "C" int32_t Rv7Solver2(const int16_t* board, int32_t* code, int32_t* moves, int32_t* pushes,
                              char* text, int32_t width, int32_t height) {
  rv7solv::clear_abort();
  if (!rv7solv::geometry_fits(width, height)) {
    *moves = 0;
    *pushes = 0;
    *code = kRefusedGeometry;
    return *code;
  }
  rv7solv::set_geometry(width, height);
  return solve_with_current_geometry(board, code, moves, pushes, text);
}

extern "C" void Rv7SolverAbort() {
  rv7solv::request_abort();
}
