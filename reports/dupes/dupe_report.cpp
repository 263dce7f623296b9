#include "dupe_report.h"

#include <array>
#include <string>

#include "rv7log.h"
#include "score_transfer.h"

namespace {

constexpr char kLogModule[] = "rv7";
constexpr char kFramesetPath[] = "htm\\rv7dup.htm";
constexpr char kBlankLeftPath[] = "htm\\blankleft.htm";
constexpr char kBlankRightPath[] = "htm\\blankright.htm";
constexpr char kReportPath[] = "htm\\rv7dupe.htm";
constexpr char kPageTitle[] = "Korvala Duplicate Levels";

// The words after the second level's link, by Match kind.
constexpr std::array<const char*, kMatchKindCount> kKindWords = {
    "exactly",
    "mirrored horizontally",
    "mirrored vertically",
    "rotated 180 degrees",
    "rotated left",
    "rotated right",
    "rotated right and mirrored horizontally",
    "rotated right and mirrored vertically",
};

void WriteFrameset() {
  LineFile page;
  OpenPage(page, kFramesetPath);
  WriteFramesetTop(page, kPageTitle);
  WriteTexts(
      page, {
                "<frameset rows=\"30%,*\" border=\"false\" frameborder=\"1\" framespacing=\"0\">\n",
                "<frameset cols=\"50%,*\" border=\"false\" frameborder=\"1\" framespacing=\"0\">\n",
                "<frame name=\"dleft\" src=\"blankleft.htm\" scrolling=\"auto\">\n",
                "<frame name=\"dright\" src=\"blankright.htm\" scrolling=\"auto\">\n",
                "</frameset>\n",
                "<frame name=\"rv7dupe\" src=\"rv7dupe.htm\" scrolling=\"auto\">\n",
                "</frameset>\n",
                "</html>\n",
            });
  ClosePage(page);
}

void WriteBlankPage(const char* path, const char* paragraph) {
  LineFile page;
  OpenPage(page, path);
  WriteTexts(page, {"<html>\n", "<body>\n", paragraph, "</body>\n", "</html>\n"});
  ClosePage(page);
}

}  // namespace

void WriteFramesetPages() {
  WriteFrameset();
  WriteBlankPage(kBlankLeftPath, "<p>Level clicked on is shown here.</p>\n");
  WriteBlankPage(kBlankRightPath, "<p>Duplicate Level clicked on is shown here.</p>\n");
}

void DupeReport::Open(const PageStamp& stamp, std::string_view title, std::string_view version) {
  entry_count_ = 0;
  OpenPage(file_, kReportPath);
  RV7_LOG(kLogInfo, "report %s, open=%d", kReportPath, file_.is_open() ? 1 : 0);
  WritePageHead(file_, kPageTitle);
  WriteTexts(file_, {
                        "<body bgcolor=\"#ffcc99\" leftmargin=5 topmargin=5 text=\"#000000\">\n",
                        "<font face=\"verdana, arial\" size=2>\n",
                        "Korvala Duplicate Levels<br>\n",
                        "</font>\n",
                        "<font face=\"verdana, arial\" size=1>\n",
                    });
  file_.write_format("Last Updated: on %s at %s\n", stamp.date.c_str(), stamp.time.c_str());
  file_.write_text("<hr size=2>\n");
  file_.write_format("by %s (%s)<br>\n", std::string(title).c_str(), std::string(version).c_str());
  WriteTexts(file_, {
                        "</font>\n",
                        "<br>\n",
                        "<table border=1 width=\"100%\">\n",
                        "<td width=\"40%\"><b><u>Level</u></b>\n",
                        "<td width=\"*\"><b><u>Duplicate Level</u></b>\n",
                        "<tr>\n",
                    });
}

void DupeReport::Match(const LevelEntry& a, const LevelEntry& b, MatchKind kind, bool exact) {
  const std::string first = HtmlEscape(a.path);
  const std::string second = HtmlEscape(b.path);
  const int index = static_cast<int>(kind);
  file_.write_format("<td width=\"40%%\"><a target=\"dleft\" href=\"..\\%s\">%s</a>\n",
                     first.c_str(), first.c_str());
  file_.write_format("<td width=\"*\"><a target=\"dright\" href=\"..\\%s\">%s</a>", second.c_str(),
                     second.c_str());
  if (exact) {
    file_.write_format(" %s\n", kKindWords[index]);
  } else if (kind == MatchKind::kExactly) {
    file_.write_text(" <i>is similar</i>\n");
  } else {
    file_.write_format(" <i>is similar</i> and %s\n", kKindWords[index]);
  }
  file_.write_text("<tr>\n");
  ++entry_count_;
  RV7_LOG(kLogInfo, "%s %s %s%s", a.path.c_str(), b.path.c_str(), exact ? "" : "similar, ",
          kKindWords[index]);
  if (exact) {
    TransferScoreFile(a.path, b.path, kind);
  }
}

void DupeReport::Close() {
  WriteTexts(file_, {"</table>\n", "<br>\n"});
  file_.write_format("%d entries<br>\n", entry_count_);
  WriteTexts(file_, {"<br>\n", "</body>\n", "</html>\n"});
  ClosePage(file_);
}
