// Helpers for the report programs' tests: a scratch data directory, files written from
// inline texts, and a report program run as a separate process.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include "dead_display.h"
#include "scratch_directory.h"

// A fresh data directory with empty Ini, Mazes and htm folders, made current for the life of
// the object, then removed.
class DataDirectory {
 public:
  DataDirectory() {
    if (scratch_.made()) {
      for (const char* folder : {"Ini", "Mazes", "htm"}) {
        std::filesystem::create_directories(scratch_.path() / folder);
      }
    }
  }

  const std::filesystem::path& path() const { return scratch_.path(); }

 private:
  ScratchDirectory scratch_{"rv7report"};
};

// Writes `text` byte for byte to the relative path (directories made as needed); a file that
// cannot be written fails the test.
inline void WriteFile(const std::filesystem::path& path, std::string_view text) {
  EXPECT_TRUE(WriteTextFile(path, text)) << path;
}

// The file's bytes; "<missing>" when it does not exist.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return "<missing>";
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces every "Last Updated: on DD/MM/YYYY at HH:MM:SS" by "Last Updated: STAMP", so
// that pages can be compared byte for byte. A stamp in any other form stays and fails the
// comparison.
inline std::string WithoutStamps(std::string page) {
  static constexpr std::string_view kLead = "Last Updated: on ";
  static constexpr std::string_view kForm = "99/99/9999 at 99:99:99";  // 9: a digit
  std::size_t at = 0;
  while ((at = page.find(kLead, at)) != std::string::npos) {
    const std::size_t stamp = at + kLead.size();
    bool matches = page.size() >= stamp + kForm.size();
    for (std::size_t index = 0; matches && index < kForm.size(); ++index) {
      const char ch = page[stamp + index];
      matches = kForm[index] == '9' ? ch >= '0' && ch <= '9' : ch == kForm[index];
    }
    if (matches) {
      page.replace(at, kLead.size() + kForm.size(), "Last Updated: STAMP");
    }
    at += kLead.size();
  }
  return page;
}

// kOffscreen: the offscreen platform; kNone: no display at all; kUnreachable: DISPLAY names
// an X display where no server runs (as a stale DISPLAY in an ssh session does);
// kInherited: the display of the test's own environment.
enum class DisplayKind { kOffscreen, kNone, kUnreachable, kInherited };

// Starts `program` without arguments in `directory` with the chosen display; its output is
// discarded, its error output goes to `error_output`. Returns its process id.
inline pid_t StartProgram(const std::string& program, const std::filesystem::path& directory,
                          DisplayKind display, const std::string& error_output = "/dev/null") {
  const std::string dead_display = DeadXDisplay();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(directory.c_str()) != 0) {
      ::_exit(126);
    }
    if (display != DisplayKind::kInherited) {
      ::unsetenv("DISPLAY");
      ::unsetenv("WAYLAND_DISPLAY");
      ::unsetenv("QT_QPA_PLATFORM");
    }
    if (display == DisplayKind::kOffscreen) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else if (display == DisplayKind::kUnreachable) {
      ::setenv("DISPLAY", dead_display.c_str(), 1);
    }
    if (std::freopen(error_output.c_str(), "w", stderr) == nullptr ||
        std::freopen("/dev/null", "w", stdout) == nullptr) {
      ::_exit(126);
    }
    ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

// Waits for a started program. Returns its exit status, or -1 when it had not ended after
// `limit` (it is killed then) or did not end normally.
inline int WaitProgram(pid_t pid, std::chrono::seconds limit = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline int RunProgram(const std::string& program, const std::filesystem::path& directory,
                      DisplayKind display) {
  return WaitProgram(StartProgram(program, directory, display));
}

// A run's exit status and what it wrote on its error output.
struct ProgramRun {
  int status = -1;
  std::string errors;
};

// Runs `program` as RunProgram does, keeping its error output (in a file outside
// `directory`, so that the run does not see it).
inline ProgramRun RunProgramKeepingErrors(const std::string& program,
                                          const std::filesystem::path& directory,
                                          DisplayKind display) {
  const std::filesystem::path errors =
      directory.parent_path() / (directory.filename().string() + ".stderr");
  ProgramRun run;
  run.status = WaitProgram(StartProgram(program, directory, display, errors.string()));
  run.errors = ReadFile(errors);
  std::filesystem::remove(errors);
  return run;
}
