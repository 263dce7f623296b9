#include "engine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine_fixture.h"
#include "rv7score.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;
using Fields = std::vector<StatusField>;

// Player at (3,1); a crate at (2,3) with floor above it; one goal out of the way.
constexpr char kOpenRoom[] = R"(######
#.   #
#  $ #
#@   #
#    #
######
)";

// A crate that can be pushed from floor onto a goal, on to a second goal, then off it;
// a second crate keeps the level unsolved throughout.
constexpr char kGoalRow[] = R"(#######
#@$.. #
#   $ #
#######
)";

// The player can push once; then two crates stand in a row.
constexpr char kTwoCrates[] = R"(########
# @$ $.#
#     .#
########
)";

constexpr char kOnePush[] = R"(#####
#@$.#
#####
)";

// -------------------------------------------------------------------------------------
// Starting a level

TEST_F(EngineTest, InitLevelCountsCratesStoredAndTheLastPlayer) {
  TraceAll();
  Start(R"(#######
#@$*. #
# $ +.#
#######
)");
  EXPECT_EQ(crate_count(), 3);
  EXPECT_EQ(stored_count(), 1);
  EXPECT_EQ(player_row(), 2);  // the later of the two players in reading order
  EXPECT_EQ(player_col(), 4);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(push_count(), 0);
  EXPECT_EQ(CountTrace("InitLevel", "korvala, y=2, x=4"), 1);
}

