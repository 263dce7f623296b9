// The shell shared by the two report programs: a small fixed window with three lines of
// text (title, version, status), a Report worker thread that does the program's whole run,
// and the Paint handshake through which the worker waits until each new status text has
// been painted.
#pragma once

#include <string>
#include <string_view>

#include "rv7log.h"

// What tells the two report programs apart.
struct ReportIdentity {
  const char* program;          // the program's name, leading its lines on the error output
  const char* class_name;       // the window's object name
  const char* caption;          // the window caption
  const char* title;            // first line of the window, also named on the pages
  const char* version;          // second line of the window
  const char* sync_event_name;  // name of the Sync event of the Paint handshake
  LogProgram log_program;       // trace switch variable, log files and log mutex
};

// The program's run, called on the Report worker thread between the worker start (which
// returns once the settings are read and the window has painted) and the worker end.
using ReportWorker = void (*)();

// The shell's routines trace (RV7_LOG_AS) under the names "main", "main2", "Create",
// "SizeWindow", "WM_SIZE" and "Thread".

// Exit code of a run that could not write a page.
inline constexpr int kPageFailureExitCode = 1;

// Program entry for main(): takes the command-line text (argv[1..] joined by blanks), and
// creates the application object when a display can be reached (DisplayChoice), with the
// toolkit's own messages sent to the trace log. When the named display cannot be opened it
// says so in one line on the error output; without a display the run is made without a
// window. Returns the program's exit code.
int RunReportMain(int argc, char** argv, const ReportIdentity& identity, ReportWorker worker);

// The program entry proper: sets up the trace log, the Sync event and the worker, reads
// Ini\Mazes.Ini and Ini\Game.Ini (never writing them), shows the window when an
// application object exists, and returns once the worker has ended. The worker always
// completes its run: when the window is closed early or cannot be made, it goes on
// without painting, so every page and score file is still written. The worker first
// makes the folder htm when it is missing; a page (or the folder) that cannot be written
// ends its run at once, and the program then writes one line naming the file and the
// reason on the error output and returns kPageFailureExitCode. Frees the settings tables
// and the pool before returning. Returns the exit code (0 for a complete run).
int RunReportProgram(const ReportIdentity& identity, std::string_view command_line,
                     ReportWorker worker);

// ---- Worker side -------------------------------------------------------------------------

// Replaces the Status line text. Safe from either thread.
void SetStatusLine(std::string_view text);
// A copy of the Status line text.
std::string StatusLine();

// Has the window paint the Status line and waits until a paint has happened since the
// previous handshake. Returns at once when the window has gone or never came.
void PaintHandshake();

// Title and version texts of the running program (the first two window lines).
std::string_view ProgramTitle();
std::string_view ProgramVersion();

// ---- Window side -------------------------------------------------------------------------

// Called by the window after every paint: sets the Sync event.
void ReportPaintDone();
// True while the worker waits for a paint; the window then repaints the status box from
// time to time, so a wake-up taken away by another process's use of the same Sync event
// cannot leave the worker waiting for ever.
bool ReportHandshakePending();
// Called by the window with whether it can be seen: while it cannot, the worker does not
// wait for paints (and one waiting now is let go).
void ReportWindowVisible(bool visible);
