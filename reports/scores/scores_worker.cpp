#include "scores_worker.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "level_walk.h"
#include "rv7ini.h"
#include "rv7score.h"
#include "score_pages.h"

namespace {

constexpr char kPass1Text[] = "Pass 1...";
constexpr char kPass2Text[] = "Pass 2...";
constexpr char kScoreSuffix[] = ".rv7";
constexpr char kLastSetKey[] = "Maze";

// The first (best) record of each level in walk order, as pass 1 read it, without its step
// letters; none for a level without a solution record. Pass 2 walks the same levels in the
// same order and writes the rows from here, so every score file is read once.
using BestRecords = std::vector<std::optional<SolutionRecord>>;

std::optional<SolutionRecord> BestOfLevel() {
  ClearStats();
  GetStats();
  const std::span<const SolutionRecord> records = SolutionRecords();
  if (records.empty()) {
    return std::nullopt;
  }
  const SolutionRecord& best = records.front();
  return SolutionRecord{best.moves, best.pushes, best.name, {}};
}

ScoreTotals CountSolved(BestRecords& bests) {
  ScoreTotals totals;
  WalkLevels(kPass1Text, kScoreSuffix, [&totals, &bests](const std::string&) {
    bests.push_back(BestOfLevel());
    if (bests.back().has_value()) {
      ++LevelWalkEntry()->spare;
      ++totals.solved;
    }
    ++totals.levels;
  });
  ClearStats();
  return totals;
}

void WriteSetPages(const BestRecords& bests) {
  std::optional<SetPage> page;
  std::size_t visited = 0;
  WalkLevels(kPass2Text, kScoreSuffix, [&page, &bests, &visited](const std::string&) {
    const LevelSetEntry* set = LevelWalkEntry();
    if (current_level() == 1) {
      if (page.has_value()) {
        page->Close();
      }
      page.emplace(current_set());
      page->WriteHead(CurrentStamp(), ProgramTitle(), ProgramVersion(), set->spare, set->count);
    }
    static const std::optional<SolutionRecord> kNoRecord;
    const std::optional<SolutionRecord>& best = visited < bests.size() ? bests[visited] : kNoRecord;
    ++visited;
    std::span<const SolutionRecord> records;
    if (best.has_value()) {
      records = std::span<const SolutionRecord>(&*best, 1);
    }
    if (page.has_value()) {
      page->AppendRow(current_level(), records, current_level() == current_level_count());
    }
  });
  if (page.has_value()) {
    page->Close();
  }
}

}  // namespace

void RunScoresWorker() {
  WriteScoresFrameset(game_chk(kLastSetKey));
  BestRecords bests;
  const ScoreTotals totals = CountSolved(bests);
  WriteScoresIndex(CurrentStamp(), totals);
  WriteSetPages(bests);
}
