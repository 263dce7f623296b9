// Small kernel services of the suite: sleeping, the local time and the running ids.
#pragma once

#include <cstdint>

// Blocks the calling thread for `ms` milliseconds; 0 (or less) only yields the processor.
void Sleep(int ms);

// The local wall-clock time, to the millisecond.
struct LocalTime {
  int year = 0;          // e.g. 2026
  int month = 0;         // 1..12
  int day = 0;           // 1..31
  int hour = 0;          // 0..23
  int minute = 0;        // 0..59
  int second = 0;        // 0..60 (60 only in a leap second)
  int milliseconds = 0;  // 0..999
};
LocalTime GetLocalTime();

// The ids of the running process and of the calling thread.
std::uint32_t CurrentProcessId();
std::uint32_t CurrentThreadId();
