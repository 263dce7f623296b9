// Replays and the quick repeat, driven end to end through the recording hooks' message pump
// exactly as the window drives them: post, step, paint, post again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine.h"
#include "engine_fixture.h"
#include "rv7score.h"

namespace {

// Player at (3,1) in a room four squares wide; a crate at (2,3).
constexpr char kOpenRoom[] = R"(######
#.   #
#  $ #
#@   #
#    #
######
)";

constexpr char kOnePush[] = R"(#####
#@$.#
#####
)";

// From the player's square: "rruulDld" walks round the pillar and pushes the crate at (2,3)
// down onto the goal at (3,3), back to the start. Repeating it pushes that crate on to
// (3,4), where the wall behind stops the next push. The crate at (4,2) never moves.
constexpr char kPillar[] = R"(######
###  #
## $ #
##@. #
# $. #
######
)";

constexpr char kScoreFile[] = R"(
# comment:
# some game solutions.
# do not modify.

[3.1.Other]
rrU

[5.1.P]
rrUlr

[2.0.Bookmark]
ru

)";

class ReplayTest : public EngineTest {
 protected:
  void WriteScores() { WriteFile("Mazes\\Set\\Set.1.rv7", kScoreFile); }
};

// -------------------------------------------------------------------------------------
// Replaying a text

