#include "kernel.h"

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>

namespace {

constexpr long kNanosecondsPerMillisecond = 1'000'000;
constexpr int kFirstYear = 1900;  // struct tm counts years from here

}  // namespace

void Sleep(int ms) {
  if (ms <= 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalTime GetLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts{};
  localtime_r(&now.tv_sec, &parts);
  LocalTime time;
  time.year = parts.tm_year + kFirstYear;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.milliseconds = static_cast<int>(now.tv_nsec / kNanosecondsPerMillisecond);
  return time;
}

std::uint32_t CurrentProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

std::uint32_t CurrentThreadId() {
  return static_cast<std::uint32_t>(::gettid());
}
