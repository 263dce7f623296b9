// Fixture of the engine, replay and navigation tests: a data directory of its own (see
// LevelDirTest), recording display hooks, no replay running, replay delay 0, and helpers to
// start levels, play letters, read the board and read the trace log the engine writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"
#include "level_dir_fixture.h"
#include "recording_hooks.h"

class EngineTest : public LevelDirTest {
 protected:
  void SetUp() override {
    LevelDirTest::SetUp();
    unsetenv(kLogVariable);
    stop_replay();
    set_selected_delay(0);
    set_facing(Facing::kNone);
    hooks_ = std::make_unique<RecordingHooks>();
  }

  void TearDown() override {
    stop_replay();
    unsetenv(kLogVariable);
    hooks_.reset();
    LevelDirTest::TearDown();
  }

  RecordingHooks& hooks() { return *hooks_; }

  // Writes level `level` of set "Set" (the set has `count` levels) and starts it as a change
  // of level does; the window paints it, then the record of the hooks is cleared.
  void Start(std::string_view text, int level = 1, int count = 1) {
    set_level_count("Set", count);
    set_current_level_count(count);
    set_current_level(level);
    WriteFile("Mazes\\Set\\Set." + std::to_string(level), text);
    load_current_level();
    PumpMessages(hooks());
    hooks().ClearRecord();
  }

  // Rows 0..H-1 of the board, W cells each, joined by "/".
  static std::string BoardText() {
    std::string text;
    for (int row = 0; row < MazeHeight(); ++row) {
      text.append(Board()[row].data(), MazeWidth());
      text += row + 1 < MazeHeight() ? "/" : "";
    }
    return text;
  }

  // Makes one step per letter as the arrow keys do (Facing first); returns how many were
  // refused.
  static int Play(std::string_view letters) {
    int refused = 0;
    for (const char letter : letters) {
      const auto direction = DirectionOfLetter(letter);
      EXPECT_TRUE(direction.has_value()) << letter;
      set_facing(FacingOf(*direction));
      refused += step(*direction);
    }
    return refused;
  }

  // Turns on the trace log at every level for the rest of the test.
  static void TraceAll() { setenv(kLogVariable, "all", 1); }

  // Lines of the trace log written into the data directory, in file order.
  static std::vector<std::string> LogLines();

  // Number of trace lines of `function` whose message is exactly `text`.
  static int CountTrace(std::string_view function, std::string_view text);

  // Number of low beeps traced so far.
  static int LowBeeps() { return CountTrace("Beep", "beep, freq=500, ms=50"); }

 private:
  static constexpr char kLogVariable[] = "RV7LOG";
  std::unique_ptr<RecordingHooks> hooks_;
};
