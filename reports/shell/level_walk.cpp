#include "level_walk.h"

#include "files.h"
#include "report_shell.h"
#include "rv7log.h"
#include "rv7maze.h"

namespace {

constexpr char kLogModule[] = "rv7";

struct WalkState {
  bool started = false;             // false: the walk cursor is empty
  LevelSetEntry* cursor = nullptr;  // nullptr once started: the end of the table
  // Level numbers of the cursor's set looked at for files so far, and the last of them that
  // has a level file or a score file.
  int scanned = 0;
  int last_present = 0;
};

WalkState& walk() {
  static WalkState state;
  return state;
}

// Makes the cursor's set the current one, before its first level.
void SelectCursorSet() {
  const LevelSetEntry* entry = walk().cursor;
  set_current_set(entry->name != nullptr ? entry->name : "");
  set_current_level_count(entry->count);
  set_current_level(0);
  walk().scanned = 0;
  walk().last_present = 0;
}

bool LevelHasFiles(int level) {
  const std::string path = MazePathOf(current_set(), level);
  return FileExists(path) || FileExists(path + ".rv7");
}

// Ends the current set early where its files end: when the kMaxMissingLevels level numbers
// after `level` (all within the count) have neither a level file nor a score file, `level`
// becomes the set's last level (its level count for the rest of the walk). Each number is
// looked at once.
void EndSetAfterMissingRun(int level) {
  WalkState& state = walk();
  const int count = current_level_count();
  const int horizon = level > count - kMaxMissingLevels ? count : level + kMaxMissingLevels;
  while (state.scanned < horizon && state.scanned - state.last_present < kMaxMissingLevels) {
    ++state.scanned;
    if (LevelHasFiles(state.scanned)) {
      state.last_present = state.scanned;
    }
  }
  if (state.scanned - state.last_present >= kMaxMissingLevels && state.last_present <= level) {
    RV7_LOG(kLogInfo, "set %s ends at level %d of %d: no files for %d levels", current_set(),
            state.last_present, count, kMaxMissingLevels);
    set_current_level_count(state.last_present);
  }
}

// True for a set with levels none of which has files among its first kMaxMissingLevels
// numbers: its count becomes 0 and the walk passes over it. (A set whose table count is 0
// is no such set: it ends the walk.)
bool SetWithoutFiles() {
  if (current_level_count() <= 0) {
    return false;
  }
  EndSetAfterMissingRun(0);
  return current_level_count() == 0;
}

}  // namespace

void LevelWalkReset() {
  walk() = WalkState{};
}

LevelSetEntry* LevelWalkEntry() {
  return walk().cursor;
}

void LevelWalkNext(std::string& text, std::string_view suffix) {
  WalkState& state = walk();
  text.clear();
  if (!state.started) {
    state.started = true;
    text = kWalkStartText;
    state.cursor = first_level_set();
    if (state.cursor != nullptr) {
      SelectCursorSet();
      SetWithoutFiles();
    }
    set_current_level(0);
    return;
  }
  if (state.cursor == nullptr) {
    return;
  }
  if (current_level() == current_level_count()) {
    do {
      state.cursor = next_level_set(state.cursor);
      if (state.cursor == nullptr) {
        return;
      }
      SelectCursorSet();
    } while (SetWithoutFiles());
  }
  if (current_level() < current_level_count()) {
    set_current_level(current_level() + 1);
    EndSetAfterMissingRun(current_level());
    text = MazePath();
    text += suffix;
    RV7_LOG(kLogTrace, "level %d of %d, %s", current_level(), current_level_count(), text.c_str());
  }
}

void WalkLevels(const char* pass_text, std::string_view suffix,
                const std::function<void(const std::string& path)>& visit) {
  LevelWalkReset();
  SetStatusLine(pass_text);
  RV7_LOG_AS("Thread", kLogInfo, "%s", pass_text);
  std::string text;
  for (;;) {
    LevelWalkNext(text, suffix);
    SetStatusLine(text);
    if (text.empty()) {
      return;
    }
    PaintHandshake();
    // The start text selects no level yet.
    if (current_level() != 0) {
      visit(text);
    }
  }
}
