// Settings files Ini\Game.Ini and Ini\Mazes.Ini: the game table (player, current level
// set, last level played per set), the level-set table (every set with its level count),
// and the current selection (player, set, level count, level) read and changed by the
// rest of the suite through the accessors below. Everything runs on one thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "rv7list.h"

inline constexpr char kGameIniPath[] = "Ini\\Game.Ini";
inline constexpr char kMazesIniPath[] = "Ini\\Mazes.Ini";

// Fixed room of the selection texts (characters, terminator excluded). Longer texts are
// cut to this room.
inline constexpr int kMaxPlayerName = 99;
inline constexpr int kMaxSetName = 51;
inline constexpr int kMaxSectionName = 259;

// One entry of the level-set table. `name` and `count` belong to the table; `spare` is
// free for a caller's own bookkeeping (0 when the entry is made; the scores reporter
// counts the solved levels of the set in it).
struct LevelSetEntry : ListNode {
  char* name = nullptr;
  std::int32_t count = 0;
  std::int32_t spare = 0;
};

// True when `name` can name a level set, whose files live in Mazes\<name>: 1 to 51
// characters; not "." or ".."; no "/" or "\" (so neither a path step nor an absolute path)
// and no control character; and it must read back from Mazes.Ini as written: no "=", no
// blank at either end, not beginning with "#", ";" or "[". Names read from Mazes.Ini and
// Game.Ini, added by set_level_count or selected as the current set are held to it, so that
// no program reads or writes outside the data directory's Mazes folder.
bool IsSafeSetName(std::string_view name);

// Reads Ini\Game.Ini: every entry of section "Game" is appended to the game table in file
// order, except a "Maze" entry whose value is no safe set name (IsSafeSetName), which is
// refused with a trace line. A missing or unreadable file leaves the table as it is.
// Returns 0.
int GameIni();
// Reads Ini\Mazes.Ini: every entry of section "Mazes" whose key is a safe set name
// (IsSafeSetName; others are refused with a trace line and widen nothing) is appended to the
// level-set table with its value as a decimal number (leading digits, 0 without digits).
// Returns 0.
int MazesIni();

// The two writers below write their file atomically (AtomicFileWriter) so that a rewrite of
// a file they wrote gives the same bytes:
// - the key column is as wide as the longest key of the two tables, so that reading the
//   files back gives the same width (a key added by game_chk counts once it is written);
// - a value is written without line ends and without blanks and carriage returns at its ends,
//   as the reader would take it back;
// - every line fits what the reader takes in one piece (510 characters and the line feed):
//   the padding shrinks first, then the value is cut; an entry whose key alone leaves no
//   room, or whose key would not read back as itself, is not written.
// A file that cannot be written (a read-only file, a full disk) is left as it was, the
// failure is reported (ReportWriteFailure, write_failure.h) and the dirty flag stays set.

// When the game dirty flag is 1: sorts the game table from its third entry on (case
// ignored), writes Ini\Game.Ini and clears the flag. Returns 0, or the system error code
// when the file could not be written.
int writeGameIni();
// When the level-set dirty flag is 1: sorts the level-set table (case ignored), writes
// Ini\Mazes.Ini and clears the flag. Returns 0 or the system error code.
int writeMazesIni();

// Chooses the current selection from the tables: the set named by "Maze" when it has a
// level count other than 0 (level = the set's remembered level, 1 when out of range),
// otherwise "Screens" at level 1; the player from "Player". Adds "Maze", "Player" and the
// set's key with "1" when missing.
void IniDefaults();

// Value of the first game entry with exactly this key. A missing key is appended with the
// value "1" (dirty flag unchanged). The text stays valid until the entry's value changes
// or the table is released.
const char* game_chk(std::string_view key);
// Replaces the value of the first entry with this key by a copy of `value` and sets the
// game dirty flag. A key that is not in the table changes nothing.
void set_game_value(std::string_view key, std::string_view value);
// set_game_value with the number written as "%d".
void set_game_number(std::string_view key, int number);

