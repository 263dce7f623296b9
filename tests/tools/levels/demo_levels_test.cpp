// The bundled level sets: every level listed in Mazes.Ini exists, is playable within the
// game solver's limits, and the stored solution of each one solves it. The sets our
// generator made also keep what it promises: a title, no dead floor or needless walls,
// crate counts within the range they were made for, measures that match the levels, and
// a difficulty that rises through the set, clearly at its start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "checks.h"
#include "level.h"
#include "level_test_support.h"
#include "likeness.h"

namespace levels {
namespace {

const std::string kData = std::string(RV7_SOURCE_DIR) + "/data/";

// The game's Solver button takes levels of at most this many squares and crates.
constexpr int kSolverSquares = 254;
constexpr std::size_t kSolverCrates = 13;
// Levels at the start of a made set that must each need more pushes than the one before.
constexpr int kRisingStart = 10;

struct SetEntry {
  std::string name;
  int count = 0;
};

// The [Mazes] entries of the bundled Mazes.Ini, in file order.
std::vector<SetEntry> bundled_sets() {
  std::istringstream ini(read_text(kData + "Ini/Mazes.Ini"));
  std::vector<SetEntry> sets;
  bool in_section = false;
  for (std::string line; std::getline(ini, line);) {
    const std::size_t equals = line.find('=');
    if (line.rfind('[', 0) == 0) {
      in_section = line.rfind("[Mazes]", 0) == 0;
    } else if (in_section && equals != std::string::npos) {
      std::string name = line.substr(0, equals);
      name.erase(name.find_last_not_of(' ') + 1);
      sets.push_back({name, std::stoi(line.substr(equals + 1))});
    }
  }
  return sets;
}

std::string level_path(const std::string& set, int n) {
  const std::string base = set == "Screens" ? "Screen" : set;
  return kData + "Mazes/" + set + "/" + base + "." + std::to_string(n);
}

// What the solutions file of a set says: the command that made it (empty for a set made
// by hand), and per level its solution and the measures written beside it.
struct Solutions {
  std::string made_by;
  std::map<int, std::string> letters;
  std::map<int, std::map<std::string, double>> measures;
};

Solutions read_solutions(std::string set) {
  std::transform(set.begin(), set.end(), set.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  std::istringstream file(
      read_text(std::string(RV7_SOURCE_DIR) + "/tests/data/" + set + "_solutions.txt"));
  Solutions s;
  const std::regex measure(R"(([a-z]+)=([0-9.]+))");
  for (std::string line; std::getline(file, line);) {
    if (line.rfind("; Made by: ", 0) == 0) {
      s.made_by = line.substr(11);
    } else if (line.rfind("; ", 0) == 0) {
      const int n = std::atoi(line.c_str() + 2);
      for (std::sregex_iterator it(line.begin(), line.end(), measure), end; it != end; ++it) {
        s.measures[n][(*it)[1]] = std::stod((*it)[2]);
      }
    } else {
      std::istringstream fields(line);
      int n = 0;
      std::string letters;
      if (fields >> n >> letters) {
        EXPECT_TRUE(s.letters.emplace(n, letters).second) << set << " level " << n << " twice";
      }
    }
  }
  return s;
}

// Below this share of differing squares two rooms count as one.
constexpr int kSameRoomPercent = 12;

// The range "--crates MIN-MAX" of the command that made a set.
std::pair<int, int> crate_range(const std::string& made_by) {
  std::smatch m;
  EXPECT_TRUE(std::regex_search(made_by, m, std::regex(R"(--crates (\d+)-(\d+))"))) << made_by;
  return m.empty() ? std::pair{0, 0} : std::pair{std::stoi(m[1]), std::stoi(m[2])};
}

TEST(BundledSets, MazesIniCountsExactlyTheLevelFilesOfEverySet) {
  const std::vector<SetEntry> sets = bundled_sets();
  ASSERT_GE(sets.size(), 4u);
  int levels = 0;
  for (const SetEntry& set : sets) {
    EXPECT_GT(set.count, 0) << set.name;  // a set of 0 levels would end the report walks
    for (int n = 1; n <= set.count; ++n) {
      EXPECT_TRUE(std::ifstream(level_path(set.name, n)).good()) << set.name << " " << n;
    }
    EXPECT_FALSE(std::ifstream(level_path(set.name, set.count + 1)).good()) << set.name;
    levels += set.name == "Screens" ? 0 : set.count;
  }
  EXPECT_GE(levels, 150);
}

TEST(BundledSets, EveryLevelIsPlayableAndSolvedByItsStoredSolution) {
  for (const SetEntry& set : bundled_sets()) {
    const Solutions stored = read_solutions(set.name);
    EXPECT_EQ(static_cast<int>(stored.letters.size()), set.count) << set.name;
    for (int n = 1; n <= set.count; ++n) {
      SCOPED_TRACE(set.name + " level " + std::to_string(n));
      const ParseResult parsed = parse_level(read_text(level_path(set.name, n)));
      ASSERT_TRUE(parsed.level.has_value()) << parsed.error;
      EXPECT_LE(parsed.level->width * parsed.level->height, kSolverSquares);
      EXPECT_LE(parsed.level->crates.size(), kSolverCrates);
      const auto it = stored.letters.find(n);
      ASSERT_NE(it, stored.letters.end());
      const Replay replay = replay_steps(*parsed.level, it->second);
      EXPECT_TRUE(replay.valid) << replay.reason << " at letter " << replay.stopped_at;
      EXPECT_TRUE(replay.solved);
    }
  }
}

TEST(BundledSets, MadeSetsKeepTheGeneratorsPromises) {
  int made_sets = 0;
  for (const SetEntry& set : bundled_sets()) {
    const Solutions stored = read_solutions(set.name);
    if (stored.made_by.empty()) {
      continue;  // made by hand
    }
    ++made_sets;
    const auto [fewest, most] = crate_range(stored.made_by);
    std::map<std::string, double> before;
    for (int n = 1; n <= set.count; ++n) {
      SCOPED_TRACE(set.name + " level " + std::to_string(n));
      const std::string text = read_text(level_path(set.name, n));
      EXPECT_EQ(text.rfind("Title: ", 0), 0u);
      const ParseResult parsed = parse_level(text);
      ASSERT_TRUE(parsed.level.has_value()) << parsed.error;
      const Level& level = *parsed.level;
      EXPECT_TRUE(dead_floor(level).empty());
      EXPECT_TRUE(needless_walls(level).empty());
      const int crates = static_cast<int>(level.crates.size());
      EXPECT_GE(crates, fewest);
      EXPECT_LE(crates, most);
      const Replay replay = replay_steps(level, stored.letters.at(n));
      std::map<std::string, double> m = stored.measures.at(n);
      EXPECT_EQ(m["crates"], crates);
      EXPECT_EQ(m["pushes"], replay.pushes);
      EXPECT_EQ(m["moves"], replay.moves);
      // The score is written to one decimal: levels past the start may tie in print.
      if (n > 1) {
        EXPECT_GE(m["difficulty"], before["difficulty"]);
      }
      if (n > 1 && n <= kRisingStart) {
        EXPECT_GT(m["difficulty"], before["difficulty"]);
        EXPECT_GT(m["pushes"], before["pushes"]);
        EXPECT_GE(m["crates"], before["crates"]);
      }
      before = m;
    }
  }
  EXPECT_GE(made_sets, 3);
}

TEST(BundledSets, NoTwoLevelsAreBuiltInTheSameRoom) {
  struct Named {
    std::string name;
    Level level;
  };
  std::vector<Named> all;
  for (const SetEntry& set : bundled_sets()) {
    for (int n = 1; n <= set.count; ++n) {
      const ParseResult parsed = parse_level(read_text(level_path(set.name, n)));
      if (parsed.level) {
        all.push_back({set.name + " " + std::to_string(n), *parsed.level});
      }
    }
  }
  // The same walls, also turned or mirrored, with only the crates and goals elsewhere,
  // would make one level look like a copy of another.
  for (std::size_t a = 0; a < all.size(); ++a) {
    for (std::size_t b = a + 1; b < all.size(); ++b) {
      EXPECT_FALSE(same_room(all[a].level, all[b].level, kSameRoomPercent))
          << all[a].name << " and " << all[b].name;
    }
  }
}

}  // namespace
}  // namespace levels
