// The duplicate finder's pages below htm: the frameset htm\rv7dup.htm, the two blank frame
// pages and the report table htm\rv7dupe.htm, with one row per match.
#pragma once

#include <string_view>

#include "html_page.h"
#include "level_compare.h"
#include "rv7list.h"

// Writes htm\rv7dup.htm, htm\blankleft.htm and htm\blankright.htm anew. Throws
// PageWriteError at the first page that cannot be written.
void WriteFramesetPages();

// The report table, open from the start of pass 2 to the end of the run.
class DupeReport {
 public:
  // Creates htm\rv7dupe.htm (written in full when closed) and writes its head: the stamp,
  // and "by <title> (<version>)". Throws PageWriteError when the page cannot be created.
  void Open(const PageStamp& stamp, std::string_view title, std::string_view version);
  // The match handler: writes the row of A and B for the kind, exact or similar, counts
  // it, and for an exact match hands A's score file on to B (TransferScoreFile).
  void Match(const LevelEntry& a, const LevelEntry& b, MatchKind kind, bool exact);
  // Writes the foot with the entry count and closes the page. Throws PageWriteError when
  // the page could not be written in full.
  void Close();

  int entry_count() const { return entry_count_; }

 private:
  LineFile file_;
  int entry_count_ = 0;
};
