// Replays of step-letter texts and the quick repeat: one replay step per replay message,
// paced by the window's repaint and the replay delay.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

#include "display_hooks.h"
#include "engine.h"
#include "kernel.h"
#include "rv7log.h"
#include "rv7score.h"

namespace {

constexpr char kLogModule[] = "engine";

struct ReplayState {
  ReplayMode mode = ReplayMode::kNone;
  int32_t iSolver = 0;
  int32_t iMatch = 0;
  int32_t selected_delay = kInitialDelayMs;
  int32_t replay_delay = kInitialDelayMs;
  // The quick repeat plays the live step letters it writes itself; every other replay
  // plays its own copy of the source.
  bool from_history = false;
  std::string text;
  // The quick repeat's cycle: its length, and a fingerprint of the board and the player's
  // square at the start of every repetition so far.
  int32_t cycle_length = 0;
  std::unordered_set<uint64_t> cycle_starts;
};

ReplayState g_replay;

// The source letter at `index`; a zero byte at and behind the end of the source.
char source_letter(int32_t index) {
  if (index < 0) {
    return '\0';
  }
  if (g_replay.from_history) {
    return index < kHistorySize ? step_letters()[index] : '\0';
  }
  return static_cast<size_t>(index) < g_replay.text.size() ? g_replay.text[index] : '\0';
}

// The common start of the starters: a source that is missing or empty is refused.
int start_replay(int32_t delay, std::optional<std::string_view> source, ReplayMode mode) {
  g_replay.replay_delay = delay;
  g_replay.iSolver = 0;
  g_replay.mode = ReplayMode::kNone;
  g_replay.from_history = false;
  // The source is a zero-terminated text: whatever follows a zero byte is not part of it.
  const std::string_view letters = source ? source->substr(0, source->find('\0')) : "";
  if (letters.empty()) {
    LowBeep();
    return 1;
  }
  g_replay.text.assign(letters);
  g_replay.mode = mode;
  display_hooks().PostReplayMessage();
  return 0;
}

// The latest step before the present one at which the player stood on his present square
// with a different Stored count; -1 when there is none.
int32_t find_cycle_start(int32_t end) {
  for (int32_t i = end - 1; i >= 0; --i) {
    const StepRecord before = history_entry(i);
    if (before.stored_before != stored_count() && before.row_before == player_row() &&
        before.col_before == player_col()) {
      return i;
    }
  }
  return -1;
}

// FNV-1a over the level's rectangle of the board and the player's square.
uint64_t position_fingerprint() {
  constexpr uint64_t kOffsetBasis = 14695981039346656037ULL;
  constexpr uint64_t kPrime = 1099511628211ULL;
  uint64_t hash = kOffsetBasis;
  const auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * kPrime; };
  for (int row = 0; row < MazeHeight(); ++row) {
    for (int col = 0; col < MazeWidth(); ++col) {
      mix(static_cast<unsigned char>(Board()[row][col]));
    }
  }
  mix(static_cast<uint32_t>(player_row()));
  mix(static_cast<uint32_t>(player_col()));
  return hash;
}

// Starts the record of the positions the quick repeat's repetitions begin from.
void start_cycle_record() {
  g_replay.cycle_starts.clear();
  g_replay.cycle_starts.insert(position_fingerprint());
}

// After each whole repetition of the quick repeat's cycle: every repetition plays the same
// letters, so one that ends on a board and player's square it already began from (the same
// round walked again, or a crate pushed forth and back) would be followed by the same
// repetitions for ever, until the history is full. It ends the repeat.
bool quick_cycle_repeats() {
  if (!g_replay.from_history || g_replay.cycle_length <= 0 ||
      (g_replay.iSolver - g_replay.iMatch) % g_replay.cycle_length != 0) {
    return false;
  }
  return !g_replay.cycle_starts.insert(position_fingerprint()).second;
}

}  // namespace

