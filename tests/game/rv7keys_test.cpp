// The key table, the command table and the buttons' enabled states, through the window.
#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <string>

#include "engine.h"
#include "game_fixture.h"
#include "rv7ini.h"
#include "rv7score.h"
#include "services.h"

namespace {

using KeysTest = GameWindowTest;

// Level 1 of a set of three: the corridor.
void ThreeLevels() {
  GameWindowTest::WriteSettings("Tester", "Set", 1, 3);
  for (const char* path : {"Mazes\\Set\\Set.1", "Mazes\\Set\\Set.2", "Mazes\\Set\\Set.3"}) {
    GameWindowTest::WriteFile(path, kCorridor);
  }
}

TEST_F(KeysTest, ArrowsStepUndoRedoAndTurnThePlayerEvenIntoAWall) {
  ThreeLevels();
  Start();
  Press(Qt::Key_Left);  // into the wall: turns him, no step
  EXPECT_EQ(facing(), Facing::kLeft);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(LowBeeps(), 1);
  Press(Qt::Key_Right);
  Press(Qt::Key_Right);
  EXPECT_EQ(player_col(), 3);
  EXPECT_EQ(move_count(), 2);
  Press(Qt::Key_Delete);
  EXPECT_EQ(player_col(), 2);
  EXPECT_EQ(move_count(), 1);
  Press(Qt::Key_Insert);
  EXPECT_EQ(player_col(), 3);
  Press(Qt::Key_Right);
  EXPECT_EQ(stored_count(), 1);
  Press(Qt::Key_Up);  // the level is done: every step is refused
  EXPECT_EQ(move_count(), 3);
  EXPECT_EQ(LowBeeps(), 2);
}

TEST_F(KeysTest, ButtonsAtTheFirstLevelBeforeAnyStep) {
  ThreeLevels();
  Start();
  EXPECT_FALSE(Enabled(kCmdFirst));
  EXPECT_FALSE(Enabled(kCmdPrevious));
  EXPECT_TRUE(Enabled(kCmdNext));
  EXPECT_TRUE(Enabled(kCmdLast));
  EXPECT_TRUE(Enabled(kCmdGoto));
  EXPECT_TRUE(Enabled(kCmdSetup));
  EXPECT_TRUE(Enabled(kCmdPaste));
  EXPECT_TRUE(Enabled(kCmdSolver));
  for (Command command : {kCmdReplayOwn, kCmdReplayBest, kCmdLoadBest, kCmdCopy, kCmdReplayBookmark,
                          kCmdRestart, kCmdSaveBookmark}) {
    EXPECT_FALSE(Enabled(command)) << command;
  }
  for (Command command : {kCmdHelp, kCmdAbout, kCmdImport}) {
    EXPECT_TRUE(Enabled(command)) << command;
  }
}

TEST_F(KeysTest, ButtonsAfterOneStepAndAfterTheLevelIsDone) {
  ThreeLevels();
  WriteSettings("Tester", "Set", 2, 3);
  WriteFile("Mazes\\Set\\Set.2.rv7", kCorridorBest);
  Start();
  EXPECT_TRUE(Enabled(kCmdReplayBest));
  Press(Qt::Key_Right);
  Shot();
  EXPECT_TRUE(Enabled(kCmdRestart));
  EXPECT_TRUE(Enabled(kCmdSaveBookmark));
  for (Command command :
       {kCmdFirst, kCmdPrevious, kCmdNext, kCmdLast, kCmdGoto, kCmdSetup, kCmdPaste,
        kCmdReplayBookmark, kCmdReplayOwn, kCmdReplayBest, kCmdLoadBest, kCmdCopy, kCmdSolver}) {
    EXPECT_FALSE(Enabled(command)) << command;
  }
  Press(Qt::Key_Right);
  Press(Qt::Key_Right);
  ASSERT_EQ(stored_count(), crate_count());
  Shot();
  for (Command command : {kCmdFirst, kCmdPrevious, kCmdNext, kCmdLast, kCmdGoto, kCmdSetup,
                          kCmdRestart, kCmdSaveBookmark}) {
    EXPECT_TRUE(Enabled(command)) << command;
  }
  EXPECT_FALSE(Enabled(kCmdReplayBest));  // moves were made
}

TEST_F(KeysTest, NavigationKeysRefuseAtTheEndsOfTheSet) {
  ThreeLevels();
  Start();
  Press(Qt::Key_V);
  Press(Qt::Key_B);
  EXPECT_EQ(current_level(), 1);
  EXPECT_EQ(LowBeeps(), 2);
  Press(Qt::Key_N);
  EXPECT_EQ(current_level(), 2);
  Press(Qt::Key_M);
  EXPECT_EQ(current_level(), 3);
  Shot();
  EXPECT_FALSE(Enabled(kCmdNext));
  EXPECT_FALSE(Enabled(kCmdLast));
  Press(Qt::Key_N);
  Press(Qt::Key_M);
  EXPECT_EQ(current_level(), 3);
  EXPECT_EQ(LowBeeps(), 4);
  Press(Qt::Key_B);
  EXPECT_EQ(current_level(), 2);
  Press(Qt::Key_V);
  EXPECT_EQ(current_level(), 1);
}

TEST_F(KeysTest, LevelInProgressCannotBeLeftUntilRestart) {
  ThreeLevels();
  Start();
  Press(Qt::Key_Right);
  Press(Qt::Key_N);
  EXPECT_EQ(current_level(), 1);
  EXPECT_EQ(LowBeeps(), 1);
  Press(Qt::Key_R);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(player_col(), 1);
  EXPECT_EQ(BoardColour(1, 1), KindColour(TileKind::kManRight));
  EXPECT_EQ(BoardColour(1, 2), KindColour(TileKind::kFloor));
  Press(Qt::Key_R);  // nothing to restart
  EXPECT_EQ(LowBeeps(), 2);
  Press(Qt::Key_Insert);  // the old game is the redo tail
  EXPECT_EQ(player_col(), 2);
}

TEST_F(KeysTest, DigitKeysOfTheMainRowChooseTheReplayDelay) {
  ThreeLevels();
  WriteFile("Ini\\Config.Ini", "[Config]\nDelay1 = 7\nDelay4 = 9\n");
  Start();
  Press(Qt::Key_3);
  EXPECT_EQ(selected_delay(), 33);
  Press(Qt::Key_1);
  EXPECT_EQ(selected_delay(), 7);
  Press(Qt::Key_4);
  EXPECT_EQ(selected_delay(), 9);
  Press(Qt::Key_0);
  EXPECT_EQ(selected_delay(), 0);
  Press(Qt::Key_2, Qt::KeypadModifier);
  Press(Qt::Key_5);
  EXPECT_EQ(selected_delay(), 0);
  EXPECT_EQ(LowBeeps(), 2);
}

TEST_F(KeysTest, KeypadFunctionAndModifierKeysOnlyBeep) {
  ThreeLevels();
  Start();
  Press(Qt::Key_Right, Qt::KeypadModifier);
  EXPECT_EQ(LowBeeps(), 1);
  Press(Qt::Key_F5);
  EXPECT_EQ(LowBeeps(), 2);
  Press(Qt::Key_Shift);
  EXPECT_EQ(LowBeeps(), 3);
  Press(Qt::Key_Escape);
  EXPECT_EQ(LowBeeps(), 4);
  Press(Qt::Key_Tab);
  EXPECT_EQ(LowBeeps(), 5);
  EXPECT_EQ(move_count(), 0);
  EXPECT_TRUE(window_->hasFocus());
  Press(Qt::Key_Right, Qt::AltModifier);  // a system key: not answered at all
  EXPECT_EQ(LowBeeps(), 5);
  EXPECT_EQ(move_count(), 0);
}

TEST_F(KeysTest, RecordKeysNeedTheirRecordAndAnUntouchedLevel) {
  ThreeLevels();
  Start();
  Press(Qt::Key_W);
  Press(Qt::Key_E);
  Press(Qt::Key_S);
  EXPECT_EQ(LowBeeps(), 3);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
}

// The corridor's records: a best record without moves (so it does not count) by someone
// else, and the player's own one.
constexpr char kOwnButNoBest[] = R"(
# comment:
# some game solutions.
# do not modify.

[0.0.Someone]

[5.1.Tester]
rlrrR

)";

