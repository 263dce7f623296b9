// The step text buffer: one static buffer of step letters that the game hands around. The
// clipboard paste copies the clipboard text into it and gathers the steps in place; the
// solver binding receives the solver's answer in it.
#pragma once

#include <cstddef>

// Characters the buffer holds; one more byte keeps the terminating zero.
inline constexpr std::size_t kStepTextSize = 98304;

// The buffer: kStepTextSize + 1 bytes, zero at start. Lives for the whole run.
char* StepText();
