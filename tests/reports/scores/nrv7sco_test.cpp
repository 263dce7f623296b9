// nrv7sco run as a program over known collections of score files.
#include <gtest/gtest.h>

#include <string>

#include "report_test_support.h"

namespace {

std::string ScoreFile(const std::string& sections) {
  return "\n# comment:\n# some game solutions.\n# do not modify.\n\n" + sections;
}

std::string Solution(int moves, int pushes, const std::string& who) {
  return std::string("[")
      .append(std::to_string(moves))
      .append(".")
      .append(std::to_string(pushes))
      .append(".")
      .append(who)
      .append("]\n")
      .append(static_cast<std::size_t>(moves), 'r')
      .append("\n\n");
}

// The line of a set in the index.
std::string IndexLine(const std::string& set, const std::string& solved) {
  return "<br>\n<a target=\"sright\" href=\"" + set + ".htm\">" + set + " Collection</a><br>" +
         solved + " solved!<br>\n";
}

std::string Index(const std::string& total, const std::string& lines) {
  return "<html>\n<head>\n<title>Korvala Scores</title>\n</head>\n"
         "<body bgcolor=\"#ff9966\" leftmargin=5 topmargin=5 text=\"#000000\">\n"
         "<font face=\"verdana, arial\" size=2>\nHigh Scores<br>\n</font>\n"
         "<font face=\"verdana, arial\" size=1>\nLast Updated: STAMP\n"
         "</font>\n<hr size=2>\n<br>\n" +
         total + " solved!<br>\n" + lines + "<br>\n</body>\n</html>\n";
}

std::string Row(int level, const std::string& moves, const std::string& pushes,
                const std::string& who) {
  return "<td width=\"16%\">" + std::to_string(level) + "\n<td width=\"17%\">" + moves +
         "\n<td width=\"17%\">" + pushes + "\n<td width=\"*\">" + who + "\n<tr>\n";
}

TEST(Nrv7sco, IndexCountsSolvedLevelsOfTheWholeCollectionAndOfEachSet) {
  DataDirectory data;
  WriteFile("Ini/Mazes.Ini", "\n[Mazes]\nA = 10\nB = 10\nC = 10\n");
  WriteFile("Ini/Game.Ini", "[Game]\nPlayer = P\nMaze = B\n");
  const int solved_per_set[] = {10, 5, 0};
  const char* sets[] = {"A", "B", "C"};
  for (int set = 0; set < 3; ++set) {
    for (int level = 1; level <= solved_per_set[set]; ++level) {
      WriteFile(std::string("Mazes/") + sets[set] + "/" + sets[set] + "." + std::to_string(level) +
                    ".rv7",
                ScoreFile(Solution(3, 1, "P")));
    }
  }
  // A bookmark alone does not make a level solved.
  WriteFile("Mazes/C/C.1.rv7", ScoreFile("[2.0.Bookmark]\nrr\n\n"));
  ASSERT_EQ(RunProgram(NRV7SCO_PATH, data.path(), DisplayKind::kOffscreen), 0);
  EXPECT_EQ(WithoutStamps(ReadFile("htm/index.htm")),
            Index("15 of 30 (50.0%)", IndexLine("A", "10 of 10 (100.0%)") +
                                          IndexLine("B", "5 of 10 (50.0%)") +
                                          IndexLine("C", "0 of 10 (0.0%)")));
  EXPECT_NE(ReadFile("htm/rv7sco.htm").find("src=\"B.htm\""), std::string::npos);
  EXPECT_NE(ReadFile("htm/C.htm").find(Row(1, "<br>", "<br>", "<br>")), std::string::npos);
}

TEST(Nrv7sco, SetPageShowsTheFirstRecordOfEachLevelAndIsReplacedNotExtended) {
  DataDirectory data;
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nP = 3\n");
  WriteFile("Mazes/P/P.1.rv7", ScoreFile(Solution(120, 35, "P") + Solution(130, 40, "Q")));
  WriteFile("Mazes/P/P.2.rv7", ScoreFile("[4.1.Bookmark]\nrrRr\n\n"));
  WriteFile("Mazes/P/P.3.rv7", ScoreFile(Solution(10, 2, "Morilan.Solver")));
  WriteFile("htm/P.htm", "a page from an earlier run\n");
  ASSERT_EQ(RunProgram(NRV7SCO_PATH, data.path(), DisplayKind::kNone), 0);
  const std::string page =
      "<html>\n<head>\n<title>Korvala Scores</title>\n</head>\n"
      "<body bgcolor=\"#ffcc99\" leftmargin=5 topmargin=5 text=\"#000000\">\n"
      "<font face=\"verdana, arial\" size=2>\nP Collection<br>\n</font>\n"
      "<font face=\"verdana, arial\" size=1>\nLast Updated: STAMP\n<hr size=2>\n"
      "by Korvala Scores to HTML Processor (Version 1.1.1)<br>\n</font>\n<br>\n"
      "2 of 3 (66.7%) solved!<br>\n<br>\n<b><u>P Collection</u></b><br>\n"
      "<table border=1 width=\"100%\">\n"
      "<td width=\"16%\"><b><u>Level</u></b>\n<td width=\"17%\"><b><u>Moves</u></b>\n"
      "<td width=\"17%\"><b><u>Pushes</u></b>\n<td width=\"*\"><b><u>By</u></b>\n<tr>\n" +
      Row(1, "120", "35", "P") + Row(2, "<br>", "<br>", "<br>") +
      Row(3, "10", "2", "Morilan.Solver") + "</table>\n<br>\n</body>\n</html>\n";
  EXPECT_EQ(WithoutStamps(ReadFile("htm/P.htm")), page);
  // Without Game.Ini the right frame names the set "1", which the game check supplies.
  EXPECT_NE(ReadFile("htm/rv7sco.htm").find("src=\"1.htm\""), std::string::npos);
}

TEST(Nrv7sco, SetWithoutLevelsEndsTheWalkButTheIndexListsEverySet) {
  DataDirectory data;
  WriteFile("Ini/Mazes.Ini", "[Mazes]\nA = 1\nZ = 0\nC = 1\n");
  WriteFile("Mazes/A/A.1.rv7", ScoreFile(Solution(2, 1, "<script>")));
  WriteFile("Mazes/C/C.1.rv7", ScoreFile(Solution(2, 1, "P")));
  ASSERT_EQ(RunProgram(NRV7SCO_PATH, data.path(), DisplayKind::kOffscreen), 0);
  EXPECT_EQ(
      WithoutStamps(ReadFile("htm/index.htm")),
      Index("1 of 1 (100.0%)", IndexLine("A", "1 of 1 (100.0%)") + IndexLine("Z", "0 of 0 (0.0%)") +
                                   IndexLine("C", "0 of 1 (0.0%)")));
  EXPECT_NE(ReadFile("htm/A.htm").find(Row(1, "2", "1", "&lt;script&gt;")), std::string::npos);
  EXPECT_EQ(ReadFile("htm/Z.htm"), "<missing>");
  EXPECT_EQ(ReadFile("htm/C.htm"), "<missing>");
}

TEST(Nrv7sco, EmptyCollectionGivesNothingSolvedOfNothing) {
  DataDirectory data;
  ASSERT_EQ(RunProgram(NRV7SCO_PATH, data.path(), DisplayKind::kNone), 0);
  EXPECT_EQ(WithoutStamps(ReadFile("htm/index.htm")), Index("0 of 0 (0.0%)", ""));
}

}  // namespace
