// Random settings files: reading, choosing the selection and writing must never crash or
// overrun (the sanitizer build checks that), must not leak pool blocks, every written line
// must read back whole, and a file the program wrote must be written again byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "rv7cfg.h"
#include "rv7ini.h"
#include "settings_fixture.h"
#include "settings_round_trip.h"

namespace {

constexpr int kRounds = 2000;

// Every round replaces nine files, each synced to disk: a memory file system keeps the
// loop fast where one exists.
class SettingsFuzzTest : public SettingsTest {
 protected:
  SettingsFuzzTest() {
    if (std::filesystem::is_directory("/dev/shm")) {
      temp_base_ = "/dev/shm";
    }
  }
};

// A line made mostly of the characters that steer the reader, some letters, and now and
// then binary bytes, a NUL or a length past the line buffer.
std::string random_line(std::mt19937& random) {
  static const std::string kAlphabet = "==[[]]#;/  \t\"\r-+0123456789abcGameMazesConfig";
  static const char* const kSeeds[] = {"[Game]",  "[Mazes]", "[Config]",  "Maze",
                                       "Player",  "Delay1",  "ImportDir", "BitMapSet",
                                       "Screens", " = ",     "5213"};
  std::string line;
  int pieces = static_cast<int>(random() % 6);
  for (int i = 0; i < pieces; ++i) {
    switch (random() % 5) {
      case 0:
        line += kSeeds[random() % std::size(kSeeds)];
        break;
      case 1:
        line += static_cast<char>(random() % 256);
        break;
      case 2:
        if (random() % 20 == 0) {
          // Drawn one after the other: the order of a call's arguments is the compiler's.
          const std::size_t length = 400 + random() % 800;
          const char letter = static_cast<char>('a' + random() % 26);
          line.append(length, letter);
        }
        break;
      default:
        line += kAlphabet[random() % kAlphabet.size()];
        break;
    }
  }
  return line + (random() % 10 == 0 ? "" : "\n");
}

std::string random_file(std::mt19937& random, const char* section) {
  std::string text = random() % 2 == 0 ? std::string("[") + section + "]\n" : "";
  int lines = static_cast<int>(random() % 12);
  for (int i = 0; i < lines; ++i) {
    text += random_line(random);
  }
  return text;
}

// True when every line of `text` comes back from one read exactly as written: none is
// longer than the line buffer, and none ends in a carriage return, which reading in text
// mode takes for part of the line end.
bool reads_back_whole(const std::string& text) {
  if (text.find("\r\n") != std::string::npos) {
    return false;
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    if (end - start > kMaxLine) {
      return false;
    }
    start = end;
  }
  return true;
}

TEST_F(SettingsFuzzTest, RandomFilesAreSurvivedAndRewrittenStably) {
  std::mt19937 random(20261207);
  const int blocks_before = process_pool().blocks_in_use();
  for (int round = 0; round < kRounds; ++round) {
    WriteFile("Ini\\Game.Ini", random_file(random, "Game"));
    WriteFile("Ini\\Mazes.Ini", random_file(random, "Mazes"));
    WriteFile("Ini\\Config.Ini", random_file(random, "Config"));
    ASSERT_EQ(ReadAndWriteSettings(), 0) << "round " << round;
    const std::string game = ReadFile("Ini\\Game.Ini");
    const std::string mazes = ReadFile("Ini\\Mazes.Ini");
    const std::string config = ReadFile("Ini\\Config.Ini");
    ASSERT_TRUE(reads_back_whole(game) && reads_back_whole(mazes) && reads_back_whole(config))
        << "round " << round;
    for (int rewrite = 1; rewrite <= 2; ++rewrite) {
      ReadAndWriteSettings();
      ASSERT_EQ(ReadFile("Ini\\Game.Ini"), game) << "round " << round << ", rewrite " << rewrite;
      ASSERT_EQ(ReadFile("Ini\\Mazes.Ini"), mazes) << "round " << round;
      ASSERT_EQ(ReadFile("Ini\\Config.Ini"), config) << "round " << round;
    }
    release_ini();
    ASSERT_EQ(process_pool().blocks_in_use(), blocks_before) << "round " << round;
  }
}

}  // namespace
