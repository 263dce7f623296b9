#include "kernel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>

namespace {

bool SameClockTime(const LocalTime& local, std::time_t seconds) {
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return local.year == parts.tm_year + 1900 && local.month == parts.tm_mon + 1 &&
         local.day == parts.tm_mday && local.hour == parts.tm_hour &&
         local.minute == parts.tm_min && local.second == parts.tm_sec;
}

TEST(Kernel, LocalTimeIsTheWallClockWithMilliseconds) {
  std::time_t before = std::time(nullptr);
  LocalTime now = GetLocalTime();
  std::time_t after = std::time(nullptr);
  EXPECT_TRUE(SameClockTime(now, before) || SameClockTime(now, after));
  EXPECT_GE(now.milliseconds, 0);
  EXPECT_LE(now.milliseconds, 999);
}

TEST(Kernel, IdsNameTheProcessAndEachThread) {
  EXPECT_EQ(static_cast<std::uint32_t>(::getpid()), CurrentProcessId());
  std::uint32_t main_thread = CurrentThreadId();
  std::uint32_t other_thread = 0;
  std::uint32_t other_process = 0;
  std::thread([&] {
    other_thread = CurrentThreadId();
    other_process = CurrentProcessId();
  }).join();
  EXPECT_NE(main_thread, other_thread);
  EXPECT_EQ(CurrentProcessId(), other_process);
}

TEST(Kernel, SleepWaitsAtLeastItsTimeAndZeroReturns) {
  constexpr int kMs = 20;
  auto start = std::chrono::steady_clock::now();
  Sleep(kMs);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kMs));
  Sleep(0);
  Sleep(-5);
}

}  // namespace
