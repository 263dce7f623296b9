// The game's own solver, linked in, as a judge of new levels: it gets the board exactly as
// the game's Solver button sends it, and it reports how many positions it stored.
#pragma once

#include <string>

#include "level.h"

namespace levels {

// Result code with which the game's solver reports a solution.
inline constexpr int kGameSolverSolved = 6;

struct GameSolverAnswer {
  int code = 0;  // the solver's result code
  int moves = 0;
  int pushes = 0;
  int positions = 0;  // positions its search stored
  std::string letters;
};

// Solves the level from its start with the game's solver: the level's squares in row
// order, every other square of the 256-square board a wall, the width and height of the
// level. Levels of more than 256 squares are refused with the solver's malformed-board
// code 2, as the solver itself refuses them.
GameSolverAnswer run_game_solver(const Level& level);

}  // namespace levels
