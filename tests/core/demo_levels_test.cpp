// Every demo level of the delivered "Screens" set is solved by its stored solution when the
// solution is replayed through the engine, as a pasted solution is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"
#include "engine_fixture.h"
#include "rv7ini.h"
#include "rv7score.h"

namespace {

const std::filesystem::path kRepository = RV7_REPOSITORY_DIR;

struct DemoSolution {
  int level = 0;
  std::string letters;
};

std::vector<DemoSolution> ReadSolutions() {
  std::ifstream in(kRepository / "tests/data/screens_solutions.txt");
  std::vector<DemoSolution> solutions;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    DemoSolution solution;
    if (fields >> solution.level >> solution.letters) {
      solutions.push_back(solution);
    }
  }
  return solutions;
}

class DemoLevelsTest : public EngineTest {};

TEST_F(DemoLevelsTest, EveryScreensLevelIsSolvedByItsSolution) {
  const std::vector<DemoSolution> solutions = ReadSolutions();
  ASSERT_FALSE(solutions.empty());
  ASSERT_EQ(MakeDirectory("Mazes\\Screens"), 0);
  set_current_set("Screens");
  set_current_level_count(static_cast<int>(solutions.size()));
  for (const DemoSolution& solution : solutions) {
    SCOPED_TRACE("level " + std::to_string(solution.level));
    const std::string name = "Screen." + std::to_string(solution.level);
    std::filesystem::copy_file(kRepository / "data/Mazes/Screens" / name,
                               std::filesystem::path("Mazes/Screens") / name);
    set_current_level(solution.level);
    load_current_level();
    ASSERT_GT(MazeHeight(), 0);
    ASSERT_FALSE(level_complete());
    ASSERT_EQ(replay_text(solution.letters, ReplayMode::kQuick), 0);
    PumpMessages(hooks());
    EXPECT_TRUE(level_complete());
    const int pushes = static_cast<int>(std::count_if(
        solution.letters.begin(), solution.letters.end(), [](char c) { return std::isupper(c); }));
    // The letters written while replaying agree with the solution, push for push.
    EXPECT_EQ(std::string(step_letters()), solution.letters);
    ASSERT_EQ(SolutionRecords().size(), 1u);
    EXPECT_EQ(SolutionRecords()[0].name,
              std::to_string(solution.letters.size()) + "." + std::to_string(pushes) + ".P");
  }
}

}  // namespace
