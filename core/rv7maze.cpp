#include "rv7maze.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "files.h"
#include "line_pieces.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7score.h"

namespace {

constexpr char kLogModule[] = "rv7maze";

constexpr std::size_t kMaxPathLength = 259;
// Trace rows are numbered from 1, modulo 10, so that a column of digits lines up.
constexpr int kRowNumberModulus = 10;

// Sets whose level files drop the last character of the set name.
constexpr std::string_view kShortBaseSets[] = {"Screens", "Harune1", "Harune2"};

constexpr std::string_view kTagTitle = "Title:";
constexpr std::string_view kTagAuthor = "Author:";
constexpr std::string_view kTagComment = "Comment:";
constexpr std::string_view kTagCommentEnd = "Comment-End:";

Grid g_level;
Grid g_board;
int g_height = 0;
int g_width = 0;
MazeLoad g_load = MazeLoad::kNotFound;

// The grid rows of a level file as read, before any normalisation. At most
// kMaxLevelHeight rows are kept; `row_count` counts all of them.
struct RawLevel {
  std::vector<std::string> rows;
  int row_count = 0;
  int width = 0;          // the longest row kept
  bool complete = false;  // the file was read to its end within kMaxReadBytes
};

enum class LineKind { kEmpty, kShortComment, kGridRow, kTag, kText };

void fill_blank(Grid& grid) {
  for (GridRow& row : grid) {
    row.fill(kFloor);
  }
}

// True when `line` begins with `tag`, letter case ignored.
bool starts_with_tag(std::string_view line, std::string_view tag) {
  if (line.size() < tag.size()) {
    return false;
  }
  return std::equal(tag.begin(), tag.end(), line.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  });
}

LineKind classify(std::string_view line) {
  if (line.empty()) {
    return LineKind::kEmpty;
  }
  if (line.front() == ';' || line.front() == '/') {
    return LineKind::kShortComment;
  }
  if (line.front() == kFloor || line.front() == kWall) {
    return LineKind::kGridRow;
  }
  for (std::string_view tag : {kTagTitle, kTagAuthor, kTagComment, kTagCommentEnd}) {
    if (starts_with_tag(line, tag)) {
      return LineKind::kTag;
    }
  }
  return LineKind::kText;
}

// Drops every trailing byte whose value, read as a signed 8-bit number, is 32 or less:
// blanks, tabs, carriage returns, control characters and the bytes 128 to 255.
std::string_view strip_trailing(std::string_view line) {
  while (!line.empty() && static_cast<signed char>(line.back()) <= ' ') {
    line.remove_suffix(1);
  }
  return line;
}

void keep_grid_row(RawLevel& raw, std::string_view row) {
  ++raw.row_count;
  if (raw.row_count > kMaxLevelHeight) {
    return;  // counted only, so that the level is refused as too high
  }
  raw.rows.emplace_back(row);
  raw.width = std::max(raw.width, static_cast<int>(row.size()));
}

// Handles one stripped line; `in_comment` is the comment-block state across lines. Traces
// under `routine`, the loader that reads the file.
void take_line(RawLevel& raw, std::string_view line, bool& in_comment, const char* routine) {
  switch (classify(line)) {
    case LineKind::kEmpty:
      return;
    case LineKind::kShortComment:
      RV7_LOG_AS(routine, kLogTrace, "short comment=%.*s", static_cast<int>(line.size()),
                 line.data());
      return;
    case LineKind::kGridRow:
      if (!in_comment) {
        keep_grid_row(raw, line);
        return;
      }
      break;
    case LineKind::kTag:
      RV7_LOG_AS(routine, kLogTrace, "tag=%.*s", static_cast<int>(line.size()), line.data());
      if (starts_with_tag(line, kTagComment)) {
        in_comment = true;
      } else if (starts_with_tag(line, kTagCommentEnd)) {
        in_comment = false;
      }
      return;
    case LineKind::kText:
      if (!in_comment) {
        RV7_LOG_AS(routine, kLogTrace, "ignore=%.*s", static_cast<int>(line.size()), line.data());
        return;
      }
      break;
  }
  RV7_LOG_AS(routine, kLogTrace, "comment=%.*s", static_cast<int>(line.size()), line.data());
}

