// Placeholder until the trace log lands: accepts every call and writes nothing.
#include "rv7log.h"

void LogSelectProgram(const LogProgram&) {}
void LogSetProgramIdentity(const char*) {}
const char* LogProgramDirectory() { return ""; }
const char* LogProgramName() { return ""; }
void LogReadSwitch() {}
int LogLevel() { return kLogDefault; }
void LogMessage(const char*, const char*, int, int, const char*, ...) {}
