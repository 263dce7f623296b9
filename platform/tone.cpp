#include "tone.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr char kSoundDevice[] = "default";
constexpr unsigned kSampleRate = 44100;
constexpr unsigned kChannels = 1;
constexpr unsigned kLatencyMicroseconds = 100000;
constexpr int kAllowResampling = 1;
constexpr std::int16_t kAmplitude = 8000;  // about a quarter of full scale
constexpr int kMillisecondsPerSecond = 1000;

std::atomic<void (*)()> beep_fallback{nullptr};
// Set once opening the sound device failed for a reason other than its being busy; later
// tones then skip the attempt.
std::atomic<bool> no_sound_device{false};
std::once_flag alsa_quiet;

// ALSA reports every failed device probe on stderr; a missing device is normal here.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

std::vector<std::int16_t> SquareWave(int frequency, int ms) {
  std::size_t frames =
      static_cast<std::size_t>(kSampleRate) * static_cast<std::size_t>(ms) / kMillisecondsPerSecond;
  std::vector<std::int16_t> samples(frames);
  std::uint64_t half_periods = 2ULL * static_cast<std::uint64_t>(frequency);
  for (std::size_t i = 0; i < frames; ++i) {
    bool high = (i * half_periods / kSampleRate) % 2 == 0;
    samples[i] = high ? kAmplitude : static_cast<std::int16_t>(-kAmplitude);
  }
  return samples;
}

snd_pcm_t* OpenSoundDevice() {
  std::call_once(alsa_quiet, [] { snd_lib_error_set_handler(IgnoreAlsaError); });
  snd_pcm_t* pcm = nullptr;
  // Opened without blocking so that a device held by another program fails at once.
  int result = snd_pcm_open(&pcm, kSoundDevice, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (result < 0) {
    if (result != -EBUSY && result != -EAGAIN) {
      no_sound_device = true;
    }
    return nullptr;
  }
  if (snd_pcm_nonblock(pcm, 0) < 0 ||
      snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, kChannels,
                         kSampleRate, kAllowResampling, kLatencyMicroseconds) < 0) {
    snd_pcm_close(pcm);
    return nullptr;
  }
  return pcm;
}

bool WriteSamples(snd_pcm_t* pcm, const std::vector<std::int16_t>& samples) {
  std::size_t done = 0;
  while (done < samples.size()) {
    snd_pcm_sframes_t written = snd_pcm_writei(pcm, samples.data() + done, samples.size() - done);
    if (written < 0) {
      written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
    }
    if (written < 0) {
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// Plays the tone to its end; false when no sound device could play it.
bool PlayThroughSoundDevice(int frequency, int ms) {
  if (no_sound_device) {
    return false;
  }
  snd_pcm_t* pcm = OpenSoundDevice();
  if (pcm == nullptr) {
    return false;
  }
  bool played = WriteSamples(pcm, SquareWave(frequency, ms));
  if (played) {
    snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
  return played;
}

}  // namespace

void PlayTone(int frequency, int ms) {
  if (ms <= 0) {
    return;
  }
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  bool in_range = frequency >= kMinToneFrequency && frequency <= kMaxToneFrequency;
  if (in_range && !PlayThroughSoundDevice(frequency, ms)) {
    if (auto fallback = beep_fallback.load(); fallback != nullptr) {
      fallback();
    }
  }
  std::this_thread::sleep_until(end);
}

void SetBeepFallback(void (*fallback)()) {
  beep_fallback = fallback;
}
