#include "level_walk.h"

#include "report_shell.h"
#include "rv7log.h"
#include "rv7maze.h"

namespace {

constexpr char kLogModule[] = "rv7";

struct WalkState {
  bool started = false;             // false: the walk cursor is empty
  LevelSetEntry* cursor = nullptr;  // nullptr once started: the end of the table
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
    }
    set_current_level(0);
    return;
  }
  if (state.cursor == nullptr) {
    return;
  }
  if (current_level() == current_level_count()) {
    state.cursor = next_level_set(state.cursor);
    if (state.cursor == nullptr) {
      return;
    }
    SelectCursorSet();
  }
  if (current_level() < current_level_count()) {
    set_current_level(current_level() + 1);
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
