// Both report programs over a data directory that a hostile or careless hand has been at:
// set names that point out of Mazes, a level count of 2 147 483 647, a FIFO as a level file
// and a link to /dev/zero as a score file. Both finish, nothing appears outside the data
// directory, and the pages of the real sets are what a clean directory gives.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "report_test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr char kLevel[] = "######\n#@$ .#\n# $. #\n#    #\n######\n";
constexpr char kOtherLevel[] = "#######\n#@$  .#\n#     #\n#######\n";
constexpr char kLoneLevel[] = "#####\n#@$.#\n#   #\n#####\n";
constexpr char kScoreFile[] =
    "\n# comment:\n# some game solutions.\n# do not modify.\n\n[3.1.P]\nrRr\n\n";

// The sets every run has: Real.1 and Real.2 are duplicates (Real.1 has a score file to hand
// on), Other has two levels.
void WriteRealSets(const fs::path& data) {
  WriteFile(data / "Mazes/Real/Real.1", kLevel);
  WriteFile(data / "Mazes/Real/Real.1.rv7", kScoreFile);
  WriteFile(data / "Mazes/Real/Real.2", kLevel);
  WriteFile(data / "Mazes/Other/Other.1", kOtherLevel);
  WriteFile(data / "Mazes/Other/Other.1.rv7", kScoreFile);
}

// Every file and directory below `root`, except those below `skip`.
std::set<std::string> FilesBelow(const fs::path& root, const fs::path& skip) {
  std::set<std::string> names;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->path() == skip) {
      it.disable_recursion_pending();
      continue;
    }
    names.insert(it->path().string());
  }
  return names;
}

std::string Page(const fs::path& data, const char* page) {
  return WithoutStamps(ReadFile(data / "htm" / page));
}

TEST(HostileDataDirectory, ReportProgramsStayInsideAndKeepTheRealSetsPages) {
  DataDirectory base;
  // The clean reference.
  const fs::path clean = base.path() / "clean";
  fs::create_directories(clean / "Ini");
  fs::create_directories(clean / "htm");
  WriteRealSets(clean);
  WriteFile(clean / "Ini/Mazes.Ini", "[Mazes]\nReal = 2\nOther = 2\n");
  WriteFile(clean / "Ini/Game.Ini", "[Game]\nMaze = Real\n");
  ASSERT_EQ(RunProgram(NRV7SCO_PATH, clean, DisplayKind::kOffscreen), 0);
  ASSERT_EQ(RunProgram(NRV7DUP_PATH, clean, DisplayKind::kOffscreen), 0);

  // The hostile one, two folders deep so that "../.." still lies inside the scratch area.
  const fs::path data = base.path() / "a" / "b" / "data";
  fs::create_directories(data / "Ini");
  fs::create_directories(data / "htm");
  WriteRealSets(data);
  const std::string absolute = (base.path() / "abs").string();
  WriteFile(data / "Ini/Mazes.Ini",
            "[Mazes]\n"
            ".. = 2\n"
            "../.. = 2\n"
            "a/b = 2\n"
            "..\\x = 2\n" +
                absolute + " = 2\n" + std::string(300, 'n') +
                " = 2\n"
                "Huge = 2147483647\n"
                "Real = 2\n"
                "Other = 2\n");
  WriteFile(data / "Ini/Game.Ini", "[Game]\nMaze = ../..\nMaze = Real\n");
  // Bait: copies of Real.1 where the unsafe names lead, which nrv7dup would have given
  // Real.1's score file to.
  WriteFile(base.path() / "a" / "...1", kLevel);
  WriteFile(base.path() / "a" / "b" / "...1", kLevel);
  WriteFile(base.path() / "abs" / "abs.1", kLevel);
  WriteFile(data / "Mazes/Huge/Huge.1", kLoneLevel);
  ASSERT_EQ(::mkfifo((data / "Mazes/Other/Other.2").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (data / "Mazes/Other/Other.2.rv7").c_str()), 0);
  const std::set<std::string> outside_before = FilesBelow(base.path(), data);

  ASSERT_EQ(RunProgram(NRV7SCO_PATH, data, DisplayKind::kOffscreen), 0);
  ASSERT_EQ(RunProgram(NRV7DUP_PATH, data, DisplayKind::kOffscreen), 0);

  EXPECT_EQ(FilesBelow(base.path(), data), outside_before);
  for (const char* page : {"Real.htm", "Other.htm", "rv7dupe.htm"}) {
    EXPECT_EQ(Page(data, page), Page(clean, page)) << page;
  }
  EXPECT_EQ(ReadFile(data / "Mazes/Real/Real.2.rv7"), ReadFile(clean / "Mazes/Real/Real.2.rv7"));
  // The huge set is walked to its last level with files: its page is complete.
  EXPECT_NE(Page(data, "Huge.htm").find("<td width=\"16%\">1\n"), std::string::npos);
  EXPECT_NE(Page(data, "Huge.htm").find("</table>\n<br>\n</body>\n</html>\n"), std::string::npos);
  EXPECT_EQ(Page(data, "Huge.htm").find("<td width=\"16%\">2\n"), std::string::npos);
  EXPECT_NE(ReadFile(data / "htm/index.htm").find("0 of 2147483647 (0.0%) solved!"),
            std::string::npos);
}

}  // namespace
