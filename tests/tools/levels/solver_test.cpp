#include "solver.h"
#include "level_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace levels {
namespace {

int pushes_in(const std::string& letters) {
  return static_cast<int>(
      std::count_if(letters.begin(), letters.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
}

TEST(LevelCheckSolver, FindsASolutionThatItsOwnReplayAccepts) {
  const Level level =
      parse_ok("  #####\n###   #\n# $ # ##\n# #  . #\n#    # #\n## #   #\n #@  ###\n #####\n");
  const SolveResult found = solve(level);
  ASSERT_TRUE(found.letters.has_value());
  const Replay replay = replay_steps(level, *found.letters);
  EXPECT_TRUE(replay.solved) << *found.letters;
}

TEST(LevelCheckSolver, UsesTheFewestPushes) {
  // The crate must travel three squares right and one square down; a detour would
  // push more often.
  const Level level = parse_ok("#######\n#     #\n#@$   #\n#     #\n#    .#\n#######\n");
  const SolveResult found = solve(level);
  ASSERT_TRUE(found.letters.has_value());
  EXPECT_EQ(pushes_in(*found.letters), 5);
  EXPECT_TRUE(replay_steps(level, *found.letters).solved);
}

TEST(LevelCheckSolver, ReportsAnAlreadySolvedLevelWithNoSteps) {
  const SolveResult found = solve(parse_ok("#####\n#@* #\n#####\n"));
  ASSERT_TRUE(found.letters.has_value());
  EXPECT_EQ(*found.letters, "");
}

TEST(LevelCheckSolver, ReportsNoSolutionForADeadLevelWithoutGivingUp) {
  // The crate can only move along the top row, which holds no goal.
  const SolveResult found = solve(parse_ok("######\n#$  @#\n#   .#\n######\n"));
  EXPECT_FALSE(found.letters.has_value());
  EXPECT_FALSE(found.gave_up);
}

TEST(LevelCheckSolver, GivesUpAtThePositionLimit) {
  const Level level =
      parse_ok("########\n#      #\n# $$$$ #\n#  @   #\n# .... #\n#      #\n########\n");
  const SolveResult limited = solve(level, 10);
  EXPECT_FALSE(limited.letters.has_value());
  EXPECT_TRUE(limited.gave_up);
  const SolveResult full = solve(level);
  ASSERT_TRUE(full.letters.has_value());
  EXPECT_TRUE(replay_steps(level, *full.letters).solved);
}

}  // namespace
}  // namespace levels
