// Level texts in the suite's cell characters ("#", " ", ".", "$", "*", "@", "+") turned into
// solver boards; used by the solver's benchmark and tests, not part of the library.
#ifndef RV7SOLV_LEVEL_TEXT_H
#define RV7SOLV_LEVEL_TEXT_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rv7solv {

constexpr int32_t kBoardCells = 256;

struct LevelText {
  std::string name;
  std::vector<std::string> rows;
  int32_t width() const;
  int32_t height() const { return static_cast<int32_t>(rows.size()); }
};

// Splits a collection: a line starting with ";" starts a level and names it (text after
// ";" trimmed); empty lines are skipped; rows before the first name belong to a level named
// "". Levels without rows are dropped.
std::vector<LevelText> parse_levels(std::string_view text);

// The board as the game sends it: 256 cells of 4 (wall), then every row and column of the
// level in row order with the numeric code of its character (an unknown character keeps 4).
std::array<int16_t, kBoardCells> board_codes(const LevelText& level);

}  // namespace rv7solv

#endif  // RV7SOLV_LEVEL_TEXT_H
