// Calls a solver entry point on level texts with a guarded step-text buffer.
#ifndef RV7SOLV_TESTS_SOLVE_HELPER_H
#define RV7SOLV_TESTS_SOLVE_HELPER_H

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

using Solver2Fn = int32_t (*)(const int16_t*, int32_t*, int32_t*, int32_t*, char*, int32_t,
                              int32_t);

struct Answer {
  int32_t code = 0;
  int32_t returned = 0;  // the function's own return value
  int32_t moves = 0;
  int32_t pushes = 0;
  std::string text;           // the first `moves` characters of the text buffer
  bool text_guarded = false;  // every byte from position `moves` on kept its canary value
  bool operator==(const Answer&) const = default;
};

// Readable test output for an answer.
void PrintTo(const Answer& answer, std::ostream* out);

// Room the library may use for step text, and the canary bytes watched behind it.
constexpr size_t kTextRoom = 99011;
constexpr size_t kCanaryBytes = 64;

// Calls solver on board (width x height) with outputs preset to -1 and a text buffer filled
// with canary bytes.
Answer call_solver(Solver2Fn solver, const int16_t* board, int32_t width, int32_t height);

// Rows of a level drawn in cell characters, one row a line.
std::vector<std::string> rows_of(std::string_view drawing);

// Builds the game's board for the drawing and calls solver on it.
Answer solve_drawing(Solver2Fn solver, std::string_view drawing);

#endif  // RV7SOLV_TESTS_SOLVE_HELPER_H
