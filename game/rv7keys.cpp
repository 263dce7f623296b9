// The key table, the command table and the buttons' enabled states.
#include <string>

#include "engine.h"
#include "keymap.h"
#include "rv7bmps.h"
#include "rv7cfg.h"
#include "rv7game.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "services.h"

namespace {

constexpr char kLogModule[] = "rv7game";

// The largest level the solver takes.
constexpr int kSolverMaxCells = 254;
constexpr int kSolverMaxCrates = 13;

bool NoMoves() {
  return move_count() == 0;
}
bool BestExists() {
  return BestMoves() != 0;
}
bool OwnExists() {
  return OwnMoves() != 0;
}

// Steps in the direction of an arrow key, turning the player first: a step into a wall still
// turns him.
void ArrowStep(Facing direction, int (*step)()) {
  set_facing(direction);
  step();
}

// A guarded action: runs it when the guard holds, else the low beep.
template <typename Action>
void Guarded(bool allowed, Action action) {
  if (allowed) {
    action();
  } else {
    LowBeep();
  }
}

void LoadBestThenRedo() {
  if (load_best_as_redo() == 0) {
    redo();
  }
}

// Tile size change by I and O: the board is drawn anew at the new size and the window sized
// around it.
void ChangeTileSize(int delta) {
  SetTileSize(TileSize() + delta);
  FreeBitmaps();
  LoadBitmaps();
  InitBitmap();
  SizeWindow();
}

bool DigitKey(int key) {
  if (key == kVk0) {
    set_selected_delay(0);
    return true;
  }
  if (key >= kVk0 + 1 && key <= kVk0 + kDelayCount) {
    set_selected_delay(replay_delay(key - kVk0 - 1));
    return true;
  }
  return false;
}

bool MovementKey(int key) {
  switch (key) {
    case kVkUp:
      ArrowStep(Facing::kUp, &step_up);
      return true;
    case kVkDown:
      ArrowStep(Facing::kDown, &step_down);
      return true;
    case kVkLeft:
      ArrowStep(Facing::kLeft, &step_left);
      return true;
    case kVkRight:
      ArrowStep(Facing::kRight, &step_right);
      return true;
    case kVkDelete:
      undo();
      return true;
    case kVkInsert:
      redo();
      return true;
    case kVkSpace:
      GoQuick();
      return true;
    default:
      return false;
  }
}

bool LetterKey(int key) {
  switch (key) {
    case 'V':
      first_level();
      return true;
    case 'B':
      previous_level();
      return true;
    case 'N':
      next_level();
      return true;
    case 'M':
      last_level();
      return true;
    case 'R':
      restart_level();
      return true;
    case 'W':
      Guarded(BestExists() && NoMoves(), &replay_best);
      return true;
    case 'E':
      Guarded(BestExists() && NoMoves(), &LoadBestThenRedo);
      return true;
    case 'S':
      Guarded(OwnExists() && NoMoves(), &replay_own);
      return true;
    case 'I':
      Guarded(NoMoves() && TileSize() > kSmallestTileSize, [] { ChangeTileSize(-kTileSizeStep); });
      return true;
    case 'O':
      Guarded(NoMoves() && TileSize() < LargestTileSize(), [] { ChangeTileSize(kTileSizeStep); });
      return true;
    default:
      return false;
  }
}

void GotoCommand() {
  const int before = current_level();
  if (!ServiceReady(Services().goto_level)) {
    return;
  }
  const int chosen = Services().goto_level(MainWindow());
  if (chosen != before) {
    go_to_level(chosen);
  }
}

void SetupCommand() {
  const std::string player = player_name();
  const std::string set = current_set();
  if (!ServiceReady(Services().setup)) {
    return;
  }
  Services().setup(MainWindow());
  if (player != player_name() || set != current_set()) {
    load_current_level();
  }
}

// Runs a service that takes the main window as its owner.
void OwnedService(const std::function<void(QWidget*)>& service) {
  if (ServiceReady(service)) {
    service(MainWindow());
  }
}

void PlainService(const std::function<void()>& service) {
  if (ServiceReady(service)) {
    service();
  }
}

// The clipboard commands repaint everything: a paste may have recorded a solution.
void ClipboardService(const std::function<void()>& service) {
  PlainService(service);
  NoSizeWindow();
}

}  // namespace

void HandleKey(int virtual_key) {
  if (MovementKey(virtual_key) || DigitKey(virtual_key) || LetterKey(virtual_key)) {
    return;
  }
  LowBeep();
}

int DoCommand(int command) {
  RV7_ENTRY();
  RV7_LOG(kLogTrace, "command=%d", command);
  GameServices& services = Services();
  switch (command) {
    case kCmdGoto:
      GotoCommand();
      break;
    case kCmdRestart:
      restart_level();
      break;
    case kCmdFirst:
      first_level();
      break;
    case kCmdPrevious:
      previous_level();
      break;
    case kCmdNext:
      next_level();
      break;
    case kCmdLast:
      last_level();
      break;
    case kCmdSetup:
      SetupCommand();
      break;
    case kCmdReplayOwn:
      replay_own();
      break;
    case kCmdReplayBest:
      replay_best();
      break;
    case kCmdLoadBest:
      LoadBestThenRedo();
      break;
    case kCmdHelp:
      PlainService(services.help);
      break;
    case kCmdAbout:
      OwnedService(services.about);
      break;
    case kCmdQuit:
      PostQuit();
      break;
    case kCmdImport:
      OwnedService(services.import_levels);
      break;
    case kCmdSolver:
      OwnedService(services.solve);
      break;
    case kCmdCopy:
      ClipboardService(services.copy_best);
      break;
    case kCmdPaste:
      ClipboardService(services.paste_solution);
      break;
    case kCmdSaveBookmark:
      SaveBookmark();
      break;
    case kCmdReplayBookmark:
      replay_bookmark();
      break;
    default:
      break;
  }
  RV7_EXIT_RC(0);
  return 0;
}

bool SolverAllowed() {
  return MazeWidth() * MazeHeight() <= kSolverMaxCells && crate_count() <= kSolverMaxCrates &&
         NoMoves();
}

void UpdateButtons() {
  GameWindow* window = MainWindow();
  if (window == nullptr) {
    return;
  }
  const bool busy = level_in_progress();
  const bool not_first = current_level() != 1 && !busy;
  const bool not_last = current_level() < current_level_count() && !busy;
  const bool best = BestExists() && NoMoves();
  const std::pair<Command, bool> states[] = {
      {kCmdFirst, not_first},
      {kCmdPrevious, not_first},
      {kCmdNext, not_last},
      {kCmdLast, not_last},
      {kCmdGoto, !busy},
      {kCmdSetup, !busy},
      {kCmdReplayOwn, OwnExists() && NoMoves()},
      {kCmdReplayBest, best},
      {kCmdLoadBest, best},
      {kCmdCopy, best},
      {kCmdPaste, NoMoves()},
      {kCmdReplayBookmark, NoMoves() && BookmarkLetters().has_value()},
      {kCmdRestart, !NoMoves()},
      {kCmdSaveBookmark, !NoMoves()},
      {kCmdSolver, SolverAllowed()},
  };
  for (const auto& [command, enabled] : states) {
    window->SetButtonEnabled(command, enabled);
  }
}
