#include "engine.h"

#include <algorithm>
#include <array>

#include "beep.h"
#include "display_hooks.h"
#include "kernel.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7score.h"

namespace {

constexpr char kLogModule[] = "engine";

// Five parallel arrays indexed by step number (about 1.6 MB, so kept in static storage).
struct History {
  std::array<char, kHistorySize> letters{};
  std::array<int32_t, kHistorySize> pushes_before{};
  std::array<int32_t, kHistorySize> stored_before{};
  std::array<int32_t, kHistorySize> row_before{};
  std::array<int32_t, kHistorySize> col_before{};
};

struct Counters {
  int32_t moves = 0;
  int32_t pushes = 0;
  int32_t stored = 0;
  int32_t crates = 0;
  int32_t row = 0;
  int32_t col = 0;
  int32_t shown_moves = -1;
  int32_t shown_pushes = -1;
  int32_t shown_stored = -1;
};

History g_history;
Counters g;
Facing g_facing = Facing::kNone;

bool on_board(int row, int col) {
  return row >= 0 && row < kGridRows && col >= 0 && col < kGridColumns;
}

// A square off the board reads as wall, so no step ever looks outside it.
char cell(int row, int col) {
  return on_board(row, col) ? Board()[row][col] : kWall;
}

bool player_present() {
  const char here = cell(g.row, g.col);
  return here == kPlayer || here == kPlayerOnGoal;
}

// The three redraw notifications: one board cell redrawn and invalidated.
void atpos() {
  RV7_ENTRY();
  RV7_LOG(kLogExtra, "y=%d, x=%d", g.row, g.col);
  display_hooks().DrawCell(g.row, g.col);
  RV7_EXIT();
}

void atnew(int row, int col) {
  RV7_ENTRY();
  RV7_LOG(kLogExtra, "y=%d, x=%d", row, col);
  display_hooks().DrawCell(row, col);
  g.row = row;
  g.col = col;
  RV7_EXIT();
}

void atxxx(int row, int col) {
  RV7_ENTRY();
  RV7_LOG(kLogExtra, "y=%d, x=%d", row, col);
  display_hooks().DrawCell(row, col);
  RV7_EXIT();
}

// "leave P": the player's square keeps what lies under him.
void leave_square() {
  char& here = Board()[g.row][g.col];
  here = here == kPlayerOnGoal ? kGoal : kFloor;
  atpos();
}

// "enter T": the player stands on the target, the move counts.
void enter_square(int row, int col, bool goal) {
  Board()[row][col] = goal ? kPlayerOnGoal : kPlayer;
  ++g.moves;
  atnew(row, col);
}

void crate_to(int row, int col, bool goal) {
  Board()[row][col] = goal ? kCrateOnGoal : kCrate;
  ++g.pushes;
  atxxx(row, col);
}

void write_slot(int32_t slot, Direction direction) {
  g_history.letters[slot] = KeyLetter(direction);
  g_history.pushes_before[slot] = g.pushes;
  g_history.stored_before[slot] = g.stored;
  g_history.row_before[slot] = g.row;
  g_history.col_before[slot] = g.col;
}

void settle_letter(int32_t slot, Direction direction) {
  const bool pushed = g_history.pushes_before[slot] != g.pushes;
  g_history.letters[slot] = pushed ? PushLetter(direction) : PlainLetter(direction);
}

// Moves the player one square, pushing a crate in the way. False, with nothing changed,
// when the target or the square beyond a crate cannot be entered.
bool move_player(Direction direction) {
  const StepVector v = VectorOf(direction);
  const int target_row = g.row + v.rows;
  const int target_col = g.col + v.cols;
  const char target = cell(target_row, target_col);
  if (target == kFloor || target == kGoal) {
    leave_square();
    enter_square(target_row, target_col, target == kGoal);
    return true;
  }
  if (target != kCrate && target != kCrateOnGoal) {
    return false;
  }
  const int beyond_row = target_row + v.rows;
  const int beyond_col = target_col + v.cols;
  const char beyond = cell(beyond_row, beyond_col);
  if (beyond != kFloor && beyond != kGoal) {
    return false;
  }
  crate_to(beyond_row, beyond_col, beyond == kGoal);
  leave_square();
  enter_square(target_row, target_col, target == kCrateOnGoal);
  g.stored += (beyond == kGoal) - (target == kCrateOnGoal);
  return true;
}

int refuse() {
  LowBeep();
  return 1;
}

void show_if_changed(int32_t value, int32_t& shown, StatusField field) {
  if (value != shown) {
    display_hooks().RedrawStatusField(field);
    shown = value;
  }
}

// Takes back the push of an undone step: the crate in front of the player returns to the
// player's square.
void pull_crate_back(int front_row, int front_col) {
  --g.pushes;
  char& front = Board()[front_row][front_col];
  if (front == kCrateOnGoal) {
    front = kGoal;
    --g.stored;
  } else {
    front = kFloor;
  }
  atxxx(front_row, front_col);
  char& here = Board()[g.row][g.col];
  if (here == kPlayerOnGoal) {
    here = kCrateOnGoal;
    ++g.stored;
  } else {
    here = kCrate;
  }
  atpos();
}

// The player returns to the square of an undone step.
void step_back_to(int row, int col) {
  char& back = Board()[row][col];
  back = back == kGoal ? kPlayerOnGoal : kPlayer;
  atnew(row, col);
}

}  // namespace

void LowBeep() {
  Beep(kLowBeepFrequency, kLowBeepMs);
}

