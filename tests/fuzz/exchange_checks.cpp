#include "exchange_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "clip_text.h"
#include "import.h"
#include "step_letters.h"
#include "step_text.h"

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

bool EndsLine(char c) {
  return c == '\r' || c == '\n' || c == '\0';
}

// The text's lines as the chunker must see them: pieces of at most kImportPiece characters
// ended by a line feed, a zero byte ending a piece's text, trailing bytes of 32 or less
// (signed) cut; the empty ones left out.
std::vector<std::string> NonEmptyPieces(std::string_view text) {
  std::vector<std::string> pieces;
  while (!text.empty()) {
    std::size_t length = std::min(text.size(), kImportPiece);
    const std::size_t line_feed = text.substr(0, length).find('\n');
    if (line_feed != std::string_view::npos) {
      length = line_feed + 1;
    }
    std::string piece(text.substr(0, length));
    text.remove_prefix(length);
    piece.resize(std::min(piece.size(), piece.find('\0')));
    while (!piece.empty() && static_cast<signed char>(piece.back()) <= ' ') {
      piece.pop_back();
    }
    if (!piece.empty()) {
      pieces.push_back(piece);
    }
  }
  return pieces;
}

struct MemorySink : LevelSink {
  bool begin_level(int number) override {
    Require(number == static_cast<int>(levels.size()) + 1, "levels are numbered in order");
    levels.emplace_back();
    return true;
  }
  void write_line(std::string_view line) override { levels.back().emplace_back(line); }
  bool end_level() override { return true; }
  std::vector<std::vector<std::string>> levels;
};

void CheckLevels(const MemorySink& sink, bool fg_rule, const std::vector<std::string>& expected) {
  std::vector<std::string> written;
  for (std::size_t n = 0; n < sink.levels.size(); ++n) {
    const std::vector<std::string>& level = sink.levels[n];
    Require(!level.empty() && !level.front().empty(), "a level begins with a text line");
    bool maze = false;
    for (std::size_t i = 0; i < level.size(); ++i) {
      const std::string& line = level[i];
      Require(!line.empty() || i + 1 == level.size(), "an empty line only ends a level");
      Require(line.empty() || static_cast<signed char>(line.back()) > ' ', "lines are trimmed");
      maze = maze || line.find('#') != std::string::npos;
      if (!line.empty()) {
        written.push_back(line);
      }
    }
    if (!fg_rule && n + 1 < sink.levels.size()) {
      Require(maze && level.back().empty(), "a level ends after its maze at an empty line");
    }
  }
  Require(written == expected, "every text line lands in one level, in order");
}

}  // namespace

void CheckPasteText(const std::uint8_t* data, std::size_t size) {
  const std::size_t length = std::min(size, kStepTextSize);
  const auto buffer = std::make_unique<char[]>(length + 1);
  std::memcpy(buffer.get(), data, length);
  buffer[length] = '\0';
  const PastedText text = ScanPaste(buffer.get(), length);
  Require(text.steps.data() == buffer.get() && text.steps.size() <= length,
          "the steps are gathered at the start of the buffer");
  Require(std::none_of(text.steps.begin(), text.steps.end(), EndsLine), "steps hold no line end");
  Require(text.set.size() <= kMaxHeaderSetName && text.name.size() <= kMaxHeaderName,
          "header fields stay within their limits");
  Require(text.level >= 0 && text.moves >= 0 && text.pushes >= 0, "numbers are not negative");
  for (const char* set : {"Screens", "simlev"}) {
    if (DecidePaste(text, set, 1) == PasteAction::kRecordAndReplay) {
      Require(!text.malformed && text.level == 1 &&
                  text.steps.size() == static_cast<std::size_t>(text.moves) &&
                  std::all_of(text.steps.begin(), text.steps.end(), IsStepLetter),
              "only a plausible solution of the level is recorded");
    }
  }
}

void CheckImportText(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return;
  }
  const bool fg_rule = data[0] % 2 == 1;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  FILE* file = fmemopen(text.data(), text.size(), "r");
  Require(file != nullptr, "the text opens in memory");
  MemorySink sink;
  const int levels = ChunkLevels(file, fg_rule ? "simlev" : "Fuzz", sink);
  std::fclose(file);
  Require(levels == static_cast<int>(sink.levels.size()), "every level begun is counted");
  CheckLevels(sink, fg_rule, NonEmptyPieces(text));
}
