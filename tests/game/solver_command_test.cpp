// The Solver command: the board sent to the library, the answers judged, the solution
// recorded and replayed, the library missing, and a long search that keeps the windows alive
// and can be cancelled, with the real library and with a recording stand-in.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <time.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "dialogs.h"
#include "engine.h"
#include "game_fixture.h"
#include "rv7ini.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "services.h"
#include "slow_board.h"
#include "solver_command.h"
#include "solver_library.h"

namespace {

constexpr char kImpossible[] = "######\n#@  $#\n#.   #\n######\n";
constexpr char kTwoPlayers[] = "#####\n#@$.#\n#@  #\n#####\n";
// Ten crates in an open room: the position store fills before a solution is found.
constexpr char kStoreFills[] = R"(##############
#            #
# $ $ $ $ $  #
#            #
# $ $ $ $ $  #
#     @      #
# .......... #
##############
)";

constexpr double kStopWithinMs = 100.0;

double ProcessCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Everything of the level in play that a refused solve must leave as it was.
struct LevelState {
  std::vector<std::string> board;
  int moves;
  int pushes;
  int stored;
  int best_moves;
  std::string score_file;
  bool operator==(const LevelState&) const = default;
};

class SolverCommandTest : public GameWindowTest {
 protected:
  void SetUp() override {
    GameWindowTest::SetUp();
    InstallDialogServices(Services());
    InstallSolverService(Services());
  }
  void TearDown() override {
    SetSolverDirectory(std::nullopt);
    ::unsetenv("RV7_STANDIN_ANSWER");
    ::unsetenv("RV7_STANDIN_RECORD");
    GameWindowTest::TearDown();
  }

  // Level 1 of set "Set" for player "Tester".
  void OneLevel(std::string_view level) {
    WriteSettings("Tester", "Set", 1, 1);
    WriteFile("Mazes\\Set\\Set.1", level);
  }
  // The real library, copied into a folder of the data directory that the game searches
  // first, so that a test can rename it away.
  void UseRealLibrary() {
    std::filesystem::create_directories("lib");
    std::filesystem::copy_file(RV7SOLV_LIBRARY, "lib/librv7solv.so");
    SetSolverDirectory((std::filesystem::current_path() / "lib").string());
  }
  void UseStandIn(const char* directory, const char* answer) {
    SetSolverDirectory(std::string(directory));
    ::setenv("RV7_STANDIN_ANSWER", answer, 1);
    ::setenv("RV7_STANDIN_RECORD", (std::filesystem::current_path() / "record.txt").c_str(), 1);
  }

  LevelState State() const {
    LevelState state{{}, move_count(), push_count(), stored_count(), BestMoves(),
                     ReadFile("Mazes\\Set\\Set.1.rv7")};
    for (int row = 0; row < MazeHeight(); ++row) {
      state.board.emplace_back(Board()[row].data(), static_cast<std::size_t>(MazeWidth()));
    }
    return state;
  }

  // Clicks "Solver.." and expects the Solver message `text`, answered with "Ok".
  void SolveExpectingMessage(const char* text) {
    bool shown = false;
    WhenDialogOpens("SolverMessage", [&shown, text](QDialog& dialog) {
      shown = true;
      EXPECT_EQ(ControlOf<QLabel>(dialog, "id125")->text(), QString::fromLatin1(text));
      ClickButton(dialog, "id1");
    });
    QTest::mouseClick(window_->Button(kCmdSolver), Qt::LeftButton);
    EXPECT_TRUE(shown) << text;
  }
};

// Counts the times a top-level dialog of a name was shown while it lives.
class ShowCounter : public QObject {
 public:
  explicit ShowCounter(const char* name) : name_(QString::fromLatin1(name)) {
    qApp->installEventFilter(this);
  }
  ~ShowCounter() override { qApp->removeEventFilter(this); }
  int shown() const { return shown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    shown_ += event->type() == QEvent::Show && watched->objectName() == name_;
    return false;
  }

 private:
  QString name_;
  int shown_ = 0;
};

using SolverStandInTest = SolverCommandTest;

