// Hostile texts through the paste scanner and the import chunker with the checks of the fuzz
// targets (exchange_checks.h), in the normal suites too, so the sanitizer build of GCC sees
// them: far more than the paste buffer holds, ten thousand headers, every byte value,
// megabytes without a line end, ten thousand levels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "exchange_checks.h"

namespace {

const std::uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const std::uint8_t*>(text.data());
}

std::string EveryByte(int rounds) {
  std::string bytes;
  for (int c = 0; c < 256 * rounds; ++c) {
    bytes += static_cast<char>(c % 256 == 0 ? '[' : c % 256);
  }
  return bytes;
}

TEST(HostileTexts, PasteScannerStaysInItsBuffer) {
  const std::string huge(300000, 'r');
  CheckPasteText(Bytes(huge), huge.size());
  std::string headers;
  for (int i = 1; i <= 10000; ++i) {
    headers += "[Screens." + std::to_string(i) + "]\n[" + std::to_string(i) + ".0.P]\n[x.";
  }
  CheckPasteText(Bytes(headers), headers.size());
  const std::string bytes = EveryByte(4);
  CheckPasteText(Bytes(bytes), bytes.size());
}

TEST(HostileTexts, ImportChunkerKeepsEveryLine) {
  const std::string long_line = std::string(1, '\0') + std::string(3 << 20, '#');
  CheckImportText(Bytes(long_line), long_line.size());
  std::string many(1, '\1');
  for (int i = 0; i < 10000; ++i) {
    many += "FG" + std::to_string(i) + "\n#\n";
  }
  CheckImportText(Bytes(many), many.size());
  const std::string bytes = std::string(1, '\0') + EveryByte(8);
  CheckImportText(Bytes(bytes), bytes.size());
}

}  // namespace
