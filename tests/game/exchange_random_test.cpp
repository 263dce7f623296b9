// Thousands of generated hostile texts, from a fixed seed, through the paste scanner and the
// import chunker (exchange_checks.h of the fuzz
// targets holds the checks). The sanitizer build makes every overrun
// a failure.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "exchange_checks.h"

namespace {

constexpr unsigned kSeed = 20240610;

// Text made of pieces that steer the readers: headers whole and broken, step letters, maze
// rows, FG lines, every kind of line end, and now and then binary bytes or a long run.
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {"[Screens.1]", "[simlev.1]", "[3.1.Anna]",
                                        "[12.3]",      "[",          "]",
                                        ".",           "[Set.",      "[99999999999.1.x]",
                                        "rrR",         "udlrUDLR",   "HPKM",
                                        "#####",       "#@$.#",      "# $ #",
                                        "Title: x",    "FG2",        "FG1",
                                        "FG",          "FGX",        "\r\n",
                                        "\n",          "\r",         "\n\n",
                                        "\r\n\r\n",    " ",          "\t",
                                        "\0"};
  std::string text;
  const int count = static_cast<int>(random() % 40);
  for (int i = 0; i < count; ++i) {
    switch (random() % 8) {
      case 0:
        text += static_cast<char>(random() % 256);
        break;
      case 1:
        if (random() % 16 == 0) {
          text.append(500 + random() % 2600, "#r["[random() % 3]);
        }
        break;
      default: {
        const std::size_t which = random() % std::size(kPieces);
        text.append(kPieces[which],
                    which + 1 == std::size(kPieces) ? 1 : std::strlen(kPieces[which]));
        break;
      }
    }
  }
  return text;
}

const std::uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const std::uint8_t*>(text.data());
}

TEST(ExchangeRandom, PasteScannerTakesAnyText) {
  std::mt19937 random(kSeed);
  for (int round = 0; round < 5000; ++round) {
    const std::string text = RandomText(random);
    CheckPasteText(Bytes(text), text.size());
  }
  // Beyond the buffer: more than 98 304 characters without a line end.
  const std::string huge(300000, 'r');
  CheckPasteText(Bytes(huge), huge.size());
}

TEST(ExchangeRandom, ImportChunkerTakesAnyText) {
  std::mt19937 random(kSeed + 1);
  for (int round = 0; round < 4000; ++round) {
    const std::string text = static_cast<char>(random() % 2) + RandomText(random);
    CheckImportText(Bytes(text), text.size());
  }
  // Megabytes without a line end, and ten thousand levels.
  const std::string long_line = std::string(1, '\0') + std::string(3 << 20, '#');
  CheckImportText(Bytes(long_line), long_line.size());
  std::string many(1, '\1');
  for (int i = 0; i < 10000; ++i) {
    many += "FG" + std::to_string(i) + "\n#\n";
  }
  CheckImportText(Bytes(many), many.size());
}

}  // namespace
