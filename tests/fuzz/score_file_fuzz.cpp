// The score-file reader and writers on any file: no record holds more letters than its
// moves, a written file reads back as the records it was written from (when their letters are
// step letters), the bookmark comes back, and a new solution takes its place among at most
// five.
//
// Input: the score file of a loaded level.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files.h"
#include "fuzz_support.h"
#include "rv7ini.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "step_letters.h"

namespace {

constexpr char kLevelFile[] = "Mazes/Set/Set.1";
constexpr char kScoreFile[] = "Mazes/Set/Set.1.rv7";
constexpr char kLevel[] = "#####\n#@$.#\n#####\n";

struct Written {
  std::string name;
  std::string letters;
  bool operator==(const Written&) const = default;
};

// The records as the writers put them in the file, key letters in lower case.
std::vector<Written> Sound(bool& only_step_letters) {
  std::vector<Written> sound;
  only_step_letters = true;
  for (const SolutionRecord& record : SolutionRecords()) {
    FuzzCheck(record.letters.size() <= static_cast<std::size_t>(std::max(record.moves, 0)),
              "no more letters than moves");
    if (record.moves < 0 || record.letters.size() != static_cast<std::size_t>(record.moves)) {
      continue;
    }
    only_step_letters = only_step_letters &&
                        std::all_of(record.letters.begin(), record.letters.end(), IsStepLetter);
    std::string letters = record.letters;
    std::transform(letters.begin(), letters.end(), letters.begin(), StoredLetter);
    sound.push_back({record.name, letters});
  }
  return sound;
}

std::vector<Written> Loaded() {
  GetMaze();
  bool ignored = true;
  return Sound(ignored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnterFuzzDirectory();
  static const bool made = MakeDirectory("Mazes") == 0 && MakeDirectory("Mazes\\Set") == 0;
  FuzzCheck(made, "level directory");
  WriteFuzzFile(kLevelFile, kLevel);
  WriteFuzzFile(kScoreFile, std::string_view(reinterpret_cast<const char*>(data), size));
  set_current_set("Set");
  set_current_level(1);
  set_player_name("P");

  GetMaze();
  bool clean = true;
  const std::vector<Written> sound = Sound(clean);
  FuzzCheck(SaveSolution() == 0, "solutions saved");
  if (clean) {
    FuzzCheck(Loaded() == sound, "the saved solutions read back");
    FuzzCheck(!BookmarkLetters().has_value(), "saving solutions drops the bookmark");
    FuzzCheck(SaveBookmark(SolutionSteps{5, 1, "rRHlu"}) == 0, "bookmark saved");
    FuzzCheck(Loaded() == sound && BookmarkLetters() == "rRulu", "the bookmark reads back");
  }
  FuzzCheck(RecordSolution("P", SolutionSteps{3, 1, "rRl"}) == 0, "solution recorded");
  FuzzCheck(SolutionRecords().size() <= static_cast<std::size_t>(kMaxSolutions),
            "at most five solutions");
  ClearStats();
  return 0;
}
