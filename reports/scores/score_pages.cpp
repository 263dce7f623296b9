#include "score_pages.h"

#include <string>

#include "rv7ini.h"
#include "rv7log.h"

namespace {

constexpr char kLogModule[] = "rv7";
constexpr char kFramesetPath[] = "htm\\rv7sco.htm";
constexpr char kIndexPath[] = "htm\\index.htm";
constexpr char kPageTitle[] = "Korvala Scores";
constexpr double kPercent = 100.0;

void WritePageTop(LineFile& page, const char* body) {
  WritePageHead(page, kPageTitle);
  WriteTexts(page, {body, "<font face=\"verdana, arial\" size=2>\n"});
}

void WriteSolvedLine(LineFile& page, int solved, int count) {
  page.write_format("%d of %d (%.1f%%) solved!<br>\n", solved, count, SolvedPercent(solved, count));
}

// The "By" cell: the who part of the record name, the text after its second "."; a name
// with fewer than two "." has none and shows an empty cell.
void WriteWhoCell(LineFile& page, const SolutionRecord& record) {
  const std::size_t first = record.name.find('.');
  const bool has_who =
      first != std::string::npos && record.name.find('.', first + 1) != std::string::npos;
  if (has_who) {
    page.write_format("<td width=\"*\">%s\n", HtmlEscape(record.who()).c_str());
  } else {
    page.write_text("<td width=\"*\"><br>\n");
  }
}

}  // namespace

double SolvedPercent(int solved, int count) {
  return count > 0 ? solved * kPercent / count : 0.0;
}

void WriteScoresFrameset(std::string_view last_set) {
  LineFile page;
  OpenPage(page, kFramesetPath);
  WriteFramesetTop(page, kPageTitle);
  WriteTexts(
      page, {
                "<frameset cols=\"40%,*\" border=\"false\" frameborder=\"0\" framespacing=\"0\">\n",
                "<frame name=\"sleft\" src=\"index.htm\" scrolling=\"auto\">\n",
            });
  page.write_format("<frame name=\"sright\" src=\"%s.htm\" scrolling=\"auto\">\n",
                    HtmlEscape(last_set).c_str());
  WriteTexts(page, {"</frameset>\n", "</html>\n"});
  ClosePage(page);
}

void WriteScoresIndex(const PageStamp& stamp, const ScoreTotals& totals) {
  LineFile page;
  OpenPage(page, kIndexPath);
  WritePageTop(page, "<body bgcolor=\"#ff9966\" leftmargin=5 topmargin=5 text=\"#000000\">\n");
  WriteTexts(page, {"High Scores<br>\n", "</font>\n", "<font face=\"verdana, arial\" size=1>\n"});
  page.write_format("Last Updated: on %s at %s\n", stamp.date.c_str(), stamp.time.c_str());
  WriteTexts(page, {"</font>\n", "<hr size=2>\n", "<br>\n"});
  WriteSolvedLine(page, totals.solved, totals.levels);
  for (const LevelSetEntry* set = first_level_set(); set != nullptr; set = next_level_set(set)) {
    const std::string name = HtmlEscape(set->name != nullptr ? set->name : "");
    page.write_text("<br>\n");
    page.write_format("<a target=\"sright\" href=\"%s.htm\">%s Collection</a><br>", name.c_str(),
                      name.c_str());
    WriteSolvedLine(page, set->spare, set->count);
  }
  WriteTexts(page, {"<br>\n", "</body>\n", "</html>\n"});
  ClosePage(page);
}

SetPage::SetPage(std::string_view set_name) : set_name_(set_name) {
  if (set_name.find_first_of("\\/") == std::string_view::npos) {
    path_ = "htm\\" + set_name_ + ".htm";
  } else {
    RV7_LOG(kLogInfo, "set page skipped, set=%s", set_name_.c_str());
  }
}

void SetPage::WriteHead(const PageStamp& stamp, std::string_view title, std::string_view version,
                        int solved, int count) {
  if (path_.empty()) {
    return;
  }
  const std::string name = HtmlEscape(set_name_);
  OpenPage(page_, path_);
  WritePageTop(page_, "<body bgcolor=\"#ffcc99\" leftmargin=5 topmargin=5 text=\"#000000\">\n");
  page_.write_format("%s Collection<br>\n", name.c_str());
  WriteTexts(page_, {"</font>\n", "<font face=\"verdana, arial\" size=1>\n"});
  page_.write_format("Last Updated: on %s at %s\n", stamp.date.c_str(), stamp.time.c_str());
  page_.write_text("<hr size=2>\n");
  page_.write_format("by %s (%s)<br>\n", std::string(title).c_str(), std::string(version).c_str());
  WriteTexts(page_, {"</font>\n", "<br>\n"});
  WriteSolvedLine(page_, solved, count);
  page_.write_text("<br>\n");
  page_.write_format("<b><u>%s Collection</u></b><br>\n", name.c_str());
  WriteTexts(page_, {
                        "<table border=1 width=\"100%\">\n",
                        "<td width=\"16%\"><b><u>Level</u></b>\n",
                        "<td width=\"17%\"><b><u>Moves</u></b>\n",
                        "<td width=\"17%\"><b><u>Pushes</u></b>\n",
                        "<td width=\"*\"><b><u>By</u></b>\n",
                        "<tr>\n",
                    });
}

void SetPage::AppendRow(int level, std::span<const SolutionRecord> records, bool last) {
  if (!page_.is_open()) {
    return;
  }
  page_.write_format("<td width=\"16%%\">%d\n", level);
  if (records.empty()) {
    WriteTexts(page_,
               {"<td width=\"17%\"><br>\n", "<td width=\"17%\"><br>\n", "<td width=\"*\"><br>\n"});
  } else {
    const SolutionRecord& best = records.front();
    page_.write_format("<td width=\"17%%\">%d\n", best.moves);
    page_.write_format("<td width=\"17%%\">%d\n", best.pushes);
    WriteWhoCell(page_, best);
  }
  page_.write_text("<tr>\n");
  if (last) {
    WriteTexts(page_, {"</table>\n", "<br>\n", "</body>\n", "</html>\n"});
    Close();
  }
}

void SetPage::Close() {
  if (page_.is_open()) {
    ClosePage(page_);
  }
}
