// Level import: a text file holding many levels one after another becomes a level set, one
// directory below Mazes named after the file, one level file per level numbered from 1, and
// the set's entries in Mazes.Ini and Game.Ini. This is the part without windows; the
// command with its dialogs is in import_dialog.h.
//
// Where a level ends: a level is a run of non-empty lines holding at least one maze row (a
// line with "#"), with the text lines before it (titles, authors) and after it up to the
// next empty line; that closing empty line is written into the level file too. In the sets
// "simlev" and "torvelin" a line FG2, FG10, FGX ... (above "FG1") also starts a new level.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "line_pieces.h"

// A text line is read in pieces of at most this many characters (a buffer of 1 024).
inline constexpr std::size_t kImportPiece = 1023;

// The parts of a chosen path the import uses.
struct ImportSource {
  std::string path;       // as chosen
  std::string directory;  // up to and including the last "/": the next import directory
  std::string file_name;  // without directory and extension
  std::string extension;  // from the last "." of the file's name on, dot included
  std::string set;        // SetNameForFile(file_name)
};
ImportSource SplitImportPath(std::string_view path);

// The set name for a file name, so that the set can be chosen in Setup, written to the
// settings files and named in a clipboard header: blanks, control characters and the
// characters "=", "\", "[" and "]" become "_", as does a leading "#" or ";"; the name is cut
// to what a clipboard level header carries (kMaxHeaderSetName bytes, never inside a UTF-8
// character), so that solutions of the set can be pasted back. Empty when no set can be made
// of it: an empty name, "." or "..".
std::string SetNameForFile(std::string_view file_name);

// Receives the levels the chunker cuts out of a text.
class LevelSink {
 public:
  virtual ~LevelSink() = default;
  // Starts level `number` (1, 2, ...). False when it cannot be started: the import ends.
  virtual bool begin_level(int number) = 0;
  // Adds one line (without its line end) to the level begun last.
  virtual void write_line(std::string_view line) = 0;
  // Ends the level begun last. False when it could not be completed: the import ends.
  virtual bool end_level() = 0;
};

// Cuts a text into levels, one line piece at a time.
class LevelChunker {
 public:
  // `set` decides whether the FG rule of "simlev" and "torvelin" applies (exact name).
  LevelChunker(std::string_view set, LevelSink& sink);

  // Handles one piece: trailing bytes that are 32 or less as signed bytes are cut (blanks,
  // line ends, control characters, bytes from 128 up), and a zero byte ends the piece's
  // text. False once the sink failed; later pieces are then ignored.
  bool take(std::string_view piece);
  // Ends the level still open at the end of the text. False when the sink failed.
  bool finish();
  // Levels completed so far (begun and ended without failure).
  int levels() const { return completed_; }

 private:
  enum class Chunk { kNoMaze = -1, kMazeRow = 2, kTextAfterMaze = 3 };

  bool end_level();

  LevelSink& sink_;
  bool fg_rule_;
  Chunk state_ = Chunk::kNoMaze;
  bool open_ = false;
  bool failed_ = false;
  int begun_ = 0;
  int completed_ = 0;
};

// Reads `text` to its end in pieces of at most kImportPiece characters and cuts it into
// levels for `sink`. Returns the number of levels completed.
int ChunkLevels(FILE* text, std::string_view set, LevelSink& sink);

// Writes each level to its level file (MazePathOf the set and number) through the file
// layer, replacing a file of that name. A file that cannot be created or written ends the
// import and is reported (ReportWriteFailure) with the system's reason; nothing is ever
// written through a missing file.
class LevelFileSink : public LevelSink {
 public:
  explicit LevelFileSink(std::string_view set) : set_(set) {}
  bool begin_level(int number) override;
  void write_line(std::string_view line) override;
  bool end_level() override;

 private:
  std::string set_;
  std::string path_;  // of the level file open
  ScopedFile file_;
  int error_ = 0;  // the first failed write's system error code
};

// Makes the set's directory Mazes\<set> (and Mazes when it is missing). Returns 0, or the
// error code of the set directory: EEXIST when it exists already.
int MakeSetDirectory(std::string_view set);

struct ImportResult {
  bool opened = false;  // the text file could be read
  int levels = 0;       // level files written
};
// Reads the text file at `path` (a path of this system, not a suite path) into level files
// of `set`. Anything but a regular file (a directory, a FIFO, a device) is not opened.
ImportResult ImportLevelFile(const std::string& path, std::string_view set);

// Enters the set in the settings and writes them at once: its Game.Ini entry (added with the
// last level "1" when missing), its level count in the level-set table (added when
// missing), then Game.Ini and Mazes.Ini. When the set is the current one its level count in
// the current selection follows too; the level in play does not change. A settings file that
// cannot be written is reported by its writer and stays due (it is tried again at exit).
// Returns 0, or the system error code of the first file that could not be written.
int RegisterImportedSet(std::string_view set, int levels);
