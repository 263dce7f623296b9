// The game's solver, loaded from librv7solv.so as the game loads it, solves every level of
// the bundled level sets, each handed over as the game's Solver button builds its board.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "level_text.h"
#include "replay_check.h"
#include "rv7ini.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "solve_helper.h"

namespace {

constexpr int32_t kSolved = 6;
// The sanitizer build solves every kStride-th level and the last of each set; the
// optimised build all of them.
#ifdef RV7_SANITIZED
constexpr int kStride = 9;
#else
constexpr int kStride = 1;
#endif

class LoadedLibrary {
 public:
  LoadedLibrary() : handle_(dlopen(RV7SOLV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedLibrary() {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  Solver2Fn solver() const {
    return handle_ == nullptr ? nullptr : reinterpret_cast<Solver2Fn>(dlsym(handle_, "Rv7Solver2"));
  }

 private:
  void* handle_;
};

TEST(BundledLevels, TheGamesSolverSolvesEveryLevelOfEveryBundledSet) {
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(RV7_DATA_DIR);  // read only: no level here has a score file
  release_ini();
  MazesIni();
  int sets = 0;
  for (LevelSetEntry* set = first_level_set(); set != nullptr; set = next_level_set(set)) {
    ++sets;
    set_current_set(set->name);
    set_current_level_count(set->count);
    for (int level = 1; level <= set->count; ++level) {
      if ((level - 1) % kStride != 0 && level != set->count) {
        continue;
      }
      SCOPED_TRACE(std::string(set->name) + " level " + std::to_string(level));
      set_current_level(level);
      GetMaze();
      ASSERT_GT(MazeHeight(), 0);
      // The Solver button takes levels of at most 254 squares.
      EXPECT_LE(MazeWidth() * MazeHeight(), 254);
      // The loaded rows, coded cell by cell as the Solver button codes them.
      rv7solv::LevelText loaded{set->name, {}};
      for (int row = 0; row < MazeHeight(); ++row) {
        loaded.rows.emplace_back(LevelRow(row));
      }
      ASSERT_EQ(loaded.width(), MazeWidth());
      const auto board = rv7solv::board_codes(loaded);
      const LoadedLibrary library;  // a fresh library for every solve, as in the game
      ASSERT_NE(library.solver(), nullptr);
      const Answer answer = call_solver(library.solver(), board.data(), MazeWidth(), MazeHeight());
      ASSERT_EQ(answer.code, kSolved);
      EXPECT_GT(answer.pushes, 0);
      const ReplayResult replay = replay_steps(loaded.rows, answer.text);
      EXPECT_TRUE(replay.legal && replay.solved) << answer.text;
      EXPECT_EQ(replay.moves, answer.moves);
      EXPECT_EQ(replay.pushes, answer.pushes);
    }
  }
  ClearStats();
  release_ini();
  std::filesystem::current_path(previous);
  EXPECT_GE(sets, 4);
}

}  // namespace
