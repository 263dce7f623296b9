#include "rv7log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../platform/test_process.h"
#include "kernel.h"

namespace {

constexpr char kLogModule[] = "logtest";
constexpr long kFileLimit = 65280;
constexpr std::size_t kStampLength = 13;
constexpr std::size_t kPrefixRoom = 127;
constexpr std::size_t kTextRoom = 511;

// Every test logs in a child process of its own, as one run of a program does, and looks
// at the files in its own scratch directory afterwards.
class TraceLog : public ::testing::Test {
 protected:
  // Runs `body` in a child with RV7LOG set to `value`; expects it to end cleanly.
  void RunLogged(const char* value, const std::function<void()>& body) {
    child_pid_ = RunInChild([&] {
                   ::setenv("RV7LOG", value, 1);
                   body();
                 }).pid;
  }

  ScratchDirectory directory_;
  pid_t child_pid_ = 0;
};

std::string Hex4(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "%04lx", value);
  return text;
}

// "hh:mm:ss.mmm " with a real time of day.
bool IsTimeStamp(const std::string& line) {
  constexpr std::string_view kForm = "dd:dd:dd.ddd ";
  if (line.size() < kForm.size()) {
    return false;
  }
  for (std::size_t i = 0; i < kForm.size(); ++i) {
    bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
    if (kForm[i] == 'd' ? !digit : line[i] != kForm[i]) {
      return false;
    }
  }
  return std::stoi(line.substr(0, 2)) < 24 && std::stoi(line.substr(3, 2)) < 60 &&
         std::stoi(line.substr(6, 2)) < 61;
}

