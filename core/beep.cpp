#include "beep.h"

#include "rv7log.h"

namespace {
constexpr char kLogModule[] = "beep";
}  // namespace

void Beep(int frequency, int ms) {
  RV7_LOG(kLogTrace, "beep, freq=%d, ms=%d", frequency, ms);
  PlayTone(frequency, ms);
}
