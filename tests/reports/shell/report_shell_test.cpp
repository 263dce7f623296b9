// The shell run inside the test process, on the offscreen platform: the window, the Paint
// handshake, and the end of the program when the window goes early.
#include "report_shell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "dupes_worker.h"
#include "html_page.h"
#include "named_event.h"
#include "report_test_support.h"
#include "report_window.h"
#include "rv7ini.h"
#include "scores_worker.h"

namespace {

constexpr int kSteps = 20;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "report_shell_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return application;
}

// An identity whose Sync event no other test or program uses; the event's name is removed
// again when the object goes.
class TestIdentity {
 public:
  explicit TestIdentity(const ReportIdentity& base)
      : name_("//RV7TEST//SYNC." + std::to_string(::getpid()) + ".SEM"), identity_(base) {
    identity_.sync_event_name = name_.c_str();
  }
  ~TestIdentity() { RemoveNamedEvent(name_); }
  TestIdentity(const TestIdentity&) = delete;
  TestIdentity& operator=(const TestIdentity&) = delete;

  const ReportIdentity& get() const { return identity_; }

 private:
  std::string name_;
  ReportIdentity identity_;
};

// Watches the report window's paints: notes the Status line each paint shows, and closes
// (or hides) the window once a chosen text has been painted.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(std::string close_at = {}, bool hide = false)
      : close_at_(std::move(close_at)), hide_(hide) {
    Application().installEventFilter(this);
  }
  ~PaintWatch() override { Application().removeEventFilter(this); }

  bool eventFilter(QObject* target, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(target);
    if (event->type() == QEvent::Paint && widget != nullptr && widget->isWindow()) {
      painted.push_back(StatusLine());
      regions.push_back(static_cast<QPaintEvent*>(event)->region());
      size = widget->size();
      fixed = widget->minimumSize() == widget->maximumSize();
      caption = widget->windowTitle().toStdString();
      if (!close_at_.empty() && painted.back() == close_at_) {
        QTimer::singleShot(0, widget, [widget, hide = hide_] {
          if (hide) {
            widget->hide();
          } else {
            widget->close();
          }
        });
      }
    }
    return false;
  }

  std::vector<std::string> painted;
  std::vector<QRegion> regions;  // what each paint was asked to draw
  QSize size;
  bool fixed = false;
  std::string caption;

 private:
  std::string close_at_;
  bool hide_;
};

std::atomic<int> g_tables_seen{-1};
std::atomic<int> g_steps_done{0};

void SteppingWorker() {
  g_tables_seen = level_set_count();
  for (int step = 0; step < kSteps; ++step) {
    SetStatusLine("step " + std::to_string(step));
    PaintHandshake();
    g_steps_done = step + 1;
  }
}

int RunSteps() {
  g_tables_seen = -1;
  g_steps_done = 0;
  const TestIdentity identity(kDupesIdentity);
  return RunReportProgram(identity.get(), "", SteppingWorker);
}

bool IsSubsequence(const std::vector<std::string>& wanted, const std::vector<std::string>& seen) {
  auto it = seen.begin();
  for (const std::string& text : wanted) {
    it = std::find(it, seen.end(), text);
    if (it == seen.end()) {
      return false;
    }
  }
  return true;
}

TEST(ReportShell, EveryHandshakeTextIsPaintedBeforeTheWorkerGoesOn) {
  DataDirectory data;
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nA = 1\nB = 2\n");
  PaintWatch watch;
  EXPECT_EQ(RunSteps(), 0);
  std::vector<std::string> wanted = {"Initialising..."};
  for (int step = 0; step < kSteps; ++step) {
    wanted.push_back("step " + std::to_string(step));
  }
  wanted.push_back("Done.");
  EXPECT_TRUE(IsSubsequence(wanted, watch.painted));
  EXPECT_EQ(watch.painted.back(), "Done.");
  // The settings were read before the worker was let at them.
  EXPECT_EQ(g_tables_seen, 2);
  EXPECT_EQ(watch.size, QSize(300, 90));
  EXPECT_TRUE(watch.fixed);
  EXPECT_EQ(watch.caption, "Korvala Dupes v1.1.4");
}