bool IsHexId(const std::string& text) {
  return text.size() >= 4 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// A written line taken apart: "stamp who:thread module:line:function: text".
struct LogLine {
  std::string who;  // program name or process id
  std::string thread;
  std::string module;
  std::string line;
  std::string function;
  std::string text;
};

// Splits `rest` at the first `separator`; false when there is none.
bool TakeUntil(std::string_view& rest, std::string_view separator, std::string& field) {
  std::size_t at = rest.find(separator);
  if (at == std::string_view::npos) {
    return false;
  }
  field = rest.substr(0, at);
  rest.remove_prefix(at + separator.size());
  return true;
}

std::optional<LogLine> ParseLine(const std::string& line) {
  if (!IsTimeStamp(line)) {
    return std::nullopt;
  }
  std::string_view rest = std::string_view(line).substr(kStampLength);
  LogLine parts;
  if (!TakeUntil(rest, ":", parts.who) || !TakeUntil(rest, " ", parts.thread) ||
      !TakeUntil(rest, ":", parts.module) || !TakeUntil(rest, ":", parts.line) ||
      !TakeUntil(rest, ": ", parts.function) || !IsHexId(parts.thread)) {
    return std::nullopt;
  }
  parts.text = rest;
  return parts;
}

// The lines of the log file; records a failure when the file is missing.
std::vector<std::string> LogLines(const std::string& path) {
  EXPECT_TRUE(std::filesystem::exists(path)) << path;
  return ReadLines(path);
}

// A line of a known length, numbered so that tests can follow the messages across files.
void WriteNumbered(int number) {
  LogMessage("logtest", "Fill", 1, kLogInfo, "n=%05d %s", number, std::string(400, 'f').c_str());
}

int NumberOf(const std::string& line) {
  std::size_t at = line.find("n=");
  return at == std::string::npos ? -1 : std::stoi(line.substr(at + 2, 5));
}

// A routine traced the way every routine of the suite is.
void TracedRoutine() {
  RV7_ENTRY();
  RV7_EXIT_RC(3);
  RV7_EXIT();
  RV7_LOG(kLogExtra, "hidden");
}

TEST(TraceLogSwitch, WordsSetLevelAndLastRecognisedWordWins) {
  struct Case {
    const char* value;
    int level;
  };
  const Case cases[] = {
      {"trace,func", kLogFunc}, {"TRACE,Func", kLogFunc},      {"func;info", kLogInfo},
      {"Extra", kLogExtra},     {"full", kLogExtra},           {"all\ninfo", kLogInfo},
      {"function", kLogFunc},   {"info;nonsense", kLogInfo},   {"trace;;", kLogTrace},
      {"warning", kLogDefault}, {"info,default", kLogDefault}, {"nonsense", kLogDefault},
  };
  for (const Case& test_case : cases) {
    ChildResult child = RunInChild([&] {
      ::setenv("RV7LOG", test_case.value, 1);
      LogReadSwitch();
      ::_exit(LogLevel());
    });
    EXPECT_EQ(test_case.level, child.exit_code) << test_case.value;
  }
}

TEST(TraceLogSwitch, UnrecognisedOrEmptyValueKeepsLevel) {
  EXPECT_EQ(0, RunInChild([] {
                 ::setenv("RV7LOG", "trace", 1);
                 LogReadSwitch();
                 for (const char* value : {"bogus", "", "trace func", " info", "infos"}) {
                   ::setenv("RV7LOG", value, 1);
                   LogReadSwitch();
                   EXPECT_EQ(kLogTrace, LogLevel()) << value;
                 }
                 ::unsetenv("RV7LOG");
                 LogReadSwitch();
                 EXPECT_EQ(kLogTrace, LogLevel());
               }).exit_code);
}

TEST_F(TraceLog, WithoutVariableOrAtDefaultLevelNoFileIsMade) {
  for (const char* value : {"", "default", "WARNING", "nonsense"}) {
    RunLogged(value, [] {
      for (int level : {kLogInfo, kLogTrace, kLogFunc, kLogExtra}) {
        LogMessage("logtest", "Quiet", 1, level, "not written");
      }
    });
  }
  EXPECT_EQ(0, RunInChild([] {
                 ::unsetenv("RV7LOG");
                 LogMessage("logtest", "Quiet", 1, kLogInfo, "not written");
               }).exit_code);
  EXPECT_TRUE(std::filesystem::is_empty(directory_.path()));
}

TEST_F(TraceLog, LevelOfMessageDecidesAndVariableIsReadEachTime) {
  RunLogged("info", [] {
    LogMessage("logtest", "Levels", 1, kLogInfo, "info shown");
    LogMessage("logtest", "Levels", 2, kLogTrace, "trace hidden");
    ::setenv("RV7LOG", "trace", 1);
    LogMessage("logtest", "Levels", 3, kLogTrace, "trace shown");
    LogMessage("logtest", "Levels", 4, kLogFunc, "func hidden");
  });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(2u, lines.size());
  EXPECT_TRUE(lines[0].ends_with(" logtest:1:Levels: info shown"));
  EXPECT_TRUE(lines[1].ends_with(" logtest:3:Levels: trace shown"));
}

TEST_F(TraceLog, LineWithoutProgramNameShowsProcessId) {
  RunLogged("all", [] {
    LogSetProgramIdentity("");
    LogMessage("engine", "Move", 42, kLogInfo, "tid=%04lx",
               static_cast<unsigned long>(CurrentThreadId()));
  });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(1u, lines.size());
  std::optional<LogLine> parts = ParseLine(lines[0]);
  ASSERT_TRUE(parts) << lines[0];
  EXPECT_EQ(Hex4(static_cast<unsigned long>(child_pid_)), parts->who);
  EXPECT_EQ("engine", parts->module);
  EXPECT_EQ("42", parts->line);
  EXPECT_EQ("Move", parts->function);
  EXPECT_EQ("tid=" + parts->thread, parts->text);
}

TEST_F(TraceLog, LineWithProgramNameShowsNameInsteadOfProcessId) {
  RunLogged("func", [] {
    LogSetProgramIdentity("C:\\Games\\Korvala\\nrv7.exe");
    EXPECT_STREQ("C:\\Games\\Korvala", LogProgramDirectory());
    EXPECT_STREQ("nrv7", LogProgramName());
    LogMessage("rv7game", "main", 7, kLogFunc, "tid=%04lx",
               static_cast<unsigned long>(CurrentThreadId()));
  });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(1u, lines.size());
  std::optional<LogLine> parts = ParseLine(lines[0]);
  ASSERT_TRUE(parts) << lines[0];
  EXPECT_EQ("nrv7", parts->who);
  EXPECT_EQ("rv7game:7:main: tid=" + parts->thread,
            parts->module + ":" + parts->line + ":" + parts->function + ": " + parts->text);
}

TEST_F(TraceLog, IdentityWithoutBackslashKeepsDirectoryAndCutsNameAtPoint) {
  EXPECT_EQ(0, RunInChild([] {
                 EXPECT_STREQ("", LogProgramDirectory());
                 LogSetProgramIdentity("dir\\sub\\first.exe");
                 LogSetProgramIdentity("game.v2.exe");
                 EXPECT_STREQ("dir\\sub", LogProgramDirectory());
                 EXPECT_STREQ("game", LogProgramName());
                 LogSetProgramIdentity("");
                 EXPECT_STREQ("", LogProgramName());
                 LogSetProgramIdentity(nullptr);
                 EXPECT_STREQ("dir\\sub", LogProgramDirectory());
               }).exit_code);
}

TEST_F(TraceLog, IdentityReadsSwitch) {
  EXPECT_EQ(0, RunInChild([] {
                 ::setenv("RV7LOG", "extra", 1);
                 LogSetProgramIdentity("nrv7");
                 EXPECT_EQ(kLogExtra, LogLevel());
               }).exit_code);
}

TEST_F(TraceLog, TextLosesTrailingBlanksButLineKeepsItsLineFeed) {
  RunLogged("info", [] {
    LogSetProgramIdentity("t");
    LogMessage("m", "f", 1, kLogInfo, "   ");
    LogMessage("m", "f", 2, kLogInfo, "value %d \n\t\r ", 5);
    LogMessage("m", "f", 3, kLogInfo, "%s", "\x01\x1f ");
    LogMessage("m", "f", 4, kLogInfo, "caf\xc3\xa9 ");
    // Called through a pointer, which carries no format check, for the missing format.
    const char* volatile no_format = nullptr;
    auto* const log_message = &LogMessage;
    log_message("m", "f", 5, kLogInfo, no_format);
    LogMessage("m", "f", 6, kLogInfo, "inner\nbreak");
    LogMessage("m", "f", 7, kLogInfo, "zero%cends", 0);
  });
  std::string text = ReadTextFile("RV7LOG.01");
  std::vector<std::string> lines = ReadLines("RV7LOG.01");
  ASSERT_EQ(8u, lines.size());
  EXPECT_TRUE(text.ends_with("zero\n"));
  const char* expected[] = {" m:1:f: (empty)",     " m:2:f: value 5", " m:3:f: (empty)",
                            " m:4:f: caf\xc3\xa9", " m:5:f: (null)",  " m:6:f: inner"};
  EXPECT_EQ("break", lines[6]);
  EXPECT_TRUE(lines[7].ends_with(" m:7:f: zero")) << lines[7];
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_TRUE(lines[i].ends_with(expected[i])) << lines[i];
    EXPECT_TRUE(IsTimeStamp(lines[i])) << lines[i];
  }
}

