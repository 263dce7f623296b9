// The position table: open addressing over kTableSlots slots, shared by the main search's
// positions and the corral test's positions and verdicts.
#ifndef RV7SOLV_POSITION_TABLE_H
#define RV7SOLV_POSITION_TABLE_H

#include <cstdint>

#include "solver_state.h"

namespace rv7solv {

// Number of the running solve, stamped into every slot it writes; slots of other solves are
// free. 0 marks the slots of a freshly loaded library, which were never written.
extern uint32_t running_solve;

// Starts a solve on an empty table: every slot written before counts as free.
void begin_solve_table();

// Whether slot holds no position of the running solve.
inline bool slot_free(const Slot& slot) {
  return slot.solve != running_solve || slot.key[0] == 0;
}

// Writes key, verdict and parent into slot for the running solve.
inline void write_slot(int32_t slot, const Key& key, int16_t verdict, int32_t parent) {
  table[slot] = Slot{key, verdict, running_solve, parent};
}

// Frees slot again (its key entry 0 becomes 0).
inline void free_slot(int32_t slot) {
  table[slot].key[0] = 0;
}

// Whether the slot holds key. Keys hold zeros behind their last entry, so two keys that agree
// in entries 0..n agree in all.
inline bool same_key(const Slot& slot, const Key& key) {
  return slot.key == key;
}

// First probe slot of key. All bytes of the key are mixed, so that positions that differ in
// one cell, and the small keys of the corral test, spread evenly over the table.
int32_t first_slot(const Key& key);

// The slot after slot on the probe path: the next one, round to the first at the end. A
// probe may end in any slot, and where a position is kept changes no answer of the search:
// lookups compare whole keys, and the table counts as full by work.slots_in_use.
inline int32_t next_slot(int32_t slot) {
  return slot + 1 < kTableSlots ? slot + 1 : 0;
}

struct Probe {
  int32_t slot;  // the slot found, a free slot for key, or kNoSlot when the table is full
  bool found;    // slot holds key and accept took it
};

// Walks the probe path of key from slot `first` until a slot holding key that `accept`
// takes, or a free slot. The table is full, and the probe ends with kNoSlot, when no slot is
// taken and work.slots_in_use has reached kTableSlots.
template <typename Accept>
Probe probe_from(int32_t first, const Key& key, Accept accept) {
  int32_t slot = first;
  for (int32_t visits = 0; visits < kTableSlots; ++visits, slot = next_slot(slot)) {
    const Slot& entry = table[slot];
    if (slot_free(entry)) {
      return Probe{work.slots_in_use < kTableSlots ? slot : kNoSlot, false};
    }
    if (same_key(entry, key) && accept(entry)) {
      return Probe{slot, true};
    }
  }
  return Probe{kNoSlot, false};
}

// The same from the first slot of key.
template <typename Accept>
Probe probe(const Key& key, Accept accept) {
  return probe_from(first_slot(key), key, accept);
}

}  // namespace rv7solv

#endif  // RV7SOLV_POSITION_TABLE_H
