// The text of a solution on the clipboard, written by the copy and read by the paste:
//
//   [set.level]              level header
//   [moves.pushes.name]      solution header
//   step letters, 64 a line, the last line shorter
//   (an empty line)
//
// Lines are written with bare line feeds; the paste takes carriage returns, line feeds or
// both. Headers are optional when pasting and may stand anywhere; bare step letters are a
// valid text too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Longest set name of a level header and longest name of a solution header.
inline constexpr std::size_t kMaxHeaderSetName = 49;
inline constexpr std::size_t kMaxHeaderName = 99;

// A stored solution with the level it belongs to.
struct ClipboardSolution {
  std::string_view set;
  int level = 0;
  int moves = 0;
  int pushes = 0;
  std::string_view name;
  std::string_view letters;
};

// The clipboard text of `solution`: the level header, the solution header, the letters with
// the key letters "H" "P" "K" "M" written as "u" "d" "l" "r", a line end after every 64th
// letter and after the last one, and one more line end (the empty line).
std::string ClipboardText(const ClipboardSolution& solution);

// What the paste scanner found. A level header counts as read when `level` is not 0, a
// solution header when `moves` is not 0 (a later header of a kind replaces an earlier one).
struct PastedText {
  std::string set;
  int level = 0;
  int moves = 0;
  int pushes = 0;
  std::string name;
  // The step string: every non-header line joined, gathered at the start of the buffer.
  std::string_view steps;
  // A line began with "[" but was no complete header: no "]" on its line, a field longer
  // than its limit, a number that is not 1 to 9 decimal digits, or a missing ".".
  bool malformed = false;
};

// Scans `buffer`, whose first `length` bytes are the pasted text (a zero byte among them
// ends it), line by line up to a line that begins with a carriage return, a line feed or a
// zero byte. A character that ends a line takes one directly following line feed with it,
// so with CR LF line ends one empty line ends the text, with bare LF two do. A line that
// begins with "[" is a header: a solution header "[moves.pushes.name]" when its second
// character is a digit and it has that form, otherwise a level header "[set.level]" (the
// set name is what stands before the header's last "."). Every other line adds all its
// characters to the step string, which is gathered in place at the start of `buffer`
// (overwriting what was scanned) and ended with a zero; `buffer` must hold length + 1 bytes.
PastedText ScanPaste(char* buffer, std::size_t length);

enum class PasteAction {
  kNothing,          // no step characters and nothing asked for
  kReject,           // two low beeps, nothing played or recorded
  kRecordAndReplay,  // both headers: record under the header's name, replay crediting nobody
  kReplayCrediting,  // no header: replay, crediting the player if it solves the level
  kReplay,           // one header: replay crediting nobody
};

// Decides what a scanned text does on level `level` of set `set`. Rejected: a malformed
// header; a level header of another set (letter case ignored) or level; a solution header
// whose moves differ from the number of step characters. A text to be recorded must also
// be a plausible record: only the letters "u" "d" "l" "r" "U" "D" "L" "R", as many pushes
// as upper-case letters, no more steps than the move history holds, and a name that the
// score file reads back as a solution (without "Bookmark").
PasteAction DecidePaste(const PastedText& text, std::string_view set, int level);
