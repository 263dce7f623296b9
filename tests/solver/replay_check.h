// A small push simulator, written apart from the solver, that replays step letters on a
// level text and tells whether they are legal and solve it.
#ifndef RV7SOLV_TESTS_REPLAY_CHECK_H
#define RV7SOLV_TESTS_REPLAY_CHECK_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ReplayResult {
  bool legal = true;    // every step went onto a free cell or pushed a crate onto one
  bool solved = false;  // every crate stands on a goal at the end
  int32_t moves = 0;
  int32_t pushes = 0;
};

// Replays steps ("l", "d", "r", "u", either case) from the position drawn in rows ("#", " ",
// ".", "$", "*", "@", "+"). Cells outside the rows count as walls. Stops at the first illegal
// step or unknown letter.
ReplayResult replay_steps(const std::vector<std::string>& rows, std::string_view steps);

// The level-file character of a solver cell code (numeric or character form); codes that
// count as floor give " ".
char CellCharacter(int16_t code);

#endif  // RV7SOLV_TESTS_REPLAY_CHECK_H
