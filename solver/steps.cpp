#include "steps.h"

#include <algorithm>
#include <array>

namespace rv7solv {

namespace {

constexpr int32_t kDirectionDigit = 10;
constexpr std::array<char, 4> kLetters = {'l', 'd', 'r', 'u'};
constexpr char kUnknownLetter = '?';

}  // namespace

int32_t count_steps(std::span<const int32_t> steps, int32_t limit) {
  const auto end = steps.begin() + std::min<std::ptrdiff_t>(limit, std::ssize(steps));
  return static_cast<int32_t>(std::find(steps.begin(), end, -1) - steps.begin());
}

char step_letter(int32_t entry) {
  const int32_t direction = entry % kDirectionDigit;
  return direction >= 0 && direction < std::ssize(kLetters) ? kLetters[direction] : kUnknownLetter;
}

void write_step_text(std::span<const int32_t> steps, char* text) {
  std::transform(steps.begin(), steps.end(), text, step_letter);
}

}  // namespace rv7solv
