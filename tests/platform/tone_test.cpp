#include "tone.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

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

// A sound device whose opening never ends: ALSA's file plugin writes into a named pipe that
// nobody reads, as a sound server that does not answer would keep the caller.
void HangingSoundDevice() {
  const std::filesystem::path pipe = std::filesystem::current_path() / "stalled-sound";
  ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0600));
  WriteTextFile("hanging-alsa.conf",
                "pcm.!default { type file slave { pcm { type null } } file \"" + pipe.string() +
                    "\" format raw }\n");
  ::setenv("ALSA_CONFIG_PATH", (std::filesystem::current_path() / "hanging-alsa.conf").c_str(), 1);
}

TEST(Tone, DeviceThatNeverOpensDelaysNoTone) {
  ScratchDirectory directory;
  EXPECT_EQ(0, RunInChild([] {
                 // A stalled tone would end the child through the alarm.
                 constexpr unsigned kPatienceSeconds = 20;
                 ::alarm(kPatienceSeconds);
                 HangingSoundDevice();
                 SetBeepFallback(CountFallback);
                 for (int tone = 0; tone < 3; ++tone) {
                   const auto took = TimeTone(kFrequency, kMs);
                   EXPECT_GE(took, std::chrono::milliseconds(kMs));
                   EXPECT_LT(took, std::chrono::seconds(kPatienceSeconds / 4));
                 }
               }).exit_code);
}

}  // namespace
