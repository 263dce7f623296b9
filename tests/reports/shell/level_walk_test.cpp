#include "level_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_shell.h"
#include "report_test_support.h"
#include "rv7ini.h"

namespace {

class LevelWalk : public ::testing::Test {
 protected:
  void TearDown() override { release_ini(); }

  // Every text of a whole walk over the table read afresh from `mazes`, the final empty one
  // excluded (the walk must end within kLimit calls).
  std::vector<std::string> Walk(const std::string& mazes, std::string_view suffix = "") {
    release_ini();
    WriteFile("Ini/Mazes.Ini", mazes);
    MazesIni();
    LevelWalkReset();
    std::vector<std::string> texts;
    std::string text = "not emptied";
    for (int call = 0; call < kLimit; ++call) {
      LevelWalkNext(text, suffix);
      if (text.empty()) {
        return texts;
      }
      texts.push_back(text);
    }
    ADD_FAILURE() << "the walk did not end";
    return texts;
  }

  static constexpr int kLimit = 3 * kMaxMissingLevels;
  DataDirectory data_;
};

TEST_F(LevelWalk, YieldsStartTextThenEveryLevelOfEverySetInTableOrder) {
  EXPECT_EQ(Walk("[Mazes]\nB = 2\nA = 1\n"),
            (std::vector<std::string>{"Initialising...", "Mazes\\B\\B.1", "Mazes\\B\\B.2",
                                      "Mazes\\A\\A.1"}));
}

TEST_F(LevelWalk, StartTextNamesNoLevelAndLevelsAreCurrentWhenYielded) {
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nScreens = 2\n");
  MazesIni();
  LevelWalkReset();
  std::string text;
  LevelWalkNext(text, "");
  EXPECT_EQ(current_level(), 0);
  EXPECT_STREQ(current_set(), "Screens");
  EXPECT_EQ(current_level_count(), 2);
  LevelWalkNext(text, "");
  EXPECT_EQ(text, "Mazes\\Screens\\Screen.1");
  EXPECT_EQ(current_level(), 1);
  EXPECT_STREQ(LevelWalkEntry()->name, "Screens");
}

TEST_F(LevelWalk, SuffixIsAppendedToEveryLevelPath) {
  EXPECT_EQ(Walk("[Mazes]\nS = 1\n", ".rv7"),
            (std::vector<std::string>{"Initialising...", "Mazes\\S\\S.1.rv7"}));
}

TEST_F(LevelWalk, SetWithoutLevelsEndsTheWalk) {
  EXPECT_EQ(Walk("[Mazes]\nA = 1\nZ = 0\nC = 1\n"),
            (std::vector<std::string>{"Initialising...", "Mazes\\A\\A.1"}));
  EXPECT_EQ(Walk("[Mazes]\nZ = -3\nC = 1\n"), (std::vector<std::string>{"Initialising..."}));
}

TEST_F(LevelWalk, SetsEndWhereTheirFilesEndBeforeALongGap) {
  WriteFile("Mazes/Huge/Huge.1", "#");
  WriteFile("Mazes/Huge/Huge.2.rv7", "");  // a score file counts as much as a level file
  WriteFile("Mazes/Gap/Gap.1", "#");
  WriteFile("Mazes/Gap/Gap." + std::to_string(kMaxMissingLevels) + ".rv7", "");
  const std::string gap_count = std::to_string(kMaxMissingLevels + 2);
  const std::vector<std::string> texts = Walk(
      "[Mazes]\nHuge = 2147483647\nNone = 5000\nShort = 3\nGap = " + gap_count + "\nAfter = 1\n");
  std::vector<std::string> expected = {"Initialising...",       "Mazes\\Huge\\Huge.1",
                                       "Mazes\\Huge\\Huge.2",   "Mazes\\Short\\Short.1",
                                       "Mazes\\Short\\Short.2", "Mazes\\Short\\Short.3"};
  for (int level = 1; level <= kMaxMissingLevels + 2; ++level) {
    expected.push_back("Mazes\\Gap\\Gap." + std::to_string(level));  // a gap of 998 is walked
  }
  expected.push_back("Mazes\\After\\After.1");
  EXPECT_EQ(texts, expected);

  // The set ends with its last level with files: the reports see it as the set's last.
  release_ini();
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nHuge = 2147483647\n");
  MazesIni();
  LevelWalkReset();
  std::string text;
  for (int call = 0; call < 3; ++call) {
    LevelWalkNext(text, "");
  }
  EXPECT_EQ(text, "Mazes\\Huge\\Huge.2");
  EXPECT_EQ(current_level_count(), 2);
  EXPECT_EQ(LevelWalkEntry()->count, 2147483647);
}

TEST_F(LevelWalk, EmptyTableYieldsOnlyTheStartText) {
  EXPECT_EQ(Walk(""), (std::vector<std::string>{"Initialising..."}));
  EXPECT_EQ(LevelWalkEntry(), nullptr);
  std::string text = "x";
  LevelWalkNext(text, "");
  EXPECT_EQ(text, "");
}

TEST_F(LevelWalk, ResetStartsAgainFromTheFirstSet) {
  Walk("[Mazes]\nA = 1\n");
  LevelWalkReset();
  std::string text;
  LevelWalkNext(text, "");
  LevelWalkNext(text, "");
  EXPECT_EQ(text, "Mazes\\A\\A.1");
}

TEST_F(LevelWalk, PassVisitsEveryLevelSelectedAndEndsWithAnEmptyStatusLine) {
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nB = 2\nA = 1\nZ = 0\nC = 1\n");
  MazesIni();
  std::vector<std::string> visits;
  WalkLevels("Pass 1...", ".rv7", [&visits](const std::string& path) {
    EXPECT_EQ(StatusLine(), path);
    visits.push_back(path + " " + current_set() + " " + std::to_string(current_level()));
  });
  EXPECT_EQ(visits, (std::vector<std::string>{"Mazes\\B\\B.1.rv7 B 1", "Mazes\\B\\B.2.rv7 B 2",
                                              "Mazes\\A\\A.1.rv7 A 1"}));
  EXPECT_EQ(StatusLine(), "");
}

TEST_F(LevelWalk, PassOverAnEmptyTableVisitsNothing) {
  WriteFile("Ini/Mazes.Ini", "");
  MazesIni();
  int visits = 0;
  WalkLevels("Pass 2...", "", [&visits](const std::string&) { ++visits; });
  EXPECT_EQ(visits, 0);
  EXPECT_EQ(StatusLine(), "");
}

}  // namespace
