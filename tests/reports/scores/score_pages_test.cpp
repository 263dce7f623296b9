#include "score_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_test_support.h"
#include "rv7ini.h"

namespace {

const PageStamp kStamp{"07/03/2001", "09:05:00"};

constexpr char kIndexTop[] =
    "<html>\n<head>\n<title>Korvala Scores</title>\n</head>\n"
    "<body bgcolor=\"#ff9966\" leftmargin=5 topmargin=5 text=\"#000000\">\n"
    "<font face=\"verdana, arial\" size=2>\nHigh Scores<br>\n</font>\n"
    "<font face=\"verdana, arial\" size=1>\nLast Updated: on 07/03/2001 at 09:05:00\n"
    "</font>\n<hr size=2>\n<br>\n";
constexpr char kPageEnd[] = "<br>\n</body>\n</html>\n";

std::string SetHead(const std::string& name, const std::string& solved_line) {
  return "<html>\n<head>\n<title>Korvala Scores</title>\n</head>\n"
         "<body bgcolor=\"#ffcc99\" leftmargin=5 topmargin=5 text=\"#000000\">\n"
         "<font face=\"verdana, arial\" size=2>\n" +
         name +
         " Collection<br>\n</font>\n<font face=\"verdana, arial\" size=1>\n"
         "Last Updated: on 07/03/2001 at 09:05:00\n<hr size=2>\n"
         "by Korvala Scores to HTML Processor (Version 1.1.1)<br>\n</font>\n<br>\n" +
         solved_line + "<br>\n<b><u>" + name +
         " Collection</u></b><br>\n<table border=1 width=\"100%\">\n"
         "<td width=\"16%\"><b><u>Level</u></b>\n<td width=\"17%\"><b><u>Moves</u></b>\n"
         "<td width=\"17%\"><b><u>Pushes</u></b>\n<td width=\"*\"><b><u>By</u></b>\n<tr>\n";
}

std::string Row(int level, const std::string& moves, const std::string& pushes,
                const std::string& who) {
  return "<td width=\"16%\">" + std::to_string(level) + "\n<td width=\"17%\">" + moves +
         "\n<td width=\"17%\">" + pushes + "\n<td width=\"*\">" + who + "\n<tr>\n";
}

SolutionRecord Record(int moves, int pushes, const std::string& name) {
  return {moves, pushes, name, std::string(static_cast<std::size_t>(moves), 'u')};
}

class ScorePages : public ::testing::Test {
 protected:
  void TearDown() override { release_ini(); }
  DataDirectory data_;
};

TEST_F(ScorePages, IndexListsTheTotalsAndEverySetOfTheTable) {
  set_level_count("A", 10);
  set_level_count("B&C", 10);
  set_level_count("Z", 0);
  int solved = 8;
  for (LevelSetEntry* set = first_level_set(); set != nullptr; set = next_level_set(set)) {
    set->spare = solved;
    solved -= 1;
  }
  WriteScoresIndex(kStamp, {30, 15});
  EXPECT_EQ(ReadFile("htm/index.htm"),
            std::string(kIndexTop) + "15 of 30 (50.0%) solved!<br>\n" +
                "<br>\n<a target=\"sright\" href=\"A.htm\">A Collection</a><br>"
                "8 of 10 (80.0%) solved!<br>\n"
                "<br>\n<a target=\"sright\" href=\"B&amp;C.htm\">B&amp;C Collection</a><br>"
                "7 of 10 (70.0%) solved!<br>\n"
                "<br>\n<a target=\"sright\" href=\"Z.htm\">Z Collection</a><br>"
                "6 of 0 (0.0%) solved!<br>\n" +
                kPageEnd);
}

TEST_F(ScorePages, IndexOfAnEmptyTableShowsNothingSolvedOfNothing) {
  WriteScoresIndex(kStamp, {});
  EXPECT_EQ(ReadFile("htm/index.htm"),
            std::string(kIndexTop) + "0 of 0 (0.0%) solved!<br>\n" + kPageEnd);
}

TEST_F(ScorePages, PercentagesRoundToOneDecimal) {
  EXPECT_DOUBLE_EQ(SolvedPercent(15, 30), 50.0);
  EXPECT_NEAR(SolvedPercent(2, 3), 66.6667, 0.001);
  EXPECT_DOUBLE_EQ(SolvedPercent(3, 0), 0.0);
  EXPECT_DOUBLE_EQ(SolvedPercent(0, -1), 0.0);
}

TEST_F(ScorePages, SetPageShowsTheBestRecordOfEachLevel) {
  SetPage page("P");
  page.WriteHead(kStamp, "Korvala Scores to HTML Processor", "Version 1.1.1", 2, 3);
  const std::vector<SolutionRecord> first = {Record(120, 35, "120.35.P"),
                                             Record(100, 60, "100.60.Q")};
  const std::vector<SolutionRecord> third = {Record(10, 2, "10.2.Morilan.Solver")};
  page.AppendRow(1, first, false);
  page.AppendRow(2, {}, false);
  page.AppendRow(3, third, true);
  EXPECT_EQ(ReadFile("htm/P.htm"), SetHead("P", "2 of 3 (66.7%) solved!<br>\n") +
                                       Row(1, "120", "35", "P") + Row(2, "<br>", "<br>", "<br>") +
                                       Row(3, "10", "2", "Morilan.Solver") + "</table>\n" +
                                       kPageEnd);
}

TEST_F(ScorePages, MarkupInNamesIsWrittenAsTextAndAMissingWhoAsAnEmptyCell) {
  SetPage page("<i>");
  page.WriteHead(kStamp, "T", "V", 0, 2);
  page.AppendRow(1, std::vector<SolutionRecord>{Record(4, 1, "4.1.<script>")}, false);
  page.AppendRow(2, std::vector<SolutionRecord>{Record(4, 1, "4.1")}, true);
  const std::string text = ReadFile("htm/<i>.htm");
  EXPECT_NE(text.find("&lt;i&gt; Collection<br>\n"), std::string::npos);
  EXPECT_NE(text.find(Row(1, "4", "1", "&lt;script&gt;")), std::string::npos);
  EXPECT_NE(text.find(Row(2, "4", "1", "<br>")), std::string::npos);
  EXPECT_EQ(text.find("<script>"), std::string::npos);
}

TEST_F(ScorePages, SetNameWithAPathSeparatorWritesNoPage) {
  SetPage page("..\\..\\evil");
  page.WriteHead(kStamp, "T", "V", 0, 1);
  page.AppendRow(1, {}, true);
  EXPECT_FALSE(std::filesystem::exists("evil.htm"));
  EXPECT_FALSE(std::filesystem::exists("../../evil.htm"));
  EXPECT_TRUE(std::filesystem::is_empty("htm"));
}

TEST_F(ScorePages, FramesetShowsTheLastPlayedSetOnTheRight) {
  WriteScoresFrameset("Screens");
  EXPECT_EQ(ReadFile("htm/rv7sco.htm"),
            "<html>\n<head>\n<title>Korvala Scores</title>\n</head>\n<noframes>\n<body>\n"
            "<h2>\n<p>This page uses frames, but your browser doesn't support them!</p>\n"
            "</h2>\n</body>\n</noframes>\n"
            "<frameset cols=\"40%,*\" border=\"false\" frameborder=\"0\" framespacing=\"0\">\n"
            "<frame name=\"sleft\" src=\"index.htm\" scrolling=\"auto\">\n"
            "<frame name=\"sright\" src=\"Screens.htm\" scrolling=\"auto\">\n"
            "</frameset>\n</html>\n");
}

TEST_F(ScorePages, SetPageStaysOpenForItsRowsAndAnUnfinishedOneIsKeptOnClose) {
  SetPage page("P");
  page.WriteHead(kStamp, "T", "V", 0, 3);
  page.AppendRow(1, {}, false);
  // Nothing replaces the old page before the set is through.
  EXPECT_EQ(ReadFile("htm/P.htm"), "<missing>");
  page.AppendRow(2, {}, false);
  page.Close();
  const std::string text = ReadFile("htm/P.htm");
  EXPECT_NE(text.find(Row(1, "<br>", "<br>", "<br>") + Row(2, "<br>", "<br>", "<br>")),
            std::string::npos);
  EXPECT_EQ(text.find("</table>"), std::string::npos);
  // Closing again, or a row after the page was closed, changes nothing.
  page.Close();
  page.AppendRow(3, {}, true);
  EXPECT_EQ(ReadFile("htm/P.htm"), text);
}

TEST_F(ScorePages, PagesThatCannotBeWrittenAreNamed) {
  std::filesystem::create_directory("htm/index.htm");
  EXPECT_THROW(WriteScoresIndex(kStamp, {}), PageWriteError);
  std::filesystem::remove_all("htm");
  EXPECT_THROW(WriteScoresFrameset("S"), PageWriteError);
  SetPage page("P");
  EXPECT_THROW(page.WriteHead(kStamp, "T", "V", 0, 1), PageWriteError);
}

}  // namespace
