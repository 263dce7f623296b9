#include "step_text.h"

#include <array>

char* StepText() {
  static std::array<char, kStepTextRoom + 1> buffer{};
  return buffer.data();
}