TEST_F(TraceLog, EntryAndExitTextsAreWrittenAtFunctionLevel) {
  RunLogged("func", [] {
    LogSetProgramIdentity("nrv7");
    TracedRoutine();
  });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(3u, lines.size());
  EXPECT_TRUE(lines[0].ends_with(":TracedRoutine: Entry")) << lines[0];
  EXPECT_TRUE(lines[1].ends_with(":TracedRoutine: Exit, rc=3")) << lines[1];
  EXPECT_TRUE(lines[2].ends_with(":TracedRoutine: Exit")) << lines[2];
  EXPECT_NE(std::string::npos, lines[0].find(" logtest:"));
}

TEST_F(TraceLog, OverlongPrefixAndTextAreCutToTheirRoom) {
  std::string name(200, 'n');
  std::string text(600, 't');
  RunLogged("info", [&] {
    LogSetProgramIdentity(name.c_str());
    LogMessage("m", "f", 1, kLogInfo, "%s", text.c_str());
    LogMessage("m", "f", 2, kLogInfo, "%s!", std::string(kTextRoom - 1, 'u').c_str());
  });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(kStampLength + kPrefixRoom + kTextRoom, lines[0].size());
  EXPECT_EQ(std::string(kPrefixRoom, 'n') + std::string(kTextRoom, 't'),
            lines[0].substr(kStampLength));
  EXPECT_TRUE(lines[1].ends_with(std::string(kTextRoom - 1, 'u') + "!"));  // just fits
}

