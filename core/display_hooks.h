// The display hooks: the few calls by which the core library asks the program that links it
// to show what the engine changed. The game window implements them; the report programs,
// which never play a level, use NullDisplayHooks (or derive from it and supply only their
// own SizeWindow). Everything here is called on the window thread.
#pragma once

// The replay message: the first private window message number plus 110. The window answers
// it with one replay_step() (engine.h).
inline constexpr int kFirstPrivateMessage = 1024;
inline constexpr int kReplayMessage = kFirstPrivateMessage + 110;

// The status-area fields the core asks to have redrawn. The counters are redrawn by the
// engine's status update when their value changed; the six record fields by the score file
// after a solution was recorded.
enum class StatusField {
  kMoves,   // the engine's move count
  kPushes,  // the engine's push count
  kStored,  // crates on goals, or "Done!" when every crate is stored
  kBestMoves,
  kBestPushes,
  kBestName,
  kOwnMoves,
  kOwnPushes,
  kPlayer,  // the player name, on the Own record's line
};

class DisplayHooks {
 public:
  virtual ~DisplayHooks() = default;

  // Redraws the one board cell (row, col) into the board image from the board's character
  // (and Facing for the player) and invalidates that cell's screen rectangle without
  // erasing. Called for every cell that a step or undo changes.
  virtual void DrawCell(int row, int col) = 0;

  // Recomputes the board layout, copies the level grid into the board with
  // CopyLevelToBoard() (engine.h) and renders every cell of the level into the board image.
  // The engine relies on the copy: a level starts and restarts through this call.
  virtual void InitBitmap() = 0;

  // Sizes and centres the window around the board and invalidates it (after a new level).
  virtual void SizeWindow() = 0;

  // Invalidates the whole window without erasing; size and place stay (after a restart).
  virtual void NoSizeWindow() = 0;

  // Fits the tile size to the new level (reloading the tiles when it changed) and sets the
  // solver's availability. Called after every change of level, before InitBitmap.
  virtual void CheckTileSize() = 0;

  // Invalidates one status field without erasing, so the next paint shows its new value.
  virtual void RedrawStatusField(StatusField field) = 0;

  // Posts the replay message (kReplayMessage, both parameters 0) to the main window. The
  // window makes one replay_step() per message and posts it again after every paint while
  // replay_mode() is not ReplayMode::kNone.
  virtual void PostReplayMessage() = 0;
};

// Hooks that do nothing: for programs that never show a board, and the default until a
// program installs its own.
class NullDisplayHooks : public DisplayHooks {
 public:
  void DrawCell(int, int) override {}
  void InitBitmap() override {}
  void SizeWindow() override {}
  void NoSizeWindow() override {}
  void CheckTileSize() override {}
  void RedrawStatusField(StatusField) override {}
  void PostReplayMessage() override {}
};

// Installs the program's hooks; the object must outlive every later core call. nullptr puts
// the do-nothing hooks back.
void SetDisplayHooks(DisplayHooks* hooks);

// The installed hooks (NullDisplayHooks until SetDisplayHooks was called).
DisplayHooks& display_hooks();