ReplayMode replay_mode() {
  return g_replay.mode;
}
int32_t iSolver() {
  return g_replay.iSolver;
}
int32_t iMatch() {
  return g_replay.iMatch;
}
int32_t selected_delay() {
  return g_replay.selected_delay;
}
void set_selected_delay(int32_t ms) {
  g_replay.selected_delay = ms;
}
int32_t replay_delay() {
  return g_replay.replay_delay;
}

int replay_best() {
  RV7_ENTRY();
  const int rc = start_replay(g_replay.selected_delay, BestLetters(), ReplayMode::kStored);
  RV7_EXIT_RC(rc);
  return rc;
}

int replay_own() {
  RV7_ENTRY();
  const int rc = start_replay(g_replay.selected_delay, OwnLetters(), ReplayMode::kStored);
  RV7_EXIT_RC(rc);
  return rc;
}

int replay_bookmark() {
  RV7_ENTRY();
  const int rc = start_replay(0, BookmarkLetters(), ReplayMode::kStored);
  RV7_EXIT_RC(rc);
  return rc;
}

int replay_text(std::string_view text, ReplayMode mode) {
  RV7_ENTRY();
  const int rc = start_replay(g_replay.selected_delay, text, mode);
  RV7_EXIT_RC(rc);
  return rc;
}

void GetMatch() {
  RV7_ENTRY();
  g_replay.iMatch = move_count();
  RV7_LOG(kLogTrace, "iSolver=%d, iMatch=%d", g_replay.iSolver, g_replay.iMatch);
  if (g_replay.iSolver < g_replay.iMatch) {
    const int32_t start = find_cycle_start(g_replay.iMatch);
    g_replay.iSolver = start >= 0 ? start : 0;
    g_replay.iMatch = start >= 0 ? g_replay.iMatch : 0;
  }
  RV7_EXIT();
}

int GoQuick() {
  RV7_ENTRY();
  g_replay.replay_delay = g_replay.selected_delay;
  g_replay.iSolver = 0;
  g_replay.mode = ReplayMode::kNone;
  g_replay.from_history = true;
  g_replay.text.clear();
  GetMatch();
  RV7_LOG(kLogTrace, "iSolver=%d, iMatch=%d", g_replay.iSolver, g_replay.iMatch);
  int rc = 0;
  if (g_replay.iSolver < g_replay.iMatch) {
    g_replay.mode = ReplayMode::kQuick;
    g_replay.cycle_length = g_replay.iMatch - g_replay.iSolver;
    start_cycle_record();
    display_hooks().PostReplayMessage();
  } else {
    LowBeep();
    rc = 1;
  }
  RV7_EXIT_RC(rc);
  return rc;
}

int load_best_as_redo() {
  RV7_ENTRY();
  g_replay.iSolver = 0;
  const std::optional<std::string_view> best = BestLetters();
  int rc = 0;
  if (best && !best->empty()) {
    write_step_letters(*best);
  } else {
    LowBeep();
    rc = 1;
  }
  RV7_EXIT_RC(rc);
  return rc;
}

void replay_step() {
  RV7_ENTRY();
  const char letter = source_letter(g_replay.iSolver);
  if (g_replay.mode == ReplayMode::kNone || letter == '\0') {
    g_replay.mode = ReplayMode::kNone;
    RV7_EXIT();
    return;
  }
  int rc = 1;  // a letter that is no step letter ends the replay without a beep
  if (const auto direction = DirectionOfLetter(letter)) {
    set_facing(FacingOf(*direction));
    rc = step(*direction);
  }
  ++g_replay.iSolver;
  if (rc == 0 && quick_cycle_repeats()) {
    LowBeep();
    rc = 1;
  }
  if (rc != 0) {
    g_replay.mode = ReplayMode::kNone;
  }
  Sleep(g_replay.replay_delay);
  RV7_EXIT();
}

void stop_replay() {
  g_replay.mode = ReplayMode::kNone;
}