// Level count of the first level-set entry with exactly this name; 0 when there is none.
int level_count(std::string_view set_name);
// Stores `count` in the set's entry, or appends a new entry (spare 0) and widens the key
// column when the name is longer than every key so far. Returns the previous count, 0 for
// a new set. The dirty flag is not touched (the importer sets it). A name that is no safe
// set name (IsSafeSetName) is refused: nothing changes, traced, 0 returned; callers that
// make a set check the name with IsSafeSetName first.
int set_level_count(std::string_view set_name, int count);

// Walk over the level-set table in table order; nullptr at the end. Entries stay valid
// until release_ini().
LevelSetEntry* first_level_set();
LevelSetEntry* next_level_set(const LevelSetEntry* entry);
// Number of entries in the level-set table.
int level_set_count();

// Dirty flags: 1 when the table must be written back.
int game_dirty();
void set_game_dirty(int dirty);
int mazes_dirty();
void set_mazes_dirty(int dirty);

// Width of the key column of both writers: the longest key read from Game.Ini or
// Mazes.Ini or added by set_level_count (keys added by game_chk do not count).
int key_width();

// Current selection. The setters copy the text, cut to its room.
const char* player_name();  // up to 99 characters, empty at start
void set_player_name(std::string_view name);
const char* current_set();  // up to 51 characters, empty at start
void set_current_set(std::string_view name);
int current_level_count();  // 1 at start
void set_current_level_count(int count);
int current_level();  // from 1, 1 at start
void set_current_level(int level);

// ---------------------------------------------------------------------------------------
// Settings-file reading and writing shared by rv7ini and rv7cfg. Traces go out under the
// module and function names given to the constructor.

// Reads a settings file line by line: splits each line at the first "=" (leading "="
// skipped, blanks trimmed), traces blank lines, comments ("#", "/", ";"), headers and
// ignored lines at the trace level, and hands out the entries (lines with a key and a
// value) of its own section. A file that cannot be opened reads as empty.
class SettingsReader {
 public:
  SettingsReader(const char* module, const char* function, const char* section);
  // Opens `path` for reading and traces "open read, %s, f=%08x".
  void open(const char* path);
  // Moves to the next entry of the own section; false at the end of the file.
  bool next_entry();
  const char* key() const { return splitter_.key(); }
  const char* value() const { return splitter_.value(); }
  // Traces "close, %s, f=%08x" and closes the file.
  void close();

 private:
  // Traces the line unless it is an entry of the own section; true for such an entry.
  bool classify();
  void enter_section(const char* key);

  const char* module_;
  const char* function_;
  const char* section_;
  LineFile file_;
  Splitter splitter_{"=\n", "\n"};
  std::array<char, kMaxSectionName + 1> current_{};
};

// Writes a settings file atomically: an empty line, "# comment:", the file's own third
// line, "# do not modify.", an empty line and the section header; then the entries; then
// one empty line at close. Nothing is written when the file cannot be opened.
class SettingsWriter {
 public:
  SettingsWriter(const char* module, const char* function) : module_(module), function_(function) {}
  // Opens `path` for writing (traced "open write, %s, f=%08x") and writes the header lines
  // with `purpose` (without its line feed) as third line. False when it could not open.
  bool open(const char* path, const char* purpose, const char* section);
  void write(std::string_view text) { file_.write_text(text); }
  // Writes the final empty line, traces "close, %s, f=%08x" and replaces the target.
  // Returns 0 or the system error code (also that of a failed open).
  int close();
  // open, `write_entries`, close; a failure is reported (ReportWriteFailure). Returns 0 or
  // the system error code.
  template <typename WriteEntries>
  int write_file(const char* path, const char* purpose, const char* section,
                 WriteEntries write_entries) {
    if (open(path, purpose, section)) {
      write_entries(*this);
    }
    return finish(path);
  }

 private:
  int finish(const char* path);

  const char* module_;
  const char* function_;
  LineFile file_;
};

// The decimal number at the start of `text`: an optional sign, then digits; 0 without
// digits. Values beyond the 32-bit range are held at its ends.
int parse_number(const char* text);

// Frees every table entry and puts the tables, flags, key width and current selection
// back to their start values (program end; tests). Other pool users are not touched.
void release_ini();
