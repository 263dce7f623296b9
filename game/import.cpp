#include "import.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "clip_text.h"
#include "files.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "write_failure.h"

namespace {

constexpr char kLogModule[] = "import";

constexpr char kMazesDirectory[] = "Mazes";
constexpr char kPathSeparator = '/';
constexpr char kExtensionDot = '.';
constexpr char kNameFiller = '_';
constexpr std::string_view kFgSets[] = {"simlev", "torvelin"};
// A line above this one (compared over four bytes, its zero included) starts a level there.
constexpr char kFgThreshold[4] = {'F', 'G', '1', '\0'};
constexpr std::string_view kFgPrefix = "FG";

bool IsUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters the settings files, the Setup list or a clipboard header cannot carry in a set
// name.
bool UnfitInSetName(char c, bool first) {
  const auto byte = static_cast<unsigned char>(c);
  constexpr unsigned char kDelete = 127;
  return byte <= ' ' || byte == kDelete || c == '=' || c == '\\' || c == '[' || c == ']' ||
         (first && (c == '#' || c == ';'));
}

// The piece's text without trailing bytes that are 32 or less as signed bytes.
std::string_view TrimmedPiece(std::string_view piece) {
  const char* zero = static_cast<const char*>(std::memchr(piece.data(), '\0', piece.size()));
  std::size_t length =
      zero != nullptr ? static_cast<std::size_t>(zero - piece.data()) : piece.size();
  while (length > 0 && static_cast<signed char>(piece[length - 1]) <= ' ') {
    --length;
  }
  return piece.substr(0, length);
}

// FG2, FG10, FGX ... but not FG, FG0 or FG1: the line's first four bytes (its zero
// included) compare greater than "FG1".
bool StartsFgLevel(std::string_view line) {
  if (line.substr(0, kFgPrefix.size()) != kFgPrefix) {
    return false;
  }
  char head[sizeof kFgThreshold] = {};
  line.copy(head, sizeof head);
  return std::memcmp(head, kFgThreshold, sizeof head) > 0;
}

}  // namespace

ImportSource SplitImportPath(std::string_view path) {
  ImportSource source;
  source.path.assign(path);
  const std::size_t slash = path.rfind(kPathSeparator);
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  source.directory.assign(path.substr(0, name_start));
  const std::string_view name = path.substr(name_start);
  const std::size_t dot = name.rfind(kExtensionDot);
  source.file_name.assign(name.substr(0, dot));
  if (dot != std::string_view::npos) {
    source.extension.assign(name.substr(dot));
  }
  source.set = SetNameForFile(source.file_name);
  return source;
}

std::string SetNameForFile(std::string_view file_name) {
  if (file_name.empty() || file_name == "." || file_name == "..") {
    return {};
  }
  std::string set(file_name);
  for (std::size_t i = 0; i < set.size(); ++i) {
    if (UnfitInSetName(set[i], i == 0)) {
      set[i] = kNameFiller;
    }
  }
  if (set.size() > kMaxHeaderSetName) {
    std::size_t cut = kMaxHeaderSetName;
    while (cut > 0 && IsUtf8Continuation(set[cut])) {
      --cut;
    }
    set.resize(cut);
  }
  return set;
}

LevelChunker::LevelChunker(std::string_view set, LevelSink& sink)
    : sink_(sink),
      fg_rule_(std::find(std::begin(kFgSets), std::end(kFgSets), set) != std::end(kFgSets)) {}

bool LevelChunker::take(std::string_view piece) {
  if (failed_) {
    return false;
  }
  const std::string_view line = TrimmedPiece(piece);
  if (line.empty()) {
    if (state_ != Chunk::kNoMaze) {
      sink_.write_line({});
      state_ = Chunk::kNoMaze;
      return end_level();
    }
    return true;
  }
  if (fg_rule_ && open_ && StartsFgLevel(line)) {
    state_ = Chunk::kNoMaze;
    if (!end_level()) {
      return false;
    }
  }
  if (!open_) {
    if (!sink_.begin_level(begun_ + 1)) {
      failed_ = true;
      return false;
    }
    ++begun_;
    open_ = true;
  }
  sink_.write_line(line);
  if (line.find('#') != std::string_view::npos) {
    state_ = Chunk::kMazeRow;
  } else if (state_ == Chunk::kMazeRow) {
    state_ = Chunk::kTextAfterMaze;
  }
  return true;
}

bool LevelChunker::finish() {
  return failed_ ? false : !open_ || end_level();
}

bool LevelChunker::end_level() {
  open_ = false;
  if (!sink_.end_level()) {
    failed_ = true;
    return false;
  }
  ++completed_;
  return true;
}

int ChunkLevels(FILE* text, std::string_view set, LevelSink& sink) {
  LevelChunker chunker(set, sink);
  char piece[kImportPiece + 1];
  while (std::fgets(piece, sizeof piece, text) != nullptr) {
    if (!chunker.take(std::string_view(piece, std::strlen(piece)))) {
      return chunker.levels();
    }
  }
  chunker.finish();
  return chunker.levels();
}

bool LevelFileSink::begin_level(int number) {
  path_ = MazePathOf(set_, number);
  error_ = 0;
  file_.reset(OpenFile(path_, "w"));
  if (!file_) {
    ReportWriteFailure(path_, errno);
    return false;
  }
  return true;
}

void LevelFileSink::write_line(std::string_view line) {
  if (file_ && error_ == 0 &&
      ((!line.empty() && std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size()) ||
       std::fputc('\n', file_.get()) == EOF)) {
    error_ = errno != 0 ? errno : EIO;
  }
}

bool LevelFileSink::end_level() {
  FILE* file = file_.release();
  if (file == nullptr) {
    return false;
  }
  int error = error_;
  if (std::fflush(file) != 0 && error == 0) {
    error = errno;
  }
  if (std::fclose(file) != 0 && error == 0) {
    error = errno;
  }
  if (error != 0) {
    ReportWriteFailure(path_, error);
    return false;
  }
  return true;
}

int MakeSetDirectory(std::string_view set) {
  MakeDirectory(kMazesDirectory);
  return MakeDirectory(std::string(kMazesDirectory) + "\\" + std::string(set));
}

ImportResult ImportLevelFile(const std::string& path, std::string_view set) {
  ImportResult result;
  // Only a regular file: opening a FIFO would wait for a writer, a device may never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    RV7_LOG(kLogInfo, "no regular file, %s", path.c_str());
    return result;
  }
  ScopedFile text(std::fopen(path.c_str(), "r"));
  if (!text) {
    RV7_LOG(kLogInfo, "open failed, %s, rc=%d", path.c_str(), errno);
    return result;
  }
  result.opened = true;
  LevelFileSink sink(set);
  result.levels = ChunkLevels(text.get(), set, sink);
  return result;
}

int RegisterImportedSet(std::string_view set, int levels) {
  game_chk(set);
  set_game_dirty(1);
  set_level_count(set, levels);
  set_mazes_dirty(1);
  if (set == current_set()) {
    set_current_level_count(levels);
  }
  const int game_rc = writeGameIni();
  const int mazes_rc = writeMazesIni();
  return game_rc != 0 ? game_rc : mazes_rc;
}
