// The scores reporter's pages below htm: the frameset htm\rv7sco.htm, the index
// htm\index.htm with the share of solved levels, and one page htm\<set>.htm per level set
// with the best record of each level.
#pragma once

#include <span>
#include <string_view>

#include "html_page.h"
#include "rv7score.h"

// Solved and visited levels of the whole collection.
struct ScoreTotals {
  int levels = 0;
  int solved = 0;
};

// solved x 100 / count in double precision; 0 when count is 0 or below (no level to
// solve: nothing is solved), so a page never shows a division by zero.
double SolvedPercent(int solved, int count);

// Writes htm\rv7sco.htm; its right frame shows the page of `last_set` (the set last played
// in the game). A page that cannot be created is skipped.
void WriteScoresFrameset(std::string_view last_set);

// Writes htm\index.htm: the totals, then every set of the level-set table in table order
// with its solved count (the entry's spare field) and level count.
void WriteScoresIndex(const PageStamp& stamp, const ScoreTotals& totals);

// The page of one set, named after the set. It stays open from its head to its foot, so the
// rows of a whole set go to one open file.
class SetPage {
 public:
  // `set_name` names the page htm\<set_name>.htm. A name holding a path separator would
  // put the page outside htm: such a page is not written.
  explicit SetPage(std::string_view set_name);

  // Creates (or empties) the page and writes its head with the set's solved count and
  // level count. Throws PageWriteError when the page cannot be created.
  void WriteHead(const PageStamp& stamp, std::string_view title, std::string_view version,
                 int solved, int count);
  // Writes the row of level `level`: the first (best) record's moves, pushes and who, or
  // three empty cells without a record; after the set's last level (`last`) also the foot,
  // and closes the page (Close).
  void AppendRow(int level, std::span<const SolutionRecord> records, bool last);
  // Closes the page if it is open, so that it replaces the old one with what was written.
  // Throws PageWriteError when it could not be written in full.
  void Close();

 private:
  std::string set_name_;
  std::string path_;  // empty when the page is not written
  LineFile page_;
};
