#include "html_page.h"

#include <gtest/gtest.h>

#include "report_test_support.h"

namespace {

TEST(HtmlPage, MarkupCharactersBecomeEntities) {
  EXPECT_EQ(HtmlEscape("<script>alert(\"x\")</script> & co"),
            "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; co");
}

TEST(HtmlPage, OrdinaryNamesAndPathsStayUnchanged) {
  EXPECT_EQ(HtmlEscape("Mazes\\Screens\\Screen.12"), "Mazes\\Screens\\Screen.12");
  EXPECT_EQ(HtmlEscape("Morilan.Solver"), "Morilan.Solver");
  EXPECT_EQ(HtmlEscape("J\xc3\xb6rg's 100%"), "J\xc3\xb6rg's 100%");
  EXPECT_EQ(HtmlEscape(""), "");
}

TEST(HtmlPage, StampHasLeadingZerosAndFourDigitYear) {
  LocalTime time;
  time.year = 2001;
  time.month = 3;
  time.day = 7;
  time.hour = 9;
  time.minute = 5;
  time.second = 0;
  const PageStamp stamp = StampOf(time);
  EXPECT_EQ(stamp.date, "07/03/2001");
  EXPECT_EQ(stamp.time, "09:05:00");
}

TEST(HtmlPage, WritesTextsInOrderAndSkipsAPageThatDidNotOpen) {
  DataDirectory data;
  LineFile page;
  page.open("htm\\page.htm", "w");
  WriteTexts(page, {"<html>\n", "", "</html>\n"});
  EXPECT_EQ(page.close(), 0);
  EXPECT_EQ(ReadFile("htm/page.htm"), "<html>\n</html>\n");
  LineFile missing;
  missing.open("nowhere\\page.htm", "w");
  WriteTexts(missing, {"<html>\n"});
  EXPECT_EQ(missing.close(), 0);
  EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

TEST(HtmlPage, PageHeadAndFramesetTopCarryTheTitleAndTheNoFramesNotice) {
  DataDirectory data;
  LineFile head;
  head.open("htm\\head.htm", "w");
  WritePageHead(head, "Scores 100% & more");
  EXPECT_EQ(head.close(), 0);
  EXPECT_EQ(ReadFile("htm/head.htm"),
            "<html>\n<head>\n<title>Scores 100% & more</title>\n</head>\n");

  LineFile frameset;
  frameset.open("htm\\frames.htm", "w");
  WriteFramesetTop(frameset, "Korvala Scores");
  EXPECT_EQ(frameset.close(), 0);
  EXPECT_EQ(ReadFile("htm/frames.htm"),
            "<html>\n<head>\n<title>Korvala Scores</title>\n</head>\n<noframes>\n<body>\n"
            "<h2>\n<p>This page uses frames, but your browser doesn't support them!</p>\n"
            "</h2>\n</body>\n</noframes>\n");

  LineFile missing;
  missing.open("nowhere\\page.htm", "w");
  WriteFramesetTop(missing, "Korvala Scores");
  EXPECT_EQ(missing.close(), 0);
  EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

// The text of the PageWriteError that `action` throws; "<none>" when it throws nothing.
template <typename Action>
std::string FailureOf(Action action) {
  try {
    action();
  } catch (const PageWriteError& error) {
    return error.what();
  }
  return "<none>";
}

TEST(HtmlPage, PageFolderIsMadeWhenMissingAndAFileInItsPlaceIsNamed) {
  DataDirectory data;
  std::filesystem::remove("htm");
  EXPECT_EQ(FailureOf(MakePageFolder), "<none>");
  EXPECT_TRUE(std::filesystem::is_directory("htm"));
  EXPECT_EQ(FailureOf(MakePageFolder), "<none>");  // an existing folder is kept
  // A file named htm: the folder is "there", but no page can be created in it.
  std::filesystem::remove("htm");
  WriteFile("htm", "not a folder\n");
  EXPECT_EQ(FailureOf(MakePageFolder), "<none>");
  LineFile page;
  EXPECT_EQ(FailureOf([&page] { OpenPage(page, "htm\\index.htm"); }),
            "cannot write htm/index.htm: Not a directory");
}

TEST(HtmlPage, PageThatCannotBeCreatedOrReplacedIsNamedWithTheReason) {
  DataDirectory data;
  LineFile missing;
  EXPECT_EQ(FailureOf([&missing] { OpenPage(missing, "nowhere\\page.htm"); }),
            "cannot write nowhere/page.htm: No such file or directory");
  // A folder where the page should be: the page cannot replace it.
  std::filesystem::create_directory("htm/index.htm");
  LineFile blocked;
  EXPECT_EQ(FailureOf([&blocked] { OpenPage(blocked, "htm\\index.htm"); }),
            "cannot write htm/index.htm: Is a directory");
  EXPECT_TRUE(std::filesystem::is_directory("htm/index.htm"));
  LineFile good;
  OpenPage(good, "htm\\good.htm");
  good.write_text("<html>\n");
  EXPECT_EQ(FailureOf([&good] { ClosePage(good); }), "<none>");
  EXPECT_EQ(ReadFile("htm/good.htm"), "<html>\n");
}

}  // namespace
