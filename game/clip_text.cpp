#include "clip_text.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine.h"
#include "rv7score.h"
#include "step_letters.h"

namespace {

constexpr char kHeaderOpen = '[';
constexpr char kHeaderClose = ']';
constexpr char kFieldSeparator = '.';
constexpr std::size_t kMaxNumberDigits = 9;  // fits a 32-bit signed number
// A record name holding this word is read back from the score file as the bookmark.
constexpr std::string_view kBookmarkWord = "Bookmark";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool EndsLine(char c) {
  return c == '\r' || c == '\n' || c == '\0';
}

// 1 to 9 decimal digits and nothing else.
std::optional<int> ParseNumber(std::string_view field) {
  if (field.empty() || field.size() > kMaxNumberDigits ||
      !std::all_of(field.begin(), field.end(), IsDigit)) {
    return std::nullopt;
  }
  int value = 0;
  for (char c : field) {
    value = value * 10 + (c - '0');
  }
  return value;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

// "set.level": the set name before the last ".".
bool ReadLevelHeader(std::string_view inside, PastedText& text) {
  const std::size_t dot = inside.rfind(kFieldSeparator);
  if (dot == std::string_view::npos || dot == 0 || dot > kMaxHeaderSetName) {
    return false;
  }
  const std::optional<int> level = ParseNumber(inside.substr(dot + 1));
  if (!level) {
    return false;
  }
  text.set.assign(inside.substr(0, dot));
  text.level = *level;
  return true;
}

// "moves.pushes.name": the name is everything after the second "." and may hold dots.
bool ReadSolutionHeader(std::string_view inside, PastedText& text) {
  const std::size_t first = inside.find(kFieldSeparator);
  if (first == std::string_view::npos) {
    return false;
  }
  const std::size_t second = inside.find(kFieldSeparator, first + 1);
  if (second == std::string_view::npos || inside.size() - second - 1 > kMaxHeaderName) {
    return false;
  }
  const std::optional<int> moves = ParseNumber(inside.substr(0, first));
  const std::optional<int> pushes = ParseNumber(inside.substr(first + 1, second - first - 1));
  if (!moves || !pushes) {
    return false;
  }
  text.moves = *moves;
  text.pushes = *pushes;
  text.name.assign(inside.substr(second + 1));
  return true;
}

// A header line (it begins with "["); the header ends at the first "]" of the line.
void ReadHeader(std::string_view line, PastedText& text) {
  const std::size_t close = line.find(kHeaderClose);
  if (close == std::string_view::npos) {
    text.malformed = true;
    return;
  }
  const std::string_view inside = line.substr(1, close - 1);
  const bool read =
      (!inside.empty() && IsDigit(inside.front()) && ReadSolutionHeader(inside, text)) ||
      ReadLevelHeader(inside, text);
  if (!read) {
    text.malformed = true;
  }
}

// The steps of a text to be recorded are a plausible solution with the header's counts.
bool PlausibleRecord(const PastedText& text) {
  const auto is_stored_letter = [](char c) { return IsStepLetter(c) && StoredLetter(c) == c; };
  return text.moves <= kHistoryLimit &&
         std::all_of(text.steps.begin(), text.steps.end(), is_stored_letter) &&
         std::count_if(text.steps.begin(), text.steps.end(), IsPushLetter) == text.pushes &&
         text.name.find(kBookmarkWord) == std::string::npos;
}

}  // namespace

std::string ClipboardText(const ClipboardSolution& solution) {
  std::string text;
  text.append("[").append(solution.set).append(".").append(std::to_string(solution.level));
  text.append("]\n[").append(std::to_string(solution.moves)).append(".");
  text.append(std::to_string(solution.pushes)).append(".").append(solution.name).append("]\n");
  text += LetterLines(solution.letters);
  text += '\n';
  return text;
}

PastedText ScanPaste(char* buffer, std::size_t length) {
  PastedText text;
  const char* zero = static_cast<const char*>(std::memchr(buffer, '\0', length));
  const std::size_t end = zero != nullptr ? static_cast<std::size_t>(zero - buffer) : length;
  std::size_t steps = 0;
  std::size_t pos = 0;
  while (pos < end && !EndsLine(buffer[pos])) {
    std::size_t line_end = pos;
    while (line_end < end && !EndsLine(buffer[line_end])) {
      ++line_end;
    }
    const std::string_view line(buffer + pos, line_end - pos);
    if (line.front() == kHeaderOpen) {
      ReadHeader(line, text);
    } else {
      std::memmove(buffer + steps, line.data(), line.size());
      steps += line.size();
    }
    pos = line_end;
    if (pos < end) {
      ++pos;
      if (pos < end && buffer[pos] == '\n') {
        ++pos;
      }
    }
  }
  buffer[steps] = '\0';
  text.steps = std::string_view(buffer, steps);
  return text;
}

PasteAction DecidePaste(const PastedText& text, std::string_view set, int level) {
  if (text.malformed) {
    return PasteAction::kReject;
  }
  const bool level_header = text.level != 0;
  const bool solution_header = text.moves != 0;
  if (level_header && (!EqualIgnoringCase(text.set, set) || text.level != level)) {
    return PasteAction::kReject;
  }
  if (solution_header && text.steps.size() != static_cast<std::size_t>(text.moves)) {
    return PasteAction::kReject;
  }
  if (text.steps.empty()) {
    return PasteAction::kNothing;
  }
  if (level_header && solution_header) {
    return PlausibleRecord(text) ? PasteAction::kRecordAndReplay : PasteAction::kReject;
  }
  return level_header || solution_header ? PasteAction::kReplay : PasteAction::kReplayCrediting;
}
