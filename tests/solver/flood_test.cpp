// Region floods on the solver's cell bits, checked against a plain breadth-first walk over
// the occupancy table on random walled boards of every width, narrow and wide.
#include <gtest/gtest.h>

#include <array>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "board.h"
#include "cell_bits.h"
#include "decoded_board.h"

namespace {

constexpr int kBoards = 400;
constexpr int kMovesPerBoard = 12;

// The cells reachable from start through empty cells, start included, walked one by one.
rv7solv::CellBits walked_region(int32_t start) {
  rv7solv::CellBits seen;
  std::queue<int32_t> queue;
  seen.set(start);
  queue.push(start);
  while (!queue.empty()) {
    const int32_t cell = queue.front();
    queue.pop();
    for (const int32_t offset : rv7solv::geometry.offset) {
      const int32_t next = cell + offset;
      if (rv7solv::work.occupancy[next] == rv7solv::kEmpty && !seen.test(next)) {
        seen.set(next);
        queue.push(next);
      }
    }
  }
  return seen;
}

// A walled board of random size (at most 256 cells, up to 85 columns) with random inner
// walls and crates and one player.
std::string random_drawing(std::mt19937& random) {
  const int width = std::uniform_int_distribution<int>(3, 85)(random);
  const int height = std::uniform_int_distribution<int>(3, 256 / width)(random);
  const double walls = std::uniform_real_distribution<double>(0.0, 0.4)(random);
  const double crates = std::uniform_real_distribution<double>(0.0, 0.3)(random);
  std::uniform_real_distribution<double> draw(0.0, 1.0);
  std::string drawing;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const bool edge = row == 0 || column == 0 || row == height - 1 || column == width - 1;
      const double value = draw(random);
      drawing += edge || value < walls ? '#' : (value < walls + crates ? '$' : ' ');
    }
    drawing += '\n';
  }
  return drawing;
}

std::vector<int32_t> cells_holding(int16_t value) {
  std::vector<int32_t> cells;
  for (int32_t cell = 0; cell < rv7solv::geometry.cells; ++cell) {
    if (rv7solv::work.occupancy[cell] == value) {
      cells.push_back(cell);
    }
  }
  return cells;
}

// A crate with an empty cell on one side and, on the other side, one of the player's region
// (before): the push moves it to the empty cell, the player onto its cell.
struct Move {
  int32_t vacated;
  int32_t filled;
  int32_t player;
};

std::vector<Move> pushes_and_pulls(const rv7solv::CellBits& before) {
  std::vector<Move> moves;
  for (const int32_t crate : cells_holding(rv7solv::kCrate)) {
    for (const int32_t offset : rv7solv::geometry.offset) {
      const int32_t behind = crate + offset;
      const int32_t ahead = crate - offset;
      if (before.test(behind) && rv7solv::work.occupancy[ahead] == rv7solv::kEmpty) {
        moves.push_back(Move{crate, ahead, crate});  // a push away from the player
      }
      if (before.test(behind) && before.test(behind + offset)) {
        moves.push_back(Move{crate, behind, behind + offset});  // a pull toward the player
      }
    }
  }
  return moves;
}

TEST(Flood, MarksExactlyTheCellsAWalkReachesOnEveryBoardWidth) {
  std::mt19937 random(1307);
  int wide = 0;
  for (int board = 0; board < kBoards; ++board) {
    const std::string drawing = random_drawing(random);
    load_drawing(drawing);
    wide += rv7solv::geometry.width >= rv7solv::CellBits::kWordBits ? 1 : 0;
    const std::vector<int32_t> open = cells_holding(rv7solv::kEmpty);
    if (open.empty()) {
      continue;
    }
    const int32_t start = open[random() % open.size()];
    rv7solv::CellBits marks;
    const int32_t lowest = rv7solv::flood(marks, start);
    const rv7solv::CellBits walked = walked_region(start);
    ASSERT_EQ(marks, walked) << drawing;
    EXPECT_EQ(lowest, walked.lowest(-1)) << drawing;
    // A start on a crate is marked, and the walk goes on from it.
    const std::vector<int32_t> crates = cells_holding(rv7solv::kCrate);
    if (!crates.empty()) {
      const int32_t crate = crates[random() % crates.size()];
      rv7solv::flood(marks, crate);
      ASSERT_EQ(marks, walked_region(crate)) << drawing;
    }
  }
  EXPECT_GT(wide, kBoards / 20);
}

TEST(Flood, RegionAfterAMoveIsTheRegionAFreshFloodFinds) {
  std::mt19937 random(2603);
  int moves_checked = 0;
  for (int board = 0; board < kBoards; ++board) {
    load_drawing(random_drawing(random));
    const std::vector<int32_t> open = cells_holding(rv7solv::kEmpty);
    if (open.empty()) {
      continue;
    }
    rv7solv::CellBits before;
    rv7solv::flood(before, open[random() % open.size()]);
    std::vector<Move> moves = pushes_and_pulls(before);
    std::shuffle(moves.begin(), moves.end(), random);
    moves.resize(std::min<size_t>(moves.size(), kMovesPerBoard));
    for (const Move& move : moves) {
      rv7solv::set_occupancy(move.vacated, rv7solv::kEmpty);
      rv7solv::set_occupancy(move.filled, rv7solv::kCrate);
      rv7solv::CellBits after;
      const int32_t lowest =
          rv7solv::flood_after_move(after, before, move.vacated, move.filled, move.player);
      rv7solv::CellBits fresh;
      ASSERT_EQ(lowest, rv7solv::flood(fresh, move.player));
      ASSERT_EQ(after, fresh);
      rv7solv::set_occupancy(move.filled, rv7solv::kEmpty);
      rv7solv::set_occupancy(move.vacated, rv7solv::kCrate);
      ++moves_checked;
    }
  }
  EXPECT_GT(moves_checked, kBoards);
}

TEST(CellBits, MovingASetShiftsEveryCellAcrossWordsAndDropsThoseOffTheEnds) {
  rv7solv::CellBits cells;
  for (const int32_t cell : {0, 1, 62, 63, 64, 127, 128, 200, 255}) {
    cells.set(cell);
  }
  for (const int32_t offset : {1, -1, 18, -18, 63, -63, 64, -64, 70, -70, 255, -255}) {
    rv7solv::CellBits expected;
    cells.for_each([&expected, offset](int32_t cell) {
      if (cell + offset >= 0 && cell + offset < 256) {
        expected.set(cell + offset);
      }
    });
    EXPECT_EQ(cells.moved(offset), expected) << offset;
  }
  EXPECT_EQ(cells.count(), 9);
  EXPECT_EQ(cells.lowest(-1), 0);
  EXPECT_EQ(rv7solv::CellBits().lowest(-1), -1);
  rv7solv::CellBits high;
  high.set(200);
  EXPECT_EQ(high.lowest(-1), 200);
}

}  // namespace
