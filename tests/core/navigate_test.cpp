// Level navigation: the guards of first, previous, next and last, go to level, restart and
// the change of set, with the level remembered per set in the game table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "engine_fixture.h"
#include "rv7ini.h"

namespace {

using Calls = std::vector<std::string>;

// Level n of a set: n + 5 columns wide, so the width tells which level is loaded. One push
// to the right solves it; the second row lets the player walk without solving.
std::string LevelText(int n) {
  const std::string wall(n + 5, '#');
  return wall + "\n#@$." + std::string(n, ' ') + "#\n#" + std::string(n + 3, ' ') + "#\n" + wall +
         "\n";
}

class NavigateTest : public EngineTest {
 protected:
  // Writes levels 1..count of `set` and starts level `level` of it.
  void StartAt(int level, int count, const std::string& set = "Set") {
    if (set != "Set") {
      ASSERT_EQ(MakeDirectory("Mazes\\" + set), 0);
    }
    for (int n = 1; n <= count; ++n) {
      WriteFile("Mazes\\" + set + "\\" + set + "." + std::to_string(n), LevelText(n));
    }
    set_level_count(set, count);
    set_current_set(set);
    set_current_level_count(count);
    set_current_level(level);
    game_chk(set);
    load_current_level();
    PumpMessages(hooks());
    hooks().ClearRecord();
  }

  // The level that is loaded, told by its width.
  static int LoadedLevel() { return MazeWidth() - 5; }

