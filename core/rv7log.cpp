#include "rv7log.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "files.h"
#include "kernel.h"
#include "named_mutex.h"

namespace {

constexpr std::size_t kPathRoom = 259;    // a path buffer of 260 characters
constexpr std::size_t kStampRoom = 13;    // "hh:mm:ss.mmm "
constexpr std::size_t kPrefixRoom = 127;  // "name:tid module:line:function: "
constexpr std::size_t kTextRoom = 511;    // the formatted message
constexpr long kFileLimit = 65280;        // a file past this length is left for the next
constexpr int kFirstFile = 1;
constexpr int kLastFile = 9;
constexpr unsigned char kLastTrimmedCode = 32;  // blanks and control characters

struct LevelWord {
  std::string_view word;
  int level;
};
constexpr LevelWord kLevelWords[] = {
    {"default", kLogDefault}, {"warning", kLogDefault}, {"info", kLogInfo},
    {"trace", kLogTrace},     {"function", kLogFunc},   {"func", kLogFunc},
    {"extra", kLogExtra},     {"full", kLogExtra},      {"all", kLogExtra},
};

// Everything the log keeps for the process. The file and identity fields change only
// under `local` together with the named mutex.
struct LogState {
  std::atomic<int> level{kLogDefault};
  std::atomic<const char*> base_name{kGameLog.base_name};
  std::atomic<const char*> mutex_name{kGameLog.mutex_name};
  // Serialises this process's threads, also when the named mutex cannot be had.
  std::mutex local;
  std::string lock_name;  // the static copy of the mutex name the lock was set up with
  NamedMutex mutex;
  MutexHandle handle;
  bool lock_ready = false;
  // Fixed buffers, so that the pointers the accessors hand out stay valid.
  std::array<char, kPathRoom + 1> directory{};
  std::array<char, kPathRoom + 1> name{};
  bool file_in_use = false;
  int file_number = kFirstFile;
};

// Never destroyed, so threads still logging while the process ends find it intact.
LogState& State() {
  static LogState* state = new LogState;
  return *state;
}

// The log lock: this process's threads one at a time, and across processes the named
// mutex of the program. Its errors are ignored: the log writes anyway.
class LogLock {
 public:
  LogLock() : guard_(State().local) {
    LogState& state = State();
    if (!state.lock_ready) {
      SetUp(state);
    }
    int result = WaitMutexHandle(state.handle);
    owned_ = result == 0 || result == kWaitAbandoned;
  }
  ~LogLock() {
    if (owned_) {
      ReleaseMutexHandle(State().handle);
    }
  }
  LogLock(const LogLock&) = delete;
  LogLock& operator=(const LogLock&) = delete;

 private:
  static void SetUp(LogState& state) {
    state.lock_name = state.mutex_name.load();
    state.mutex.name = state.lock_name.c_str();
    CreateNamedMutex(state.mutex);
    state.handle.mutex = &state.mutex;
    OpenMutexHandle(state.handle);
    state.lock_ready = true;
  }