TEST_F(KeysTest, KeysWAndSAndTheirButtonsFollowTheirOwnRecordAndAnUntouchedLevel) {
  ThreeLevels();
  WriteFile("Mazes\\Set\\Set.1.rv7", kCorridorBest);  // a best, but no own record
  WriteFile("Mazes\\Set\\Set.2.rv7", kOwnButNoBest);
  Start();
  EXPECT_TRUE(Enabled(kCmdReplayBest));
  EXPECT_FALSE(Enabled(kCmdReplayOwn));
  Press(Qt::Key_S);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  Press(Qt::Key_Right);
  Press(Qt::Key_W);  // moves were made
  EXPECT_EQ(LowBeeps(), 2);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(move_count(), 1);

  Press(Qt::Key_R);
  Press(Qt::Key_N);
  ASSERT_EQ(current_level(), 2);
  Shot();
  EXPECT_TRUE(Enabled(kCmdReplayOwn));
  EXPECT_FALSE(Enabled(kCmdReplayBest));
  Press(Qt::Key_W);
  EXPECT_EQ(LowBeeps(), 3);
  Press(Qt::Key_0);
  Press(Qt::Key_S);  // the own record needs no best one
  EXPECT_EQ(replay_mode(), ReplayMode::kStored);
  WaitForReplayEnd();
  EXPECT_EQ(move_count(), 5);
  EXPECT_EQ(LowBeeps(), 3);
}