RawLevel read_level_rows(FILE* file, const char* routine) {
  RawLevel raw;
  bool in_comment = false;
  raw.complete = read_line_pieces(file, [&raw, &in_comment, routine](std::string_view piece) {
    take_line(raw, strip_trailing(piece), in_comment, routine);
  });
  return raw;
}

// Shifts every row left by the smallest column that holds the first "#" of a row.
void remove_indentation(RawLevel& raw) {
  std::size_t indent = std::string::npos;
  for (const std::string& row : raw.rows) {
    indent = std::min(indent, row.find(kWall));
  }
  if (indent == std::string::npos || indent == 0) {
    return;
  }
  for (std::string& row : raw.rows) {
    row.erase(0, std::min(indent, row.size()));
  }
  raw.width -= static_cast<int>(indent);
}

// Each kept row with its terminating zero byte; the rest of the grid stays blank.
void copy_rows(const RawLevel& raw, Grid& working) {
  fill_blank(working);
  for (std::size_t r = 0; r < raw.rows.size(); ++r) {
    const std::string& row = raw.rows[r];
    std::copy(row.begin(), row.end(), working[r].begin());
    working[r][row.size()] = '\0';
  }
}

// Makes cells "#" from `first` towards `last` (inclusive, either direction) until a "#" is
// met; `cell(i)` gives the cell at step i.
template <typename CellAt>
void wall_until_wall(int first, int last, CellAt cell) {
  const int step = first <= last ? 1 : -1;
  for (int i = first; i != last + step; i += step) {
    char& c = cell(i);
    if (c == kWall) {
      return;
    }
    c = kWall;
  }
}

// Step 9 of the load: whatever lies before the first or after the last wall of its row
// (board) or its column (level grid) becomes wall; the board's walls then carry over.
void wall_outside(Grid& level, Grid& board) {
  for (int c = 0; c < kGridColumns; ++c) {
    auto cell = [&level, c](int r) -> char& { return level[r][c]; };
    wall_until_wall(0, kGridRows - 1, cell);
    wall_until_wall(kGridRows - 1, 0, cell);
  }
  for (int r = 0; r < kGridRows; ++r) {
    auto cell = [&board, r](int c) -> char& { return board[r][c]; };
    wall_until_wall(0, kGridColumns - 1, cell);
    wall_until_wall(kGridColumns - 1, 0, cell);
  }
  for (int r = 0; r < kGridRows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      if (board[r][c] == kWall) {
        level[r][c] = kWall;
      }
    }
  }
}

// Terminates rows 0..H-1 at column W; traces each row under `routine` unless it is nullptr.
void terminate_rows(const char* routine) {
  for (int r = 0; r < g_height; ++r) {
    g_level[r][g_width] = '\0';
    if (routine != nullptr) {
      RV7_LOG_AS(routine, kLogTrace, "/*%d*/\"%s\"\n", (r + 1) % kRowNumberModulus,
                 g_level[r].data());
    }
  }
}

bool row_is_wall(int r) {
  return std::all_of(g_level[r].begin(), g_level[r].begin() + g_width,
                     [](char c) { return c == kWall; });
}

bool column_is_wall(int c) {
  for (int r = 0; r < g_height; ++r) {
    if (g_level[r][c] != kWall) {
      return false;
    }
  }
  return true;
}

// Step 11: drops outer wall rows and columns while two stand side by side at an edge, so
// that one stays. Every loop needs two lines to compare, so it ends at one at the latest.
void trim_walls() {
  while (g_height >= 2 && row_is_wall(g_height - 1) && row_is_wall(g_height - 2)) {
    --g_height;
  }
  while (g_height >= 2 && row_is_wall(0) && row_is_wall(1)) {
    std::move(g_level.begin() + 1, g_level.begin() + g_height, g_level.begin());
    --g_height;
  }
  while (g_width >= 2 && column_is_wall(g_width - 1) && column_is_wall(g_width - 2)) {
    --g_width;
    for (int r = 0; r < g_height; ++r) {
      g_level[r][g_width] = '\0';
    }
  }
  while (g_width >= 2 && column_is_wall(0) && column_is_wall(1)) {
    for (int r = 0; r < g_height; ++r) {
      std::move(g_level[r].begin() + 1, g_level[r].end(), g_level[r].begin());
      g_level[r].back() = kFloor;
    }
    --g_width;
  }
}

