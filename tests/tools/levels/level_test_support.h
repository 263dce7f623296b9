// Helpers of the level tools' tests: a level read from an inline text, whole files read.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "level.h"

namespace levels {

// The level of a level-file text; a text the reader refuses fails the test.
inline Level parse_ok(std::string_view text) {
  const ParseResult r = parse_level(text);
  EXPECT_TRUE(r.level.has_value()) << r.error;
  return r.level.value_or(Level{});
}

// The file's bytes; empty when it cannot be read.
inline std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace levels
