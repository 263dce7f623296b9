// Copy, paste and help through the game window: the clipboard's text, what a paste records
// and plays, its refusals, and opening the help page.
#include "clipboard.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <string>

#include "engine.h"
#include "game_fixture.h"
#include "rv7score.h"
#include "services.h"

namespace {

constexpr char kSetCorridorPath[] = "Mazes\\Set\\Set.1.rv7";

class ClipboardTest : public GameWindowTest {
 protected:
  void SetUp() override {
    GameWindowTest::SetUp();
    InstallClipboardServices(Services());
    WriteSettings("Tester", "Set", 1, 3);
    for (const char* path : {"Mazes\\Set\\Set.1", "Mazes\\Set\\Set.2", "Mazes\\Set\\Set.3"}) {
      WriteFile(path, kCorridor);
    }
  }
  void TearDown() override {
    SetUrlOpener({});
    GameWindowTest::TearDown();
  }

  void Click(Command command) { window_->Button(command)->click(); }
  static void SetClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  }
  static std::string Clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
};

TEST_F(ClipboardTest, CopiedSolutionPastedBackOnItsLevelPlaysWithoutRecording) {
  WriteFile(kSetCorridorPath, kCorridorBest);
  Start();
  Click(kCmdCopy);
  EXPECT_EQ(Clipboard(), "[Set.1]\n[3.1.Someone]\nrrR\n\n");
  EXPECT_EQ(LowBeeps(), 1);  // the high beep

  Click(kCmdPaste);
  EXPECT_EQ(LowBeeps(), 2);
  EXPECT_EQ(replay_mode(), ReplayMode::kStored);
  WaitForReplayEnd();
  EXPECT_TRUE(level_complete());
  EXPECT_EQ(move_count(), 3);
  EXPECT_EQ(ReadFile(kSetCorridorPath), kCorridorBest);
  EXPECT_EQ(SolutionRecords().size(), 1U);
  EXPECT_EQ(OwnMoves(), 0);
}

TEST_F(ClipboardTest, SolutionOfAnotherLevelIsRefusedWithTwoLowBeeps) {
  WriteSettings("Tester", "Set", 2, 3);
  Start();
  SetClipboard("[Set.1]\n[3.1.Someone]\nrrR\n\n");
  Click(kCmdPaste);
  EXPECT_EQ(LowBeeps(), 2);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(move_count(), 0);
  EXPECT_FALSE(std::filesystem::exists("Mazes/Set/Set.2.rv7"));
}

TEST_F(ClipboardTest, BareLettersThatSolveAreCreditedToThePlayer) {
  Start();
  // Bare line feeds: one empty line is taken with the line before, two end the text.
  SetClipboard("rr\n\nR\n\n\nLLLL\n");
  Click(kCmdPaste);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(replay_mode(), ReplayMode::kQuick);
  WaitForReplayEnd();
  EXPECT_TRUE(level_complete());
  EXPECT_EQ(OwnMoves(), 3);
  EXPECT_NE(ReadFile(kSetCorridorPath).find("[3.1.Tester]\nrrR\n"), std::string::npos);
}

TEST_F(ClipboardTest, BothHeadersRecordUnderTheirNameBeforeThePlay) {
  Start();
  // Carriage returns and line feeds, the set name in other letter case; the text ends at
  // the first empty line.
  SetClipboard("[sET.1]\r\n[3.1.Friend]\r\nrr\r\nR\r\n\r\nLL\r\n");
  Click(kCmdPaste);
  EXPECT_EQ(BestMoves(), 3);
  EXPECT_EQ(BestName(), "Friend");
  EXPECT_NE(ReadFile(kSetCorridorPath).find("[3.1.Friend]\nrrR\n"), std::string::npos);
  EXPECT_EQ(move_count(), 0);
  WaitForReplayEnd();
  EXPECT_TRUE(level_complete());
  EXPECT_EQ(OwnMoves(), 0);
  EXPECT_EQ(SolutionRecords().size(), 1U);
}

