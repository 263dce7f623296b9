#include "rv7score.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <map>
#include <vector>

#include "display_hooks.h"
#include "engine.h"
#include "files.h"
#include "line_pieces.h"
#include "rv7ini.h"
#include "rv7list.h"
#include "rv7log.h"
#include "rv7maze.h"
#include "step_letters.h"
#include "write_failure.h"

namespace {

constexpr char kLogModule[] = "rv7score";

constexpr char kScoreSuffix[] = ".rv7";
constexpr char kHeader[] = "\n# comment:\n# some game solutions.\n# do not modify.\n\n";
constexpr std::string_view kBookmarkWho = "Bookmark";
// A section line "[name]" must fit one piece, so that the file reads back as written.
constexpr std::size_t kMaxRecordName = kLinePiece - 2;

std::vector<SolutionRecord> g_records;
std::optional<std::string> g_bookmark;

// Where the records in memory came from, and so whether the score file may be written.
enum class ScoreSource {
  kNone,        // no score file read since the last clear: no level loaded, or one refused
  kFile,        // the file was read (or is missing): it may be written
  kUnreadable,  // the file exists but could not be read whole: it is not overwritten
};
struct ScoreFileState {
  ScoreSource source = ScoreSource::kNone;
  std::string path;  // the score file GetStats looked at
  int error = 0;     // for kUnreadable: why it could not be read
};
ScoreFileState g_state;

// A score file whose last write failed: what the file should hold. It stands in for the file
// whenever that level is loaded again in this run and is written at the next chance.
struct UnsavedScore {
  std::vector<SolutionRecord> records;
  std::optional<std::string> bookmark;  // only when the failed write had a bookmark section
  std::string bookmark_header;          // its "[moves.pushes.Bookmark]" line
  int unreadable = 0;  // why the file could not be read: then it is never overwritten
};
std::map<std::string, UnsavedScore> g_unsaved;

struct Derived {
  int best_moves = 0;
  int best_pushes = 0;
  std::string best_name;
  std::string own_name;
  int own_moves = 0;
  int own_pushes = 0;
};
Derived g_derived;

// The decimal number at the start of `text` (optional sign, then digits), 0 without
// digits; values beyond the 32-bit range are held at its ends.
int leading_number(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      break;
    }
    value = std::min<long long>(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  value = negative ? -value : value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Moves and pushes from a name "moves.pushes.who".
void parse_counts(std::string_view name, int& moves, int& pushes) {
  moves = leading_number(name);
  std::size_t dot = name.find('.');
  pushes = dot == std::string_view::npos ? 0 : leading_number(name.substr(dot + 1));
}

const SolutionRecord* first_record_by(std::string_view who) {
  auto it = std::find_if(g_records.begin(), g_records.end(),
                         [who](const SolutionRecord& record) { return record.who() == who; });
  return it == g_records.end() ? nullptr : &*it;
}

void recompute_derived() {
  g_derived = Derived{};
  g_derived.own_name = player_name();
  if (!g_records.empty()) {
    const SolutionRecord& best = g_records.front();
    g_derived.best_moves = best.moves;
    g_derived.best_pushes = best.pushes;
    g_derived.best_name = best.who();
  }
  if (const SolutionRecord* own = first_record_by(g_derived.own_name)) {
    g_derived.own_moves = own->moves;
    g_derived.own_pushes = own->pushes;
  }
}

// ---- reading

// What the lines of a score file are being read into, and the routine whose trace the
// reading writes.
struct ReadState {
  const char* routine = nullptr;
  bool bookmark_open = false;
  std::size_t bookmark_count = 0;  // letters the bookmark section announced
};

std::size_t letter_room(int count) {
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

// Appends `data` to `text`, never beyond `count` letters in all; the surplus is dropped.
void append_letters(std::string& text, std::size_t count, std::string_view data) {
  if (text.size() < count) {
    text.append(data.substr(0, count - text.size()));
  }
}

// The text between "[" and the line's last character.
std::string_view section_name(std::string_view line) {
  return line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view{};
}

void open_bookmark(ReadState& state, std::string_view line) {
  state.bookmark_open = true;
  state.bookmark_count = letter_room(leading_number(section_name(line)));
  g_bookmark.emplace();
  RV7_LOG_AS(state.routine, kLogInfo, "Bookmarked");
}

void open_record(const ReadState& state, std::string_view line) {
  SolutionRecord record;
  record.name = section_name(line);
  parse_counts(record.name, record.moves, record.pushes);
  RV7_LOG_AS(state.routine, kLogInfo, "%s", record.name.c_str());
  g_records.push_back(std::move(record));
}

// Letter data goes to the bookmark once one was opened, else to the record opened last;
// data before the first section has no owner and is dropped.
void take_letters(const ReadState& state, std::string_view data) {
  if (state.bookmark_open) {
    append_letters(*g_bookmark, state.bookmark_count, data);
  } else if (!g_records.empty()) {
    SolutionRecord& last = g_records.back();
    append_letters(last.letters, letter_room(last.moves), data);
  }
}

bool all_digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// True for the section name the writers give the bookmark, "moves.pushes.Bookmark" with
// decimal counts. A solution whose finder's name merely holds the word stays a solution.
bool is_bookmark_name(std::string_view name) {
  const std::size_t first = name.find('.');
  const std::size_t second = first == std::string_view::npos ? first : name.find('.', first + 1);
  return second != std::string_view::npos && all_digits(name.substr(0, first)) &&
         all_digits(name.substr(first + 1, second - first - 1)) &&
         name.substr(second + 1) == kBookmarkWho;
}

void take_line(ReadState& state, std::string_view line) {
  if (line.empty() || line.front() == '#') {
    return;
  }
  if (line.front() != '[') {
    take_letters(state, line);
  } else if (is_bookmark_name(section_name(line))) {
    open_bookmark(state, line);
  } else {
    open_record(state, line);
  }
}

// The line without its line end (line feed and carriage return).
std::string_view strip_line_end(std::string_view line) {
  if (!line.empty() && line.back() == '\n') {
    line.remove_suffix(1);
  }
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  return line;
}

// Reads the file into the records and the bookmark; false (with nothing kept) when it could
// not be read to its end within kMaxReadBytes.
bool read_score_file(FILE* file, const char* routine) {
  ReadState state;
  state.routine = routine;
  const bool complete = read_line_pieces(
      file, [&state](std::string_view piece) { take_line(state, strip_line_end(piece)); });
  if (!complete) {
    g_records.clear();
    g_bookmark.reset();
  }
  return complete;
}

// Reads the score file at `path`, setting where the records came from; traced under
// `routine`, the reader.
void read_score_path(const std::string& path, const char* routine) {
  g_state = ScoreFileState{ScoreSource::kFile, path, 0};
  if (const auto unsaved = g_unsaved.find(path); unsaved != g_unsaved.end()) {
    RV7_LOG_AS(routine, kLogInfo, "unsaved records taken, file=%s", path.c_str());
    g_records = unsaved->second.records;
    g_bookmark = unsaved->second.bookmark;
    if (unsaved->second.unreadable != 0) {
      g_state = ScoreFileState{ScoreSource::kUnreadable, path, unsaved->second.unreadable};
    }
    return;
  }
  ScopedFile file{OpenReadFile(path, "r")};
  if (!file) {
    if (errno != ENOENT) {
      g_state.source = ScoreSource::kUnreadable;
      g_state.error = errno;
      RV7_LOG_AS(routine, kLogInfo, "unreadable, rc=%d", g_state.error);
    }
    return;
  }
  if (!read_score_file(file.get(), routine)) {
    g_state.source = ScoreSource::kUnreadable;
    g_state.error = std::ferror(file.get()) ? EIO : EFBIG;
    RV7_LOG_AS(routine, kLogInfo, "not read to its end, rc=%d", g_state.error);
  }
  RV7_LOG_AS(routine, kLogInfo, "close file=%s", path.c_str());
}

// ---- writing

void write_letters(LineFile& out, std::string_view letters) {
  out.write_text(LetterLines(letters));
}

// Writes the header and every sound record, tracing under `routine`, the writer.
void write_records(LineFile& out, const std::vector<SolutionRecord>& records,
                   const char* routine) {
  out.write_text(kHeader);
  for (const SolutionRecord& record : records) {
    if (record.letters.size() != letter_room(record.moves) || record.moves < 0) {
      continue;
    }
    RV7_LOG_AS(routine, kLogInfo, "%s", record.name.c_str());
    out.write_format("[%s]\n", record.name.c_str());
    write_letters(out, record.letters);
    out.write_text("\n");
  }
}

// Replaces the score file at `path` by `content`. Returns 0 or the system error code; a file
// that could not be written stays as it was and its content is kept as unsaved. Traced
// under `routine`, the writer.
int write_score_file(const std::string& path, const UnsavedScore& content,
                     const char* routine) {
  RV7_LOG_AS(routine, kLogInfo, "open write file=%s", path.c_str());
  LineFile out;
  out.open(path, "w");
  write_records(out, content.records, routine);
  if (content.bookmark) {
    out.write_text(content.bookmark_header);
    write_letters(out, *content.bookmark);
    out.write_text("\n");
  }
  RV7_LOG_AS(routine, kLogInfo, "close file=%s", path.c_str());
  const int rc = out.is_open() ? out.close() : out.open_error();
  if (rc == 0) {
    g_unsaved.erase(path);
  } else {
    g_unsaved[path] = content;
  }
  return rc;
}

// True when the records in memory belong to the current level's score file; traced under
// `routine`, the caller.
bool score_file_known(const char* routine) {
  if (g_state.source != ScoreSource::kNone && g_state.path == ScorePath()) {
    return true;
  }
  RV7_LOG_AS(routine, kLogInfo, "no score file read for the level, nothing written");
  return false;
}

// Writes the current level's score file with the records in memory and, when given, the
// bookmark section, traced under `routine`, the writer. A level whose score file was not
// read (none loaded, or one refused) gets none (ENOENT, not reported); a score file that
// exists but could not be read is not overwritten. Every other failure is reported. Returns 0
// or the system error code.
int save_current(std::optional<std::string> bookmark, std::string bookmark_header,
                 const char* routine) {
  if (!score_file_known(routine)) {
    return ENOENT;
  }
  const std::string path = ScorePath();
  UnsavedScore content{g_records, std::move(bookmark), std::move(bookmark_header), 0};
  int rc = 0;
  if (g_state.source == ScoreSource::kUnreadable) {
    rc = g_state.error;
    content.unreadable = rc;
    g_unsaved[path] = std::move(content);
  } else {
    rc = write_score_file(path, content, routine);
  }
  if (rc != 0) {
    ReportWriteFailure(path, rc);
  }
  return rc;
}

// The section line of a bookmark of `steps`: "[moves.pushes.Bookmark]".
std::string bookmark_header(const SolutionSteps& steps) {
  std::string header = "[";
  header += std::to_string(steps.moves);
  header += '.';
  header += std::to_string(steps.pushes);
  header += '.';
  header += kBookmarkWho;
  header += "]\n";
  return header;
}

// ---- recording

// The first `moves` letters of `solution`, cut at a zero byte.
std::string first_letters(const SolutionSteps& solution) {
  std::string_view letters = solution.letters.substr(0, letter_room(solution.moves));
  return std::string(letters.substr(0, letters.find('\0')));
}

SolutionRecord make_record(std::string_view who, const SolutionSteps& solution) {
  SolutionRecord record;
  record.moves = solution.moves;
  record.pushes = solution.pushes;
  record.name = std::to_string(solution.moves) + "." + std::to_string(solution.pushes) + "." +
                std::string(who);
  record.name.resize(std::min(record.name.size(), kMaxRecordName));
  record.letters = first_letters(solution);
  return record;
}

enum class Placement { kBefore, kDuplicate, kBehind };

// Where `added` stands relative to the stored record `stored` in the order of merit.
Placement compare(const SolutionRecord& added, const SolutionRecord& stored) {
  long long added_sum = static_cast<long long>(added.moves) + added.pushes;
  long long stored_sum = static_cast<long long>(stored.moves) + stored.pushes;
  if (added_sum != stored_sum) {
    return added_sum < stored_sum ? Placement::kBefore : Placement::kBehind;
  }
  if (added.moves != stored.moves) {
    return added.moves < stored.moves ? Placement::kBefore : Placement::kBehind;
  }
  if (added.name == stored.name) {
    return Placement::kDuplicate;
  }
  return stored.name.find(kSolverName) != std::string::npos ? Placement::kBefore
                                                            : Placement::kBehind;
}

void redraw_record_lines() {
  for (StatusField field :
       {StatusField::kBestMoves, StatusField::kBestPushes, StatusField::kBestName,
        StatusField::kOwnMoves, StatusField::kOwnPushes, StatusField::kPlayer}) {
    display_hooks().RedrawStatusField(field);
  }
}

SolutionSteps engine_steps() {
  return SolutionSteps{move_count(), push_count(), std::string_view(step_letters())};
}

}  // namespace

std::string_view SolutionRecord::who() const {
  std::size_t first = name.find('.');
  if (first == std::string::npos) {
    return {};
  }
  std::size_t second = name.find('.', first + 1);
  if (second == std::string::npos) {
    return {};
  }
  return std::string_view(name).substr(second + 1);
}

std::string LetterLines(std::string_view letters) {
  std::string lines;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    lines += StoredLetter(letters[i]);
    if ((i + 1) % kLettersPerLine == 0 || i + 1 == letters.size()) {
      lines += '\n';
    }
  }
  return lines;
}

std::string ScorePath() {
  return MazePath() + kScoreSuffix;
}

void ClearStats() {
  RV7_ENTRY();
  g_records.clear();
  g_bookmark.reset();
  g_derived = Derived{};
  g_state = ScoreFileState{};
  RV7_EXIT();
}

void GetStats() {
  RV7_ENTRY();
  const std::string path = ScorePath();
  RV7_LOG(kLogInfo, "open read file=%s", path.c_str());
  if (IsSafeSetName(current_set())) {
    read_score_path(path, __func__);
  } else {
    RV7_LOG(kLogInfo, "refused, set=%s", current_set());
  }
  recompute_derived();
  RV7_EXIT();
}

int RecordSolution(std::string_view who) {
  return RecordSolution(who, engine_steps());
}

int RecordSolution(std::string_view who, const SolutionSteps& solution) {
  RV7_ENTRY();
  if (!score_file_known(__func__)) {
    RV7_EXIT_RC(ENOENT);
    return ENOENT;
  }
  SolutionRecord added = make_record(who, solution);
  std::size_t index = 0;
  Placement placement = Placement::kBehind;
  for (; index < g_records.size(); ++index) {
    placement = compare(added, g_records[index]);
    if (placement != Placement::kBehind) {
      break;
    }
  }
  const bool inserted = placement != Placement::kDuplicate;
  if (inserted) {
    g_records.insert(g_records.begin() + static_cast<std::ptrdiff_t>(index), std::move(added));
  }
  const bool removed = g_records.size() > static_cast<std::size_t>(kMaxSolutions);
  if (removed) {
    g_records.resize(kMaxSolutions);
  }
  // A solution ranking below the fifth record is neither written nor shown.
  const bool ranked = index < static_cast<std::size_t>(kMaxSolutions);
  int rc = 0;
  if (ranked && (inserted || removed)) {
    rc = SaveSolution();
  }
  recompute_derived();
  if (ranked) {
    redraw_record_lines();
  }
  RV7_EXIT_RC(rc);
  return rc;
}

int SaveSolution() {
  RV7_ENTRY();
  const int rc = save_current(std::nullopt, {}, __func__);
  RV7_EXIT_RC(rc);
  return rc;
}

int SaveBookmark() {
  return SaveBookmark(engine_steps());
}

int SaveBookmark(const SolutionSteps& steps) {
  RV7_ENTRY();
  if (!score_file_known(__func__)) {
    RV7_EXIT_RC(ENOENT);
    return ENOENT;
  }
  std::string letters = first_letters(steps);
  std::transform(letters.begin(), letters.end(), letters.begin(), StoredLetter);
  g_bookmark = std::move(letters);
  const int rc = save_current(g_bookmark, bookmark_header(steps), __func__);
  RV7_EXIT_RC(rc);
  return rc;
}

int SaveUnsavedScores() {
  RV7_ENTRY();
  int rc = 0;
  // Copied: every successful write takes its entry out of the table.
  const std::map<std::string, UnsavedScore> unsaved = g_unsaved;
  for (const auto& [path, content] : unsaved) {
    const int written =
        content.unreadable != 0 ? content.unreadable : write_score_file(path, content, __func__);
    if (written != 0) {
      ReportWriteFailure(path, written);
      rc = written;
    }
  }
  RV7_EXIT_RC(rc);
  return rc;
}

int UnsavedScoreCount() {
  return static_cast<int>(g_unsaved.size());
}

void DropUnsavedScores() {
  g_unsaved.clear();
}

std::span<const SolutionRecord> SolutionRecords() {
  return g_records;
}

int BestMoves() {
  return g_derived.best_moves;
}
int BestPushes() {
  return g_derived.best_pushes;
}
const std::string& BestName() {
  return g_derived.best_name;
}
const std::string& OwnName() {
  return g_derived.own_name;
}
int OwnMoves() {
  return g_derived.own_moves;
}
int OwnPushes() {
  return g_derived.own_pushes;
}

std::optional<std::string_view> BestLetters() {
  if (g_records.empty()) {
    return std::nullopt;
  }
  return g_records.front().letters;
}

std::optional<std::string_view> OwnLetters() {
  const SolutionRecord* own = first_record_by(g_derived.own_name);
  if (own == nullptr) {
    return std::nullopt;
  }
  return own->letters;
}

std::optional<std::string_view> BookmarkLetters() {
  if (!g_bookmark) {
    return std::nullopt;
  }
  return *g_bookmark;
}
