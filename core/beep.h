// The suite's beep: the only answer to a refused player action (the low beep) and the
// sign of an accepted clipboard copy or paste (the high beep).
#pragma once

#include "tone.h"  // SetBeepFallback, for programs that can ring a display bell

inline constexpr int kLowBeepFrequency = 500;  // Hz
inline constexpr int kLowBeepMs = 50;
inline constexpr int kHighBeepFrequency = 1000;  // Hz
inline constexpr int kHighBeepMs = 50;

// Traces "beep, freq=%d, ms=%d" at the trace level, then sounds the tone and returns when
// `ms` milliseconds have passed (see PlayTone).
void Beep(int frequency, int ms);
