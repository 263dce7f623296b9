#include "solver_command.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "dialog_base.h"
#include "dialogs.h"
#include "engine.h"
#include "rv7game.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "services.h"
#include "solver_library.h"
#include "step_text.h"
#include "thinking_dialog.h"

namespace {

constexpr const char* kLogModule = kDialogLogModule;

constexpr int kSolverCells = 256;
constexpr int16_t kWallCode = 4;

// Result codes of the library.
constexpr int32_t kNotCalled = -1;
constexpr int32_t kImpossible = 3;
constexpr int32_t kGivenUp = 4;
constexpr int32_t kSolved = 6;
constexpr int32_t kStopped = 8;

constexpr char kLoadFailedText[] = "Failed to load Solver (librv7solv.so)";
constexpr char kNoEntryText[] = "Failed to load Solver (rv7solver2)";
constexpr char kTooComplexText[] = "Solver finds it too Complex! and Difficult!!";
constexpr char kGivenUpText[] = "Solver has Given Up!";
constexpr char kImpossibleText[] = "Solver finds it Impossible!";
constexpr char kOtherCodeFormat[] = "Solver returned with code %d!";

// What crosses the library boundary besides the step text buffer (step_text.h); the game
// owns it for the whole run.
struct SolverExchange {
  std::array<int16_t, kSolverCells> board{};
  int32_t code = kNotCalled;
  int32_t moves = 0;
  int32_t pushes = 0;
};
SolverExchange g_exchange;

int16_t CellCode(char cell) {
  switch (cell) {
    case kFloor:
      return 0;
    case kGoal:
      return 1;
    case kCrate:
      return 2;
    case kCrateOnGoal:
      return 3;
    case kPlayer:
      return 5;
    case kPlayerOnGoal:
      return 9;
    default:
      return kWallCode;  // walls and any other character
  }
}

// Every cell a wall, then the level's cells in row order (row * width + column).
void BuildBoard() {
  g_exchange.board.fill(kWallCode);
  const int width = MazeWidth();
  for (int row = 0; row < MazeHeight(); ++row) {
    const std::string_view cells = LevelRow(row);
    for (int col = 0; col < width && col < static_cast<int>(cells.size()); ++col) {
      g_exchange.board[static_cast<std::size_t>(row * width + col)] = CellCode(cells[col]);
    }
  }
}

void ShowMessage(QWidget* owner, const std::string& text) {
  RV7_LOG(kLogInfo, "%s", text.c_str());
  SetMessageLines(text, "");
  SolverMessageDialog(owner);
}

bool SolutionFits() {
  return g_exchange.moves > 0 && g_exchange.pushes > 0 && g_exchange.moves <= kHistoryLimit;
}

// Records the solution under the solver's name and replays it; the player is not credited.
void TakeSolution() {
  const auto moves = static_cast<std::size_t>(g_exchange.moves);
  StepText()[moves] = '\0';
  const std::string_view letters(StepText(), moves);
  RV7_LOG(kLogInfo, "solved, moves=%d, pushes=%d", g_exchange.moves, g_exchange.pushes);
  RecordUnplayedSolution(letters, g_exchange.moves, g_exchange.pushes, kSolverName);
  replay_text(letters, ReplayMode::kStored);
}

void JudgeAnswer(QWidget* owner) {
  switch (g_exchange.code) {
    case kSolved:
      return SolutionFits() ? TakeSolution() : ShowMessage(owner, kTooComplexText);
    case kGivenUp:
      return ShowMessage(owner, kGivenUpText);
    case kImpossible:
      return ShowMessage(owner, kImpossibleText);
    case kStopped:
      return;  // stopped by the player: nothing happened
    default: {
      std::array<char, sizeof kOtherCodeFormat + 16> text{};
      std::snprintf(text.data(), text.size(), kOtherCodeFormat, g_exchange.code);
      return ShowMessage(owner, text.data());
    }
  }
}

void CallSolver(Rv7Solver2Fn solver) {
  solver(g_exchange.board.data(), &g_exchange.code, &g_exchange.moves, &g_exchange.pushes,
         StepText(), MazeWidth(), MazeHeight());
}

}  // namespace

void Solve(QWidget* owner) {
  RV7_ENTRY();
  if (!SolverAllowed()) {
    LowBeep();
    RV7_EXIT();
    return;
  }
  BuildBoard();
  g_exchange.code = kNotCalled;
  SolverLibrary library;
  if (!library.loaded()) {
    ShowMessage(owner, kLoadFailedText);
  } else if (library.solver() == nullptr) {
    library.Unload();
    ShowMessage(owner, kNoEntryText);
  } else {
    const Rv7Solver2Fn solver = library.solver();
    const Rv7SolverAbortFn abort = library.abort();
    const ThinkingOutcome outcome =
        RunThinking(owner, [solver] { CallSolver(solver); },
                    abort != nullptr ? std::function<void()>(abort) : std::function<void()>());
    library.Unload();
    RV7_LOG(kLogInfo, "code=%d", g_exchange.code);
    if (outcome.quit_requested) {
      PostQuit();
    } else {
      JudgeAnswer(owner);
    }
  }
  RV7_EXIT();
}

void InstallSolverService(GameServices& services) {
  services.solve = &Solve;
}