TEST_F(SolverStandInTest, LevelIsSentAsItsCodesInRowOrderWithTheRestWalls) {
  // 18 x 14 = 252 cells with every kind of cell; "x" is no cell character.
  std::vector<std::string> rows = {std::string(18, '#'), "#@ $.*+x         #"};
  for (int row = 2; row < 13; ++row) {
    rows.push_back("#" + std::string(16, row % 2 == 0 ? ' ' : '.') + "#");
  }
  rows.push_back(std::string(18, '#'));
  rows[5][5] = '$';
  std::string level;
  for (const std::string& row : rows) {
    level += row + "\n";
  }
  OneLevel(level);
  UseStandIn(STANDIN_DIR, "3 0 0");
  Start();
  ASSERT_EQ(MazeWidth() * MazeHeight(), 252);
  SolveExpectingMessage("Solver finds it Impossible!");
  std::ifstream record("record.txt");
  std::vector<int> numbers;
  for (int number = 0; record >> number;) {
    numbers.push_back(number);
  }
  ASSERT_EQ(numbers.size(), 3U + 256U);
  EXPECT_EQ(numbers[0], 18);
  EXPECT_EQ(numbers[1], 14);
  EXPECT_EQ(numbers[2], -1);  // the result code as the call found it
  const std::map<char, int> codes = {{' ', 0}, {'.', 1}, {'$', 2}, {'*', 3},
                                     {'#', 4}, {'@', 5}, {'+', 9}, {'x', 4}};
  for (int cell = 0; cell < 252; ++cell) {
    EXPECT_EQ(numbers[3 + cell], codes.at(rows[cell / 18][cell % 18])) << "cell " << cell;
  }
  for (int cell = 252; cell < 256; ++cell) {
    EXPECT_EQ(numbers[3 + cell], 4) << "cell " << cell;
  }
}

TEST_F(SolverStandInTest, EveryAnswerButASolutionLeavesTheLevelAsItWas) {
  OneLevel(kCorridor);
  Start();
  const LevelState before = State();
  struct Reply {
    const char* answer;
    const char* message;  // nullptr: none is shown
  };
  const std::vector<Reply> replies = {
      {"6 0 0", "Solver finds it too Complex! and Difficult!!"},
      {"6 5 0", "Solver finds it too Complex! and Difficult!!"},
      {"6 98304 1", "Solver finds it too Complex! and Difficult!!"},
      {"6 99011 7", "Solver finds it too Complex! and Difficult!!"},  // the longest text
      {"7 99012 3", "Solver returned with code 7!"},
      {"1 0 0", "Solver returned with code 1!"},
      {"-5 0 0", "Solver returned with code -5!"},
      {"8 0 0", nullptr},
  };
  for (const Reply& reply : replies) {
    UseStandIn(STANDIN_DIR, reply.answer);
    const ShowCounter messages("SolverMessage");
    if (reply.message != nullptr) {
      SolveExpectingMessage(reply.message);
    } else {
      DoCommand(kCmdSolver);
    }
    EXPECT_EQ(messages.shown(), reply.message != nullptr ? 1 : 0) << reply.answer;
    EXPECT_EQ(State(), before) << reply.answer;
    EXPECT_EQ(replay_mode(), ReplayMode::kNone) << reply.answer;
  }
  EXPECT_EQ(LowBeeps(), 0);
}

TEST_F(SolverStandInTest, LibraryWithoutTheEntryPointIsReported) {
  OneLevel(kCorridor);
  UseStandIn(STANDIN_NO_ENTRY_DIR, "6 3 1");
  Start();
  const LevelState before = State();
  SolveExpectingMessage("Failed to load Solver (rv7solver2)");
  EXPECT_EQ(State(), before);
}

TEST_F(SolverStandInTest, SolverIsRefusedWhileItsButtonIsDisabled) {
  OneLevel(kCorridor);
  UseStandIn(STANDIN_DIR, "6 3 1");
  Start();
  Press(Qt::Key_Right);
  const ShowCounter thinking("Thinking");
  DoCommand(kCmdSolver);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(thinking.shown(), 0);
  EXPECT_FALSE(std::filesystem::exists("record.txt"));
}

using SolverLibraryTest = SolverCommandTest;

TEST_F(SolverLibraryTest, SolutionIsRecordedForTheSolverAndReplayedWithoutCreditingThePlayer) {
  OneLevel(kCorridor);
  UseRealLibrary();
  Start();
  const ShowCounter thinking("Thinking");
  DoCommand(kCmdSolver);
  EXPECT_EQ(thinking.shown(), 1);
  const std::string recorded =
      "\n# comment:\n# some game solutions.\n# do not modify.\n\n[3.1.Morilan.Solver]\nrrr\n\n";
  EXPECT_EQ(ReadFile("Mazes\\Set\\Set.1.rv7"), recorded);
  EXPECT_EQ(BestName(), "Morilan.Solver");
  EXPECT_EQ(BestMoves(), 3);
  EXPECT_EQ(move_count(), 0);
  ASSERT_EQ(replay_mode(), ReplayMode::kStored);
  WaitForReplayEnd();
  EXPECT_TRUE(level_complete());
  EXPECT_EQ(move_count(), 3);
  EXPECT_EQ(OwnMoves(), 0);
  EXPECT_EQ(ReadFile("Mazes\\Set\\Set.1.rv7"), recorded);
}

