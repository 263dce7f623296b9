#include "dupes_worker.h"

#include <vector>

#include "dupe_report.h"
#include "html_page.h"
#include "level_list.h"

namespace {

constexpr char kLogModule[] = "rv7";
constexpr char kPass2Text[] = "Pass 2...";

// Pass 2's view of the comparison: the first level of each pair on the Status line, every
// match into the report.
class Pass2 : public PairObserver {
 public:
  explicit Pass2(DupeReport& report) : report_(report) {}

  void FirstLevel(const LevelEntry& a) override {
    SetStatusLine(a.path);
    RV7_LOG_AS("Thread", kLogInfo, "checking %s", a.path.c_str());
    PaintHandshake();
  }

  void Match(const LevelEntry& a, const LevelEntry& b, MatchKind kind, bool exact) override {
    report_.Match(a, b, kind, exact);
  }

 private:
  DupeReport& report_;
};

}  // namespace

void RunDupesWorker() {
  WriteFramesetPages();
  const std::vector<LevelEntry> levels = BuildLevelList();
  SetStatusLine(kPass2Text);
  RV7_LOG_AS("Thread", kLogInfo, "%s", kPass2Text);
  DupeReport report;
  report.Open(CurrentStamp(), ProgramTitle(), ProgramVersion());
  Pass2 pass2(report);
  CompareAllPairs(levels, pass2);
  report.Close();
}