TEST(ReportShell, HandshakeRepaintsOnlyTheStatusBox) {
  DataDirectory data;
  PaintWatch watch;
  EXPECT_EQ(RunSteps(), 0);
  int step_paints = 0;
  for (std::size_t index = 0; index < watch.painted.size(); ++index) {
    if (watch.painted[index].starts_with("step ")) {
      ++step_paints;
      EXPECT_EQ(watch.regions[index], QRegion(ReportWindow::StatusTextRect())) << index;
    }
  }
  EXPECT_GE(step_paints, kSteps);
}

void FailingWorker() {
  SetStatusLine("step 0");
  PaintHandshake();
  throw PageWriteError("cannot write", "htm\\x.htm", ENOSPC);
}

TEST(ReportShell, PageThatCannotBeWrittenEndsTheRunAndFailsTheProgramWithOneLine) {
  DataDirectory data;
  std::filesystem::remove("htm");
  PaintWatch watch;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunReportProgram(TestIdentity(kScoresIdentity).get(), "", FailingWorker),
            kPageFailureExitCode);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "nrv7sco: cannot write htm/x.htm: No space left on device\n");
  EXPECT_TRUE(std::filesystem::is_directory("htm"));  // made before the worker ran
  EXPECT_EQ(std::count(watch.painted.begin(), watch.painted.end(), "Done."), 0);
  // The next run starts clean.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunSteps(), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(ReportShell, ClosingTheWindowEarlyLetsTheWorkerFinishWithoutPainting) {
  DataDirectory data;
  PaintWatch watch("step 2");
  EXPECT_EQ(RunSteps(), 0);
  EXPECT_EQ(g_steps_done, kSteps);
  EXPECT_EQ(std::count(watch.painted.begin(), watch.painted.end(), "Done."), 0);
  EXPECT_EQ(std::count(watch.painted.begin(), watch.painted.end(), "step 15"), 0);
}

TEST(ReportShell, HiddenWindowLetsTheWorkerGoOnAndTheRunEndsByItself) {
  DataDirectory data;
  PaintWatch watch("step 2", true);
  EXPECT_EQ(RunSteps(), 0);
  EXPECT_EQ(g_steps_done, kSteps);
  EXPECT_EQ(std::count(watch.painted.begin(), watch.painted.end(), "Done."), 0);
}

TEST(ReportShell, DuplicateFinderClosedEarlyStillWritesCompletePages) {
  DataDirectory data;
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nS = 2\n");
  WriteFile("Mazes/S/S.1", "#####\n#@$.#\n#   #\n#####\n");
  WriteFile("Mazes/S/S.2", "#####\n#@$.#\n#   #\n#####\n");
  WriteFile("Mazes/S/S.1.rv7", "[2.1.P]\nrR\n");
  PaintWatch watch("Mazes\\S\\S.1");
  EXPECT_EQ(RunReportProgram(TestIdentity(kDupesIdentity).get(), "", RunDupesWorker), 0);
  const std::string page = ReadFile("htm/rv7dupe.htm");
  EXPECT_NE(page.find("2 entries<br>\n<br>\n</body>\n</html>\n"), std::string::npos);
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), "[2.1.P]\nrR\n");
  EXPECT_EQ(std::count(watch.painted.begin(), watch.painted.end(), "Done."), 0);
}

TEST(ReportShell, ScoresReporterClosedEarlyStillWritesCompletePages) {
  DataDirectory data;
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nS = 2\n");
  WriteFile("Mazes/S/S.2.rv7", "[2.1.P]\nrR\n");
  PaintWatch closer("Mazes\\S\\S.1.rv7");
  EXPECT_EQ(RunReportProgram(TestIdentity(kScoresIdentity).get(), "", RunScoresWorker), 0);
  EXPECT_NE(ReadFile("htm/index.htm").find("1 of 2 (50.0%) solved!"), std::string::npos);
  EXPECT_NE(ReadFile("htm/S.htm")
                .find("<td width=\"16%\">2\n<td width=\"17%\">2\n"
                      "<td width=\"17%\">1\n<td width=\"*\">P\n<tr>\n"
                      "</table>\n<br>\n</body>\n</html>\n"),
            std::string::npos);
  EXPECT_EQ(std::count(closer.painted.begin(), closer.painted.end(), "Done."), 0);
}

}  // namespace
