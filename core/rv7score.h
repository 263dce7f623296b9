// Score files: the best solutions of the current level (at most five, best first) and its
// bookmark, kept in the file "<level path>.rv7" beside the level file.
//
// File layout, as written:
//   ""  "# comment:"  "# some game solutions."  "# do not modify."  ""
//   per record, best first: "[moves.pushes.who]", letters in lines of 64, ""
//   the bookmark, last and only from SaveBookmark: "[moves.pushes.Bookmark]", letters, ""
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr int kMaxSolutions = 5;
inline constexpr int kLettersPerLine = 64;
// Who the solver's solutions are credited to; on equal counts they rank after a player's.
inline constexpr char kSolverName[] = "Morilan.Solver";

// One stored solution. `name` is "moves.pushes.who" as it stands in the file; `letters` are
// the step letters, exactly `moves` of them when the record is sound (records whose count
// differs are kept in memory but never written).
struct SolutionRecord {
  int moves = 0;
  int pushes = 0;
  std::string name;
  std::string letters;

  // The text after the second "." of the name; empty when the name has fewer than two.
  std::string_view who() const;
};

// A solution handed in explicitly: its counts and at least `moves` step letters (a shorter
// text, or one cut by a zero byte, gives a record that is kept but not written).
struct SolutionSteps {
  int moves = 0;
  int pushes = 0;
  std::string_view letters;
};

// Step letters as the score file and the clipboard write them: lines of kLettersPerLine
// letters, the last one shorter, each ended by a line feed, key letters written as plain
// steps. Empty for no letters.
std::string LetterLines(std::string_view letters);

// The score file of the current level: MazePath() + ".rv7".
std::string ScorePath();

// "clear": drops every record and the bookmark; Best and Own values become 0 and empty.
void ClearStats();

// Reads the current level's score file into the records and the bookmark (after
// ClearStats; a record read here is appended to what is in memory). A missing file reads as
// nothing. Lenient: comment and empty lines are skipped anywhere; letters are never stored
// beyond the count at the start of their section name (surplus letters and letters before
// the first section are dropped). Only a section named "moves.pushes.Bookmark" (decimal
// counts) opens the bookmark; a finder's name that merely holds the word is a solution.
// Recomputes the Best and Own values in every case.
//
// The score file may be written afterwards only when it was read here or is missing: a file
// that exists but is no regular file, cannot be read or is larger than kMaxReadBytes reads as
// nothing and is never overwritten, and a current set that is no safe set name (rv7ini.h) is
// not read at all. A score file whose last write failed in this run reads as what that write
// should have written (see SaveUnsavedScores).
void GetStats();

// Records the engine's current solution (move count, push count and the first move-count
// step letters of the move history) under `who`: inserts it in the order of merit (fewer
// moves + pushes first, then fewer moves; equal counts keep the earlier record ahead, except
// that a record by "Morilan.Solver" yields to any other finder), discards an identical
// record, keeps at most five, writes the file (SaveSolution) when the list changed and the
// new record ranks within the five, then recomputes Best and Own and has the status area
// redraw its record lines. A solution ranking below five stored ones changes nothing.
// Returns 0, or SaveSolution's error code (the record stays in memory). On a level whose
// score file was not read (none loaded, or one refused as too large) nothing is recorded
// and ENOENT returned.
int RecordSolution(std::string_view who);
// The same for a solution given explicitly.
int RecordSolution(std::string_view who, const SolutionSteps& solution);

// Writes the header and every sound record, replacing the score file atomically. Writes no
// bookmark: a bookmark in the file is gone afterwards (the one in memory stays). Returns 0 or
// the system error code: a file that cannot be written (full disk, read-only file, one that
// could not be read) is left as it was, the failure is reported (write_failure.h) and the
// records stay in memory as unsaved until a later write of that file succeeds. ENOENT,
// unreported, when the current level's score file was not read (see GetStats).
int SaveSolution();

// Makes the engine's current steps (first move-count letters, key letters as lower case)
// the bookmark, and writes the file as SaveSolution does with the bookmark section last.
// Returns as SaveSolution; where the score file was not read, nothing changes (ENOENT).
int SaveBookmark();
// The same for steps given explicitly.
int SaveBookmark(const SolutionSteps& steps);

// Writes every score file whose last write failed (program end), reporting each failure
// again. Returns 0 when none is left unsaved, otherwise the last error code.
int SaveUnsavedScores();
// Number of score files whose last write failed.
int UnsavedScoreCount();
// Forgets every unsaved score file (tests; a program that gives up on them).
void DropUnsavedScores();

// The records in order of merit, as read and recorded.
std::span<const SolutionRecord> SolutionRecords();

// Derived values, always describing the current records. Best: the first record (0, 0 and
// empty without records). Own: the first record whose who part equals the player name
// (exactly, case counts) taken at the last recomputation; 0 and 0 when there is none.
int BestMoves();
int BestPushes();
const std::string& BestName();  // the Best record's who part
const std::string& OwnName();   // the player name at the last recomputation
int OwnMoves();
int OwnPushes();

// Step letters of the Best record, of the Own record and of the bookmark; none when there is
// no such record or no bookmark.
std::optional<std::string_view> BestLetters();
std::optional<std::string_view> OwnLetters();
std::optional<std::string_view> BookmarkLetters();
