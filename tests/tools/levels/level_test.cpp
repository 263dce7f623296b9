#include "level.h"
#include "level_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace levels {
namespace {

constexpr char kSmall[] = R"(Title: Small
Author: Us
#######
#.    #
#  $  #
#.$@$.#
#######
)";

TEST(LevelCheckReader, ReadsGridCratesGoalsAndKeeperBehindTags) {
  const Level level = parse_ok(kSmall);
  EXPECT_EQ(level.width, 7);
  EXPECT_EQ(level.height, 5);
  EXPECT_EQ(level.crates, (std::vector<int>{2 * 7 + 3, 3 * 7 + 2, 3 * 7 + 4}));
  EXPECT_EQ(level.keeper, 3 * 7 + 3);
  EXPECT_EQ(level.goal_count(), 3);
}

TEST(LevelCheckReader, IndentationCarriageReturnsCommentsAndSplitGridsReadAlike) {
  const Level plain = parse_ok(kSmall);
  const Level dressed = parse_ok(
      "; a remark\r\n    #######\r\n    #.    #\r\n\r\nComment:\r\n  # not a row\r\n"
      "Comment-End:\r\n    #  $  #   \r\n/ another\r\n    #.$@$.#\r\n    #######\r\n");
  EXPECT_EQ(dressed.width, plain.width);
  EXPECT_EQ(dressed.height, plain.height);
  EXPECT_EQ(dressed.crates, plain.crates);
  EXPECT_EQ(dressed.keeper, plain.keeper);
  EXPECT_EQ(dressed.squares, plain.squares);
}

TEST(LevelCheckReader, SquaresOutsideTheWallsBecomeWall) {
  const Level level = parse_ok("  #####\n###  .#\n#@$   #\n#######\n");
  EXPECT_EQ(level.at(0), Square::kWall);  // blank before the top wall
  EXPECT_EQ(level.at(1 * 7 + 5), Square::kGoal);
  EXPECT_EQ(level.at(2 * 7 + 3), Square::kFloor);
}

TEST(LevelCheckReader, RefusesWhatCannotBePlayed) {
  const std::vector<std::pair<std::string, std::string>> bad{
      {"", "empty text"},
      {"Title: nothing\n", "no grid rows"},
      {"#####\n#@@.#\n#$  #\n#####\n", "two keepers"},
      {"#####\n# $.#\n#####\n", "no keeper"},
      {"#####\n#@$ #\n#####\n", "crate without goal"},
      {"#####\n#@. #\n#####\n", "no crate"},
      {"#####\n#@$.\n#####\n", "open right side"},
      {"#####\n#@$.#\n#   \n#####\n", "short row leaves a gap"},
      {"#####\n#@$x.#\n#####\n", "foreign character"},
  };
  for (const auto& [text, why] : bad) {
    const ParseResult r = parse_level(text);
    EXPECT_FALSE(r.level.has_value()) << why;
    EXPECT_FALSE(r.error.empty()) << why;
  }
}

TEST(LevelCheckReader, RefusesGridsBeyondTheSuitesLimits) {
  std::string tall = std::string(5, '#') + "\n#@$.#\n";
  for (int row = 0; row < 44; ++row) {
    tall += "#   #\n";
  }
  tall += "#####\n";  // 47 rows
  EXPECT_FALSE(parse_level(tall).level.has_value());
  const std::string wide =
      std::string(45, '#') + "\n#@$." + std::string(40, ' ') + "#\n" + std::string(45, '#') + "\n";
  EXPECT_FALSE(parse_level(wide).level.has_value());
}

TEST(LevelCheckReplay, PlainStepsAndPushesCountAndSolve) {
  const Level level = parse_ok(kSmall);
  const Replay r = replay_steps(level, "LrR");
  EXPECT_TRUE(r.valid) << r.reason;
  EXPECT_EQ(r.moves, 3);
  EXPECT_EQ(r.pushes, 2);
  EXPECT_FALSE(r.solved);  // the upper crate is still off its goal
  const Replay full = replay_steps(level, "LrRlUruLL");
  EXPECT_TRUE(full.solved) << full.reason;
  EXPECT_EQ(full.moves, 9);
  EXPECT_EQ(full.pushes, 5);
}

TEST(LevelCheckReplay, LetterCaseMustMatchWhatTheStepDoes) {
  const Level level = parse_ok(kSmall);
  const Replay lower = replay_steps(level, "rl");  // walking into a crate
  EXPECT_FALSE(lower.valid);
  EXPECT_EQ(lower.stopped_at, 0u);
  const Replay upper = replay_steps(level, "LrD");  // "pushing" with no crate below
  EXPECT_FALSE(upper.valid);
  EXPECT_EQ(upper.stopped_at, 2u);
  EXPECT_EQ(upper.moves, 2);
}

TEST(LevelCheckReplay, RefusesWallsBlockedCratesAndOtherLetters) {
  const Level level = parse_ok(kSmall);
  EXPECT_FALSE(replay_steps(level, "d").valid);     // wall below
  EXPECT_FALSE(replay_steps(level, "LL").valid);    // crate against the wall
  EXPECT_FALSE(replay_steps(level, "LrRx").valid);  // not a step letter
  const Level row = parse_ok("#######\n#@$$..#\n#######\n");
  EXPECT_FALSE(replay_steps(row, "R").valid);  // two crates in a row
  EXPECT_TRUE(replay_steps(row, "").valid);
}

}  // namespace
}  // namespace levels