TEST_F(ClipboardTest, RefusedWhileAGameIsInProgressAndSilentWithoutSteps) {
  Start();
  SetClipboard("unchanged");
  DoCommand(kCmdCopy);  // no Best record: nothing
  EXPECT_EQ(Clipboard(), "unchanged");
  SetClipboard("[Set.1]\n\n");
  DoCommand(kCmdPaste);
  EXPECT_EQ(LowBeeps(), 0);
  QGuiApplication::clipboard()->clear();
  DoCommand(kCmdPaste);
  EXPECT_EQ(LowBeeps(), 0);

  Press(Qt::Key_Right);
  SetClipboard("rR");
  DoCommand(kCmdPaste);  // the button is disabled; the command still refuses
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(replay_mode(), ReplayMode::kNone);
  EXPECT_EQ(move_count(), 1);
}

TEST_F(ClipboardTest, HelpOpensThePageOfTheDataDirectory) {
  Start();
  QUrl opened;
  SetUrlOpener([&opened](const QUrl& url) {
    opened = url;
    return true;
  });
  Click(kCmdHelp);
  EXPECT_EQ(LowBeeps(), 1);  // no ReadNt.Htm
  EXPECT_TRUE(opened.isEmpty());

  WriteFile(kHelpFile, "<html></html>");
  Click(kCmdHelp);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(opened, QUrl::fromLocalFile(QString::fromStdString(
                        (std::filesystem::current_path() / kHelpFile).string())));
}

// Where the desktop services fail, the desktop's program for text/html opens the page.
TEST_F(ClipboardTest, HelpFallsBackToTheHtmlProgramOfTheDesktop) {
  const std::filesystem::path here = std::filesystem::current_path();
  WriteFile("bin/xdg-mime", "#!/bin/sh\necho korvala-test-browser.desktop\n");
  WriteFile("bin/test-browser", "#!/bin/sh\necho \"$2\" > opened.txt\n");
  for (const char* program : {"xdg-mime", "test-browser"}) {
    std::filesystem::permissions(here / "bin" / program, std::filesystem::perms::owner_all);
  }
  WriteFile("share/applications/korvala-test-browser.desktop",
            "[Desktop Entry]\nName=Test\nExec=test-browser --new %U\n");
  const QByteArray path = qgetenv("PATH");
  const QByteArray data_home = qgetenv("XDG_DATA_HOME");
  qputenv("PATH", QByteArray((here / "bin").c_str()) + ":" + path);
  qputenv("XDG_DATA_HOME", QByteArray((here / "share").c_str()));
  WriteFile(kHelpFile, "<html></html>");
  SetUrlOpener([](const QUrl&) { return false; });

  EXPECT_EQ(OpenDocument(kHelpFile), 1);
  QElapsedTimer timer;
  timer.start();
  while (ReadFile("opened.txt").empty() && timer.elapsed() < 5000) {
    QTest::qWait(20);
  }
  EXPECT_EQ(ReadFile("opened.txt"), (here / kHelpFile).string() + "\n");

  // No program for HTML files: nothing opens, nothing else happens.
  WriteFile("bin/xdg-mime", "#!/bin/sh\nexit 1\n");
  EXPECT_EQ(OpenDocument(kHelpFile), 0);
  qputenv("PATH", path);
  qputenv("XDG_DATA_HOME", data_home);
}

TEST(DesktopEntry, ExecLineIsCutAtItsFileFieldCode) {
  const QString file = QStringLiteral("/data/ReadNt.Htm");
  EXPECT_EQ(DesktopCommand(QStringLiteral("\"/opt/My Browser/run\" --new %i \"%F\" --x"), file),
            QStringList({QStringLiteral("/opt/My Browser/run"), QStringLiteral("--new"), file}));
  EXPECT_EQ(DesktopCommand(QStringLiteral("viewer"), file),
            QStringList({QStringLiteral("viewer"), file}));
  EXPECT_TRUE(DesktopCommand(QStringLiteral("%u"), file).isEmpty());
  EXPECT_EQ(DesktopEntryExec(QStringLiteral("[Desktop Action new]\nExec=wrong %u\n"
                                            "[Desktop Entry]\nName=B\nExec=right %u\nExec=late\n")),
            QStringLiteral("right %u"));
}

}  // namespace
