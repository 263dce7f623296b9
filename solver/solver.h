// One solve on the library's static storage: the work behind the exported entry points.
#ifndef RV7SOLV_SOLVER_H
#define RV7SOLV_SOLVER_H

#include <cstdint>

namespace rv7solv {

// Whether a width x height board fits the cell tables (at least 1 x 1, at most 256 cells).
bool geometry_fits(int32_t width, int32_t height);

// Makes width x height the current geometry; the caller has checked geometry_fits.
void set_geometry(int32_t width, int32_t height);

// Clears all working storage, decodes board (current geometry), validates and searches it.
// Sets *moves and *pushes, writes exactly *moves step letters to text on code 6, and returns
// the result code.
int32_t solve(const int16_t* board, int32_t* moves, int32_t* pushes, char* text);

// Positions the main search stored in the last solve (both sides together).
int32_t positions_stored();

}  // namespace rv7solv

#endif  // RV7SOLV_SOLVER_H
