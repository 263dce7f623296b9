// Any text file through the import's chunker: every text line lands in exactly one level, in
// order and trimmed; an empty line only ends a level; outside "simlev" every level but the last
// holds a maze row and ends with its empty line (exchange_checks.h).
//
// Input: one byte choosing the set ("simlev" when odd, so the FG rule runs too), then the text.
#include <cstddef>
#include <cstdint>

#include "exchange_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckImportText(data, size);
  return 0;
}
