#include "game_solver.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "solver.h"

namespace levels {
namespace {

// Board geometry and cell codes of the solver's interface.
constexpr int kBoardCells = 256;
constexpr std::int16_t kFloorCode = 0;
constexpr std::int16_t kGoalCode = 1;
constexpr std::int16_t kCrateCode = 2;
constexpr std::int16_t kWallCode = 4;
constexpr std::int16_t kKeeperCode = 5;
constexpr std::int16_t kKeeperOnGoalCode = 9;
constexpr int kMalformed = 2;
constexpr std::size_t kTextRoom = 99011;

std::array<std::int16_t, kBoardCells> board_of(const Level& level) {
  std::array<std::int16_t, kBoardCells> board;
  board.fill(kWallCode);
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    const bool goal = level.at(cell) == Square::kGoal;
    std::int16_t code = level.walkable(cell) ? (goal ? kGoalCode : kFloorCode) : kWallCode;
    if (std::binary_search(level.crates.begin(), level.crates.end(), cell)) {
      code = static_cast<std::int16_t>(code + kCrateCode);  // 2, or 3 on a goal
    }
    if (cell == level.keeper) {
      code = goal ? kKeeperOnGoalCode : kKeeperCode;
    }
    board[static_cast<std::size_t>(cell)] = code;
  }
  return board;
}

}  // namespace

GameSolverAnswer run_game_solver(const Level& level) {
  GameSolverAnswer answer;
  if (!rv7solv::geometry_fits(level.width, level.height)) {
    answer.code = kMalformed;
    return answer;
  }
  const std::array<std::int16_t, kBoardCells> board = board_of(level);
  std::vector<char> text(kTextRoom);
  std::int32_t moves = 0;
  std::int32_t pushes = 0;
  rv7solv::set_geometry(level.width, level.height);
  answer.code = rv7solv::solve(board.data(), &moves, &pushes, text.data());
  answer.moves = moves;
  answer.pushes = pushes;
  answer.positions = rv7solv::positions_stored();
  if (answer.code == kGameSolverSolved) {
    answer.letters.assign(text.data(), static_cast<std::size_t>(moves));
  }
  return answer;
}

}  // namespace levels
