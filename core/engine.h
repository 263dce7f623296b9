// The board and move engine: the level in play, its counters, the move history behind undo
// and redo, the replays and the quick repeat, and the navigation between levels. Single
// threaded: everything runs on the game window's thread. The engine draws nothing; it tells
// the program through the display hooks (display_hooks.h) which cells and counters changed.
//
// The board itself is Board() of rv7maze.h (45 x 45 cells, "#" " " "." "$" "*" "@" "+");
// the engine changes it in place with every step and undo.
//
// Refusals: every refused player action sounds the low beep (500 Hz, 50 ms), returns 1 and
// changes nothing (except the letter slot of a refused step, see step()).
#pragma once

#include <cstdint>
#include <string_view>

#include "rv7maze.h"
#include "step_letters.h"

// Move history: five parallel arrays of kHistorySize entries indexed by step number.
// A step is refused from move count kHistoryLimit on, so the letters always end in zeros.
inline constexpr int kHistorySize = 98304;
inline constexpr int kHistoryLimit = 98300;

inline constexpr int kInitialDelayMs = 100;

// ---------------------------------------------------------------------------------------
// Board and counters (engine.cpp)

// Starts the level loaded by GetMaze: crate count, Stored count (crates already on goals)
// and the player's square from the level grid (the last "@" or "+" in reading order wins;
// row 0, column 0 when there is none), move and push count 0, the last-shown counters -1 so
// the next update_status() redraws all three. With clear the step letters are zeroed (a new
// level); without (a restart) they stay as the redo tail. Does not touch the board: the
// program's InitBitmap copies the level in with CopyLevelToBoard().
void InitLevel(bool clear);

// Copies the H x W rectangle of the level grid into the board (the rest stays as GetMaze
// left it: wall outside the level).
void CopyLevelToBoard();

// The four steps. Each refuses (low beep, 1) when the level is complete, the move count is
// kHistoryLimit or more, or the level has no player (the player's square holds neither "@"
// nor "+"), changing nothing then. Otherwise it writes history slot move_count() (letter,
// push count, Stored count, player square before the step) and moves the player, pushing a
// crate that stands in the way onto floor or goal; a wall, a second crate, any other
// character or the board's edge refuses it (low beep, 1, board and counters unchanged).
// Either way the slot's letter is then settled: upper case when the push count changed,
// lower case otherwise, so a refused step leaves its lower-case letter as the first letter
// of the redo tail. Ends with update_status(). Returns 0 when the step was made.
int step(Direction direction);
int step_up();
int step_down();
int step_left();
int step_right();

// Takes back the last step (and its push): refused when the level is complete or the move
// count is 0. The letters behind the new move count stay as the redo tail. Sets Facing to
// the backward movement, ends with update_status() and a 0 ms wait. Returns 0 when done.
int undo();

// Makes the step whose letter stands at move_count() (the head of the redo tail), setting
// Facing to its direction: refused when the level is complete, the history is full or the
// letter there is no step letter. Returns the step's result.
int redo();

// Has the status area redraw each of moves, pushes and Stored that changed since it was
// last shown. When the level is solved (complete with Stored above 0) by steps made on the
// board (move count above 0) and no stored sequence is being replayed (replay mode kNone or
// kQuick), records the solution under the current player name (RecordSolution).
void update_status();

// Records a solution that was not played on the board (clipboard, solver) under `who`: its
// letters go into the step letters from index 0, the move and push counts are set to
// `moves` and `pushes` for RecordSolution and set back to 0 afterwards; the board and the
// other history arrays are not touched. Refused (returns 1, no beep) when the letters or
// `moves` do not fit the history (more than kHistoryLimit) or a count is negative.
int RecordUnplayedSolution(std::string_view letters, int32_t moves, int32_t pushes,
                           std::string_view who);

int32_t move_count();
int32_t push_count();
int32_t stored_count();
int32_t crate_count();
int32_t player_row();
int32_t player_col();
// Complete: every crate on a goal (an empty level is complete from the start).
bool level_complete();

Facing facing();
void set_facing(Facing value);

// The step letters: a zero-terminated text of the steps made so far followed by the redo
// tail (kHistorySize bytes, the last ones always zero).
const char* step_letters();

// What the history keeps of one step besides its letter: the push count, Stored count and
// player square before it. Zero for an index outside the history.
struct StepRecord {
  int32_t pushes_before = 0;
  int32_t stored_before = 0;
  int32_t row_before = 0;
  int32_t col_before = 0;
};
StepRecord history_entry(int32_t index);

