// The solver's board input: any size and any cell codes give one of the documented result
// codes, no counts without a solution, and every solution (code 6) replays legally to a
// solved board with the move and push counts the solver reported.
//
// Input: width and height (one byte each), then one byte a cell. Boards with more than a few
// crates are searched only for what the input says about the limits (code 1), so that every
// input stays quick.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "replay_check.h"
#include "rv7solv.h"

namespace {

constexpr int kMaxSide = 32;
constexpr int kMaxCratesSearched = 3;
constexpr int kMaxCratesAccepted = 13;
constexpr std::size_t kTextRoom = 99011;
constexpr int kSolved = 6;

// Cell codes a byte stands for: the numeric codes, their characters, and codes that count as
// floor.
constexpr std::array<int16_t, 16> kCodes = {0,   1,   2,   3,   4,   5,   9, ' ',
                                            '.', '$', '*', '#', '@', '+', 7, -3};

bool IsCrate(int16_t code) {
  const char c = CellCharacter(code);
  return c == '$' || c == '*';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) {
    return 0;
  }
  const int32_t width = 1 + data[0] % kMaxSide;
  const int32_t height = 1 + data[1] % kMaxSide;
  std::vector<int16_t> board(static_cast<std::size_t>(width * height), 4);
  std::vector<std::string> rows(static_cast<std::size_t>(height), std::string(width, '#'));
  int crates = 0;
  for (std::size_t i = 0; i < board.size() && i + 2 < size; ++i) {
    board[i] = kCodes[data[i + 2] % kCodes.size()];
    rows[i / width][i % width] = CellCharacter(board[i]);
    crates += IsCrate(board[i]);
  }
  if (crates > kMaxCratesSearched && crates <= kMaxCratesAccepted) {
    return 0;
  }
  int32_t code = -1;
  int32_t moves = -1;
  int32_t pushes = -1;
  std::string text(kTextRoom, '\0');
  const int32_t returned =
      Rv7Solver2(board.data(), &code, &moves, &pushes, text.data(), width, height);
  FuzzCheck(returned == code, "returned code");
  FuzzCheck(code == 1 || code == 2 || code == 3 || code == 4 || code == kSolved, "known code");
  FuzzCheck(board.size() <= 256 || code == 2, "too large a board is malformed");
  if (code != kSolved) {
    FuzzCheck(moves == 0 && pushes == 0, "no counts without a solution");
    return 0;
  }
  FuzzCheck(moves >= 0 && static_cast<std::size_t>(moves) <= kTextRoom, "move count");
  const ReplayResult replay = replay_steps(rows, std::string_view(text).substr(0, moves));
  FuzzCheck(replay.legal && replay.solved, "the solution replays and solves");
  FuzzCheck(replay.moves == moves && replay.pushes == pushes, "reported counts");
  return 0;
}
