#include "tone.h"

#include <alsa/asoundlib.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
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
// The device is closed again after this long without a tone.
constexpr std::chrono::seconds kIdleClose{10};

// A tone handed to the sound thread: its pitch and when it must have ended.
struct Tone {
  int frequency;
  std::chrono::steady_clock::time_point end;
};

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

// The sound thread keeps the device open between tones, so that only the first tone of a
// run (or the first after a pause) waits for the sound server. A caller hands its tone over
// and waits for its duration only: a device that is slow to open, as a sound server can be
// on its first use, never stalls the caller.
struct Player {
  std::mutex mutex;
  std::condition_variable wake;    // the sound thread waits here for the next tone
  std::condition_variable answer;  // callers wait here for the verdict on their tone
  std::optional<Tone> pending;
  std::uint64_t submitted = 0;  // tones handed over so far
  std::uint64_t answered = 0;   // tones the thread has decided on
  bool played = false;          // the verdict on tone `answered`
};

// Plays `tone` on `pcm` for what is left of its time; false when the device failed.
bool PlayOn(snd_pcm_t* pcm, const Tone& tone) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      tone.end - std::chrono::steady_clock::now());
  if (left.count() <= 0) {
    return true;  // too late to be heard as this beep
  }
  if (snd_pcm_prepare(pcm) < 0 ||
      !WriteSamples(pcm, SquareWave(tone.frequency, static_cast<int>(left.count())))) {
    return false;
  }
  snd_pcm_drain(pcm);
  return true;
}

void Answer(Player& player, std::uint64_t serial, bool played) {
  std::lock_guard<std::mutex> lock(player.mutex);
  player.answered = serial;
  player.played = played;
  player.answer.notify_all();
}

// The sound thread: opens the device for the first tone, plays every tone handed over, and
// closes the device again after a pause so that it is not held for nothing.
void RunPlayer(Player& player) {
  snd_pcm_t* pcm = nullptr;
  for (;;) {
    std::unique_lock<std::mutex> lock(player.mutex);
    if (!player.wake.wait_for(lock, kIdleClose, [&player] { return player.pending.has_value(); })) {
      lock.unlock();
      if (pcm != nullptr) {
        snd_pcm_close(pcm);
        pcm = nullptr;
      }
      continue;
    }
    const Tone tone = *player.pending;
    const std::uint64_t serial = player.submitted;
    player.pending.reset();
    lock.unlock();
    if (pcm == nullptr && !no_sound_device) {
      pcm = OpenSoundDevice();
    }
    Answer(player, serial, pcm != nullptr);
    if (pcm != nullptr && !PlayOn(pcm, tone)) {
      snd_pcm_close(pcm);
      pcm = nullptr;
    }
  }
}

// The player of this process, with its thread started on first use. A child process made by
// fork() has no copy of the thread, so it starts a player of its own. Never destroyed: the
// detached thread may still wait on it while the process ends.
Player& ThePlayer() {
  static std::mutex guard;
  static Player* player = nullptr;
  static pid_t owner = 0;
  std::lock_guard<std::mutex> lock(guard);
  if (player == nullptr || owner != ::getpid()) {
    player = new Player;
    owner = ::getpid();
    std::thread(RunPlayer, std::ref(*player)).detach();
  }
  return *player;
}

// Hands the tone to the sound thread and waits until it was played or `tone.end`; true when
// it is being played, false when no device could play it (or none answered in time).
bool PlayThroughSoundDevice(const Tone& tone) {
  if (no_sound_device) {
    return false;
  }
  Player& player = ThePlayer();
  std::unique_lock<std::mutex> lock(player.mutex);
  player.pending = tone;
  const std::uint64_t serial = ++player.submitted;
  player.wake.notify_one();
  const bool decided = player.answer.wait_until(
      lock, tone.end, [&player, serial] { return player.answered >= serial; });
  // Without a verdict in time the device is still opening: the tone plays late or not at all,
  // but the caller has waited its duration and no more.
  return !decided || (player.answered == serial && player.played);
}

}  // namespace

void PlayTone(int frequency, int ms) {
  if (ms <= 0) {
    return;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  const bool in_range = frequency >= kMinToneFrequency && frequency <= kMaxToneFrequency;
  if (in_range && !PlayThroughSoundDevice(Tone{frequency, end})) {
    if (auto fallback = beep_fallback.load(); fallback != nullptr) {
      fallback();
    }
  }
  std::this_thread::sleep_until(end);
}

void SetBeepFallback(void (*fallback)()) {
  beep_fallback = fallback;
}
