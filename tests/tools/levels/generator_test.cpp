// The generator's rooms, room comparison, and a whole small set made twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "checks.h"
#include "level_test_support.h"
#include "likeness.h"
#include "random.h"
#include "room.h"
#include "scratch_directory.h"
#include "set_builder.h"

namespace levels {
namespace {

TEST(Random, SameSeedSameSequenceAndItemsIndependentOfEachOther) {
  Random a(42);
  Random b(42);
  Random c(43);
  int differ = 0;
  for (int i = 0; i < 100; ++i) {
    const int x = a.between(3, 9);
    EXPECT_EQ(x, b.between(3, 9));
    EXPECT_GE(x, 3);
    EXPECT_LE(x, 9);
    differ += x != c.between(3, 9) ? 1 : 0;
  }
  EXPECT_GT(differ, 50);
  EXPECT_EQ(derive_seed(7, 3), derive_seed(7, 3));
  EXPECT_NE(derive_seed(7, 3), derive_seed(7, 4));
  EXPECT_NE(derive_seed(7, 3), derive_seed(8, 3));
}

TEST(Rooms, EveryRoomKeepsTheShapeAndHasNoDeadFloorOrNeedlessWalls) {
  RoomShape shape;
  shape.min_width = 5;
  shape.max_width = 8;
  shape.min_height = 4;
  shape.max_height = 7;
  int made = 0;
  for (std::uint64_t seed = 0; seed < 300; ++seed) {
    Random random(seed);
    const std::optional<Level> room = make_room(shape, random);
    if (!room) {
      continue;
    }
    ++made;
    SCOPED_TRACE(format_level(*room));
    EXPECT_LE(room->width, shape.max_width + 2);
    EXPECT_LE(room->height, shape.max_height + 2);
    EXPECT_TRUE(dead_floor(*room).empty());
    EXPECT_TRUE(needless_walls(*room).empty());
    EXPECT_LE(open_blocks(*room), shape.max_open_blocks);
    // Closed: the outer ring is wall.
    for (int x = 0; x < room->width; ++x) {
      EXPECT_FALSE(room->walkable(x));
      EXPECT_FALSE(room->walkable((room->height - 1) * room->width + x));
    }
    Random again(seed);
    EXPECT_EQ(make_room(shape, again)->squares, room->squares);
  }
  EXPECT_GT(made, 30);
}

TEST(Rooms, FillingDeadEndsLeavesGoalsCratesAndKeeper) {
  Level level = parse_ok("########\n#@$  . #\n# ######\n#  .$  #\n########\n");
  fill_dead_ends(level);
  // The blind square right of the goal in row 1 and the two-square blind end of row 3 are
  // filled; the keeper's, crates' and goals' squares stay.
  EXPECT_EQ(format_level(level), "#######\n#@$  .#\n# #####\n#  .$#\n######\n");
}

TEST(Likeness, TheSameRoomTurnedOrMirroredIsFoundAndOthersAreNot) {
  const Level room = parse_ok("#######\n#@ $ .#\n#  #  #\n# #   #\n#######\n");
  const Level turned = parse_ok("#####\n#  @#\n##  #\n# #$#\n#   #\n#  .#\n#####\n");
  const Level mirrored = parse_ok("#######\n#. $ @#\n#  #  #\n#   # #\n#######\n");
  const Level other = parse_ok("#######\n#@ $ .#\n#     #\n#  ## #\n#######\n");
  EXPECT_TRUE(same_room(room, room, 0));
  EXPECT_TRUE(same_room(room, mirrored, 0));
  EXPECT_TRUE(same_room(room, turned, 0));
  EXPECT_FALSE(same_room(room, other, 5));
  EXPECT_TRUE(same_room(room, other, 20));  // three squares of 35 differ
  // Rows and columns of wall beyond the ring, as a level holds before it is written, change
  // nothing: the turned room with a wall column more on the left and a wall row at the foot.
  Level padded = turned;
  padded.width += 1;
  padded.height += 1;
  padded.squares.assign(static_cast<std::size_t>(padded.width * padded.height), Square::kWall);
  for (int cell = 0; cell < turned.width * turned.height; ++cell) {
    const int x = cell % turned.width + 1;
    const int y = cell / turned.width;
    padded.squares[static_cast<std::size_t>(y * padded.width + x)] = turned.at(cell);
  }
  EXPECT_TRUE(same_room(room, padded, 0));
  EXPECT_TRUE(same_room(padded, mirrored, 0));
}

SetRecipe small_set() {
  SetRecipe recipe;
  recipe.name = "Tiny";
  recipe.count = 5;
  recipe.min_crates = 2;
  recipe.max_crates = 3;
  recipe.room.min_width = 4;
  recipe.room.max_width = 6;
  recipe.room.min_height = 4;
  recipe.room.max_height = 5;
  recipe.min_difficulty = 20;
  recipe.max_difficulty = 60;
  recipe.pool = 20;
  recipe.tries = 2000;
  recipe.seed = 99;
  return recipe;
}

std::vector<MadeLevel> make_small_set(const SetRecipe& recipe) {
  Rejections rejected;
  std::vector<MadeLevel> pool = make_pool(recipe, {}, rejected, [](const MadeLevel&) {});
  std::vector<MadeLevel> chosen = choose_levels(pool, recipe);
  give_titles(chosen, recipe.seed, {});
  return chosen;
}

TEST(SetBuilder, SameCommandSameSetWithRisingCheckedLevels) {
  const SetRecipe recipe = small_set();
  const std::vector<MadeLevel> first = make_small_set(recipe);
  ASSERT_EQ(static_cast<int>(first.size()), recipe.count);
  ScratchDirectory scratch("rv7levelgen");
  write_set("one", recipe.name, first);
  write_set("two", recipe.name, make_small_set(recipe));
  write_solutions("solutions.txt", "Made by: a test", first);
  std::set<std::string> titles;
  for (int n = 1; n <= recipe.count; ++n) {
    const std::string file = "Mazes/Tiny/Tiny." + std::to_string(n);
    const std::string text = read_text(std::filesystem::path("one") / file);
    EXPECT_EQ(text, read_text(std::filesystem::path("two") / file)) << file;
    EXPECT_EQ(text.rfind("Title: ", 0), 0u) << file;
    const MadeLevel& made = first[static_cast<std::size_t>(n - 1)];
    titles.insert(made.title);
    const Level level = parse_ok(text);
    EXPECT_TRUE(replay_steps(level, made.letters).solved) << file;
    EXPECT_TRUE(dead_floor(level).empty()) << file;
    EXPECT_TRUE(needless_walls(level).empty()) << file;
    EXPECT_GE(made.measure.crates, recipe.min_crates);
    EXPECT_LE(made.measure.crates, recipe.max_crates);
    if (n > 1) {
      const Measure& before = first[static_cast<std::size_t>(n - 2)].measure;
      EXPECT_GT(made.measure.difficulty, before.difficulty) << file;
      // All five are the set's rising start.
      EXPECT_GE(made.measure.pushes, before.pushes + recipe.start_push_step) << file;
      EXPECT_GE(made.measure.crates, before.crates) << file;
      for (int m = 1; m < n; ++m) {
        EXPECT_FALSE(same_room(level, first[static_cast<std::size_t>(m - 1)].level, 12))
            << file << " and level " << m;
      }
    }
  }
  EXPECT_EQ(static_cast<int>(titles.size()), recipe.count);
  const std::string solutions = read_text("solutions.txt");
  EXPECT_EQ(solutions.rfind("; Made by: a test\n", 0), 0u);
  EXPECT_NE(solutions.find("\n5 " + first.back().letters + "\n"), std::string::npos);
}

TEST(SetBuilder, AnotherSeedMakesOtherLevels) {
  SetRecipe recipe = small_set();
  const std::vector<MadeLevel> first = make_small_set(recipe);
  recipe.seed = 100;
  const std::vector<MadeLevel> second = make_small_set(recipe);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(format_level(first[0].level), format_level(second[0].level));
}

}  // namespace
}  // namespace levels
