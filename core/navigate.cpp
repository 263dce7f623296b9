// Moving between the levels of the current set and between sets: every change of level
// remembers the level for its set, loads it and starts it in the engine and the window.
#include <charconv>
#include <string>

#include "display_hooks.h"
#include "engine.h"
#include "rv7ini.h"
#include "rv7log.h"

namespace {

constexpr char kLogModule[] = "engine";

int refuse_change() {
  LowBeep();
  return 1;
}

// Makes `level` current, remembers it for the current set (a set without an entry in the
// game table gets none) and loads it.
int change_level(int32_t level) {
  set_current_level(level);
  set_game_number(current_set(), level);
  load_current_level();
  return 0;
}

// The remembered level of a set as a number; a text without a level of the set gives 1.
int32_t remembered_level(std::string_view set_name, int32_t count) {
  const std::string_view text = game_chk(set_name);
  int32_t level = 0;
  std::from_chars(text.data(), text.data() + text.size(), level);
  return level >= 1 && level <= count ? level : 1;
}

}  // namespace

bool level_in_progress() {
  return move_count() > 0 && !level_complete();
}

void load_current_level() {
  RV7_ENTRY();
  GetMaze();
  InitLevel(true);
  display_hooks().CheckTileSize();
  display_hooks().InitBitmap();
  display_hooks().SizeWindow();
  update_status();
  RV7_EXIT();
}

int first_level() {
  RV7_ENTRY();
  const int rc = current_level() == 1 || level_in_progress() ? refuse_change() : change_level(1);
  RV7_EXIT_RC(rc);
  return rc;
}

int previous_level() {
  RV7_ENTRY();
  const int32_t level = current_level();
  const int rc = level <= 1 || level_in_progress() ? refuse_change() : change_level(level - 1);
  RV7_EXIT_RC(rc);
  return rc;
}

int next_level() {
  RV7_ENTRY();
  const int32_t level = current_level();
  const bool at_end = level >= current_level_count();
  const int rc = at_end || level_in_progress() ? refuse_change() : change_level(level + 1);
  RV7_EXIT_RC(rc);
  return rc;
}

int last_level() {
  RV7_ENTRY();
  const int32_t count = current_level_count();
  const bool at_end = current_level() >= count;
  const int rc = at_end || level_in_progress() ? refuse_change() : change_level(count);
  RV7_EXIT_RC(rc);
  return rc;
}

int go_to_level(int32_t n) {
  RV7_ENTRY();
  const bool valid = n >= 1 && n <= current_level_count();
  const int rc = valid ? change_level(n) : refuse_change();
  RV7_EXIT_RC(rc);
  return rc;
}

int restart_level() {
  RV7_ENTRY();
  int rc = 1;
  if (move_count() == 0) {
    rc = refuse_change();
  } else {
    InitLevel(false);
    display_hooks().InitBitmap();
    display_hooks().NoSizeWindow();
    update_status();
    rc = 0;
  }
  RV7_EXIT_RC(rc);
  return rc;
}

void make_set_current(std::string_view name) {
  RV7_ENTRY();
  // Copied first: `name` may be the current set's own text, which the setter replaces.
  set_current_set(std::string(name));
  const std::string set_name = current_set();  // as the selection keeps it, cut to its room
  const int32_t count = level_count(set_name);
  set_current_level_count(count);
  set_current_level(remembered_level(set_name, count));
  RV7_EXIT();
}

void select_set(std::string_view name) {
  RV7_ENTRY();
  make_set_current(name);
  load_current_level();
  RV7_EXIT();
}
