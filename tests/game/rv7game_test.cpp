// Start-up, the window's identity and buttons, the routing of events (also during a replay),
// the close request and the settings written back at the end.
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <string>

#include "engine.h"
#include "file_size_limit.h"
#include "files.h"
#include "game_fixture.h"
#include "rv7ini.h"
#include "rv7score.h"
#include "services.h"

namespace {

constexpr char kBookmark[] = R"(
# comment:
# some game solutions.
# do not modify.

[1.0.Bookmark]
r

)";

// Runs the event loop until it is told to end; returns its exit code
// (GameWindowTest::kLoopPatienceOver when nothing ended it within the time).
int RunEventLoopBriefly() {
  constexpr int kPatienceMs = 1500;
  return GameWindowTest::RunApplicationLoop(kPatienceMs);
}

using StartTest = GameWindowTest;

TEST_F(StartTest, WindowHasItsCaptionFixedSizeAndEighteenButtons) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  Start();
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Korvala v1.1.6"));
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
  EXPECT_FALSE(window_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(window_->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  const auto buttons = window_->findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 18);
  for (const ButtonDef& button_def : kButtons) {
    QPushButton* button = window_->Button(button_def.command);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromLatin1(button_def.label));
    EXPECT_EQ(button->geometry(),
              QRect(button_def.x, button_def.y, button_def.width, button_def.height))
        << button_def.label;
  }
  EXPECT_EQ(window_->Button(kCmdFirst)->text(), QStringLiteral("|<"));
  EXPECT_EQ(window_->Button(kCmdLast)->text(), QStringLiteral(">|"));
  EXPECT_EQ(window_->font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(window_->font().pixelSize(), 11);
}

TEST_F(StartTest, PlaceholderPlayerOpensSetupBeforeTheWindowAndItsChoiceTakesEffect) {
  WriteSettings("Player", "Set", 1, 1);
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nSet = 1\nOther = 1\n");
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  WriteFile("Mazes\\Other\\Other.1", "#####\n#@$.#\n#####\n");
  int opened = 0;
  Services().setup = [&](QWidget* owner) {
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(MainWindow(), nullptr);
    ++opened;
    set_player_name("Anna");
    set_current_set("Other");
    return 1;
  };
  Start();
  EXPECT_EQ(opened, 1);
  EXPECT_STREQ(player_name(), "Anna");
  EXPECT_EQ(MazeWidth(), 5);
}

TEST_F(StartTest, NamedPlayerStartsWithoutSetup) {
  WriteSettings("Players", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  int opened = 0;
  Services().setup = [&](QWidget*) { return ++opened; };
  Start();
  EXPECT_EQ(opened, 0);
}

TEST_F(StartTest, CloseRequestEndsTheLoopButKeepsTheWindow) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  Start();
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(RunEventLoopBriefly(), 0);
}

TEST_F(StartTest, SettingsAreWrittenBackAtTheEnd) {
  WriteSettings("Tester", "Set", 1, 2);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  WriteFile("Mazes\\Set\\Set.2", kCorridor);
  WriteFile("Ini\\Config.Ini", "[Config]\nBitMapSet = 2\nImportDir = \"/tmp/levels\"\n");
  Start();
  Press(Qt::Key_N);
  Finish();
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"),
            "\n# comment:\n# current game setup.\n# do not modify.\n\n[Game]\n"
            "Maze   = Set\nPlayer = Tester\nSet    = 2\n\n");
  EXPECT_EQ(ReadFile("Ini\\Config.Ini"),
            "\n# comment:\n# current configuration.\n# do not modify.\n\n[Config]\n"
            "BitMapSet = 2\nImportDir = \"/tmp/levels\"\nDelay1    = 100\nDelay2    = 50\n"
            "Delay3    = 33\nDelay4    = 25\n\n");
}

// Closes every message box that opens while it lives, keeping their texts.
class MessageCatcher {
 public:
  MessageCatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        box->accept();
      }
    });
    timer_.start(10);
  }
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

TEST_F(StartTest, SolveThatCannotBeSavedIsShownKeptAndWrittenAtTheEnd) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  MessageCatcher messages;
  {
    const FileSizeLimit full_disk(16);
    Press(Qt::Key_Right);  // solves the level; its score file cannot be written
  }
  ASSERT_EQ(messages.texts.size(), 1u);
  const std::string& text = messages.texts.front();
  EXPECT_NE(text.find("Mazes\\Set\\Set.1.rv7"), std::string::npos) << text;
  EXPECT_NE(text.find(std::strerror(EFBIG)), std::string::npos) << text;
  EXPECT_EQ(BestMoves(), 1);  // the solution stays on screen
  EXPECT_FALSE(FileExists("Mazes\\Set\\Set.1.rv7"));
  Finish();
  EXPECT_EQ(ReadFile("Mazes\\Set\\Set.1.rv7"),
            "\n# comment:\n# some game solutions.\n# do not modify.\n\n[1.1.Tester]\nR\n\n");
  EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(StartTest, ConfigIsWrittenEvenWhenNothingChanged) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  Start();
  Finish();
  EXPECT_NE(ReadFile("Ini\\Config.Ini").find("[Config]\nBitMapSet = 1\n"), std::string::npos);
}

