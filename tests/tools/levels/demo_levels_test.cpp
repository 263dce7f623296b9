// The bundled "Screens" set: every level listed in Mazes.Ini exists, is playable, and the
// stored solution of each one solves it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "level.h"

namespace levels {
namespace {

const std::string kData = std::string(RV7_SOURCE_DIR) + "/data/";
const std::string kSolutions = std::string(RV7_SOURCE_DIR) + "/tests/data/screens_solutions.txt";

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int screens_count() {
  std::istringstream ini(read_text(kData + "Ini/Mazes.Ini"));
  std::string line;
  while (std::getline(ini, line)) {
    if (line.rfind("Screens ", 0) == 0) {
      return std::stoi(line.substr(line.find('=') + 1));
    }
  }
  return 0;
}

std::map<int, std::string> solutions() {
  std::map<int, std::string> by_level;
  std::istringstream file(read_text(kSolutions));
  int number = 0;
  std::string letters;
  while (file >> number >> letters) {
    EXPECT_TRUE(by_level.emplace(number, letters).second) << "level " << number << " twice";
  }
  return by_level;
}

std::string level_path(int n) {
  return kData + "Mazes/Screens/Screen." + std::to_string(n);
}

TEST(ScreensDemoSet, MazesIniCountsExactlyTheLevelFilesOfScreens) {
  const int count = screens_count();
  EXPECT_GE(count, 12);
  for (int n = 1; n <= count; ++n) {
    EXPECT_TRUE(std::ifstream(level_path(n)).good()) << n;
  }
  EXPECT_FALSE(std::ifstream(level_path(count + 1)).good());
}

TEST(ScreensDemoSet, EveryLevelHasAStoredSolutionThatSolvesIt) {
  const std::map<int, std::string> stored = solutions();
  const int count = screens_count();
  EXPECT_EQ(static_cast<int>(stored.size()), count);
  for (int n = 1; n <= count; ++n) {
    SCOPED_TRACE("Screen." + std::to_string(n));
    const ParseResult parsed = parse_level(read_text(level_path(n)));
    ASSERT_TRUE(parsed.level.has_value()) << parsed.error;
    // The game's solver takes levels of at most 254 squares and 13 crates.
    EXPECT_LE(parsed.level->width * parsed.level->height, 254);
    EXPECT_LE(parsed.level->crates.size(), 13u);
    const auto it = stored.find(n);
    ASSERT_NE(it, stored.end());
    const Replay replay = replay_steps(*parsed.level, it->second);
    EXPECT_TRUE(replay.valid) << replay.reason << " at letter " << replay.stopped_at;
    EXPECT_TRUE(replay.solved);
  }
}

}  // namespace
}  // namespace levels
