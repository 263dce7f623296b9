// Settings and score files that could not be written (a full disk, a read-only file): every
// failure is traced at the error level and handed to the program's reporter, which tells the
// user; the game shows a message naming the file and the system's reason. Without a reporter
// (the report programs, the tests) the trace is all.
#pragma once

#include <string_view>

// Called with the suite path of the file and the system error code.
using WriteFailureReporter = void (*)(std::string_view path, int error);

// Installs the reporter; nullptr removes it. Writes happen on the main thread only.
void SetWriteFailureReporter(WriteFailureReporter reporter);

// Traces "write failed, %s, rc=%d, %s" with the path, the error code and the system's text
// for it at the error level, then calls the reporter, if any.
void ReportWriteFailure(std::string_view path, int error);
