// The speaker tone: a beep of a given pitch and length.
#pragma once

// Plays a square-wave tone of `frequency` Hz through the sound device and returns when
// `ms` milliseconds have passed since the call, whatever happened. The device is opened by a
// sound thread of its own and kept open between tones, so a device that is slow to open
// delays (or drops) the sound but never the caller. When no sound device opens it calls the
// fallback registered with SetBeepFallback, if any, and waits out the time; a frequency
// outside kMinToneFrequency..kMaxToneFrequency only waits. Writes no trace; the suite's
// traced call is Beep() of core/beep.h.
void PlayTone(int frequency, int ms);

// Registers what PlayTone does instead of playing when no sound device opens, for example
// ringing the display bell of a program with a window; nullptr removes it. Call it before
// any thread beeps.
void SetBeepFallback(void (*fallback)());

inline constexpr int kMinToneFrequency = 37;
inline constexpr int kMaxToneFrequency = 32767;
