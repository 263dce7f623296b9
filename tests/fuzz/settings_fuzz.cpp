// The three settings readers and writers on any files: reading, choosing the selection and
// writing never fail on a writable directory, every written line reads back whole, every set
// name kept is a safe one, no pool block is lost, and a file the program wrote is written
// again byte for byte.
//
// Input: Game.Ini, Mazes.Ini and Config.Ini, separated by the first two zero bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "rv7cfg.h"
#include "rv7ini.h"
#include "settings_round_trip.h"

namespace {

constexpr const char* kFiles[] = {"Ini/Game.Ini", "Ini/Mazes.Ini", "Ini/Config.Ini"};

bool LinesReadBackWhole(const std::string& text) {
  for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos || end - start >= kMaxLine) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzDirectory();
  static const bool made = MakeDirectory("Ini") == 0;
  FuzzCheck(made, "settings directory");
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (int file = 0; file < 3; ++file) {
    const std::size_t split = file < 2 ? input.find('\0') : std::string_view::npos;
    WriteFuzzFile(kFiles[file], input.substr(0, split));
    input = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  }
  const int blocks_before = process_pool().blocks_in_use();
  FuzzCheck(ReadAndWriteSettings() == 0, "written");
  for (LevelSetEntry* set = first_level_set(); set != nullptr; set = next_level_set(set)) {
    FuzzCheck(IsSafeSetName(set->name), "only safe set names are kept");
  }
  std::string written[3];
  for (int file = 0; file < 3; ++file) {
    written[file] = ReadFuzzFile(kFiles[file]);
    FuzzCheck(LinesReadBackWhole(written[file]), "every written line reads back whole");
  }
  FuzzCheck(ReadAndWriteSettings() == 0, "written");
  for (int file = 0; file < 3; ++file) {
    FuzzCheck(ReadFuzzFile(kFiles[file]) == written[file], "a written file rewrites the same");
  }
  release_ini();
  FuzzCheck(process_pool().blocks_in_use() == blocks_before, "no pool block lost");
  return 0;
}
