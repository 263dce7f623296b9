#include "solve_helper.h"

#include <algorithm>

#include "level_text.h"

namespace {

constexpr char kCanary = '\x5a';

}  // namespace

void PrintTo(const Answer& answer, std::ostream* out) {
  *out << "{code " << answer.code << ", returned " << answer.returned << ", moves " << answer.moves
       << ", pushes " << answer.pushes << ", text \"" << answer.text.substr(0, 80) << "\", guarded "
       << answer.text_guarded << "}";
}

Answer call_solver(Solver2Fn solver, const int16_t* board, int32_t width, int32_t height) {
  std::vector<char> text(kTextRoom + kCanaryBytes, kCanary);
  Answer answer;
  answer.code = -1;
  answer.moves = -1;
  answer.pushes = -1;
  answer.returned =
      solver(board, &answer.code, &answer.moves, &answer.pushes, text.data(), width, height);
  const size_t written = std::clamp<int32_t>(answer.moves, 0, kTextRoom);
  answer.text.assign(text.begin(), text.begin() + written);
  answer.text_guarded =
      std::all_of(text.begin() + written, text.end(), [](char c) { return c == kCanary; });
  return answer;
}

std::vector<std::string> rows_of(std::string_view drawing) {
  std::vector<std::string> rows;
  for (const rv7solv::LevelText& level : rv7solv::parse_levels(drawing)) {
    rows.insert(rows.end(), level.rows.begin(), level.rows.end());
  }
  return rows;
}

Answer solve_drawing(Solver2Fn solver, std::string_view drawing) {
  const rv7solv::LevelText level{"", rows_of(drawing)};
  const auto board = rv7solv::board_codes(level);
  return call_solver(solver, board.data(), level.width(), level.height());
}
