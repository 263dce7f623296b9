#include "engine_fixture.h"

#include <sstream>

namespace {

constexpr int kLogFiles = 9;

}  // namespace

std::vector<std::string> EngineTest::LogLines() {
  std::vector<std::string> lines;
  for (int number = 1; number <= kLogFiles; ++number) {
    const std::string name = std::string(kLogVariable) + ".0" + std::to_string(number);
    std::istringstream in(ReadFile(name));
    for (std::string line; std::getline(in, line);) {
      lines.push_back(line);
    }
  }
  return lines;
}

int EngineTest::CountTrace(std::string_view function, std::string_view text) {
  // A line reads "time ids module:line:function: text".
  const std::string tail = std::string(":").append(function).append(": ").append(text);
  int count = 0;
  for (const std::string& line : LogLines()) {
    count += line.ends_with(tail);
  }
  return count;
}
