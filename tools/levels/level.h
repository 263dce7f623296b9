// Levels as the level checker sees them: a grid of walls, floor and goals, the crates and
// the keeper; the reader of level files, and the push simulator that replays step letters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace levels {

// Largest grid the suite loads: 45 rows of at most 44 columns.
inline constexpr int kMaxRows = 45;
inline constexpr int kMaxColumns = 44;

enum class Square : std::uint8_t { kWall, kFloor, kGoal };

struct Level {
  int width = 0;
  int height = 0;
  std::vector<Square> squares;  // row by row, width * height
  std::vector<int> crates;      // cell indices (row * width + column), ascending
  int keeper = -1;              // cell index

  Square at(int cell) const { return squares[static_cast<std::size_t>(cell)]; }
  bool walkable(int cell) const { return at(cell) != Square::kWall; }
  int goal_count() const;
};

struct ParseResult {
  std::optional<Level> level;
  std::string error;  // why the text is no playable level; empty on success
};

// Reads the text of a level file. Grid rows are the lines that begin with a blank or "#"
// outside a "Comment:" ... "Comment-End:" block; ";" and "/" lines, tags and other text
// are skipped. Trailing blanks and control characters are removed. Refuses, with a reason,
// grids beyond 45 x 44, characters other than "# .$*@+", anything but exactly one keeper,
// no crate, crate and goal counts that differ, and a keeper who can walk off the grid.
ParseResult parse_level(std::string_view text);

// The four directions with their step letters: plain steps "u d l r", pushes "U D L R".
struct Direction {
  int dx;
  int dy;
  char step;
  char push;
};
inline constexpr Direction kDirections[4] = {
    {0, -1, 'u', 'U'}, {0, 1, 'd', 'D'}, {-1, 0, 'l', 'L'}, {1, 0, 'r', 'R'}};

// Cell index one step from cell in direction d; the grid is closed, so callers only ask
// from cells that are not on the border.
int neighbour(const Level& level, int cell, const Direction& d);

struct Replay {
  bool valid = false;   // every letter was a legal step of the kind its case says
  bool solved = false;  // valid, and every crate ended on a goal
  int moves = 0;
  int pushes = 0;
  std::size_t stopped_at = 0;  // index of the first refused letter when not valid
  std::string reason;          // why it stopped; empty when valid
};

// Plays the letters from the level's start. A lower-case letter must move the keeper onto
// a free square, an upper-case letter must push a crate onto a free square beyond it.
Replay replay_steps(const Level& level, std::string_view letters);

}  // namespace levels

namespace levels {

// The grid rows of a level file for the level, one line each: walls that touch the floor
// (also at a corner) as "#", floor, goals, crates and keeper in their characters, and
// everything outside the level blank, trailing blanks left out. Walls that lie inside
// the level without touching floor are drawn too, so the file always reads back as the
// same level.
std::string format_level(const Level& level);

}  // namespace levels
