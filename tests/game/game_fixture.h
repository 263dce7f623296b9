// The game window over a data directory of its own: a fresh temporary directory, made
// current, filled from raw strings, then the settings read and the real main window created
// exactly as the program does it (offscreen). Tiles are solid colours, one per kind, so the
// pixels show which tile a cell got. Beeps are counted instead of sounded.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include <memory>
#include <string>
#include <string_view>

#include "layout.h"
#include "rv7bmps.h"
#include "rv7game.h"
#include "scratch_directory.h"

// The screen the tests assume unless they say otherwise: largest tile size 31.
inline constexpr ScreenMetrics kTestScreen{1023, 768, 1, 1, 19};

// Levels used by several tests. The corridor is solved by right, right, push right; the
// one-push level by a single push right.
inline constexpr char kCorridor[] = R"(#######
#@  $.#
#######
)";
inline constexpr char kOnePush[] = R"(#####
#@$.#
#####
)";
// A score file of the corridor with the solution rrR by "Someone".
inline constexpr char kCorridorBest[] = R"(
# comment:
# some game solutions.
# do not modify.

[3.1.Someone]
rrR

)";

// Colour of the placeholder tile of a kind; distinct from each other and from the background.
QColor KindColour(TileKind kind);

// Number of low beeps since the test began.
int LowBeeps();

class GameWindowTest : public ::testing::Test {
 public:
  // Writes `bytes` exactly to the suite path ("Mazes\Set\Set.1"), making its directories.
  static void WriteFile(std::string_view suite_path, std::string_view bytes);
  // The whole file; empty when it does not exist.
  static std::string ReadFile(std::string_view suite_path);

  // Game.Ini selecting `set` at `level` for `player`, Mazes.Ini with the set's `count`.
  static void WriteSettings(std::string_view player, std::string_view set, int level, int count);

  // Runs the application's event loop as main2 does, until a quit request ends it or
  // `patience_ms` passed; returns the loop's exit code, kLoopPatienceOver after the patience.
  // Unlike a nested loop it leaves no quit request behind for later loops.
  static int RunApplicationLoop(int patience_ms);
  static constexpr int kLoopPatienceOver = 7;

 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Reads the settings and creates, shows and paints the main window.
  void Start();
  // Deletes the window and writes the settings back, as the program's end does.
  void Finish();
  // Deletes the window and drops the settings unwritten, ready for another Start.
  void Discard();

  // Sends a key press to the window as the keyboard would.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Paints the window now (which also updates the buttons) and returns what it shows.
  QImage Shot();
  // Processes events until no replay runs (at most a few seconds).
  void WaitForReplayEnd();

  bool Enabled(Command command) const { return window_->Button(command)->isEnabled(); }
  // Colour at the centre of board cell (row, col) in the board image and on screen.
  QColor BoardColour(int row, int col) const;
  QColor ScreenColour(const QImage& shot, int row, int col) const;

  std::unique_ptr<GameWindow> window_;

 private:
  // Restores the previous current directory after TearDown, when the test object goes.
  ScratchDirectory scratch_{"rv7game"};
  bool finished_ = false;
};
