#include "score_transfer.h"

#include <array>
#include <cstdio>
#include <string>

#include "files.h"
#include "rv7list.h"
#include "rv7log.h"
#include "step_letters.h"

namespace {

constexpr char kLogModule[] = "rv7";
constexpr char kScoreSuffix[] = ".rv7";

using Turn = std::array<Direction, 4>;  // the new direction of up, down, left, right
constexpr Direction kU = Direction::kUp;
constexpr Direction kD = Direction::kDown;
constexpr Direction kL = Direction::kLeft;
constexpr Direction kR = Direction::kRight;

// One turn per Match kind, in kind order; "exactly" keeps every direction.
constexpr std::array<Turn, kMatchKindCount> kTurns = {{
    {kU, kD, kL, kR},  // exactly
    {kD, kU, kL, kR},  // mirrored horizontally
    {kU, kD, kR, kL},  // mirrored vertically
    {kD, kU, kR, kL},  // rotated 180 degrees
    {kR, kL, kU, kD},  // rotated left
    {kL, kR, kD, kU},  // rotated right
    {kR, kL, kD, kU},  // rotated right and mirrored horizontally
    {kL, kR, kU, kD},  // rotated right and mirrored vertically
}};

// Lines that open a record or the bookmark, and comment lines, pass unchanged.
bool IsLetterLine(const std::string& line) {
  return !line.empty() && line.front() != '#' && line.front() != '[';
}

std::string TranslatedCopy(LineFile& source, MatchKind kind) {
  std::string copy;
  while (const char* line = source.read_line()) {
    std::string text(line);
    if (IsLetterLine(text)) {
      const std::size_t end = text.find('\n');
      for (std::size_t index = 0; index < text.size() && index < end; ++index) {
        text[index] = TranslateStep(text[index], kind);
      }
    }
    copy += text;
  }
  return copy;
}

// Creates `path` with `text`, failing when the file exists. A file left incomplete by a
// failed write is removed again.
int WriteNewFile(std::string_view path, const std::string& text) {
  FILE* file = OpenFile(path, "wx");
  if (file == nullptr) {
    return 1;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(NativePath(path).c_str());
    return 1;
  }
  return 0;
}

// Reads the whole file byte for byte; false when it cannot be opened or read, or when it is
// no regular file or goes on past kMaxReadBytes.
bool ReadWholeFile(std::string_view path, std::string& bytes) {
  FILE* file = OpenReadFile(path, "rb");
  if (file == nullptr) {
    return false;
  }
  std::array<char, kLineSize> buffer;
  std::size_t count = 0;
  while (bytes.size() <= kMaxReadBytes &&
         (count = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    bytes.append(buffer.data(), count);
  }
  const bool read = std::ferror(file) == 0 && bytes.size() <= kMaxReadBytes;
  std::fclose(file);
  return read;
}

// The text that B's new score file receives; false when A's file cannot be read.
bool TransferText(const std::string& from, MatchKind kind, std::string& text) {
  if (kind == MatchKind::kExactly) {
    return ReadWholeFile(from, text);
  }
  LineFile source;
  if (source.open(from, "r") == nullptr) {
    return false;
  }
  text = TranslatedCopy(source, kind);
  source.close();
  return true;
}

}  // namespace

char TranslateStep(char letter, MatchKind kind) {
  const std::optional<Direction> direction = DirectionOfLetter(letter);
  if (!direction.has_value() || kind == MatchKind::kExactly) {
    return letter;
  }
  const Direction turned = kTurns[static_cast<int>(kind)][static_cast<int>(*direction)];
  return IsPushLetter(letter) ? PushLetter(turned) : PlainLetter(turned);
}

void TransferScoreFile(std::string_view from_level, std::string_view to_level, MatchKind kind) {
  const std::string from = std::string(from_level) + kScoreSuffix;
  const std::string to = std::string(to_level) + kScoreSuffix;
  if (!FileExists(from) || FileExists(to)) {
    return;
  }
  std::string text;
  const int rc = TransferText(from, kind, text) ? WriteNewFile(to, text) : 1;
  RV7_LOG(kLogInfo, "score file %s to %s, rc=%d", from.c_str(), to.c_str(), rc);
}