// Steps 8 to 11 on `working` (height H and width W already set); the rows are traced under
// `routine` unless it is nullptr.
void normalise(const Grid& working, const char* routine) {
  std::copy(working.begin(), working.begin() + g_height, g_level.begin());
  std::copy(working.begin(), working.begin() + g_height, g_board.begin());
  wall_outside(g_level, g_board);
  terminate_rows(routine);
  trim_walls();
}

bool within_limits(const RawLevel& raw) {
  return raw.row_count <= kMaxLevelHeight && raw.width <= kMaxLevelWidth;
}

// Steps 6 to 11 on the rows read, traced under `routine`; returns false (and leaves the
// empty level) for a level beyond the grid's limits.
bool load_rows(RawLevel& raw, const char* routine) {
  remove_indentation(raw);
  RV7_LOG_AS(routine, kLogInfo, "maze size, y=%d, x=%d\n", raw.row_count, raw.width);
  if (!within_limits(raw)) {
    RV7_LOG_AS(routine, kLogInfo, "maze too large, refused, limit y=%d, x=%d", kMaxLevelHeight,
               kMaxLevelWidth);
    g_load = MazeLoad::kTooLarge;
    return false;
  }
  g_height = raw.row_count;
  g_width = raw.width;
  Grid working;
  copy_rows(raw, working);
  normalise(working, routine);
  return true;
}

}  // namespace

Grid& LevelGrid() {
  return g_level;
}

Grid& Board() {
  return g_board;
}

int MazeHeight() {
  return g_height;
}

int MazeWidth() {
  return g_width;
}

MazeLoad MazeLoadState() {
  return g_load;
}

std::string_view LevelRow(int row) {
  if (row < 0 || row >= g_height) {
    return {};
  }
  return std::string_view(g_level[row].data(), g_width);
}

std::string MazePathOf(std::string_view set, int level) {
  std::string_view base = set;
  if (std::find(std::begin(kShortBaseSets), std::end(kShortBaseSets), base) !=
      std::end(kShortBaseSets)) {
    base.remove_suffix(1);
  }
  std::string path =
      "Mazes\\" + std::string(set) + "\\" + std::string(base) + "." + std::to_string(level);
  path.resize(std::min(path.size(), kMaxPathLength));
  return path;
}

std::string MazePath() {
  RV7_ENTRY();
  std::string path = MazePathOf(current_set(), current_level());
  RV7_EXIT();
  return path;
}

namespace {

// Reads and loads the level file at `path`, tracing under `routine`, the loader; the load
// state tells what became of it.
void read_level_file(const std::string& path, const char* routine) {
  ScopedFile file(OpenReadFile(path, "r"));
  if (!file) {
    RV7_LOG_AS(routine, kLogInfo, "not read, rc=%d", errno);
    g_load = errno == EFBIG ? MazeLoad::kTooLarge : MazeLoad::kNotFound;
    return;
  }
  RawLevel raw = read_level_rows(file.get(), routine);
  const bool read_error = std::ferror(file.get()) != 0;
  RV7_LOG_AS(routine, kLogInfo, "close file=%s", path.c_str());
  file.reset();
  if (!raw.complete) {
    RV7_LOG_AS(routine, kLogInfo, "not read to its end, refused");
    g_load = read_error ? MazeLoad::kNotFound : MazeLoad::kTooLarge;
    return;
  }
  if (load_rows(raw, routine)) {
    g_load = MazeLoad::kLoaded;
    GetStats();
  }
}

}  // namespace

void GetMaze() {
  RV7_ENTRY();
  ClearStats();
  fill_blank(g_level);
  fill_blank(g_board);
  g_height = 0;
  g_width = 0;
  g_load = MazeLoad::kNotFound;
  const std::string path = MazePath();
  RV7_LOG(kLogInfo, "open file=%s", path.c_str());
  if (IsSafeSetName(current_set())) {
    read_level_file(path, __func__);
  } else {
    RV7_LOG(kLogInfo, "refused, set=%s", current_set());
  }
  RV7_EXIT();
}

void ReduceMaze() {
  RV7_ENTRY();
  Grid working;
  fill_blank(working);
  for (int r = 0; r < g_height; ++r) {
    std::copy(g_level[r].begin(), g_level[r].begin() + g_width + 1, working[r].begin());
    std::replace(working[r].begin(), working[r].begin() + g_width, kFloor, kWall);
  }
  normalise(working, nullptr);
  RV7_EXIT();
}
