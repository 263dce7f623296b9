// Any clipboard text through the paste scanner and the paste decision: the steps are gathered
// inside the buffer without line ends, header fields stay within their limits, and only a
// plausible solution of the level in play is ever recorded (exchange_checks.h).
#include <cstddef>
#include <cstdint>

#include "exchange_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckPasteText(data, size);
  return 0;
}
