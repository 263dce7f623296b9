// nrv7dup run as a program in a data directory with known duplicates.
#include <gtest/gtest.h>

#include <string>

#include "report_test_support.h"

namespace {

constexpr char kLevel[] = "######\n#@$ .#\n# $. #\n#    #\n######\n";
constexpr char kUpsideDown[] = "######\n#    #\n# $. #\n#@$ .#\n######\n";
constexpr char kNarrow[] = "###\n#@#\n#$#\n#.#\n###\n";
constexpr char kOpenRoom[] = "#######\n#@$  .#\n#     #\n#  #  #\n#######\n";
constexpr char kWalledRoom[] = "#######\n#@$  .#\n# ### #\n#     #\n#######\n";
constexpr char kScoreFile[] =
    "\r\n# comment:\r\n# some game solutions.\r\n# do not modify.\r\n\r\n[5.2.P]\r\nuuRRd\r\n\r\n";

void WriteCollection() {
  WriteFile("Ini/Mazes.Ini", "\n[Mazes]\nS = 7\nZ = 0\nT = 1\n");
  WriteFile("Mazes/S/S.1", kLevel);
  WriteFile("Mazes/S/S.2", kLevel);
  WriteFile("Mazes/S/S.3", kUpsideDown);
  WriteFile("Mazes/S/S.4", kNarrow);
  WriteFile("Mazes/S/S.5", kNarrow);
  WriteFile("Mazes/S/S.6", kOpenRoom);
  WriteFile("Mazes/S/S.7", kWalledRoom);
  WriteFile("Mazes/T/T.1", kLevel);
  WriteFile("Mazes/S/S.1.rv7", kScoreFile);
  WriteFile("Mazes/S/S.6.rv7", "[3.1.P]\nrRr\n");
}

std::string Row(int a, int b, const std::string& words) {
  const std::string first = "Mazes\\S\\S." + std::to_string(a);
  const std::string second = "Mazes\\S\\S." + std::to_string(b);
  return "<td width=\"40%\"><a target=\"dleft\" href=\"..\\" + first + "\">" + first +
         "</a>\n<td width=\"*\"><a target=\"dright\" href=\"..\\" + second + "\">" + second +
         "</a> " + words + "\n<tr>\n";
}

std::string Page(const std::string& rows, int entries) {
  return "<html>\n<head>\n<title>Korvala Duplicate Levels</title>\n</head>\n"
         "<body bgcolor=\"#ffcc99\" leftmargin=5 topmargin=5 text=\"#000000\">\n"
         "<font face=\"verdana, arial\" size=2>\nKorvala Duplicate Levels<br>\n</font>\n"
         "<font face=\"verdana, arial\" size=1>\nLast Updated: STAMP\n"
         "<hr size=2>\nby Korvala Duplicate Level Finder (Version 1.1.4)<br>\n</font>\n<br>\n"
         "<table border=1 width=\"100%\">\n<td width=\"40%\"><b><u>Level</u></b>\n"
         "<td width=\"*\"><b><u>Duplicate Level</u></b>\n<tr>\n" +
         rows + "</table>\n<br>\n" + std::to_string(entries) +
         " entries<br>\n<br>\n</body>\n</html>\n";
}

const std::string kExpectedRows = Row(1, 2, "exactly") + Row(1, 3, "mirrored horizontally") +
                                  Row(2, 1, "exactly") + Row(2, 3, "mirrored horizontally") +
                                  Row(3, 1, "mirrored horizontally") +
                                  Row(3, 2, "mirrored horizontally") +
                                  Row(6, 7, "<i>is similar</i>") + Row(7, 6, "<i>is similar</i>");

TEST(Nrv7dup, ReportsEveryDuplicateFromBothSidesAndHandsScoreFilesOn) {
  DataDirectory data;
  WriteCollection();
  ASSERT_EQ(RunProgram(NRV7DUP_PATH, data.path(), DisplayKind::kOffscreen), 0);
  EXPECT_EQ(WithoutStamps(ReadFile("htm/rv7dupe.htm")), Page(kExpectedRows, 8));
  EXPECT_NE(ReadFile("htm/rv7dup.htm"), "<missing>");
  EXPECT_NE(ReadFile("htm/blankleft.htm"), "<missing>");
  EXPECT_NE(ReadFile("htm/blankright.htm"), "<missing>");
  // The exact copy is byte for byte; the upside-down copy is read as text and turned.
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), kScoreFile);
  EXPECT_EQ(ReadFile("Mazes/S/S.3.rv7"),
            "\n# comment:\n# some game solutions.\n# do not modify.\n\n[5.2.P]\nddRRu\n\n");
  EXPECT_EQ(ReadFile("Mazes/S/S.1.rv7"), kScoreFile);
  // Similar levels and levels after the set without levels get nothing.
  EXPECT_EQ(ReadFile("Mazes/S/S.6.rv7"), "[3.1.P]\nrRr\n");
  EXPECT_EQ(ReadFile("Mazes/S/S.7.rv7"), "<missing>");
  EXPECT_EQ(ReadFile("Mazes/T/T.1.rv7"), "<missing>");
}

