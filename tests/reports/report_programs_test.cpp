// Both report programs run as programs where their surroundings are wanting: a data
// directory without its page folder, a display that cannot be opened, pages that cannot be
// written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "report_test_support.h"

namespace {

constexpr char kLevel[] = "######\n#@$ .#\n# $. #\n#    #\n######\n";

struct Program {
  const char* name;
  const char* path;
  std::vector<std::string> pages;  // every page a run over the collection below writes
};

void PrintTo(const Program& program, std::ostream* out) {
  *out << program.name;
}

const Program kDupes{
    "nrv7dup", NRV7DUP_PATH, {"rv7dup.htm", "blankleft.htm", "blankright.htm", "rv7dupe.htm"}};
const Program kScores{"nrv7sco", NRV7SCO_PATH, {"rv7sco.htm", "index.htm", "S.htm"}};

class ReportPrograms : public ::testing::TestWithParam<Program> {
 protected:
  // A data directory as a first start of the game leaves it: settings and levels, no htm.
  void SetUp() override {
    WriteFile("Ini/Mazes.Ini", "[Mazes]\nS = 2\n");
    WriteFile("Mazes/S/S.1", kLevel);
    WriteFile("Mazes/S/S.2", kLevel);
    WriteFile("Mazes/S/S.1.rv7", "[5.2.P]\nuuRRd\n");
    std::filesystem::remove("htm");
  }

  ProgramRun Run(DisplayKind display) {
    return RunProgramKeepingErrors(GetParam().path, data_.path(), display);
  }

  void ExpectEveryPage() {
    for (const std::string& page : GetParam().pages) {
      EXPECT_NE(ReadFile("htm/" + page), "<missing>") << page;
    }
  }

  std::string Line(const std::string& text) {
    return std::string(GetParam().name) + ": " + text + "\n";
  }

  DataDirectory data_;
};

TEST_P(ReportPrograms, FreshDataDirectoryGetsItsPageFolderAndNoToolkitNoise) {
  const ProgramRun run = Run(DisplayKind::kOffscreen);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");
  ExpectEveryPage();
}

TEST_P(ReportPrograms, DisplayThatCannotBeOpenedGivesOneLineAndARunWithoutAWindow) {
  const ProgramRun run = Run(DisplayKind::kUnreachable);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors,
            Line("cannot open display " + DeadXDisplay() + ", running without a window"));
  ExpectEveryPage();
}

TEST_P(ReportPrograms, PageThatCannotBeWrittenEndsTheRunWithOneLineAndAFailure) {
  // A file where the folder should be: not even the first page can be made.
  WriteFile("htm", "a file\n");
  ProgramRun run = Run(DisplayKind::kNone);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, Line("cannot write htm/" + GetParam().pages.front() + ": Not a directory"));
  // A folder in the place of the last page: the pages before it are written.
  std::filesystem::remove("htm");
  const std::string& last = GetParam().pages.back();
  std::filesystem::create_directories("htm/" + last);
  run = Run(DisplayKind::kOffscreen);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, Line("cannot write htm/" + last + ": Is a directory"));
  EXPECT_NE(ReadFile("htm/" + GetParam().pages.front()), "<missing>");
}

TEST_P(ReportPrograms, ReadOnlyPageFolderEndsTheRunWithTheReason) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "the superuser writes into a read-only folder";
  }
  std::filesystem::create_directory("htm");
  std::filesystem::permissions(
      "htm", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const ProgramRun run = Run(DisplayKind::kNone);
  std::filesystem::permissions("htm", std::filesystem::perms::owner_all);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors,
            Line("cannot write htm/" + GetParam().pages.front() + ": Permission denied"));
}

INSTANTIATE_TEST_SUITE_P(, ReportPrograms, ::testing::Values(kDupes, kScores),
                         [](const ::testing::TestParamInfo<Program>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
