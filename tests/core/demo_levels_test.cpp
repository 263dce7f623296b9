// Every level of every set of the bundled data directory is solved by its stored solution
// when the solution is replayed through the engine, as a pasted solution is.
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

// tests/data/<set name in lower case>_solutions.txt: lines "<level> <letters>"; lines
// starting with ";" are comments.
std::vector<DemoSolution> ReadSolutions(std::string set) {
  std::transform(set.begin(), set.end(), set.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  std::ifstream in(kRepository / "tests/data" / (set + "_solutions.txt"));
  std::vector<DemoSolution> solutions;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    DemoSolution solution;
    if (line.rfind(';', 0) != 0 && fields >> solution.level >> solution.letters) {
      solutions.push_back(solution);
    }
  }
  return solutions;
}

class DemoLevelsTest : public EngineTest {};

TEST_F(DemoLevelsTest, EveryBundledLevelIsSolvedByItsSolution) {
  // The bundled level-set table and level files, copied into the test's data directory.
  std::filesystem::copy(
      kRepository / "data/Mazes", "Mazes",
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::skip_existing);
  std::filesystem::create_directories("Ini");
  std::filesystem::copy_file(kRepository / "data/Ini/Mazes.Ini", "Ini/Mazes.Ini");
  MazesIni();
  int sets = 0;
  for (LevelSetEntry* set = first_level_set(); set != nullptr; set = next_level_set(set)) {
    ++sets;
    const std::vector<DemoSolution> solutions = ReadSolutions(set->name);
    ASSERT_EQ(static_cast<int>(solutions.size()), set->count) << set->name;
    set_current_set(set->name);
    set_current_level_count(set->count);
    for (const DemoSolution& solution : solutions) {
      SCOPED_TRACE(std::string(set->name) + " level " + std::to_string(solution.level));
      set_current_level(solution.level);
      load_current_level();
      ASSERT_GT(MazeHeight(), 0);
      ASSERT_FALSE(level_complete());
      ASSERT_EQ(replay_text(solution.letters, ReplayMode::kQuick), 0);
      PumpMessages(hooks());
      EXPECT_TRUE(level_complete());
      const int pushes =
          static_cast<int>(std::count_if(solution.letters.begin(), solution.letters.end(),
                                         [](char c) { return std::isupper(c); }));
      // The letters written while replaying agree with the solution, push for push.
      EXPECT_EQ(std::string(step_letters()), solution.letters);
      ASSERT_EQ(SolutionRecords().size(), 1u);
      EXPECT_EQ(SolutionRecords()[0].name,
                std::to_string(solution.letters.size()) + "." + std::to_string(pushes) + ".P");
    }
  }
  EXPECT_GE(sets, 4);
}

}  // namespace