TEST_F(KeysTest, KeyEMakesTheFirstStepOfTheBestSolutionAndRedoTheRest) {
  ThreeLevels();
  WriteFile("Mazes\\Set\\Set.1.rv7", kCorridorBest);
  Start();
  Press(Qt::Key_E);
  EXPECT_EQ(move_count(), 1);
  Press(Qt::Key_E);  // moves were made
  EXPECT_EQ(LowBeeps(), 1);
  Press(Qt::Key_Insert);
  Press(Qt::Key_Insert);
  EXPECT_EQ(stored_count(), 1);
  EXPECT_EQ(push_count(), 1);
}

TEST_F(KeysTest, SpaceRepeatsTheLastCycle) {
  WriteSettings("Tester", "Set", 1, 1);
  // A push onto the goal and back is a cycle; its repeat only walks the same round.
  WriteFile("Mazes\\Set\\Set.1", "######\n#@$. #\n# $. #\n######\n");
  Start();
  Press(Qt::Key_Space);  // no moves, no cycle
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  Press(Qt::Key_0);
  Press(Qt::Key_Right);
  Press(Qt::Key_Left);
  Press(Qt::Key_Space);
  EXPECT_EQ(replay_mode(), ReplayMode::kQuick);
  WaitForReplayEnd();
  EXPECT_STREQ(step_letters(), "Rlrl");
  EXPECT_EQ(move_count(), 4);
}

TEST_F(KeysTest, ButtonClicksAndCommandsReachTheirOperations) {
  ThreeLevels();
  Start();
  QTest::mouseClick(window_->Button(kCmdNext), Qt::LeftButton);
  EXPECT_EQ(current_level(), 2);
  QTest::mouseClick(window_->Button(kCmdLast), Qt::LeftButton);
  EXPECT_EQ(current_level(), 3);
  QTest::mouseClick(window_->Button(kCmdFirst), Qt::LeftButton);
  EXPECT_EQ(current_level(), 1);
  EXPECT_TRUE(window_->hasFocus());
  Press(Qt::Key_Right);
  Shot();
  QTest::mouseClick(window_->Button(kCmdRestart), Qt::LeftButton);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(DoCommand(9999), 0);  // no such command: nothing
  EXPECT_EQ(LowBeeps(), 0);
}