using ReplayRoutingTest = GameWindowTest;

TEST_F(ReplayRoutingTest, ReplayIgnoresKeysCloseCommandsAndClicks) {
  WriteSettings("Tester", "Set", 1, 2);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  WriteFile("Mazes\\Set\\Set.2", kCorridor);
  WriteFile("Mazes\\Set\\Set.1.rv7", kCorridorBest);
  Start();
  Press(Qt::Key_0);
  Press(Qt::Key_W);
  ASSERT_EQ(replay_mode(), ReplayMode::kStored);
  int swallowed = 0;
  while (replay_mode() != ReplayMode::kNone && swallowed < 50) {
    Press(Qt::Key_Left);
    Press(Qt::Key_Delete);
    EXPECT_FALSE(window_->close());
    CommandEvent next(kCmdNext);
    QCoreApplication::sendEvent(window_.get(), &next);
    QTest::mouseClick(window_->Button(kCmdNext), Qt::LeftButton);
    ++swallowed;
    QCoreApplication::processEvents();
  }
  WaitForReplayEnd();
  EXPECT_GT(swallowed, 0);
  EXPECT_EQ(move_count(), 3);
  EXPECT_EQ(stored_count(), 1);
  EXPECT_EQ(current_level(), 1);
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(LowBeeps(), 0);
  // Nothing was queued for later: no quit request, no step.
  EXPECT_EQ(RunEventLoopBriefly(), kLoopPatienceOver);
  EXPECT_EQ(move_count(), 3);
  // A replay of a stored solution credits nobody.
  EXPECT_EQ(ReadFile("Mazes\\Set\\Set.1.rv7"), kCorridorBest);
}

TEST_F(ReplayRoutingTest, KeyDuringABookmarkReplayIsNotQueued) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  WriteFile("Mazes\\Set\\Set.1.rv7", kBookmark);
  Start();
  ASSERT_TRUE(Enabled(kCmdReplayBookmark));
  QTest::mouseClick(window_->Button(kCmdReplayBookmark), Qt::LeftButton);
  ASSERT_EQ(replay_mode(), ReplayMode::kStored);
  Press(Qt::Key_Right);
  Press(Qt::Key_Right);
  WaitForReplayEnd();
  QCoreApplication::processEvents();
  EXPECT_EQ(move_count(), 1);
  EXPECT_EQ(player_col(), 2);
  EXPECT_EQ(BoardColour(1, 2), KindColour(TileKind::kManRight));
  // Input works again once the replay is over.
  Press(Qt::Key_Right);
  EXPECT_EQ(move_count(), 2);
}

TEST_F(ReplayRoutingTest, ReplayEventWithoutAReplayDoesNothing) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  WriteFile("Mazes\\Set\\Set.1.rv7", kCorridorBest);
  Start();
  QEvent replay(kReplayEvent);
  QCoreApplication::sendEvent(window_.get(), &replay);
  EXPECT_EQ(move_count(), 0);
}

// Writes down, in order, the paints and replay messages a widget receives with the move
// count at each: "P1" a paint showing one move, "S1" a replay message arriving after one.
class ReplayJournal : public QObject {
 public:
  std::string entries;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint || event->type() == kReplayEvent) {
      entries += event->type() == QEvent::Paint ? 'P' : 'S';
      entries += std::to_string(move_count());
    }
    return false;
  }
};

TEST_F(ReplayRoutingTest, EachReplayStepWaitsForThePaintOfThePreviousOne) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  WriteFile("Mazes\\Set\\Set.1.rv7", kCorridorBest);
  Start();
  Press(Qt::Key_0);  // no pause between the steps
  ReplayJournal journal;
  window_->installEventFilter(&journal);
  Press(Qt::Key_W);
  WaitForReplayEnd();
  window_->removeEventFilter(&journal);
  EXPECT_EQ(move_count(), 3);
  // One step per replay message, and every step painted before the next message comes: the
  // starter's message, then paint and message in turn until the text is used up (the paint
  // of the last step may follow).
  EXPECT_TRUE(journal.entries.starts_with("S0P1S1P2S2P3S3")) << journal.entries;
}

}  // namespace