TEST_F(EngineTest, StartingALevelCopiesItAndRedrawsAllThreeCounters) {
  set_level_count("Set", 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  load_current_level();
  EXPECT_EQ(BoardText(), "#####/#@$.#/#####");
  EXPECT_EQ(hooks().window_calls,
            (std::vector<std::string>{"CheckTileSize", "InitBitmap", "SizeWindow"}));
  EXPECT_EQ(hooks().redrawn_fields,
            (Fields{StatusField::kMoves, StatusField::kPushes, StatusField::kStored}));
}

// -------------------------------------------------------------------------------------
// Steps

TEST_F(EngineTest, PushesRaiseKeepAndLowerStoredByWhereTheCrateGoes) {
  Start(kGoalRow);
  ASSERT_EQ(stored_count(), 0);
  const std::pair<int, int> expected[] = {{1, 1}, {2, 1}, {3, 0}};  // pushes, stored
  for (const auto& [pushes, stored] : expected) {
    EXPECT_EQ(step_right(), 0);
    EXPECT_EQ(push_count(), pushes);
    EXPECT_EQ(move_count(), pushes);
    EXPECT_EQ(stored_count(), stored);
  }
  EXPECT_EQ(BoardText(), "#######/#  .+$#/#   $ #/#######");
  EXPECT_STREQ(step_letters(), "RRR");
}

TEST_F(EngineTest, RefusedPushLeavesLowerCaseLetterAndBoardUnchanged) {
  TraceAll();
  Start(kTwoCrates);
  ASSERT_EQ(step_right(), 0);
  const std::string before = BoardText();
  EXPECT_EQ(step_right(), 1);
  EXPECT_EQ(BoardText(), before);
  EXPECT_EQ(move_count(), 1);
  EXPECT_EQ(push_count(), 1);
  EXPECT_STREQ(step_letters(), "Rr");
  EXPECT_EQ(LowBeeps(), 1);
}

TEST_F(EngineTest, RefusedStepReplacesHeadOfRedoTail) {
  Start(kTwoCrates);
  ASSERT_EQ(Play("R"), 0);
  ASSERT_EQ(undo(), 0);
  ASSERT_STREQ(step_letters(), "R");
  EXPECT_EQ(step_up(), 1);  // into the wall
  EXPECT_STREQ(step_letters(), "u");
  EXPECT_EQ(redo(), 1);  // the tail now holds the refused step
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(BoardText(), "########/# @$ $.#/#     .#/########");
}

TEST_F(EngineTest, StepDrawsCrateThenOldThenNewSquareAndTracesEach) {
  TraceAll();
  Start(kOnePush);
  ASSERT_EQ(step_right(), 0);
  EXPECT_EQ(hooks().drawn_cells, (Cells{{1, 3}, {1, 1}, {1, 2}}));
  EXPECT_EQ(CountTrace("atxxx", "y=1, x=3"), 1);
  EXPECT_EQ(CountTrace("atpos", "y=1, x=1"), 1);
  EXPECT_EQ(CountTrace("atnew", "y=1, x=2"), 1);
  EXPECT_EQ(CountTrace("atxxx", "Entry"), 1);
  EXPECT_EQ(CountTrace("atnew", "Exit"), 1);
}

TEST_F(EngineTest, CountersAreRedrawnOnlyWhenTheyChanged) {
  Start(kGoalRow);
  ASSERT_EQ(step_down(), 0);
  EXPECT_EQ(hooks().redrawn_fields, (Fields{StatusField::kMoves}));
  hooks().ClearRecord();
  EXPECT_EQ(step_left(), 1);
  EXPECT_TRUE(hooks().redrawn_fields.empty());
  ASSERT_EQ(Play("uR"), 0);
  EXPECT_EQ(hooks().redrawn_fields, (Fields{StatusField::kMoves, StatusField::kMoves,
                                            StatusField::kPushes, StatusField::kStored}));
}

// -------------------------------------------------------------------------------------
// Undo and redo

TEST_F(EngineTest, TwoUndosOfRrUlRestoreTheBoardAndRedoPushesAgain) {
  Start(kOpenRoom);
  ASSERT_EQ(Play("rrUl"), 0);
  ASSERT_EQ(BoardText(), "######/#. $ #/# @  #/#    #/#    #/######");
  ASSERT_EQ(undo(), 0);
  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(BoardText(), "######/#.   #/#  $ #/#  @ #/#    #/######");
  EXPECT_EQ(move_count(), 2);
  EXPECT_EQ(push_count(), 0);
  EXPECT_STREQ(step_letters(), "rrUl");
  EXPECT_EQ(redo(), 0);
  EXPECT_EQ(push_count(), 1);
  EXPECT_EQ(facing(), Facing::kUp);
  EXPECT_STREQ(step_letters(), "rrUl");
}

TEST_F(EngineTest, ManualStepAfterUndoOverwritesOnlyItsOwnSlot) {
  Start(kOpenRoom);
  ASSERT_EQ(Play("rrUl"), 0);
  ASSERT_EQ(undo(), 0);
  ASSERT_EQ(undo(), 0);
  ASSERT_EQ(Play("d"), 0);
  EXPECT_STREQ(step_letters(), "rrdl");
  EXPECT_EQ(redo(), 0);
  EXPECT_EQ(facing(), Facing::kLeft);
  EXPECT_EQ(player_row(), 4);
  EXPECT_EQ(player_col(), 2);
  EXPECT_EQ(move_count(), 4);
}

TEST_F(EngineTest, UndoingAPushPutsTheCrateUnderThePlayerAndHimOneBack) {
  Start(kGoalRow);
  ASSERT_EQ(Play("R"), 0);
  ASSERT_EQ(stored_count(), 1);
  hooks().ClearRecord();
  EXPECT_EQ(undo(), 0);
  EXPECT_EQ(BoardText(), "#######/#@$.. #/#   $ #/#######");
  EXPECT_EQ(stored_count(), 0);
  EXPECT_EQ(push_count(), 0);
  EXPECT_EQ(facing(), Facing::kLeft);
  EXPECT_EQ(hooks().drawn_cells, (Cells{{1, 3}, {1, 2}, {1, 1}}));
}

TEST_F(EngineTest, UndoOfACrateStandingOnGoalsRestoresStored) {
  Start(kGoalRow);
  ASSERT_EQ(Play("RRR"), 0);
  ASSERT_EQ(stored_count(), 0);
  EXPECT_EQ(undo(), 0);  // the crate goes back onto the second goal
  EXPECT_EQ(stored_count(), 1);
  EXPECT_EQ(undo(), 0);
  EXPECT_EQ(stored_count(), 1);
  EXPECT_EQ(BoardText(), "#######/# @*. #/#   $ #/#######");
}

TEST_F(EngineTest, UndoAndRedoAreRefusedWithNothingToTakeBackOrRepeat) {
  TraceAll();
  Start(kOpenRoom);
  EXPECT_EQ(undo(), 1);
  EXPECT_EQ(redo(), 1);
  ASSERT_EQ(Play("r"), 0);
  EXPECT_EQ(redo(), 1);  // the end of the letters
  EXPECT_EQ(LowBeeps(), 2 + 1);
  EXPECT_EQ(move_count(), 1);
}

TEST_F(EngineTest, RedoAcceptsKeyLettersLeftInTheHistory) {
  Start(kOpenRoom);
  write_step_letters("MMH");
  EXPECT_EQ(redo(), 0);
  EXPECT_EQ(redo(), 0);
  EXPECT_EQ(redo(), 0);
  EXPECT_STREQ(step_letters(), "rrU");
  EXPECT_EQ(push_count(), 1);
}

// -------------------------------------------------------------------------------------
// Solving

TEST_F(EngineTest, SolvingStepRecordsOnceAndLocksTheLevel) {
  TraceAll();
  Start(kOnePush);
  ASSERT_EQ(step_right(), 0);
  ASSERT_TRUE(level_complete());
  ASSERT_EQ(SolutionRecords().size(), 1u);
  EXPECT_EQ(SolutionRecords()[0].name, "1.1.P");
  EXPECT_EQ(SolutionRecords()[0].letters, "R");
  EXPECT_NE(ReadFile("Mazes\\Set\\Set.1.rv7").find("[1.1.P]\nR\n"), std::string::npos);
  EXPECT_EQ(step_right(), 1);
  EXPECT_EQ(step_left(), 1);
  EXPECT_EQ(undo(), 1);
  EXPECT_EQ(redo(), 1);
  EXPECT_EQ(LowBeeps(), 4);
  // One recording: the record lines were asked for once only.
  int best_redraws = 0;
  for (const StatusField field : hooks().redrawn_fields) {
    best_redraws += field == StatusField::kBestMoves;
  }
  EXPECT_EQ(best_redraws, 1);
}

TEST_F(EngineTest, LevelThatStartsSolvedRecordsNothing) {
  Start(R"(#####
#@*.#
# $ #
#####
)");
  ASSERT_FALSE(level_complete());
  Start(R"(#####
#@* #
#####
)");
  ASSERT_TRUE(level_complete());
  EXPECT_TRUE(SolutionRecords().empty());
  EXPECT_FALSE(FileExists("Mazes\\Set\\Set.1.rv7"));
  EXPECT_EQ(step_right(), 1);
}

// -------------------------------------------------------------------------------------
// Refusals and limits

TEST_F(EngineTest, EveryStepOnAnEmptyLevelIsRefused) {
  TraceAll();
  set_current_level(9);  // no such file
  load_current_level();
  ASSERT_EQ(MazeHeight(), 0);
  EXPECT_EQ(step_up() + step_down() + step_left() + step_right(), 4);
  EXPECT_EQ(LowBeeps(), 4);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(step_letters()[0], '\0');
}

TEST_F(EngineTest, LevelWithoutPlayerRefusesEveryStepAndChangesNothing) {
  Start(R"(######
#  $.#
#    #
######
)");
  ASSERT_EQ(player_row(), 0);
  ASSERT_EQ(player_col(), 0);
  const std::string before = BoardText();
  EXPECT_EQ(step_up() + step_left() + step_down() + step_right(), 4);
  EXPECT_EQ(redo(), 1);
  EXPECT_EQ(undo(), 1);
  EXPECT_EQ(BoardText(), before);
  EXPECT_EQ(step_letters()[0], '\0');
  EXPECT_TRUE(hooks().drawn_cells.empty());
}

TEST_F(EngineTest, StepIsRefusedFromMoveCount98300On) {
  Start(R"(######
#@ $.#
#  $.#
######
)");
  for (int i = 0; i < kHistoryLimit; ++i) {
    ASSERT_EQ(step(i % 2 == 0 ? Direction::kDown : Direction::kUp), 0) << i;
  }
  ASSERT_EQ(move_count(), 98300);
  EXPECT_FALSE(level_complete());
  EXPECT_EQ(step_right(), 1);
  EXPECT_EQ(move_count(), 98300);
  EXPECT_EQ(step_letters()[kHistoryLimit], '\0');
  EXPECT_EQ(undo(), 0);
  EXPECT_EQ(redo(), 0);
  EXPECT_EQ(redo(), 1);
}

// -------------------------------------------------------------------------------------
// Solutions that were not played

TEST_F(EngineTest, UnplayedSolutionIsRecordedWithoutTouchingTheBoard) {
  Start(kTwoCrates);
  const std::string before = BoardText();
  EXPECT_EQ(RecordUnplayedSolution("RrdR", 4, 2, "Morilan.Solver"), 0);
  ASSERT_EQ(SolutionRecords().size(), 1u);
  EXPECT_EQ(SolutionRecords()[0].name, "4.2.Morilan.Solver");
  EXPECT_EQ(SolutionRecords()[0].letters, "RrdR");
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(push_count(), 0);
  EXPECT_EQ(BoardText(), before);
  EXPECT_STREQ(step_letters(), "RrdR");  // now the redo tail
}

TEST_F(EngineTest, UnplayedSolutionLargerThanTheHistoryIsRefused) {
  Start(kTwoCrates);
  const std::string huge(kHistoryLimit + 1, 'r');
  EXPECT_EQ(RecordUnplayedSolution(huge, kHistoryLimit + 1, 0, "X"), 1);
  EXPECT_EQ(RecordUnplayedSolution("rr", -1, 0, "X"), 1);
  EXPECT_TRUE(SolutionRecords().empty());
  EXPECT_EQ(step_letters()[0], '\0');
}

}  // namespace
