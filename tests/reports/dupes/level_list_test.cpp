#include "level_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_shell.h"
#include "report_test_support.h"
#include "rv7ini.h"

namespace {

constexpr char kLevel[] =
    "; a level with its goals and crates in two rows\n"
    "######\n"
    "#@$ .#\n"
    "# $. #\n"
    "#    #\n"
    "######\n";

// The rows of a shape as texts (each up to its first zero byte), over its stored height.
std::vector<std::string> RowsOf(const LevelShape& shape) {
  std::vector<std::string> rows;
  for (int r = 0; r < shape.height(); ++r) {
    rows.emplace_back(shape.row(r), strnlen(shape.row(r), shape.width()));
  }
  return rows;
}

class LevelList : public ::testing::Test {
 protected:
  void TearDown() override { release_ini(); }
  void ReadTable(const std::string& mazes) {
    WriteFile("Ini/Mazes.Ini", mazes);
    MazesIni();
  }
  DataDirectory data_;
};

TEST_F(LevelList, EntryKeepsLoadedSizeForBothGrids) {
  WriteFile("Mazes/S/S.1", kLevel);
  ReadTable("[Mazes]\nS = 1\n");
  const std::vector<LevelEntry> levels = BuildLevelList();
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].path, "Mazes\\S\\S.1");
  EXPECT_EQ(levels[0].full.width(), 6);
  EXPECT_EQ(levels[0].full.height(), 5);
  EXPECT_EQ(RowsOf(levels[0].full),
            (std::vector<std::string>{"######", "#@$ .#", "# $. #", "#    #", "######"}));
  EXPECT_EQ(levels[0].reduced.width(), 6);
  EXPECT_EQ(levels[0].reduced.height(), 5);
  // The reduction leaves four rows, each narrower than the loaded width by nothing here.
  EXPECT_EQ(RowsOf(levels[0].reduced),
            (std::vector<std::string>{"######", "#@$#.#", "##$.##", "######", ""}));
  EXPECT_EQ(StatusLine(), "");
}

TEST_F(LevelList, UnreadableLevelGivesAnEntryThatNeverMatches) {
  WriteFile("Mazes/S/S.1", kLevel);
  ReadTable("[Mazes]\nS = 2\n");
  const std::vector<LevelEntry> levels = BuildLevelList();
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[1].path, "Mazes\\S\\S.2");
  EXPECT_EQ(levels[1].full.width(), 0);
  EXPECT_EQ(levels[1].full.height(), 0);
  EXPECT_FALSE(SameSizeCondition(levels[1].full, levels[1].full));
}

TEST_F(LevelList, WalkStopsAtASetWithoutLevels) {
  WriteFile("Mazes/A/A.1", kLevel);
  WriteFile("Mazes/C/C.1", kLevel);
  ReadTable("[Mazes]\nA = 1\nB = 0\nC = 1\n");
  const std::vector<LevelEntry> levels = BuildLevelList();
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0].path, "Mazes\\A\\A.1");
}

}  // namespace
