#include "beep.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "../platform/test_process.h"
#include "rv7log.h"

namespace {

int bell_rings = 0;
void RingBell() {
  ++bell_rings;
}

// Runs `body` in a child whose sound system knows no device and whose log is at `level`.
int RunWithoutSoundDevice(const char* level, const std::function<void()>& body) {
  return RunInChild([&] {
           HideSoundDevices();
           ::setenv("RV7LOG", level, 1);
           body();
         })
      .exit_code;
}

TEST(Beep, TracesAtTraceLevelAndRingsFallbackWithoutDevice) {
  ScratchDirectory directory;
  EXPECT_EQ(0, RunWithoutSoundDevice("trace", [] {
              SetBeepFallback(RingBell);
              auto start = std::chrono::steady_clock::now();
              Beep(kLowBeepFrequency, kLowBeepMs);
              EXPECT_GE(std::chrono::steady_clock::now() - start,
                        std::chrono::milliseconds(kLowBeepMs));
              Beep(kHighBeepFrequency, kHighBeepMs);
              EXPECT_EQ(2, bell_rings);
            }));
  std::vector<std::string> lines = ReadLines("RV7LOG.01");
  ASSERT_EQ(2u, lines.size());
  EXPECT_TRUE(lines[0].ends_with(":Beep: beep, freq=500, ms=50")) << lines[0];
  EXPECT_TRUE(lines[1].ends_with(":Beep: beep, freq=1000, ms=50")) << lines[1];
}

TEST(Beep, BelowTraceLevelBeepsWithoutTrace) {
  ScratchDirectory directory;
  EXPECT_EQ(0, RunWithoutSoundDevice("info", [] { Beep(kLowBeepFrequency, kLowBeepMs); }));
  EXPECT_FALSE(std::filesystem::exists("RV7LOG.01"));
}

}  // namespace
