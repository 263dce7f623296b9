// Random boards of random codes and sizes: every call ends with a known code, writes no more
// step text than it reports, and every solution it reports replays.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "replay_check.h"
#include "rv7solv.h"
#include "solve_helper.h"

namespace {

constexpr int kBoards = 600;
constexpr int kMaxSide = 24;
constexpr int kMaxCells = 256;
constexpr int kMaxCratesTried = 3;  // keeps each search small
constexpr int kTooManyCrates = 14;

// Codes drawn for a cell: walls and floor in both forms, and codes that count as floor.
constexpr std::array<int16_t, 12> kFillCodes = {4, '#', 4, 0, ' ', 0, ' ', 0, 7, 'A', -3, 0};

struct RandomBoard {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<int16_t> codes;
};

// Cells that may receive a crate, goal or player: inner cells of a walled board, else any.
std::vector<int32_t> placeable_cells(const RandomBoard& board, bool walled) {
  std::vector<int32_t> cells;
  for (int32_t i = 0; i < board.width * board.height; ++i) {
    const int32_t row = i / board.width;
    const int32_t column = i % board.width;
    const bool edge =
        row == 0 || column == 0 || row == board.height - 1 || column == board.width - 1;
    if (!walled || !edge) {
      cells.push_back(i);
    }
  }
  return cells;
}

// Walls and floor (one board in two closed by walls), then up to kMaxCratesTried crates and
// as many goals (now and then more crates than the solver takes) and one player on distinct
// cells; one board in eight holds any 16-bit values.
RandomBoard make_board(std::mt19937& random) {
  RandomBoard board;
  board.width = std::uniform_int_distribution<int>(1, kMaxSide)(random);
  board.height = std::uniform_int_distribution<int>(1, kMaxSide)(random);
  board.codes.resize(static_cast<size_t>(board.width * board.height));
  if (random() % 8 == 0) {
    std::uniform_int_distribution<int> any(INT16_MIN, INT16_MAX);
    for (int16_t& code : board.codes) {
      code = static_cast<int16_t>(any(random));
    }
    return board;
  }
  const bool walled = random() % 4 != 0;
  std::uniform_int_distribution<size_t> fill(0, kFillCodes.size() - 1);
  for (int16_t& code : board.codes) {
    code = kFillCodes[fill(random)];
  }
  for (int32_t i = 0; i < board.width * board.height; ++i) {
    board.codes[i] = walled ? 4 : board.codes[i];
  }
  std::vector<int32_t> cells = placeable_cells(board, walled);
  for (int32_t cell : cells) {
    board.codes[cell] = kFillCodes[fill(random)];
  }
  std::shuffle(cells.begin(), cells.end(), random);
  const int crates =
      random() % 16 == 0
          ? std::uniform_int_distribution<int>(kTooManyCrates, 2 * kTooManyCrates)(random)
          : std::uniform_int_distribution<int>(0, kMaxCratesTried)(random);
  const std::array<int16_t, 5> kPlaced = {2, '$', 1, '.', 5};
  for (size_t i = 0; i < cells.size() && i < static_cast<size_t>(2 * crates + 1); ++i) {
    const bool player = i == static_cast<size_t>(2 * crates);
    board.codes[cells[i]] = player ? kPlaced[4] : kPlaced[(i % 2) * 2 + random() % 2];
  }
  return board;
}

std::vector<std::string> rows_of_board(const RandomBoard& board) {
  std::vector<std::string> rows(static_cast<size_t>(board.height));
  for (int32_t i = 0; i < board.width * board.height; ++i) {
    rows[static_cast<size_t>(i / board.width)] += CellCharacter(board.codes[i]);
  }
  return rows;
}

void check_answer(const RandomBoard& board, const Answer& answer, int index) {
  const bool fits = board.width * board.height <= kMaxCells;
  ASSERT_TRUE(answer.code == 1 || answer.code == 2 || answer.code == 3 || answer.code == 4 ||
              answer.code == 6)
      << "board " << index << " code " << answer.code;
  EXPECT_EQ(answer.returned, answer.code) << "board " << index;
  EXPECT_TRUE(answer.text_guarded) << "board " << index;
  if (!fits) {
    EXPECT_EQ(answer.code, 2) << "board " << index;
  }
  if (answer.code != 6) {
    EXPECT_EQ(answer.moves, 0) << "board " << index;
    EXPECT_EQ(answer.pushes, 0) << "board " << index;
    return;
  }
  const ReplayResult replay = replay_steps(rows_of_board(board), answer.text);
  EXPECT_TRUE(replay.legal && replay.solved) << "board " << index << " " << answer.text;
  EXPECT_EQ(replay.moves, answer.moves) << "board " << index;
  EXPECT_EQ(replay.pushes, answer.pushes) << "board " << index;
}

TEST(RandomBoards, NeverCrashOrWritePastTheReportedSteps) {
  std::mt19937 random(20261207);
  int searched = 0;
  std::array<int, 8> counts{};
  for (int index = 0; index < kBoards; ++index) {
    const RandomBoard board = make_board(random);
    const Answer answer = call_solver(&Rv7Solver2, board.codes.data(), board.width, board.height);
    check_answer(board, answer, index);
    searched += answer.code >= 3 ? 1 : 0;
    counts[static_cast<size_t>(std::clamp(answer.code, 0, 7))]++;
  }
  // The draw must reach the search and the crate limit often enough to mean something.
  EXPECT_GE(searched, kBoards / 10);
  EXPECT_GE(counts[6], kBoards / 50);
  EXPECT_GE(counts[1], 1);
}

}  // namespace
