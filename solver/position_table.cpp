#include "position_table.h"

#include <cstring>

namespace rv7solv {

uint32_t running_solve = 0;

void begin_solve_table() {
  ++running_solve;
  if (running_solve == 0) {
    // After 2^32 solves the numbers come round again: forget every slot for real.
    table.fill(Slot{});
    running_solve = 1;
  }
}

int32_t first_slot(const Key& key) {
  constexpr uint64_t kMixLow = 0x9e3779b97f4a7c15U;
  constexpr uint64_t kMixHigh = 0xc2b2ae3d27d4eb4fU;
  constexpr uint64_t kMixAll = 0xbf58476d1ce4e5b9U;
  constexpr int32_t kHalf = 32;
  uint64_t low = 0;
  uint64_t high = 0;
  std::memcpy(&low, key.data(), sizeof low);
  std::memcpy(&high, key.data() + key.size() - sizeof high, sizeof high);
  uint64_t hash = low * kMixLow ^ high * kMixHigh;
  hash ^= hash >> (kHalf - 3);
  hash *= kMixAll;
  hash ^= hash >> kHalf;
  // The low 32 bits scaled to the table size: a slot from 0 to kTableSlots - 1.
  return static_cast<int32_t>(((hash & 0xffffffffU) * kTableSlots) >> kHalf);
}

}  // namespace rv7solv