  std::lock_guard<std::mutex> guard_;
  bool owned_ = false;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::optional<int> LevelOfWord(std::string_view word) {
  for (const LevelWord& entry : kLevelWords) {
    if (EqualsIgnoringCase(word, entry.word)) {
      return entry.level;
    }
  }
  return std::nullopt;
}

// Copies `text` into `buffer` with its terminating zero; `text` fits by construction.
void CopyText(std::string_view text, std::array<char, kPathRoom + 1>& buffer) {
  std::size_t length = std::min(text.size(), kPathRoom);
  text.copy(buffer.data(), length);
  buffer[length] = '\0';
}

const char* OrNull(const char* text) {
  return text != nullptr ? text : "(null)";
}

// Formats into at most `room` characters; longer output is cut at its end.
std::string FormatToRoomV(std::size_t room, const char* format, va_list arguments) {
  std::string text(room + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, arguments);
  text.resize(std::strlen(text.c_str()));  // a text ends at its first zero, as in C
  return text;
}

std::string FormatToRoom(std::size_t room, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
std::string FormatToRoom(std::size_t room, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = FormatToRoomV(room, format, arguments);
  va_end(arguments);
  return text;
}

std::string TimeStamp() {
  LocalTime now = GetLocalTime();
  return FormatToRoom(kStampRoom, "%02d:%02d:%02d.%03d ", now.hour, now.minute, now.second,
                      now.milliseconds);
}

// The prefix, cut at the end of its room when longer (the function name goes first).
std::string Prefix(const char* module, const char* function, int line) {
  const LogState& state = State();
  unsigned long thread = CurrentThreadId();
  if (state.name[0] != '\0') {
    return FormatToRoom(kPrefixRoom, "%s:%04lx %s:%d:%s: ", state.name.data(), thread,
                        OrNull(module), line, OrNull(function));
  }
  unsigned long process = CurrentProcessId();
  return FormatToRoom(kPrefixRoom, "%04lx:%04lx %s:%d:%s: ", process, thread, OrNull(module), line,
                      OrNull(function));
}

// The message text, cut at the end of its room, without trailing blanks and control
// characters; "(empty)" when nothing is left.
std::string MessageText(const char* format, va_list arguments) {
  std::string text = format != nullptr ? FormatToRoomV(kTextRoom, format, arguments) : "(null)";
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= kLastTrimmedCode) {
    text.pop_back();
  }
  return text.empty() ? "(empty)" : text;
}

std::string FilePath(const LogState& state) {
  return FormatToRoom(kPathRoom, "%s.%02d", state.base_name.load(), state.file_number);
}

// Empties the current file to begin it; the file is in use when that worked.
void BeginFile(LogState& state) {
  FILE* file = OpenFile(FilePath(state), "w");
  state.file_in_use = file != nullptr;
  if (file != nullptr) {
    std::fclose(file);
  }
}

// Appends the line to the current file and moves on to the next file of the ring once
// this one has grown past its limit. Called under the log lock.
void AppendLine(LogState& state, const std::string& line) {
  if (!state.file_in_use) {
    BeginFile(state);
  }
  if (!state.file_in_use) {
    return;
  }
  FILE* file = OpenFile(FilePath(state), "a");
  if (file == nullptr) {
    state.file_in_use = false;
    return;
  }
  std::fwrite(line.data(), 1, line.size(), file);
  long length = std::ftell(file);
  std::fclose(file);
  if (length > kFileLimit) {
    state.file_in_use = false;
    state.file_number = state.file_number % kLastFile + 1;
  }
}

}  // namespace

void LogSelectProgram(const LogProgram& program) {
  LogState& state = State();
  std::lock_guard<std::mutex> guard(state.local);
  state.base_name = program.base_name;
  state.mutex_name = program.mutex_name;
  if (state.lock_ready && state.lock_name != program.mutex_name) {
    CloseMutexHandle(state.handle);
    CloseNamedMutex(state.mutex);
    state.lock_ready = false;
  }
}

void LogSetProgramIdentity(const char* command_line) {
  std::string_view text = command_line != nullptr ? command_line : "";
  text = text.substr(0, kPathRoom);
  {
    LogLock lock;
    LogState& state = State();
    std::size_t slash = text.rfind('\\');
    if (slash != std::string_view::npos) {
      CopyText(text.substr(0, slash), state.directory);
      text.remove_prefix(slash + 1);
    }
    CopyText(text.substr(0, text.find('.')), state.name);
  }
  LogReadSwitch();
}

const char* LogProgramDirectory() {
  return State().directory.data();
}

const char* LogProgramName() {
  return State().name.data();
}

void LogReadSwitch() {
  LogState& state = State();
  const char* value = std::getenv(state.base_name.load());
  if (value == nullptr) {
    return;
  }
  std::string_view words = std::string_view(value).substr(0, kPathRoom);
  std::optional<int> level;
  while (!words.empty()) {
    std::size_t end = words.find_first_of(",;\n");
    if (std::optional<int> word_level = LevelOfWord(words.substr(0, end))) {
      level = word_level;
    }
    words.remove_prefix(end == std::string_view::npos ? words.size() : end + 1);
  }
  if (level) {
    state.level = *level;
  }
}

int LogLevel() {
  return State().level;
}

void LogMessage(const char* module, const char* function, int line, int level, const char* format,
                ...) {
  LogReadSwitch();
  if (level > LogLevel()) {
    return;
  }
  std::string stamp = TimeStamp();
  va_list arguments;
  va_start(arguments, format);
  std::string text = MessageText(format, arguments);
  va_end(arguments);
  LogState& state = State();
  LogLock lock;
  // The prefix reads the program name, which changes only under the lock.
  AppendLine(state, stamp + Prefix(module, function, line) + text + "\n");
}
