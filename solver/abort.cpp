#include "abort.h"

#include <atomic>

namespace rv7solv {

namespace {

// Relaxed order is enough: the flag guards no other data, and the search only needs to see
// it soon, not in any order with its own stores.
std::atomic<bool> g_abort{false};

}  // namespace

void request_abort() {
  g_abort.store(true, std::memory_order_relaxed);
}

void clear_abort() {
  g_abort.store(false, std::memory_order_relaxed);
}

bool abort_requested() {
  return g_abort.load(std::memory_order_relaxed);
}

}  // namespace rv7solv
