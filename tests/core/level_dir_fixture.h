// A data directory of its own for each test: a fresh temporary directory, made current, with
// Mazes\Set in it and the selection at set "Set", level 1, player "P". Removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "display_hooks.h"
#include "files.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "scratch_directory.h"

class LevelDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.made());
    ASSERT_EQ(MakeDirectory("Mazes"), 0);
    ASSERT_EQ(MakeDirectory("Mazes\\Set"), 0);
    release_ini();
    set_current_set("Set");
    set_current_level(1);
    set_player_name("P");
    SetDisplayHooks(nullptr);
    ClearStats();
  }

  void TearDown() override {
    SetDisplayHooks(nullptr);
    ClearStats();
    release_ini();
  }

  // Writes `bytes` exactly (binary) to the suite path, making its directories.
  static void WriteFile(std::string_view suite_path, std::string_view bytes) {
    ASSERT_TRUE(WriteTextFile(NativePath(suite_path), bytes)) << suite_path;
  }

  // The whole file; empty when it does not exist.
  static std::string ReadFile(std::string_view suite_path) {
    return ReadTextFile(NativePath(suite_path));
  }

  // Writes level `level` of set "Set" and loads it.
  static void LoadLevel(std::string_view text, int level = 1) {
    set_current_level(level);
    WriteFile("Mazes\\Set\\Set." + std::to_string(level), text);
    GetMaze();
  }

  // Everything the game's trace log wrote (level trace) while `action` ran.
  static std::string CaptureTrace(const std::function<void()>& action) {
    setenv(kGameLog.base_name, "trace", 1);
    action();
    setenv(kGameLog.base_name, "default", 1);
    std::string trace;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
      if (entry.path().filename().string().starts_with(kGameLog.base_name)) {
        trace += ReadFile(entry.path().string());
      }
    }
    return trace;
  }

  // Rows 0..H-1 of the level grid as loaded.
  static std::vector<std::string> LevelRows() {
    std::vector<std::string> rows;
    for (int r = 0; r < MazeHeight(); ++r) {
      rows.emplace_back(LevelRow(r));
    }
    return rows;
  }

 private:
  // Restores the previous current directory after TearDown, when the test object goes.
  ScratchDirectory scratch_{"rv7level"};
};
