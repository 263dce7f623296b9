// The step text buffer: one static buffer of step letters that the game hands around. The
// clipboard paste copies the clipboard text into it and gathers the steps in place; the
// solver binding receives the solver's answer in it.
#pragma once

#include <cstddef>

// Characters a paste copies into the buffer at most.
inline constexpr std::size_t kStepTextSize = 98304;
// Characters the buffer holds: the solver library's longest answer (it may report more steps
// than the game keeps, and the game refuses such an answer); one more byte keeps the
// terminating zero the game writes.
inline constexpr std::size_t kStepTextRoom = 99011;
static_assert(kStepTextRoom >= kStepTextSize, "a paste must fit the buffer");

// The buffer: kStepTextRoom + 1 bytes, zero at start. Lives for the whole run.
char* StepText();
