#include "dupe_report.h"

#include <gtest/gtest.h>

#include <string>

#include "report_test_support.h"

namespace {

const PageStamp kStamp{"07/03/2001", "09:05:00"};

constexpr char kHead[] =
    "<html>\n<head>\n<title>Korvala Duplicate Levels</title>\n</head>\n"
    "<body bgcolor=\"#ffcc99\" leftmargin=5 topmargin=5 text=\"#000000\">\n"
    "<font face=\"verdana, arial\" size=2>\nKorvala Duplicate Levels<br>\n</font>\n"
    "<font face=\"verdana, arial\" size=1>\nLast Updated: on 07/03/2001 at 09:05:00\n"
    "<hr size=2>\nby Korvala Duplicate Level Finder (Version 1.1.4)<br>\n</font>\n<br>\n"
    "<table border=1 width=\"100%\">\n<td width=\"40%\"><b><u>Level</u></b>\n"
    "<td width=\"*\"><b><u>Duplicate Level</u></b>\n<tr>\n";

std::string Foot(int entries) {
  return "</table>\n<br>\n" + std::to_string(entries) + " entries<br>\n<br>\n</body>\n</html>\n";
}

LevelEntry Named(const std::string& path) {
  return {path, LevelShape(), LevelShape()};
}

std::string Report(const std::vector<std::tuple<std::string, std::string, MatchKind, bool>>& rows) {
  DupeReport report;
  report.Open(kStamp, "Korvala Duplicate Level Finder", "Version 1.1.4");
  for (const auto& [a, b, kind, exact] : rows) {
    report.Match(Named(a), Named(b), kind, exact);
  }
  report.Close();
  return ReadFile("htm/rv7dupe.htm");
}

TEST(DupeReport, RunWithoutDuplicatesHasHeadAndFootWithZeroEntries) {
  DataDirectory data;
  EXPECT_EQ(Report({}), kHead + Foot(0));
}

TEST(DupeReport, RowsLinkBothLevelsIntoTheirFramesWithTheKindWords) {
  DataDirectory data;
  const std::string page = Report({
      {"Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kExactly, true},
      {"Mazes\\S\\S.2", "Mazes\\S\\S.1", MatchKind::kRotatedRightMirroredVertically, true},
      {"Mazes\\S\\S.3", "Mazes\\S\\S.4", MatchKind::kExactly, false},
      {"Mazes\\S\\S.4", "Mazes\\S\\S.3", MatchKind::kRotatedLeft, false},
  });
  const std::string rows =
      "<td width=\"40%\"><a target=\"dleft\" href=\"..\\Mazes\\S\\S.1\">Mazes\\S\\S.1</a>\n"
      "<td width=\"*\"><a target=\"dright\" href=\"..\\Mazes\\S\\S.2\">Mazes\\S\\S.2</a>"
      " exactly\n<tr>\n"
      "<td width=\"40%\"><a target=\"dleft\" href=\"..\\Mazes\\S\\S.2\">Mazes\\S\\S.2</a>\n"
      "<td width=\"*\"><a target=\"dright\" href=\"..\\Mazes\\S\\S.1\">Mazes\\S\\S.1</a>"
      " rotated right and mirrored vertically\n<tr>\n"
      "<td width=\"40%\"><a target=\"dleft\" href=\"..\\Mazes\\S\\S.3\">Mazes\\S\\S.3</a>\n"
      "<td width=\"*\"><a target=\"dright\" href=\"..\\Mazes\\S\\S.4\">Mazes\\S\\S.4</a>"
      " <i>is similar</i>\n<tr>\n"
      "<td width=\"40%\"><a target=\"dleft\" href=\"..\\Mazes\\S\\S.4\">Mazes\\S\\S.4</a>\n"
      "<td width=\"*\"><a target=\"dright\" href=\"..\\Mazes\\S\\S.3\">Mazes\\S\\S.3</a>"
      " <i>is similar</i> and rotated left\n<tr>\n";
  EXPECT_EQ(page, kHead + rows + Foot(4));
}

TEST(DupeReport, MarkupInASetNameIsWrittenAsText) {
  DataDirectory data;
  const std::string page =
      Report({{"Mazes\\<b>&\"\\<b>&\".1", "Mazes\\S\\S.1", MatchKind::kExactly, true}});
  EXPECT_NE(page.find("href=\"..\\Mazes\\&lt;b&gt;&amp;&quot;\\&lt;b&gt;&amp;&quot;.1\">"
                      "Mazes\\&lt;b&gt;&amp;&quot;\\&lt;b&gt;&amp;&quot;.1</a>"),
            std::string::npos);
  EXPECT_EQ(page.find("<b>&"), std::string::npos);
}

TEST(DupeReport, OnlyExactMatchesHandScoreFilesOn) {
  DataDirectory data;
  WriteFile("Mazes/S/S.1.rv7", "[1.0.P]\nu\n");
  Report({{"Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kExactly, false},
          {"Mazes\\S\\S.1", "Mazes\\S\\S.3", MatchKind::kMirroredHorizontally, true}});
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), "<missing>");
  EXPECT_EQ(ReadFile("Mazes/S/S.3.rv7"), "[1.0.P]\nd\n");
}

TEST(DupeReport, FramesetAndBlankPagesAreWrittenAsFixed) {
  DataDirectory data;
  WriteFramesetPages();
  EXPECT_EQ(ReadFile("htm/rv7dup.htm"),
            "<html>\n<head>\n<title>Korvala Duplicate Levels</title>\n</head>\n<noframes>\n"
            "<body>\n<h2>\n"
            "<p>This page uses frames, but your browser doesn't support them!</p>\n"
            "</h2>\n</body>\n</noframes>\n"
            "<frameset rows=\"30%,*\" border=\"false\" frameborder=\"1\" framespacing=\"0\">\n"
            "<frameset cols=\"50%,*\" border=\"false\" frameborder=\"1\" framespacing=\"0\">\n"
            "<frame name=\"dleft\" src=\"blankleft.htm\" scrolling=\"auto\">\n"
            "<frame name=\"dright\" src=\"blankright.htm\" scrolling=\"auto\">\n"
            "</frameset>\n"
            "<frame name=\"rv7dupe\" src=\"rv7dupe.htm\" scrolling=\"auto\">\n"
            "</frameset>\n</html>\n");
  EXPECT_EQ(ReadFile("htm/blankleft.htm"),
            "<html>\n<body>\n<p>Level clicked on is shown here.</p>\n</body>\n</html>\n");
  EXPECT_EQ(ReadFile("htm/blankright.htm"),
            "<html>\n<body>\n<p>Duplicate Level clicked on is shown here.</p>\n</body>\n</html>\n");
}

TEST(DupeReport, PageThatCannotBeWrittenEndsTheRunNamingTheFile) {
  DataDirectory data;
  std::filesystem::remove("htm");
  try {
    WriteFramesetPages();
    ADD_FAILURE() << "no error";
  } catch (const PageWriteError& error) {
    EXPECT_STREQ(error.what(), "cannot write htm/rv7dup.htm: No such file or directory");
  }
  std::filesystem::create_directory("htm");
  std::filesystem::create_directory("htm/rv7dupe.htm");
  DupeReport report;
  EXPECT_THROW(report.Open(kStamp, "t", "v"), PageWriteError);
  EXPECT_TRUE(std::filesystem::is_directory("htm/rv7dupe.htm"));
}

}  // namespace
