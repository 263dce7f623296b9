// The search behind the entry points, judged by replaying its answers on the levels.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "level_text.h"
#include "replay_check.h"
#include "rv7solv.h"
#include "solve_helper.h"

namespace {

std::string read_suite() {
  std::ifstream in(RV7_SOLVER_SUITE, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string drawing_of(const rv7solv::LevelText& level) {
  std::string drawing;
  for (const std::string& row : level.rows) {
    drawing += row + "\n";
  }
  return drawing;
}

TEST(Search, EverySuiteSolutionReplaysWithTheReportedCounts) {
  const auto levels = rv7solv::parse_levels(read_suite());
  ASSERT_GE(levels.size(), 30U);
  int solved = 0;
  for (const rv7solv::LevelText& level : levels) {
    const Answer answer = solve_drawing(&Rv7Solver2, drawing_of(level));
    EXPECT_TRUE(answer.text_guarded) << level.name;
    EXPECT_EQ(answer.returned, answer.code) << level.name;
    if (answer.code != 6) {
      EXPECT_TRUE(answer.code == 3 || answer.code == 4) << level.name << " " << answer.code;
      continue;
    }
    ++solved;
    const ReplayResult replay = replay_steps(level.rows, answer.text);
    EXPECT_TRUE(replay.legal && replay.solved) << level.name << " " << answer.text;
    EXPECT_EQ(replay.moves, answer.moves) << level.name;
    EXPECT_EQ(replay.pushes, answer.pushes) << level.name;
  }
  EXPECT_GE(solved, levels.size() / 2);
}

TEST(Search, SameLevelGivesTheSameAnswerEveryTime) {
  constexpr char kLevel[] = R"(
#########
#   #   #
# $   $ #
#  ...  #
#@ .$.  #
# $ $   #
#   #   #
#########
)";
  const Answer first = solve_drawing(&Rv7Solver2, kLevel);
  ASSERT_EQ(first.code, 6);
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(solve_drawing(&Rv7Solver2, kLevel), first);
  }
}

TEST(Search, GoalCrateCuttingTheRoomInTwoStillMeetsFromThePlayersSide) {
  // With the crate on its goal the room falls into two regions, each a backward start.
  constexpr char kSplit[] = "#######\n#@$.  #\n#  #  #\n#######\n";
  const Answer answer = solve_drawing(&Rv7Solver2, kSplit);
  ASSERT_EQ(answer.code, 6);
  EXPECT_EQ(answer.text, "r");
  EXPECT_EQ(answer.pushes, 1);
}

TEST(Search, DeadEndsBesideThePathDoNotChangeTheAnswer) {
  constexpr char kPlain[] = "#######\n#@ $. #\n#######\n";
  constexpr char kWithDeadEnds[] = "#######\n#@ $. #\n# ### #\n# # # #\n#######\n";
  const Answer plain = solve_drawing(&Rv7Solver2, kPlain);
  ASSERT_EQ(plain.code, 6);
  EXPECT_EQ(solve_drawing(&Rv7Solver2, kWithDeadEnds).text, plain.text);
}

TEST(Search, PlayerInABlindCellIsNeverWalledIn) {
  constexpr char kBlindStart[] = "#######\n# $ . #\n# #####\n#@#\n###\n";
  const Answer answer = solve_drawing(&Rv7Solver2, kBlindStart);
  ASSERT_EQ(answer.code, 6);
  EXPECT_EQ(answer.text, "uurr");
}

}  // namespace
