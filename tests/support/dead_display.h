// An X display name for tests of a display that cannot be reached.
#pragma once

#include <filesystem>
#include <string>

// An X display name with no server behind it: no socket and no lock file for its number.
inline std::string DeadXDisplay() {
  for (int number = 99; number < 1000; ++number) {
    const std::string n = std::to_string(number);
    if (!std::filesystem::exists("/tmp/.X11-unix/X" + n) &&
        !std::filesystem::exists("/tmp/.X" + n + "-lock")) {
      return ":" + n;
    }
  }
  return ":999";
}
