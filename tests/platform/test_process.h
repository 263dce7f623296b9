// Helpers for tests that touch the current directory, named objects or several processes.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scratch_directory.h"

// A name for a named object that no other test, process or run uses.
inline std::string UniqueName(std::string_view tag) {
  static std::atomic<int> serial{0};
  return "//RV7TEST//" + std::string(tag) + "." + std::to_string(::getpid()) + "." +
         std::to_string(serial++) + ".SEM";
}

// Leaves the sound system of this process no device at all, through an empty ALSA
// configuration written into the current directory. Meant for a child process.
inline void HideSoundDevices() {
  WriteTextFile("empty-alsa.conf", "");
  ::setenv("ALSA_CONFIG_PATH", (std::filesystem::current_path() / "empty-alsa.conf").c_str(), 1);
}

// Starts `body` in a forked child without waiting. The child's gtest checks print there and
// make its exit code 1; `body` may also end the child itself with _exit().
inline pid_t StartChild(const std::function<void()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  return pid;
}

// The exit code of a started child; -1 when it did not exit normally.
inline int WaitChild(pid_t pid) {
  int status = 0;
  if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

struct ChildResult {
  pid_t pid = -1;
  int exit_code = -1;
};

// Runs `body` in a forked child and waits for it.
inline ChildResult RunInChild(const std::function<void()>& body) {
  pid_t pid = StartChild(body);
  return {pid, WaitChild(pid)};
}

// The file's lines without their line feeds; a last line without one is kept as it is.
inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::string text = ReadTextFile(path);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}