TEST_F(SolverLibraryTest, ImpossibleFullAndMalformedLevelsShowTheirMessages) {
  WriteSettings("Tester", "Set", 1, 3);
  WriteFile("Mazes\\Set\\Set.1", kImpossible);
  WriteFile("Mazes\\Set\\Set.2", kStoreFills);
  WriteFile("Mazes\\Set\\Set.3", kTwoPlayers);
  UseRealLibrary();
  Start();
  for (const char* message : {"Solver finds it Impossible!", "Solver has Given Up!",
                              "Solver returned with code 2!"}) {
    const LevelState before = State();
    SolveExpectingMessage(message);
    EXPECT_EQ(State(), before) << message;
    EXPECT_TRUE(before.score_file.empty());
    Press(Qt::Key_N);
  }
  EXPECT_EQ(LowBeeps(), 1);  // N at the last level
}

TEST_F(SolverLibraryTest, LibraryRenamedAwayIsReportedAndTheGamePlaysOn) {
  OneLevel(kCorridor);
  UseRealLibrary();
  std::filesystem::rename("lib/librv7solv.so", "lib/librv7solv.so.away");
  Start();
  const LevelState before = State();
  SolveExpectingMessage("Failed to load Solver (librv7solv.so)");
  EXPECT_EQ(State(), before);
  Press(Qt::Key_Right);
  EXPECT_EQ(move_count(), 1);
}

// Watches a long search with the real library: the Thinking text, the main window painting
// and refusing input, and "Cancel" only after a second; then cancels it.
TEST_F(SolverLibraryTest, CancelAppearsAfterASecondAndStopsALongSearchAtOnce) {
  OneLevel(kSlowBoard);
  UseRealLibrary();
  Start();
  const LevelState before = State();
  const QImage painted = window_->grab().toImage();
  QElapsedTimer since_shown;
  double cpu_at_cancel = 0.0;
  bool cancelled = false;
  WhenDialogOpens("Thinking", [&](QDialog& dialog) {
    since_shown.start();
    EXPECT_EQ(ControlOf<QLabel>(dialog, "id125")->text(),
              QStringLiteral("... Solver is Thinking Very Hard ..."));
    EXPECT_TRUE(dialog.windowTitle().isEmpty());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    auto* cancel = ControlOf<QPushButton>(dialog, "id2");
    EXPECT_FALSE(cancel->isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);  // does not end it
    EXPECT_TRUE(dialog.isVisible());
    // The main window paints as before and takes no input.
    EXPECT_EQ(window_->grab().toImage(), painted);
    Press(Qt::Key_Right);
    QTest::mouseClick(window_->Button(kCmdRestart), Qt::LeftButton);
    EXPECT_EQ(move_count(), 0);
    while (!cancel->isVisible() && dialog.isVisible()) {
      QTest::qWait(10);
    }
    ASSERT_TRUE(dialog.isVisible()) << "the slow board no longer runs long enough";
    EXPECT_GE(since_shown.elapsed(), 950);
    cpu_at_cancel = ProcessCpuMs();
    cancelled = true;
    QTest::mouseClick(cancel, Qt::LeftButton);
  });
  const ShowCounter messages("SolverMessage");
  DoCommand(kCmdSolver);
  ASSERT_TRUE(cancelled);
  EXPECT_LT(ProcessCpuMs() - cpu_at_cancel, kStopWithinMs);
  EXPECT_EQ(messages.shown(), 0);
  EXPECT_EQ(State(), before);
  EXPECT_EQ(LowBeeps(), 0);
}

TEST_F(SolverLibraryTest, ClosingTheMainWindowStopsTheSearchAndEndsTheGame) {
  OneLevel(kSlowBoard);
  UseRealLibrary();
  Start();
  const LevelState before = State();
  WhenDialogOpens("Thinking", [this](QDialog&) { EXPECT_FALSE(window_->close()); });
  const ShowCounter messages("SolverMessage");
  QElapsedTimer solving;
  solving.start();
  DoCommand(kCmdSolver);
  EXPECT_LT(solving.elapsed(), 5000);
  EXPECT_EQ(messages.shown(), 0);
  EXPECT_EQ(State(), before);
  QEventLoop loop;
  QTimer::singleShot(3000, &loop, [&loop] { loop.exit(7); });
  EXPECT_EQ(loop.exec(), 0);  // the quit request
}

}  // namespace
