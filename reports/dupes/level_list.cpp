#include "level_list.h"

#include <string>

#include "level_walk.h"
#include "report_shell.h"
#include "rv7ini.h"

namespace {

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
  std::vector<LevelEntry> levels;
  WalkLevels(kPass1Text, "",
             [&levels](const std::string& path) { levels.push_back(LoadEntry(path)); });
  return levels;
}
