// A recording stand-in for librv7solv.so, loaded by the game exactly as the real library.
// Rv7Solver2 writes what it was given to the file named by RV7_STANDIN_RECORD (width,
// height, the result code found on entry, then all 256 cells of the game's board, one number
// a line) and answers as RV7_STANDIN_ANSWER says: "code moves pushes", with `moves` letters
// "r" as step text when the code is 6. Built a second time without Rv7Solver2
// (RV7_STANDIN_WITHOUT_SOLVER2), as a library that lacks its entry point.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define STANDIN_API extern "C" __attribute__((visibility("default")))

#ifndef RV7_STANDIN_WITHOUT_SOLVER2
namespace {

constexpr int kBoardCells = 256;
constexpr int32_t kSolved = 6;

void Record(const int16_t* board, int32_t code, int32_t width, int32_t height) {
  const char* path = std::getenv("RV7_STANDIN_RECORD");
  FILE* file = path != nullptr ? std::fopen(path, "w") : nullptr;
  if (file == nullptr) {
    return;
  }
  std::fprintf(file, "%d\n%d\n%d\n", width, height, code);
  for (int cell = 0; cell < kBoardCells; ++cell) {
    std::fprintf(file, "%d\n", board[cell]);
  }
  std::fclose(file);
}

}  // namespace

STANDIN_API int32_t Rv7Solver2(const int16_t* board, int32_t* code, int32_t* moves,
                               int32_t* pushes, char* text, int32_t width, int32_t height) {
  Record(board, *code, width, height);
  const char* answer = std::getenv("RV7_STANDIN_ANSWER");
  if (answer == nullptr || std::sscanf(answer, "%d %d %d", code, moves, pushes) != 3) {
    *code = 2;
    *moves = 0;
    *pushes = 0;
  }
  if (*code == kSolved && *moves > 0) {
    std::memset(text, 'r', static_cast<std::size_t>(*moves));
  }
  return *code;
}
#endif

STANDIN_API int32_t Rv7Solver(const int16_t*, int32_t* code, int32_t* moves, int32_t* pushes,
                              char*) {
  *code = 2;
  *moves = 0;
  *pushes = 0;
  return *code;
}

STANDIN_API void Rv7SolverAbort() {}
