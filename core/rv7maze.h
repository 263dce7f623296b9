// Level files and the level grid: finding the file of the current level, reading it into
// the level grid (normalised and trimmed), and the reduced form used to find similar levels.
//
// Layout below the data directory (paths use "\" as separator):
//   Mazes\S          the directory of level set S
//   Mazes\S\B.n      level n of set S; B is S, except "Screens", "Harune1" and "Harune2",
//                    whose base name drops the last character ("Mazes\Screens\Screen.12")
//   Mazes\S\B.n.rv7  that level's score file (rv7score.h)
#pragma once

#include <array>
#include <string>
#include <string_view>

// Grid shape shared by the level grid and the board: 45 rows of 45 one-byte cells.
inline constexpr int kGridRows = 45;
inline constexpr int kGridColumns = 45;
// The widest level: one column is kept for the terminating zero byte of each row.
inline constexpr int kMaxLevelWidth = kGridColumns - 1;
inline constexpr int kMaxLevelHeight = kGridRows;

// Cell characters. Any other byte is kept as it is and is neither floor nor goal.
inline constexpr char kWall = '#';
inline constexpr char kFloor = ' ';
inline constexpr char kGoal = '.';
inline constexpr char kCrate = '$';
inline constexpr char kCrateOnGoal = '*';
inline constexpr char kPlayer = '@';
inline constexpr char kPlayerOnGoal = '+';

using GridRow = std::array<char, kGridColumns>;
using Grid = std::array<GridRow, kGridRows>;  // Grid[row][column], row 0 at the top

// The level grid: the level as loaded. After GetMaze each row 0..H-1 holds exactly W cell
// characters followed by a zero byte in column W; only the H x W rectangle has meaning.
// Written only by GetMaze and ReduceMaze; while no level is loaded the duplicate finder
// may use it as scratch space.
Grid& LevelGrid();

// The board the engine plays on (the live copy of the level grid). GetMaze fills the part
// outside the level with wall so that no step can leave it; the engine copies the level's
// rectangle into it when a level starts.
Grid& Board();

// Height H (rows in use, 0..45) and width W (columns in use, 0..44) of the level grid.
// Both are 0 when the level file was missing or refused.
int MazeHeight();
int MazeWidth();

// What the last GetMaze found.
enum class MazeLoad {
  kLoaded,    // the level was read (it may still be degenerate)
  kNotFound,  // no level file, one that is no regular file, or one that could not be read
  kTooLarge,  // refused: beyond the grid's limits, or a file larger than kMaxReadBytes
};
MazeLoad MazeLoadState();

// Row `row` of the level grid as its W characters; empty when row is outside 0..H-1.
std::string_view LevelRow(int row);

// The relative path of the current level's file, "Mazes\<set>\<base>.<level>", built from
// the current set name and level number of rv7ini. At most 259 characters.
std::string MazePath();
// The same path for level `level` of set `set`.
std::string MazePathOf(std::string_view set, int level);

// Loads the current level:
// - drops the previous level's solution records and bookmark (rv7score), always;
// - reads the level file into the level grid and sets H and W; a current set that is no
//   safe set name (rv7ini.h), a file that cannot be opened or read or is no regular file
//   (kNotFound), or a level beyond the limits (kTooLarge: more than 45 grid rows, a row wider
//   than 44 characters once the common indentation is removed, or a file larger than
//   kMaxReadBytes) leaves the empty level: H = W = 0, both grids blank, no score file read,
//   so no score file can be written for it either (rv7score.h);
// - removes the indentation, turns everything outside the outer walls into wall (level
//   grid and board), trims surplus outer wall rows and columns down to one on each edge;
// - reads the level's score file (GetStats).
// Degenerate levels (no wall anywhere, nothing but wall) trim down to a single wall row or
// column on the affected axis, at least 1 x 1, never below.
void GetMaze();

// Replaces the level grid, H and W by the reduced form of the level loaded last: every
// floor cell becomes wall, then the outside is walled and the result trimmed as in
// GetMaze, leaving the box around goals, crates and player framed by one wall. Also
// rewrites the board. Traces nothing beyond entry and exit and reads no score file.
void ReduceMaze();