TEST_F(TraceLog, OverlongCommandLineIsCutToPathRoom) {
  EXPECT_EQ(0, RunInChild([] {
                 std::string line = std::string(300, 'd') + "\\prog";
                 LogSetProgramIdentity(line.c_str());
                 // The copy ends before the backslash, so all of it is the name.
                 EXPECT_EQ(259u, std::string(LogProgramName()).size());
                 EXPECT_STREQ("", LogProgramDirectory());
               }).exit_code);
}

TEST_F(TraceLog, FirstMessageEmptiesFileOne) {
  WriteTextFile("RV7LOG.01", "old run\n");
  WriteTextFile("RV7LOG.02", "older run\n");
  RunLogged("info", [] { LogMessage("m", "f", 1, kLogInfo, "new run"); });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(1u, lines.size());
  EXPECT_TRUE(lines[0].ends_with("new run"));
  EXPECT_EQ("older run\n", ReadTextFile("RV7LOG.02"));
}

TEST_F(TraceLog, WritePassingLimitStaysAndNextMessageBeginsNextFile) {
  WriteTextFile("RV7LOG.02", "old\n");
  RunLogged("info", [] {
    for (int i = 0; i < 200; ++i) {
      WriteNumbered(i);
    }
  });
  std::string first = ReadTextFile("RV7LOG.01");
  std::vector<std::string> first_lines = ReadLines("RV7LOG.01");
  std::vector<std::string> second_lines = LogLines("RV7LOG.02");
  ASSERT_FALSE(first_lines.empty());
  ASSERT_FALSE(second_lines.empty());
  long size = static_cast<long>(first.size());
  long last_line = static_cast<long>(first_lines.back().size()) + 1;
  EXPECT_GT(size, kFileLimit);
  EXPECT_LE(size - last_line, kFileLimit);
  EXPECT_EQ(NumberOf(first_lines.back()) + 1, NumberOf(second_lines.front()));
  EXPECT_EQ(0, NumberOf(first_lines.front()));
  EXPECT_EQ(199, NumberOf(second_lines.back()));
}

TEST_F(TraceLog, RingWrapsFromNineToOneEmptyingIt) {
  int per_file = 0;
  RunLogged("info", [&] {
    for (int i = 0; i < 1400; ++i) {
      WriteNumbered(i);
    }
  });
  std::vector<int> firsts;
  for (int number = 1; number <= 9; ++number) {
    std::vector<std::string> lines = LogLines("RV7LOG.0" + std::to_string(number));
    ASSERT_FALSE(lines.empty());
    firsts.push_back(NumberOf(lines.front()));
    EXPECT_GT(std::filesystem::file_size("RV7LOG.0" + std::to_string(number)),
              static_cast<std::uintmax_t>(number == 1 ? 0 : kFileLimit));
  }
  EXPECT_FALSE(std::filesystem::exists("RV7LOG.10"));
  EXPECT_FALSE(std::filesystem::exists("RV7LOG.00"));
  per_file = firsts[2] - firsts[1];
  // File 01 was begun again after 09: it starts with the message after 09's last one.
  std::vector<std::string> ninth = ReadLines("RV7LOG.09");
  EXPECT_EQ(NumberOf(ninth.back()) + 1, firsts[0]);
  EXPECT_EQ(firsts[8] + per_file, firsts[0]);
  EXPECT_EQ(1399, NumberOf(ReadLines("RV7LOG.01").back()));
}

TEST_F(TraceLog, UnwritableFileLosesMessageAndNextMessageTriesAgain) {
  ASSERT_EQ(0, ::mkdir("RV7LOG.01", 0755));
  RunLogged("info", [] {
    LogMessage("m", "f", 1, kLogInfo, "lost");
    ::rmdir("RV7LOG.01");
    LogMessage("m", "f", 2, kLogInfo, "kept");
  });
  std::vector<std::string> lines = LogLines("RV7LOG.01");
  ASSERT_EQ(1u, lines.size());
  EXPECT_TRUE(lines[0].ends_with("kept"));
}

