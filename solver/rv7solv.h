// Public entry points of the solver library librv7solv.so.
//
// The board crosses as cell codes in row order (cell = row * width + column), at most 256 of
// them. Accepted codes, numeric or as the level-file character:
//   0 ' ' floor, 1 '.' goal, 2 '$' crate, 3 '*' crate on a goal, 4 '#' wall, 5 '@' player,
//   9 '+' player on a goal; any other value counts as floor.
// Result codes: 1 more than 13 crates; 2 malformed board (no goal, goals differ from crates,
// not exactly one player, level open to the board edge, or a size above 256 cells);
// 3 no solution; 4 search store full; 6 solved; 7 solved but longer than 99 011 steps;
// 8 stopped by Rv7SolverAbort.
#ifndef RV7SOLV_H
#define RV7SOLV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define RV7SOLV_API __attribute__((visibility("default")))
#else
#define RV7SOLV_API
#endif

// Solves the board with the library's current geometry (18 x 14 until the first
// Rv7Solver2 call, then the geometry of the last accepted Rv7Solver2 call).
// Reads width * height codes from board. Writes the result code to *code, the step count to
// *moves (0 unless solved; 99 012 for code 7), the push count to *pushes, and on code 6
// exactly *moves letters "l", "d", "r", "u" to text with no terminating zero (text must hold
// 99 011 characters). Returns the result code. One call at a time per process.
RV7SOLV_API int32_t Rv7Solver(const int16_t* board, int32_t* code, int32_t* moves, int32_t* pushes,
                              char* text);

// Sets the geometry to width x height, then solves as Rv7Solver. A size of fewer than one
// column or row or more than 256 cells is refused with code 2 and keeps the old geometry.
RV7SOLV_API int32_t Rv7Solver2(const int16_t* board, int32_t* code, int32_t* moves, int32_t* pushes,
                               char* text, int32_t width, int32_t height);

// Asks the solve running on another thread to stop: it returns at its next expansion with
// code 8, moves and pushes 0 and no step text. Every call of Rv7Solver or Rv7Solver2 starts
// by dropping an earlier request, so a request made while no solve runs has no effect; a
// caller that may race with the start of a call repeats the request until the call returns.
RV7SOLV_API void Rv7SolverAbort(void);

#ifdef __cplusplus
}
#endif

#endif  // RV7SOLV_H
