// A level file of any bytes, loaded and played: the loaded level keeps to the grid and is
// closed by wall, its reduced form too, and steps, undo, redo and the quick repeat on it keep
// crates, goals and the player consistent; undoing every step gives the level back.
//
// Input: the level file's bytes, then optionally a zero byte and the actions, one a byte:
// "u", "d", "l", "r" (either case) a step, "-" undo, "+" redo, "q" the quick repeat played
// to its end; other bytes are skipped.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "engine.h"
#include "files.h"
#include "fuzz_support.h"
#include "rv7ini.h"
#include "rv7maze.h"
#include "rv7score.h"

namespace {

constexpr char kLevelFile[] = "Mazes/Set/Set.1";
constexpr char kScoreFile[] = "Mazes/Set/Set.1.rv7";

void CheckLoadedShape() {
  const int height = MazeHeight();
  const int width = MazeWidth();
  FuzzCheck(height >= 0 && height <= kMaxLevelHeight && width >= 0 && width <= kMaxLevelWidth,
            "size within the grid");
  FuzzCheck((height == 0) == (width == 0), "an empty level is empty both ways");
  for (int row = 0; row < height; ++row) {
    const char* cells = LevelGrid()[row].data();
    FuzzCheck(std::memchr(cells, '\0', kGridColumns) == cells + width, "row ends at W");
    for (int col = 0; col < width; ++col) {
      const bool edge = row == 0 || row == height - 1 || col == 0 || col == width - 1;
      FuzzCheck(!edge || cells[col] == kWall, "the level is closed by wall");
    }
  }
}

// Crates, stored crates and the player on the board agree with the engine's counters.
void CheckBoard() {
  int crates = 0;
  int stored = 0;
  for (int row = 0; row < MazeHeight(); ++row) {
    for (int col = 0; col < MazeWidth(); ++col) {
      const char cell = Board()[row][col];
      crates += cell == kCrate || cell == kCrateOnGoal;
      stored += cell == kCrateOnGoal;
    }
  }
  FuzzCheck(crates == crate_count(), "crates are neither made nor lost");
  FuzzCheck(stored == stored_count(), "stored count matches the board");
  const char here = Board()[player_row()][player_col()];
  FuzzCheck(move_count() == 0 || here == kPlayer || here == kPlayerOnGoal, "player on his square");
  FuzzCheck(push_count() >= 0 && push_count() <= move_count(), "counters");
}

void PlayQuickRepeat() {
  set_selected_delay(0);
  if (GoQuick() != 0) {
    return;
  }
  while (replay_mode() != ReplayMode::kNone) {
    replay_step();
  }
}

void Act(char action) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(action)));
  if (lower == 'u' || lower == 'd' || lower == 'l' || lower == 'r') {
    step(*DirectionOfLetter(lower));
  } else if (action == '-') {
    undo();
  } else if (action == '+') {
    redo();
  } else if (action == 'q') {
    PlayQuickRepeat();
  }
}

bool BoardShowsLevel() {
  for (int row = 0; row < MazeHeight(); ++row) {
    if (std::memcmp(Board()[row].data(), LevelGrid()[row].data(), MazeWidth()) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzDirectory();
  static const bool made = MakeDirectory("Mazes") == 0 && MakeDirectory("Mazes\\Set") == 0;
  FuzzCheck(made, "level directory");
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  WriteFuzzFile(kLevelFile, input.substr(0, split));
  const std::string_view actions =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  std::remove(kScoreFile);
  set_current_set("Set");
  set_current_level(1);
  set_player_name("P");

  GetMaze();
  CheckLoadedShape();
  InitLevel(true);
  CopyLevelToBoard();
  CheckBoard();
  for (const char action : actions) {
    Act(action);
    CheckBoard();
  }
  if (!level_complete()) {
    while (move_count() > 0 && undo() == 0) {
    }
    FuzzCheck(move_count() == 0 && BoardShowsLevel(), "undo gives the level back");
  }
  ReduceMaze();
  CheckLoadedShape();
  ClearStats();
  return 0;
}