TEST_F(KeysTest, CommandsWithoutTheirModuleBeepAndChangeNothing) {
  ThreeLevels();
  Start();
  for (Command command :
       {kCmdGoto, kCmdSetup, kCmdHelp, kCmdAbout, kCmdImport, kCmdSolver, kCmdCopy, kCmdPaste}) {
    DoCommand(command);
  }
  EXPECT_EQ(LowBeeps(), 8);
  EXPECT_EQ(current_level(), 1);
}

TEST_F(KeysTest, GotoGoesToTheLevelTheDialogLeaves) {
  ThreeLevels();
  Start();
  int shown = 0;
  int answer = 3;
  Services().goto_level = [&](QWidget* owner) {
    EXPECT_EQ(owner, window_.get());
    ++shown;
    return answer;
  };
  Press(Qt::Key_Right);  // a game in progress is abandoned without asking
  DoCommand(kCmdGoto);
  EXPECT_EQ(current_level(), 3);
  EXPECT_EQ(move_count(), 0);
  answer = 3;  // cancelled: the same level comes back
  DoCommand(kCmdGoto);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(LowBeeps(), 0);
  Finish();
  EXPECT_NE(ReadFile("Ini\\Game.Ini").find("Set    = 3\n"), std::string::npos);
}

TEST_F(KeysTest, SetupReloadsTheLevelOnlyWhenPlayerOrSetChanged) {
  ThreeLevels();
  WriteFile("Mazes\\Set\\Set.1.rv7", "[3.1.Other]\nrrR\n");
  Start();
  EXPECT_EQ(OwnMoves(), 0);
  int reloads_seen = 0;
  Services().setup = [&](QWidget*) {
    ++reloads_seen;
    return 2;  // cancelled
  };
  Press(Qt::Key_Right);
  DoCommand(kCmdSetup);
  EXPECT_EQ(move_count(), 1);  // nothing reloaded
  Services().setup = [](QWidget*) {
    set_player_name("Other");
    return 1;
  };
  DoCommand(kCmdSetup);
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(OwnMoves(), 3);
  EXPECT_EQ(reloads_seen, 1);
}

TEST_F(KeysTest, QuitCommandEndsTheEventLoop) {
  ThreeLevels();
  Start();
  DoCommand(kCmdQuit);
  EXPECT_EQ(RunApplicationLoop(3000), 0);
}

TEST_F(KeysTest, SolverButtonFollowsLevelSizeCratesAndMoves) {
  WriteSettings("Tester", "Set", 1, 3);
  // 17 x 15 = 255 cells: too large.
  std::string large = std::string(17, '#') + "\n#@$." + std::string(12, ' ') + "#\n";
  for (int r = 0; r < 12; ++r) {
    large += "#" + std::string(15, ' ') + "#\n";
  }
  large += std::string(17, '#') + "\n";
  // 18 x 14 = 252 cells with 13 crates: allowed.
  std::string fits = std::string(18, '#') + "\n#@" + std::string(13, '$') + "  #\n";
  fits += std::string("#").append(13, '.').append("   #\n");
  for (int r = 0; r < 10; ++r) {
    fits += "#" + std::string(16, ' ') + "#\n";
  }
  fits += std::string(18, '#') + "\n";
  WriteFile("Mazes\\Set\\Set.1", large);
  WriteFile("Mazes\\Set\\Set.2", fits);
  WriteFile("Mazes\\Set\\Set.3", kOnePush);
  Start();
  ASSERT_EQ(MazeWidth() * MazeHeight(), 255);
  EXPECT_FALSE(Enabled(kCmdSolver));
  Press(Qt::Key_N);
  ASSERT_EQ(MazeWidth() * MazeHeight(), 252);
  ASSERT_EQ(crate_count(), 13);
  EXPECT_TRUE(Enabled(kCmdSolver));
  Press(Qt::Key_Down);
  Shot();
  EXPECT_FALSE(Enabled(kCmdSolver));
}

}  // namespace
