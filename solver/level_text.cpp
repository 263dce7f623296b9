#include "level_text.h"

#include <algorithm>

namespace rv7solv {

namespace {

constexpr char kNameMark = ';';
constexpr int16_t kWallCode = 4;

int16_t code_of(char c) {
  switch (c) {
    case ' ':
      return 0;
    case '.':
      return 1;
    case '$':
      return 2;
    case '*':
      return 3;
    case '@':
      return 5;
    case '+':
      return 9;
    default:
      return kWallCode;
  }
}

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

int32_t LevelText::width() const {
  size_t widest = 0;
  for (const std::string& row : rows) {
    widest = std::max(widest, row.size());
  }
  return static_cast<int32_t>(widest);
}

std::vector<LevelText> parse_levels(std::string_view text) {
  std::vector<LevelText> levels(1);
  while (!text.empty()) {
    const auto end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (!line.empty() && line.front() == kNameMark) {
      levels.push_back(LevelText{trimmed(line.substr(1)), {}});
    } else if (!line.empty()) {
      levels.back().rows.emplace_back(line);
    }
  }
  std::erase_if(levels, [](const LevelText& level) { return level.rows.empty(); });
  return levels;
}

std::array<int16_t, kBoardCells> board_codes(const LevelText& level) {
  std::array<int16_t, kBoardCells> board;
  board.fill(kWallCode);
  const int32_t width = level.width();
  for (int32_t row = 0; row < level.height(); ++row) {
    const std::string& line = level.rows[row];
    for (int32_t column = 0; column < static_cast<int32_t>(line.size()); ++column) {
      const int32_t cell = row * width + column;
      if (cell < kBoardCells) {
        board[cell] = code_of(line[column]);
      }
    }
  }
  return board;
}

}  // namespace rv7solv
