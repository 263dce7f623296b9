// The step list left by a solve and its conversion into step letters.
#ifndef RV7SOLV_STEPS_H
#define RV7SOLV_STEPS_H

#include <cstdint>
#include <span>

namespace rv7solv {

// Number of entries of steps before its -1 terminator, counting no further than limit (and
// no further than the span).
int32_t count_steps(std::span<const int32_t> steps, int32_t limit);

// Letter of one step entry (from * 10000 + to * 10 + direction): "l", "d", "r", "u" for
// directions 0 to 3, "?" for any other digit.
char step_letter(int32_t entry);

// Writes one letter per entry of steps to text[0 .. steps.size() - 1]; nothing else.
void write_step_text(std::span<const int32_t> steps, char* text);

}  // namespace rv7solv

#endif  // RV7SOLV_STEPS_H
