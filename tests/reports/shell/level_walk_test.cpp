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

  static constexpr int kLimit = 100;
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
