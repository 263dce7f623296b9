// Dead-end filling, dead squares and the freeze test on decoded boards.
#include "prune.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "decoded_board.h"

namespace {

void load(std::string_view drawing) {
  load_drawing(drawing);
}

int32_t cell(int32_t row, int32_t column) {
  return cell_at(row, column);
}

// The inner cells drawn as "#" for a wall, "x" for a dead square, "." for a live cell.
std::string inner_picture(const rv7solv::CellTable& table, char marked) {
  std::string picture;
  for (int32_t row = 1; row < rv7solv::geometry.height - 1; ++row) {
    for (int32_t column = 1; column < rv7solv::geometry.width - 1; ++column) {
      const int32_t c = cell(row, column);
      picture += rv7solv::work.wall[c] != 0 ? '#' : (table[c] != 0 ? marked : '.');
    }
    picture += '\n';
  }
  return picture;
}

TEST(Prune, BlindCorridorsAreFilledButNeverTheGoalOrThePlayerCell) {
  // The corridor below the player and the blind end right of the goal fill up.
  load("#######\n#@ $. #\n# #####\n# #\n###\n");
  rv7solv::fill_dead_ends();
  EXPECT_EQ(inner_picture(rv7solv::work.goal, 'g'), "...g#\n#####\n#####\n");
  EXPECT_EQ(rv7solv::work.occupancy[cell(2, 1)], rv7solv::kWall);
  // A blind player cell and a blind goal stay open, and so does the corridor to the goal.
  load("#######\n#  $.@#\n# #####\n#.#\n###\n");
  rv7solv::fill_dead_ends();
  EXPECT_EQ(inner_picture(rv7solv::work.goal, 'g'), "...g.\n.####\ng####\n");
}

TEST(Prune, DeadSquaresAreTheCellsNoCrateCanLeaveForAGoal) {
  load("#######\n#     #\n#  .  #\n#   @ #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_EQ(inner_picture(rv7solv::work.dead, 'x'), "xxxxx\nx...x\nxxxxx\n");
  // With the goal against the top wall, crates can slide along it and come up from below,
  // but not from the corners.
  load("#######\n#  .  #\n#     #\n#   @ #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_EQ(inner_picture(rv7solv::work.dead, 'x'), "x...x\nx...x\nxxxxx\n");
}

TEST(Prune, PairAlongAWallIsFrozenAndADeadlockOnlyOffItsGoals) {
  load("#######\n#.$$  #\n#   @ #\n#.    #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_TRUE(rv7solv::frozen_off_goal(cell(1, 3)));
  load("#######\n# **  #\n#   @ #\n#     #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_FALSE(rv7solv::frozen_off_goal(cell(1, 3)));
  EXPECT_EQ(rv7solv::work.occupancy[cell(1, 2)], rv7solv::kCrate);
  EXPECT_EQ(rv7solv::work.occupancy[cell(1, 3)], rv7solv::kCrate);
}

TEST(Prune, CrateWithRoomOnOneAxisIsNotFrozen) {
  load("#######\n#.    #\n#  $$ #\n#.  @ #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_FALSE(rv7solv::frozen_off_goal(cell(2, 4)));
  // Beside a wall on the left, free above and below: still movable.
  load("#######\n#.    #\n#.$ @ #\n#     #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_FALSE(rv7solv::frozen_off_goal(cell(2, 2)));
}

TEST(Prune, CrateBetweenTwoDeadSquaresIsBlockedOnThatAxis) {
  // Left and right of the crate are dead squares under the top wall, and the wall above
  // blocks the other axis: frozen off its goal.
  load("#######\n#  $  #\n#   @ #\n#.    #\n#######\n");
  rv7solv::mark_dead_squares();
  EXPECT_TRUE(rv7solv::frozen_off_goal(cell(1, 3)));
}

}  // namespace