TEST_F(ReplayTest, EachReplayedStepIsPaintedBeforeTheNextIsMade) {
  Start(kOpenRoom);
  ASSERT_EQ(replay_text("rrd", ReplayMode::kStored), 0);
  EXPECT_EQ(replay_mode(), ReplayMode::kStored);
  EXPECT_EQ(hooks().queue.size(), 1u);
  // Three steps, then the message that finds the text used up.
  EXPECT_EQ(PumpMessages(hooks()), 4);
  EXPECT_EQ(hooks().moves_at_paint, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(iSolver(), 3);
  EXPECT_EQ(facing(), Facing::kDown);
  EXPECT_STREQ(step_letters(), "rrd");
}

TEST_F(ReplayTest, TextStopsAtTheFirstLetterThatIsNoStepWithoutBeep) {
  TraceAll();
  Start(kOpenRoom);
  ASSERT_EQ(replay_text("rrxr", ReplayMode::kStored), 0);
  PumpMessages(hooks());
  EXPECT_EQ(move_count(), 2);
  EXPECT_EQ(iSolver(), 3);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(LowBeeps(), 0);
}

TEST_F(ReplayTest, TextStopsAtAWallWithBeep) {
  TraceAll();
  Start(kOpenRoom);
  ASSERT_EQ(replay_text("rrrrd", ReplayMode::kStored), 0);
  PumpMessages(hooks());
  EXPECT_EQ(move_count(), 3);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_STREQ(step_letters(), "rrrr");  // the refused step's slot
}

TEST_F(ReplayTest, TextPlaysOnlyUpToAZeroByte) {
  Start(kOpenRoom);
  ASSERT_EQ(replay_text(std::string_view("r\0rr", 4), ReplayMode::kStored), 0);
  PumpMessages(hooks());
  EXPECT_EQ(move_count(), 1);
}

TEST_F(ReplayTest, StoredReplayThatSolvesRecordsNothing) {
  Start(kOnePush);
  ASSERT_EQ(replay_text("R", ReplayMode::kStored), 0);
  PumpMessages(hooks());
  EXPECT_TRUE(level_complete());
  EXPECT_TRUE(SolutionRecords().empty());
  EXPECT_FALSE(FileExists("Mazes\\Set\\Set.1.rv7"));
}

TEST_F(ReplayTest, QuickModeReplayRecordsTheSolutionAndRefusesTheNextStep) {
  TraceAll();
  Start(kOnePush);
  ASSERT_EQ(replay_text("Rl", ReplayMode::kQuick), 0);
  PumpMessages(hooks());
  ASSERT_EQ(SolutionRecords().size(), 1u);
  EXPECT_EQ(SolutionRecords()[0].name, "1.1.P");
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(iSolver(), 2);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
}

TEST_F(ReplayTest, StoppedReplayIgnoresItsPendingMessage) {
  Start(kOpenRoom);
  ASSERT_EQ(replay_text("rr", ReplayMode::kStored), 0);
  stop_replay();
  EXPECT_EQ(PumpMessages(hooks()), 0);
  EXPECT_EQ(move_count(), 0);
}

TEST_F(ReplayTest, CallersBufferNeedNotOutliveTheReplay) {
  Start(kOpenRoom);
  {
    std::string buffer = "rrd";
    ASSERT_EQ(replay_text(buffer, ReplayMode::kStored), 0);
    buffer.assign("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
  }
  PumpMessages(hooks());
  EXPECT_STREQ(step_letters(), "rrd");
}

// -------------------------------------------------------------------------------------
// Starters and their sources

TEST_F(ReplayTest, BestAndOwnReplayTheirRecordsAtTheSelectedDelay) {
  WriteScores();
  Start(kOpenRoom);
  set_selected_delay(1);
  ASSERT_EQ(replay_best(), 0);
  EXPECT_EQ(replay_delay(), 1);
  PumpMessages(hooks());
  EXPECT_STREQ(step_letters(), "rrU");

  Start(kOpenRoom);
  ASSERT_EQ(replay_own(), 0);
  EXPECT_EQ(replay_mode(), ReplayMode::kStored);
  PumpMessages(hooks());
  EXPECT_STREQ(step_letters(), "rrUlr");
  EXPECT_EQ(move_count(), 5);
}

TEST_F(ReplayTest, BookmarkReplaysWithoutDelayWhateverWasSelected) {
  WriteScores();
  Start(kOpenRoom);
  set_selected_delay(250);
  ASSERT_EQ(replay_bookmark(), 0);
  EXPECT_EQ(replay_delay(), 0);
  PumpMessages(hooks());
  EXPECT_STREQ(step_letters(), "ru");
  EXPECT_EQ(player_row(), 2);
  EXPECT_EQ(player_col(), 2);
}

TEST_F(ReplayTest, StartersWithoutSourceOnlyBeep) {
  TraceAll();
  Start(kOpenRoom);
  set_selected_delay(7);
  EXPECT_EQ(replay_best(), 1);
  EXPECT_EQ(replay_own(), 1);
  EXPECT_EQ(replay_text("", ReplayMode::kQuick), 1);
  EXPECT_EQ(replay_delay(), 7);
  EXPECT_EQ(replay_bookmark(), 1);
  EXPECT_EQ(replay_delay(), 0);
  EXPECT_EQ(LowBeeps(), 4);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_TRUE(hooks().queue.empty());
}

// -------------------------------------------------------------------------------------
// Load best as redo

TEST_F(ReplayTest, LoadBestAsRedoLetsRedoStepThroughTheBestSolution) {
  WriteScores();
  Start(kOpenRoom);
  ASSERT_EQ(load_best_as_redo(), 0);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_TRUE(hooks().queue.empty());
  EXPECT_STREQ(step_letters(), "rrU");
  EXPECT_EQ(redo() + redo() + redo(), 0);
  EXPECT_EQ(push_count(), 1);
  EXPECT_EQ(redo(), 1);
}

TEST_F(ReplayTest, LoadBestAsRedoKeepsSlotsOfOtherBytesAndTheTailBehind) {
  WriteFile("Mazes\\Set\\Set.1.rv7", "[2.0.X]\nlQ\n");
  Start(kOpenRoom);
  ASSERT_EQ(Play("rdr"), 0);
  ASSERT_EQ(undo() + undo() + undo(), 0);
  ASSERT_EQ(load_best_as_redo(), 0);
  EXPECT_STREQ(step_letters(), "ldr");
}

TEST_F(ReplayTest, LoadBestAsRedoWithoutBestBeeps) {
  TraceAll();
  Start(kOpenRoom);
  EXPECT_EQ(load_best_as_redo(), 1);
  EXPECT_EQ(LowBeeps(), 1);
}

// -------------------------------------------------------------------------------------
// Quick repeat

TEST_F(ReplayTest, GoQuickWithoutMovesOnlyBeeps) {
  TraceAll();
  Start(kPillar);
  EXPECT_EQ(GoQuick(), 1);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_TRUE(hooks().queue.empty());
}

TEST_F(ReplayTest, WalkingInACircleGivesNoCycle) {
  TraceAll();
  Start(kOpenRoom);
  ASSERT_EQ(Play("rdlu"), 0);
  EXPECT_EQ(GoQuick(), 1);
  EXPECT_EQ(iSolver(), 0);
  EXPECT_EQ(iMatch(), 0);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
}

TEST_F(ReplayTest, GetMatchTakesTheLatestEarlierVisitWithOtherStored) {
  TraceAll();
  Start(kPillar);
  ASSERT_EQ(Play("udrruulDld"), 0);
  ASSERT_EQ(stored_count(), 1);
  ASSERT_EQ(GoQuick(), 0);
  // Steps 0 and 2 both began on this square with nothing stored; 2 is the later.
  EXPECT_EQ(iSolver(), 2);
  EXPECT_EQ(iMatch(), 10);
  EXPECT_EQ(replay_mode(), ReplayMode::kQuick);
  EXPECT_EQ(CountTrace("GoQuick", "iSolver=2, iMatch=10"), 1);
  EXPECT_EQ(CountTrace("GetMatch", "iSolver=0, iMatch=10"), 1);
}

TEST_F(ReplayTest, GoQuickRepeatsTheCycleUntilAStepIsRefused) {
  TraceAll();
  Start(kPillar);
  ASSERT_EQ(Play("udrruulDld"), 0);
  ASSERT_EQ(GoQuick(), 0);
  PumpMessages(hooks());
  // The cycle's first step now pushes the stored crate off its goal; the second meets the
  // wall behind it and ends the repeat.
  EXPECT_STREQ(step_letters(), "udrruulDldRr");
  EXPECT_EQ(move_count(), 11);
  EXPECT_EQ(push_count(), 2);
  EXPECT_EQ(stored_count(), 0);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_TRUE(SolutionRecords().empty());
}

TEST_F(ReplayTest, GoQuickGoesOnRoundAfterRoundWhileTheRoundsPush) {
  TraceAll();
  // "rruuldulldRd" walks a loop from the player's square and pushes the crate at (2,2) onto
  // the goal at (2,3). The first repetition pushes it from there down to (3,3), where the
  // loop's first steps meet it in the second repetition and push it on to (3,5); the third
  // pushes nothing and ends the repeat.
  Start(R"(#######
#    $#
# $. ##
##@   #
#######
)");
  ASSERT_EQ(Play("rruuldulldRd"), 0);
  ASSERT_EQ(GoQuick(), 0);
  PumpMessages(hooks());
  EXPECT_STREQ(step_letters(),
               "rruuldulldRd"
               "rruulDulldrd"
               "RRuuldulldrd"
               "rruuldulldrd");
  EXPECT_EQ(BoardText(), "#######/#    $#/#  . ##/##@  $#/#######");
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(LowBeeps(), 1);
}

TEST_F(ReplayTest, GoQuickEndsWhenARepetitionPushesACrateForthAndBack) {
  TraceAll();
  // "R" stores the crate at (3,5); "lu", "L" pushes the crate at (2,3) left, "ulld" walks
  // round it, "R" pushes it back, "drr" returns to the start. Every repetition after the
  // first finds (3,5) empty and pushes the upper crate left and back again: the board and
  // the player end each one as they began it.
  Start(R"(########
#      #
#  $   #
#   @$.#
#      #
########
)");
  ASSERT_EQ(Play("RluLulldRdrr"), 0);
  ASSERT_EQ(stored_count(), 1);
  ASSERT_EQ(GoQuick(), 0);
  EXPECT_EQ(PumpMessages(hooks(), kHistoryLimit), 12);
  EXPECT_STREQ(step_letters(), "RluLulldRdrrrluLulldRdrr");
  EXPECT_EQ(push_count(), 5);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(LowBeeps(), 1);
}

TEST_F(ReplayTest, GoQuickEndsAfterARepetitionThatPushedNothing) {
  TraceAll();
  Start(R"(#######
#@$.  #
#  $. #
#######
)");
  ASSERT_EQ(Play("Rl"), 0);
  ASSERT_EQ(GoQuick(), 0);
  // The repetition only walks: the crate went on its goal the first time round.
  EXPECT_EQ(PumpMessages(hooks(), kHistoryLimit), 2);
  EXPECT_STREQ(step_letters(), "Rlrl");
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(LowBeeps(), 1);
}

}  // namespace