TEST_F(TraceLog, EachProgramHasItsOwnVariableAndFiles) {
  EXPECT_EQ(0, RunInChild([] {
                 ::setenv("RV7LOG", "all", 1);
                 ::setenv("RV7SCLOG", "info", 1);
                 LogSelectProgram(kScoLog);
                 LogSetProgramIdentity("");
                 EXPECT_EQ(kLogInfo, LogLevel());
                 LogMessage("rv7", "Thread", 1, kLogInfo, "scores");
                 LogMessage("rv7", "Thread", 2, kLogTrace, "hidden");
                 LogSelectProgram(kDupLog);
                 ::setenv("RV7DPLOG", "trace", 1);
                 LogMessage("rv7", "Thread", 3, kLogTrace, "dupes");
               }).exit_code);
  EXPECT_FALSE(std::filesystem::exists("RV7LOG.01"));
  std::vector<std::string> scores = LogLines("RV7SCLOG.01");
  std::vector<std::string> dupes = LogLines("RV7DPLOG.01");
  ASSERT_EQ(1u, scores.size());
  ASSERT_EQ(1u, dupes.size());
  EXPECT_TRUE(scores[0].ends_with("rv7:1:Thread: scores"));
  EXPECT_TRUE(dupes[0].ends_with("rv7:3:Thread: dupes"));
}

// Two copies of a program, two threads each, log at once; every line must come out whole.
TEST_F(TraceLog, ConcurrentWritersNeverMixLines) {
  constexpr int kThreads = 2;
  constexpr int kLines = 60;
  int ready[2];
  int go[2];
  ASSERT_EQ(0, ::pipe(ready));
  ASSERT_EQ(0, ::pipe(go));
  auto writer = [&] {
    ::close(go[1]);  // so that the parent's close alone ends the read below
    ::setenv("RV7LOG", "info", 1);
    LogSetProgramIdentity("");
    LogMessage("m", "Start", 1, kLogInfo, "start");  // empties file 01 before the run
    char byte = 'r';
    EXPECT_EQ(1, ::write(ready[1], &byte, 1));
    EXPECT_EQ(0, ::read(go[0], &byte, 1));  // returns when the parent closes the pipe
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([t] {
        for (int i = 0; i < kLines; ++i) {
          LogMessage("m", "Run", t, kLogInfo, "seq=%03d %s", i, std::string(150, 'a' + t).c_str());
        }
      });
    }
    for (std::thread& thread : threads) {
      thread.join();
    }
  };
  pid_t first = StartChild(writer);
  pid_t second = StartChild(writer);
  ::close(go[0]);
  char bytes[2];
  ASSERT_EQ(1, ::read(ready[0], bytes, 1));
  ASSERT_EQ(1, ::read(ready[0], bytes + 1, 1));
  ::close(go[1]);
  EXPECT_EQ(0, WaitChild(first));
  EXPECT_EQ(0, WaitChild(second));
  ::close(ready[0]);
  ::close(ready[1]);

  std::map<std::string, int> next_seq;  // per process and thread
  int run_lines = 0;
  for (const std::string& line : LogLines("RV7LOG.01")) {
    std::optional<LogLine> parts = ParseLine(line);
    ASSERT_TRUE(parts && IsHexId(parts->who) && parts->module == "m") << line;
    if (parts->function == "Start") {
      continue;
    }
    ASSERT_EQ("Run", parts->function) << line;
    char fill = static_cast<char>('a' + std::stoi(parts->line));
    std::string seq = parts->text.substr(0, 8);  // "seq=nnn "
    ASSERT_EQ("seq=", seq.substr(0, 4)) << line;
    EXPECT_EQ(std::string(150, fill), parts->text.substr(seq.size())) << line;
    std::string writer_key = parts->who + ":" + parts->thread;
    EXPECT_EQ(next_seq[writer_key]++, std::stoi(seq.substr(4, 3))) << line;
    ++run_lines;
  }
  EXPECT_EQ(2 * kThreads * kLines, run_lines);
  EXPECT_EQ(4u, next_seq.size());
}

}  // namespace