void InitLevel(bool clear) {
  RV7_ENTRY();
  g = Counters{};
  const Grid& level = LevelGrid();
  for (int row = 0; row < MazeHeight(); ++row) {
    for (int col = 0; col < MazeWidth(); ++col) {
      const char square = level[row][col];
      g.crates += square == kCrate || square == kCrateOnGoal;
      g.stored += square == kCrateOnGoal;
      if (square == kPlayer || square == kPlayerOnGoal) {
        g.row = row;
        g.col = col;
      }
    }
  }
  RV7_LOG(kLogExtra, "korvala, y=%d, x=%d", g.row, g.col);
  if (clear) {
    g_history.letters.fill('\0');
  }
  RV7_EXIT();
}

void CopyLevelToBoard() {
  RV7_ENTRY();
  const Grid& level = LevelGrid();
  Grid& board = Board();
  for (int row = 0; row < MazeHeight(); ++row) {
    std::copy_n(level[row].begin(), MazeWidth(), board[row].begin());
  }
  RV7_EXIT();
}

int step(Direction direction) {
  RV7_ENTRY();
  if (level_complete() || g.moves >= kHistoryLimit || !player_present()) {
    const int rc = refuse();
    RV7_EXIT_RC(rc);
    return rc;
  }
  const int32_t slot = g.moves;
  write_slot(slot, direction);
  const int rc = move_player(direction) ? 0 : refuse();
  settle_letter(slot, direction);
  update_status();
  RV7_EXIT_RC(rc);
  return rc;
}

int step_up() {
  return step(Direction::kUp);
}
int step_down() {
  return step(Direction::kDown);
}
int step_left() {
  return step(Direction::kLeft);
}
int step_right() {
  return step(Direction::kRight);
}

int undo() {
  RV7_ENTRY();
  const int32_t index = g.moves - 1;
  const auto made = index >= 0 ? DirectionOfLetter(g_history.letters[index]) : std::nullopt;
  // The player's square and the squares behind and in front of him must lie on the board;
  // with a history written by steps they always do.
  const StepVector back = made ? VectorOf(Opposite(*made)) : StepVector{0, 0};
  if (level_complete() || !made || !player_present() ||
      !on_board(g.row + back.rows, g.col + back.cols) ||
      !on_board(g.row - back.rows, g.col - back.cols)) {
    const int rc = refuse();
    RV7_EXIT_RC(rc);
    return rc;
  }
  g.moves = index;
  g_facing = FacingOf(Opposite(*made));
  if (g_history.pushes_before[index] == g.pushes) {
    leave_square();
  } else {
    pull_crate_back(g.row - back.rows, g.col - back.cols);
  }
  step_back_to(g.row + back.rows, g.col + back.cols);
  update_status();
  Sleep(0);
  RV7_EXIT_RC(0);
  return 0;
}

int redo() {
  RV7_ENTRY();
  const auto next = g.moves >= 0 && g.moves < kHistoryLimit
                        ? DirectionOfLetter(g_history.letters[g.moves])
                        : std::nullopt;
  if (level_complete() || !next) {
    const int rc = refuse();
    RV7_EXIT_RC(rc);
    return rc;
  }
  g_facing = FacingOf(*next);
  const int rc = step(*next);
  RV7_EXIT_RC(rc);
  return rc;
}

void update_status() {
  RV7_ENTRY();
  show_if_changed(g.moves, g.shown_moves, StatusField::kMoves);
  show_if_changed(g.pushes, g.shown_pushes, StatusField::kPushes);
  show_if_changed(g.stored, g.shown_stored, StatusField::kStored);
  // A level that starts solved was not solved by the player: only played steps count.
  const bool solved = level_complete() && g.stored > 0 && g.moves > 0;
  if (solved && replay_mode() != ReplayMode::kStored) {
    RecordSolution(player_name());
  }
  RV7_EXIT();
}

int RecordUnplayedSolution(std::string_view letters, int32_t moves, int32_t pushes,
                           std::string_view who) {
  RV7_ENTRY();
  if (letters.size() > static_cast<size_t>(kHistoryLimit) || moves < 0 || moves > kHistoryLimit ||
      pushes < 0) {
    RV7_EXIT_RC(1);
    return 1;
  }
  std::copy(letters.begin(), letters.end(), g_history.letters.begin());
  g.moves = moves;
  g.pushes = pushes;
  RecordSolution(who);
  g.moves = 0;
  g.pushes = 0;
  RV7_EXIT_RC(0);
  return 0;
}

int32_t move_count() {
  return g.moves;
}
int32_t push_count() {
  return g.pushes;
}
int32_t stored_count() {
  return g.stored;
}
int32_t crate_count() {
  return g.crates;
}
int32_t player_row() {
  return g.row;
}
int32_t player_col() {
  return g.col;
}
bool level_complete() {
  return g.stored == g.crates;
}

Facing facing() {
  return g_facing;
}
void set_facing(Facing value) {
  g_facing = value;
}

const char* step_letters() {
  return g_history.letters.data();
}

StepRecord history_entry(int32_t index) {
  if (index < 0 || index >= kHistorySize) {
    return StepRecord{};
  }
  return StepRecord{g_history.pushes_before[index], g_history.stored_before[index],
                    g_history.row_before[index], g_history.col_before[index]};
}

void write_step_letters(std::string_view letters) {
  const size_t room = std::min(letters.size(), static_cast<size_t>(kHistoryLimit));
  for (size_t i = 0; i < room; ++i) {
    if (IsStepLetter(letters[i])) {
      g_history.letters[i] = letters[i];
    }
  }
}