TEST(Nrv7dup, RunsToTheEndWithoutAnyDisplay) {
  DataDirectory data;
  WriteCollection();
  ASSERT_EQ(RunProgram(NRV7DUP_PATH, data.path(), DisplayKind::kNone), 0);
  EXPECT_EQ(WithoutStamps(ReadFile("htm/rv7dupe.htm")), Page(kExpectedRows, 8));
}

TEST(Nrv7dup, EmptyCollectionGivesAReportWithoutRows) {
  DataDirectory data;
  ASSERT_EQ(RunProgram(NRV7DUP_PATH, data.path(), DisplayKind::kOffscreen), 0);
  EXPECT_EQ(WithoutStamps(ReadFile("htm/rv7dupe.htm")), Page("", 0));
}

TEST(Nrv7dup, BundledDataHoldsNoDuplicateNotEvenTurnedMirroredOrSimilar) {
  DataDirectory data;
  const std::filesystem::path bundled = RV7_DATA_DIR;
  std::filesystem::copy(
      bundled / "Ini", "Ini",
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy(
      bundled / "Mazes", "Mazes",
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  ASSERT_EQ(RunProgram(NRV7DUP_PATH, data.path(), DisplayKind::kNone), 0);
  // (The walk covers every set: the tools' test checks that no set is listed with 0 levels.)
  EXPECT_EQ(WithoutStamps(ReadFile("htm/rv7dupe.htm")), Page("", 0));
}

// An X server of its own (Xvfb on a free display number) for the life of the object.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) {
      return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      if (std::freopen("/dev/null", "w", stderr) == nullptr) {
        ::_exit(126);
      }
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    char ch = 0;
    while (::read(fds[0], &ch, 1) == 1 && ch != '\n') {
      number_ += ch;
    }
    ::close(fds[0]);
  }
  ~VirtualDisplay() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // ":N", or empty when no server could be started.
  std::string name() const { return number_.empty() ? "" : ":" + number_; }

 private:
  pid_t pid_ = -1;
  std::string number_;
};

bool HaveXTools() {
  return std::system("command -v Xvfb >/dev/null && command -v xdotool >/dev/null") == 0;
}

TEST(Nrv7dup, WindowTakenAwayWhileRunningStillLeavesACompleteReport) {
  if (!HaveXTools()) {
    GTEST_SKIP() << "Xvfb or xdotool missing";
  }
  DataDirectory data;
  // Levels told apart by the goals of their first row; the last is the first upside down.
  constexpr int kLevels = 600;
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nS = " + std::to_string(kLevels) + "\n");
  const std::string frame = "#############\n";
  const std::string lower = "#$          #\n#           #\n";
  for (int level = 1; level < kLevels; ++level) {
    std::string goals;
    for (int bit = 0; bit < 10; ++bit) {
      goals += (level >> bit & 1) != 0 ? '.' : ' ';
    }
    WriteFile("Mazes/S/S." + std::to_string(level), frame + "#@" + goals + "#\n" + lower + frame);
  }
  WriteFile("Mazes/S/S.600", frame + "#           #\n#$          #\n#@.         #\n" + frame);
  VirtualDisplay display;
  ASSERT_FALSE(display.name().empty());
  ::setenv("DISPLAY", display.name().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  const pid_t program = StartProgram(NRV7DUP_PATH, data.path(), DisplayKind::kInherited);
  // Destroys the window as soon as it is there, long before the run is over.
  EXPECT_EQ(std::system("timeout 20 xdotool search --sync --name 'Korvala Dupes' windowclose "
                        ">/dev/null 2>&1"),
            0);
  ASSERT_EQ(WaitProgram(program), 0);
  ::unsetenv("DISPLAY");
  ::unsetenv("QT_QPA_PLATFORM");
  EXPECT_EQ(WithoutStamps(ReadFile("htm/rv7dupe.htm")),
            Page(Row(1, 600, "mirrored horizontally") + Row(600, 1, "mirrored horizontally"), 2));
}

}  // namespace
