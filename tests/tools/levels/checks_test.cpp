#include "checks.h"

#include <gtest/gtest.h>

#include <string>

#include "level_test_support.h"
#include "solver.h"

namespace levels {
namespace {

int cell(const Level& level, int x, int y) {
  return y * level.width + x;
}

// The tools' own solver as the judge, so these tests do not depend on the game's.
std::optional<bool> solvable(const Level& level) {
  const SolveResult found = solve(level);
  if (found.gave_up) {
    return std::nullopt;
  }
  return found.letters.has_value();
}

TEST(LevelChecks, DeadFloorIsBlindNonGoalEndsAndUnreachablePockets) {
  Level level = parse_ok(R"(
#########
#@ $ .###
#  ######
#. $  ###
#########
)");
  // A pocket of floor walled in on all four sides (the reader would wall it itself).
  level.squares[static_cast<std::size_t>(cell(level, 7, 2))] = Square::kFloor;
  // (5,3) is a blind end without a goal; the blind goal (5,1) and the keeper stay.
  EXPECT_EQ(dead_floor(level), (std::vector<int>{cell(level, 7, 2), cell(level, 5, 3)}));
  // A keeper and a goal at the two blind ends of a corridor are no dead floor.
  EXPECT_TRUE(dead_floor(parse_ok("#####\n#@$.#\n#####\n")).empty());
}

TEST(LevelChecks, NeedlessWallsAreThickWallsInsideTheLevelOnly) {
  const Level thick = parse_ok(R"(
#########
#@      #
# ##### #
# ##### #
# ##### #
#  $ .  #
#########
)");
  // Only the middle row of the 5 x 3 block touches no floor.
  EXPECT_EQ(needless_walls(thick),
            (std::vector<int>{cell(thick, 3, 3), cell(thick, 4, 3), cell(thick, 5, 3)}));
  // Wall outside the level, even when the file draws it, is never needless: it is written
  // blank and the game walls it in again.
  EXPECT_TRUE(needless_walls(parse_ok("#######\n#######\n##@$.##\n#######\n#######\n")).empty());
}

TEST(LevelChecks, TrivialCratesGoHomeInOneStraightRunAndCanStayThere) {
  // Either crate goes straight onto the goal beside it, and the other stays solvable.
  const Level both = parse_ok("########\n#.$ @$.#\n#      #\n########\n");
  EXPECT_EQ(trivial_crates(both, solvable), (std::vector<int>{cell(both, 2, 1), cell(both, 5, 1)}));
  // A judge that gives up proves nothing.
  EXPECT_TRUE(trivial_crates(both, [](const Level&) { return std::optional<bool>(); }).empty());
  // No straight run of this crate ends on the goal.
  EXPECT_TRUE(trivial_crates(parse_ok("#######\n#@ $  #\n#    .#\n#######\n"), solvable).empty());
  // The first crate reaches its goal in one push, but standing there it walls the keeper
  // off from the second one.
  EXPECT_TRUE(trivial_crates(parse_ok("#######\n#@$.$.#\n#######\n"), solvable).empty());
  // A crate at home that nothing needs to move is trivial as it stands.
  const Level home = parse_ok("######\n#*   #\n# @$.#\n######\n");
  const std::vector<int> trivial = trivial_crates(home, solvable);
  EXPECT_NE(std::find(trivial.begin(), trivial.end(), cell(home, 1, 1)), trivial.end());
}

TEST(LevelChecks, FormattedLevelReadsBackAsTheSameLevel) {
  const Level level = parse_ok(R"(
  #####
###   #
#.@$# #
#  *  ##
#      #
########
)");
  const std::string text = format_level(level);
  const Level again = parse_ok(text);
  EXPECT_EQ(again.width, level.width);
  EXPECT_EQ(again.height, level.height);
  EXPECT_EQ(again.squares, level.squares);
  EXPECT_EQ(again.crates, level.crates);
  EXPECT_EQ(again.keeper, level.keeper);
  // Outside squares are blank and no row ends in a blank.
  EXPECT_EQ(text.substr(0, 8), "  #####\n") << text;
  EXPECT_EQ(text.find(" \n"), std::string::npos);
}

}  // namespace
}  // namespace levels
