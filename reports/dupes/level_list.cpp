#include "level_list.h"

#include <string>

#include "level_walk.h"
#include "report_shell.h"
#include "rv7ini.h"

namespace {

constexpr char kLogModule[] = "rv7";

LevelEntry LoadEntry(const std::string& path) {
  GetMaze();
  const int width = MazeWidth();
  const int height = MazeHeight();
  LevelEntry entry;
  entry.path = path;
  entry.full = LevelShape(LevelGrid(), height, width, height);
  ReduceMaze();
  entry.reduced = LevelShape(LevelGrid(), MazeHeight(), width, height);
  return entry;
}

}  // namespace

std::vector<LevelEntry> BuildLevelList() {
  LevelWalkReset();
  SetStatusLine(kPass1Text);
  RV7_LOG_AS("Thread", kLogInfo, "%s", kPass1Text);
  std::vector<LevelEntry> levels;
  std::string text;
  for (;;) {
    LevelWalkNext(text, "");
    SetStatusLine(text);
    if (text.empty()) {
      break;
    }
    PaintHandshake();
    if (current_level() == 0) {
      continue;
    }
    levels.push_back(LoadEntry(text));
  }
  return levels;
}