  static void WalkTenSteps() { ASSERT_EQ(Play("dududududu"), 0); }
};

TEST_F(NavigateTest, LevelInProgressRefusesTheFourUntilRestarted) {
  TraceAll();
  StartAt(2, 3);
  WalkTenSteps();
  ASSERT_TRUE(level_in_progress());
  EXPECT_EQ(next_level(), 1);
  EXPECT_EQ(previous_level(), 1);
  EXPECT_EQ(first_level(), 1);
  EXPECT_EQ(last_level(), 1);
  EXPECT_EQ(LowBeeps(), 4);
  EXPECT_EQ(current_level(), 2);
  EXPECT_EQ(LoadedLevel(), 2);
  ASSERT_EQ(restart_level(), 0);
  EXPECT_EQ(next_level(), 0);
  EXPECT_EQ(current_level(), 3);
  EXPECT_EQ(LoadedLevel(), 3);
  EXPECT_STREQ(game_chk("Set"), "3");
  EXPECT_EQ(step_letters()[0], '\0');  // a new level starts with an empty history
}

TEST_F(NavigateTest, SolvedLevelMayBeLeftAtOnce) {
  StartAt(1, 3);
  ASSERT_EQ(step_right(), 0);
  ASSERT_TRUE(level_complete());
  EXPECT_FALSE(level_in_progress());
  EXPECT_EQ(next_level(), 0);
  EXPECT_EQ(LoadedLevel(), 2);
  EXPECT_EQ(move_count(), 0);
}

TEST_F(NavigateTest, EachEndOfTheSetRefusesItsTwoOperations) {
  TraceAll();
  StartAt(1, 3);
  EXPECT_EQ(first_level(), 1);
  EXPECT_EQ(previous_level(), 1);
  ASSERT_EQ(last_level(), 0);
  EXPECT_EQ(LoadedLevel(), 3);
  EXPECT_EQ(next_level(), 1);
  EXPECT_EQ(last_level(), 1);
  EXPECT_EQ(LowBeeps(), 4);
  EXPECT_EQ(previous_level(), 0);
  EXPECT_EQ(LoadedLevel(), 2);
  EXPECT_EQ(first_level(), 0);
  EXPECT_EQ(LoadedLevel(), 1);
  EXPECT_STREQ(game_chk("Set"), "1");
}

TEST_F(NavigateTest, ChangeOfLevelFitsTilesThenDrawsThenSizes) {
  StartAt(1, 2);
  ASSERT_EQ(next_level(), 0);
  EXPECT_EQ(hooks().window_calls, (Calls{"CheckTileSize", "InitBitmap", "SizeWindow"}));
  EXPECT_EQ(BoardText(), "#######/#@$.  #/#     #/#######");
}

TEST_F(NavigateTest, GoToLevelAbandonsAGameInProgressWithoutBeep) {
  TraceAll();
  StartAt(1, 8);
  WalkTenSteps();
  EXPECT_EQ(go_to_level(7), 0);
  EXPECT_EQ(LowBeeps(), 0);
  EXPECT_EQ(current_level(), 7);
  EXPECT_EQ(LoadedLevel(), 7);
  EXPECT_EQ(move_count(), 0);
  EXPECT_STREQ(game_chk("Set"), "7");
  EXPECT_EQ(game_dirty(), 1);
}

TEST_F(NavigateTest, GoToLevelRefusesANumberOutsideTheSet) {
  StartAt(2, 3);
  EXPECT_EQ(go_to_level(0), 1);
  EXPECT_EQ(go_to_level(4), 1);
  EXPECT_EQ(current_level(), 2);
}

TEST_F(NavigateTest, RestartKeepsTheGameAsRedoTail) {
  TraceAll();
  StartAt(1, 1);
  EXPECT_EQ(restart_level(), 1);
  EXPECT_EQ(LowBeeps(), 1);
  ASSERT_EQ(Play("drr"), 0);
  hooks().ClearRecord();
  ASSERT_EQ(restart_level(), 0);
  EXPECT_EQ(hooks().window_calls, (Calls{"InitBitmap", "NoSizeWindow"}));
  EXPECT_EQ(hooks().redrawn_fields.size(), 3u);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(BoardText(), "######/#@$. #/#    #/######");
  EXPECT_STREQ(step_letters(), "drr");
  EXPECT_EQ(redo(), 0);
  EXPECT_EQ(player_row(), 2);
  EXPECT_EQ(player_col(), 1);
}

TEST_F(NavigateTest, LevelOfASetWithoutEntryIsNotRemembered) {
  WriteFile("Mazes\\Set\\Set.1", LevelText(1));
  WriteFile("Mazes\\Set\\Set.2", LevelText(2));
  set_level_count("Set", 2);
  set_current_level_count(2);
  load_current_level();
  ASSERT_EQ(next_level(), 0);
  EXPECT_EQ(LoadedLevel(), 2);
  EXPECT_EQ(game_dirty(), 0);
}

TEST_F(NavigateTest, SelectSetContinuesAtTheRememberedLevel) {
  StartAt(1, 2);
  StartAt(1, 4, "Other");
  set_game_value("Other", "3");
  select_set("Set");
  EXPECT_EQ(LoadedLevel(), 1);
  select_set("Other");
  EXPECT_STREQ(current_set(), "Other");
  EXPECT_EQ(current_level_count(), 4);
  EXPECT_EQ(current_level(), 3);
  EXPECT_EQ(LoadedLevel(), 3);
  EXPECT_EQ(hooks().window_calls.back(), "SizeWindow");
}

TEST_F(NavigateTest, NewSetStartsAtLevelOneAndGetsAnEntry) {
  TraceAll();
  StartAt(2, 3);
  select_set("Fresh");
  EXPECT_EQ(current_level(), 1);
  EXPECT_EQ(current_level_count(), 0);
  EXPECT_EQ(MazeHeight(), 0);  // no such level file
  EXPECT_STREQ(game_chk("Fresh"), "1");
  EXPECT_EQ(next_level(), 1);
  EXPECT_EQ(last_level(), 1);
  EXPECT_EQ(LowBeeps(), 2);
}

TEST_F(NavigateTest, RememberedLevelOutsideTheSetStartsAtLevelOne) {
  StartAt(1, 4, "Other");
  set_game_value("Other", "9");
  select_set("Other");
  EXPECT_EQ(current_level(), 1);
  set_game_value("Other", "x2");
  select_set("Other");
  EXPECT_EQ(current_level(), 1);
}

}  // namespace
