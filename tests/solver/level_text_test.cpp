// Level texts of the benchmark suite and the tests turned into solver boards.
#include "level_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

TEST(LevelText, NamedLevelsAreSplitAndBlankLinesSkipped) {
  const auto levels = rv7solv::parse_levels("; first \n#####\n#@$.#\n#####\n\n;second\r\n###\r\n");
  ASSERT_EQ(levels.size(), 2U);
  EXPECT_EQ(levels[0].name, "first");
  EXPECT_EQ(levels[0].rows, (std::vector<std::string>{"#####", "#@$.#", "#####"}));
  EXPECT_EQ(levels[1].name, "second");
  EXPECT_EQ(levels[1].rows, std::vector<std::string>{"###"});
}

TEST(LevelText, MalformedCollectionsGiveWhatCanBeRead) {
  EXPECT_TRUE(rv7solv::parse_levels("").empty());
  EXPECT_TRUE(rv7solv::parse_levels(";\n;only names\n\n").empty());
  const auto unnamed = rv7solv::parse_levels("#@#\n; named but empty\n");
  ASSERT_EQ(unnamed.size(), 1U);
  EXPECT_EQ(unnamed[0].name, "");
  EXPECT_EQ(unnamed[0].rows, std::vector<std::string>{"#@#"});
  const auto no_final_newline = rv7solv::parse_levels(";x\n#@#");
  ASSERT_EQ(no_final_newline.size(), 1U);
  EXPECT_EQ(no_final_newline[0].rows, std::vector<std::string>{"#@#"});
}

TEST(LevelText, BoardIsFilledWithWallsAndUsesNumericCodes) {
  const rv7solv::LevelText level{"", {"#####", "#@$.#", "#+*?", "###"}};
  EXPECT_EQ(level.width(), 5);
  EXPECT_EQ(level.height(), 4);
  const auto board = rv7solv::board_codes(level);
  const std::array<int16_t, 20> expected = {4, 4, 4, 4, 4, 4, 5, 2, 1, 4,
                                            4, 9, 3, 4, 4, 4, 4, 4, 4, 4};
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), board.begin()));
  EXPECT_TRUE(std::all_of(board.begin() + 20, board.end(), [](int16_t c) { return c == 4; }));
}

TEST(LevelText, CellsBeyondTheBoardAreCutOff) {
  const rv7solv::LevelText level{"", std::vector<std::string>(20, std::string(20, ' '))};
  const auto board = rv7solv::board_codes(level);
  EXPECT_TRUE(std::all_of(board.begin(), board.end(), [](int16_t c) { return c == 0; }));
}

}  // namespace
