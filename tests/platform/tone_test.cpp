#include "tone.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "test_process.h"

namespace {

constexpr int kFrequency = 440;
constexpr int kMs = 50;

int fallback_calls = 0;
void CountFallback() {
  ++fallback_calls;
}

std::chrono::steady_clock::duration TimeTone(int frequency, int ms) {
  auto start = std::chrono::steady_clock::now();
  PlayTone(frequency, ms);
  return std::chrono::steady_clock::now() - start;
}

TEST(Tone, WithoutDeviceOrFallbackOnlyWaits) {
  ScratchDirectory directory;
  EXPECT_EQ(0, RunInChild([] {
                 HideSoundDevices();
                 SetBeepFallback(nullptr);
                 EXPECT_GE(TimeTone(kFrequency, kMs), std::chrono::milliseconds(kMs));
               }).exit_code);
}

TEST(Tone, UnplayableFrequencyOnlyWaits) {
  EXPECT_EQ(0, RunInChild([] {
                 SetBeepFallback(CountFallback);
                 EXPECT_GE(TimeTone(kMaxToneFrequency + 1, kMs), std::chrono::milliseconds(kMs));
                 EXPECT_GE(TimeTone(0, kMs), std::chrono::milliseconds(kMs));
                 EXPECT_EQ(0, fallback_calls);
               }).exit_code);
}

}  // namespace
