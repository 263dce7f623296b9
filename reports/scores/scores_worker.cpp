#include "scores_worker.h"

#include <functional>
#include <string>

#include "level_walk.h"
#include "rv7ini.h"
#include "rv7score.h"
#include "score_pages.h"

namespace {

constexpr char kLogModule[] = "rv7";
constexpr char kPass1Text[] = "Pass 1...";
constexpr char kPass2Text[] = "Pass 2...";
constexpr char kScoreSuffix[] = ".rv7";
constexpr char kLastSetKey[] = "Maze";

// Walks every level (showing each score-file path with the Paint handshake), reads its
// records and hands the level to `visit`.
void WalkScores(const char* pass_text, const std::function<void()>& visit) {
  WalkLevels(pass_text, kScoreSuffix, [&visit](const std::string&) {
    ClearStats();
    GetStats();
    visit();
  });
}

ScoreTotals CountSolved() {
  ScoreTotals totals;
  WalkScores(kPass1Text, [&totals] {
    if (!SolutionRecords().empty()) {
      ++LevelWalkEntry()->spare;
      ++totals.solved;
    }
    ++totals.levels;
  });
  return totals;
}

void WriteSetPages() {
  WalkScores(kPass2Text, [] {
    const SetPage page(current_set());
    const LevelSetEntry* set = LevelWalkEntry();
    if (current_level() == 1) {
      page.WriteHead(CurrentStamp(), ProgramTitle(), ProgramVersion(), set->spare, set->count);
    }
    page.AppendRow(current_level(), SolutionRecords(), current_level() == current_level_count());
  });
}

}  // namespace

void RunScoresWorker() {
  WriteScoresFrameset(game_chk(kLastSetKey));
  const ScoreTotals totals = CountSolved();
  WriteScoresIndex(CurrentStamp(), totals);
  WriteSetPages();
}
