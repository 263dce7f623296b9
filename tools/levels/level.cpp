#include "level.h"

#include <algorithm>
#include <cctype>

#include "checks.h"

namespace levels {
namespace {

constexpr char kOutside = '~';  // beyond the end of a short row

bool starts_with_tag(std::string_view line, std::string_view tag) {
  if (line.size() < tag.size()) {
    return false;
  }
  return std::equal(tag.begin(), tag.end(), line.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

// Bytes from 128 up count as control characters, as they do for a signed char.
std::string_view trim_right(std::string_view line) {
  while (!line.empty() && static_cast<signed char>(line.back()) <= ' ') {
    line.remove_suffix(1);
  }
  return line;
}

std::vector<std::string> grid_rows(std::string_view text) {
  std::vector<std::string> rows;
  bool in_comment = false;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = trim_right(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == ';' || line[0] == '/') {
      continue;
    }
    if (line[0] == ' ' || line[0] == '#') {
      if (!in_comment) {
        rows.emplace_back(line);
      }
    } else if (starts_with_tag(line, "Comment-End:")) {
      in_comment = false;
    } else if (starts_with_tag(line, "Comment:")) {
      in_comment = true;
    }
  }
  return rows;
}

void remove_indentation(std::vector<std::string>& rows) {
  std::size_t indent = std::string::npos;
  for (const std::string& row : rows) {
    indent = std::min(indent, row.find('#'));
  }
  if (indent == std::string::npos || indent == 0) {
    return;
  }
  for (std::string& row : rows) {
    row.erase(0, std::min(indent, row.size()));
  }
}

// The keeper's reach, walking over everything but walls; nullopt when it leaves the grid.
std::optional<std::vector<bool>> keeper_reach(const std::vector<std::string>& grid, int width,
                                              int start) {
  const int height = static_cast<int>(grid.size());
  std::vector<bool> seen(static_cast<std::size_t>(width * height), false);
  std::vector<int> stack{start};
  seen[static_cast<std::size_t>(start)] = true;
  while (!stack.empty()) {
    const int cell = stack.back();
    stack.pop_back();
    const int x = cell % width;
    const int y = cell / width;
    if (x == 0 || y == 0 || x == width - 1 || y == height - 1 ||
        grid[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == kOutside) {
      return std::nullopt;
    }
    for (const Direction& d : kDirections) {
      const int next = (y + d.dy) * width + x + d.dx;
      const char c = grid[static_cast<std::size_t>(y + d.dy)][static_cast<std::size_t>(x + d.dx)];
      if (c != '#' && !seen[static_cast<std::size_t>(next)]) {
        seen[static_cast<std::size_t>(next)] = true;
        stack.push_back(next);
      }
    }
  }
  return seen;
}

ParseResult failure(std::string reason) {
  return {std::nullopt, std::move(reason)};
}

// The square under a grid character, or nullopt for a character no level holds.
std::optional<Square> square_of(char c) {
  switch (c) {
    case '#':
    case kOutside:
      return Square::kWall;
    case '.':
    case '*':
    case '+':
      return Square::kGoal;
    case ' ':
    case '$':
    case '@':
      return Square::kFloor;
    default:
      return std::nullopt;
  }
}

// Fills squares, crates and keeper from the padded grid; false on a foreign character.
// A second keeper sets the keeper to -2.
bool read_cells(const std::vector<std::string>& grid, Level& level) {
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    const char c = grid[static_cast<std::size_t>(cell / level.width)]
                       [static_cast<std::size_t>(cell % level.width)];
    const std::optional<Square> square = square_of(c);
    if (!square) {
      return false;
    }
    level.squares.push_back(*square);
    if (c == '$' || c == '*') {
      level.crates.push_back(cell);
    }
    if (c == '@' || c == '+') {
      level.keeper = level.keeper == -1 ? cell : -2;
    }
  }
  return true;
}

// Squares the keeper can never reach become wall, so nothing outside the level is floor.
void wall_off_unreached(Level& level, const std::vector<bool>& reach) {
  for (std::size_t cell = 0; cell < level.squares.size(); ++cell) {
    if (!reach[cell]) {
      level.squares[cell] = Square::kWall;
    }
  }
  std::erase_if(level.crates, [&](int cell) { return !reach[static_cast<std::size_t>(cell)]; });
}

// Plays one letter: moves the keeper and any pushed crate and counts the step. Returns why
// the letter was refused, or an empty text.
std::string play_letter(const Level& level, char letter, int& keeper, std::vector<bool>& crate,
                        Replay& counts) {
  const auto* d =
      std::find_if(std::begin(kDirections), std::end(kDirections),
                   [&](const Direction& dir) { return dir.step == letter || dir.push == letter; });
  if (d == std::end(kDirections)) {
    return "not a step letter";
  }
  const int next = neighbour(level, keeper, *d);
  const bool push = letter == d->push;
  if (!level.walkable(next) || crate[static_cast<std::size_t>(next)] != push) {
    return push ? "no crate to push" : "square not free";
  }
  if (push) {
    const int beyond = neighbour(level, next, *d);
    if (!level.walkable(beyond) || crate[static_cast<std::size_t>(beyond)]) {
      return "crate blocked";
    }
    crate[static_cast<std::size_t>(next)] = false;
    crate[static_cast<std::size_t>(beyond)] = true;
    ++counts.pushes;
  }
  keeper = next;
  ++counts.moves;
  return {};
}

}  // namespace

int Level::goal_count() const {
  return static_cast<int>(std::count(squares.begin(), squares.end(), Square::kGoal));
}

int neighbour(const Level& level, int cell, const Direction& d) {
  return cell + d.dy * level.width + d.dx;
}

ParseResult parse_level(std::string_view text) {
  std::vector<std::string> grid = grid_rows(text);
  remove_indentation(grid);
  if (grid.empty()) {
    return failure("no grid rows");
  }
  std::size_t width = 0;
  for (const std::string& row : grid) {
    width = std::max(width, row.size());
  }
  if (grid.size() > kMaxRows || width > kMaxColumns) {
    return failure("grid larger than 45 rows or 44 columns");
  }
  for (std::string& row : grid) {
    row.resize(width, kOutside);
  }
  Level level;
  level.width = static_cast<int>(width);
  level.height = static_cast<int>(grid.size());
  if (!read_cells(grid, level)) {
    return failure("unknown character in the grid");
  }
  if (level.keeper < 0) {
    return failure("the level needs exactly one keeper");
  }
  const auto reach = keeper_reach(grid, level.width, level.keeper);
  if (!reach) {
    return failure("the keeper can walk off the grid");
  }
  wall_off_unreached(level, *reach);
  if (level.crates.empty() || static_cast<int>(level.crates.size()) != level.goal_count()) {
    return failure("crate and goal counts differ, or no crate");
  }
  return {std::move(level), {}};
}

Replay replay_steps(const Level& level, std::string_view letters) {
  Replay result;
  std::vector<bool> crate(level.squares.size(), false);
  for (int cell : level.crates) {
    crate[static_cast<std::size_t>(cell)] = true;
  }
  int keeper = level.keeper;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    result.reason = play_letter(level, letters[i], keeper, crate, result);
    if (!result.reason.empty()) {
      result.stopped_at = i;
      return result;
    }
  }
  result.valid = true;
  result.stopped_at = letters.size();
  result.solved = true;
  for (std::size_t cell = 0; cell < crate.size(); ++cell) {
    result.solved = result.solved && (!crate[cell] || level.squares[cell] == Square::kGoal);
  }
  return result;
}

}  // namespace levels

namespace levels {
namespace {

char level_char(const Level& level, int cell) {
  const bool goal = level.at(cell) == Square::kGoal;
  if (cell == level.keeper) {
    return goal ? '+' : '@';
  }
  if (std::binary_search(level.crates.begin(), level.crates.end(), cell)) {
    return goal ? '*' : '$';
  }
  return goal ? '.' : ' ';
}

}  // namespace

std::string format_level(const Level& level) {
  const std::vector<int> inside = needless_walls(level);
  std::string text;
  for (int y = 0; y < level.height; ++y) {
    std::string row;
    for (int x = 0; x < level.width; ++x) {
      const int cell = y * level.width + x;
      if (level.walkable(cell)) {
        row.push_back(level_char(level, cell));
      } else {
        const bool drawn =
            touches_floor(level, cell) || std::binary_search(inside.begin(), inside.end(), cell);
        row.push_back(drawn ? '#' : ' ');
      }
    }
    row.erase(row.find_last_not_of(' ') + 1);
    text += row + "\n";
  }
  return text;
}

}  // namespace levels