// Writes the step letters of `letters` into the step letters from index 0; a byte that is
// no step letter leaves its slot as it was, and nothing at or beyond kHistoryLimit is
// written, so the letters stay zero-terminated.
void write_step_letters(std::string_view letters);

// Sounds the low beep (traced by the platform's Beep).
void LowBeep();

// ---------------------------------------------------------------------------------------
// Replays and the quick repeat (replay.cpp)

enum class ReplayMode : int32_t {
  kNone = 0,    // no replay
  kStored = 1,  // a stored or given sequence; a solution reached is not recorded
  kQuick = 2,   // quick repeat, or a pasted sequence without header; solutions are recorded
};

ReplayMode replay_mode();
// Index of the next letter of the replay source to play.
int32_t iSolver();
// End of the cycle found by GetMatch (the move count at the search), 0 when none was found.
int32_t iMatch();

// The delay chosen with the number keys (initially 100 ms) and the delay of the replay in
// progress (initially 100 ms; the bookmark replays at 0).
int32_t selected_delay();
void set_selected_delay(int32_t ms);
int32_t replay_delay();

// The starters. Each sets the replay delay, iSolver to 0 and the mode to kNone, then takes
// its source: without one (no such record, no bookmark, an empty text) it sounds the low
// beep and returns 1; otherwise it sets the mode and posts the replay message, returning 0.
// The source text is copied, so the caller's buffer need not outlive the replay.
int replay_best();      // letters of the Best record, kStored, selected delay
int replay_own();       // letters of the Own record, kStored, selected delay
int replay_bookmark();  // the bookmark, kStored, delay 0
// The caller's letters with the caller's mode (kStored or kQuick), selected delay.
int replay_text(std::string_view text, ReplayMode mode);

// Quick repeat: finds the cycle just completed (GetMatch) and, when there is one, replays
// the move history's own letters from the cycle's start in mode kQuick, so that the cycle
// repeats until a step is refused, the level is complete or the history is full. A whole
// repetition that leaves the board and the player's square as they were at the start of this
// or an earlier repetition also ends it, with the low beep: the same repetitions would follow
// for ever (a round walked without pushing, a crate pushed forth and back). Without a cycle:
// low beep, returns 1.
int GoQuick();

// Sets iMatch to the move count and iSolver to the latest earlier step at which the player
// stood on his present square while a different number of crates was stored; iSolver and
// iMatch both 0 when there is none.
void GetMatch();

// Writes the Best record's step letters into the step letters from index 0 (other bytes
// leave their slot alone; nothing at or beyond kHistoryLimit is written), sets iSolver to 0
// and leaves the mode alone; the caller then makes one redo(). Without a Best record: low
// beep, returns 1.
int load_best_as_redo();

// One replay step, made once per replay message: ends the replay (mode kNone) when it is
// idle or the source is used up; otherwise plays the letter at iSolver (setting Facing) and
// ends the replay when the step was refused (a letter that is no step letter counts as
// refused, without beep), then advances iSolver and sleeps for the replay delay.
void replay_step();

// Ends a replay: the mode becomes kNone.
void stop_replay();

// ---------------------------------------------------------------------------------------
// Level navigation (navigate.cpp)

// A level is in progress while steps have been made and it is not complete.
bool level_in_progress();

// Loads and starts the current level of the current set: GetMaze, InitLevel(true),
// CheckTileSize, InitBitmap, SizeWindow, update_status(). For a new player name or set.
void load_current_level();

// Change the current level, remember it for the set in the game table and load it. Each
// refuses (low beep, 1, nothing changed) at its end of the set or while a level is in
// progress; next and last also when the set's level count is 0 or less.
int first_level();
int previous_level();
int next_level();
int last_level();

// Goes to level n without asking (a game in progress is abandoned). Refuses (low beep, 1)
// a number outside 1..level count, which the Goto dialog never gives.
int go_to_level(int32_t n);

// Starts the level again from its beginning keeping the step letters as the redo tail:
// InitLevel(false), InitBitmap, NoSizeWindow, update_status(). Refused with move count 0.
int restart_level();

// Makes `name` the current set with its level count from the level-set table (0 when it is
// not listed) and its remembered level (an entry of "1" is made for a set without one; a
// remembered level outside 1..level count gives 1). Loads nothing (Setup at start-up, before
// there is a window). The remembered level itself is not written again.
void make_set_current(std::string_view name);
// make_set_current, then loads that level.
void select_set(std::string_view name);
