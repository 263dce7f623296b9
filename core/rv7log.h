// Diagnostic trace log: a ring of numbered text files in the current directory, written
// under a named mutex when the program's environment variable asks for it.
#pragma once

// Message levels. A message is written when its level is at most the current log level.
enum : int {
  kLogError = 6,    // failures the user must be able to find: written at every level
  kLogDefault = 6,  // the level at start: nothing else is written
  kLogInfo = 8,     // values read and written, decisions
  kLogTrace = 10,   // trace
  kLogFunc = 12,    // function entry and exit
  kLogExtra = 14,   // extra detail
};

// What distinguishes the three programs' logs: the environment variable (also the base
// name of the files, e.g. "RV7LOG" gives RV7LOG.01 .. RV7LOG.09) and the named mutex.
struct LogProgram {
  const char* base_name;
  const char* mutex_name;
};
inline constexpr LogProgram kGameLog{"RV7LOG", "//SEM32//RV7.SEM"};
inline constexpr LogProgram kDupLog{"RV7DPLOG", "//SEM32//RV7DUP.SEM"};
inline constexpr LogProgram kScoLog{"RV7SCLOG", "//SEM32//RV7SCO.SEM"};

// Chooses which program's variable, files and mutex the log uses. Called once by each
// program's entry before anything is logged; the game's log is the default.
void LogSelectProgram(const LogProgram& program);

// Takes the command-line text (the text after the program name), splits it at its last
// backslash into program directory and program name (cut at its first "."), then reads
// the switch.
void LogSetProgramIdentity(const char* command_line);
const char* LogProgramDirectory();
const char* LogProgramName();

// Reads the environment variable and sets the level from its words (last one wins).
void LogReadSwitch();
int LogLevel();

// Writes one line "hh:mm:ss.mmm prefix text" when level <= the log level. Never fails.
void LogMessage(const char* module, const char* function, int line, int level, const char* format,
                ...) __attribute__((format(printf, 5, 6)));

// Call-site forms. Each source file defines `constexpr char kLogModule[] = "name";`
// with its module's name (for example "rv7ini", "engine").
#define RV7_LOG(level, ...) LogMessage(kLogModule, __func__, __LINE__, (level), __VA_ARGS__)
#define RV7_ENTRY() RV7_LOG(kLogFunc, "Entry")
#define RV7_EXIT() RV7_LOG(kLogFunc, "Exit")
#define RV7_EXIT_RC(rc) RV7_LOG(kLogFunc, "%s, rc=%d", "Exit", static_cast<int>(rc))
// The same under a given function name: a helper that traces for a routine passes that
// routine's name, so the line shows the routine the log reader knows.
#define RV7_LOG_AS(function, level, ...) \
  LogMessage(kLogModule, (function), __LINE__, (level), __VA_ARGS__)
