#include "named_event.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <ctime>
#include <string>

#include "shared_block.h"

// The whole event is one 32-bit word that the kernel's futex calls sleep and wake on. Bit 0
// is the set flag; the bits above count the Set calls. Nothing about waiters is kept in the
// block, so a process killed at any moment while waiting, setting or resetting leaves no
// state behind that could hold up the others.
struct EventBlock {
  std::uint32_t state;
};

namespace {

using StateRef = std::atomic_ref<std::uint32_t>;
static_assert(StateRef::is_always_lock_free);

constexpr std::uint32_t kSetBit = 1;
constexpr std::uint32_t kSetCountStep = 2;
// The shared-memory object name carries the layout version, so a block left by a build
// with another layout (the earlier one held a pthread mutex and condition variable) is
// never mapped as this one; both builds then simply use different objects.
constexpr char kLayoutSuffix[] = ".ev2";
// A setter killed between storing the set bit and waking the sleepers leaves them asleep on
// a set event; a sleeper looks at the word again at this interval, so it still returns.
constexpr timespec kRecheckInterval{.tv_sec = 1, .tv_nsec = 0};

std::string ObjectName(std::string_view name) {
  return std::string(name) + kLayoutSuffix;
}

void InitEventBlock(void* memory) {
  static_cast<EventBlock*>(memory)->state = 0;
}

// A futex call on the block's word; shared (not private) so that it works across processes.
void Futex(EventBlock& block, int operation, std::uint32_t value, const timespec* timeout) {
  ::syscall(SYS_futex, &block.state, operation, value, timeout, nullptr, 0);
}

}  // namespace

NamedEvent::NamedEvent(std::string_view name) {
  int error = 0;
  block_ = static_cast<EventBlock*>(
      MapSharedBlock(ObjectName(name), sizeof(EventBlock), true, InitEventBlock, error));
}

NamedEvent::~NamedEvent() {
  UnmapSharedBlock(block_, sizeof(EventBlock));
}

void NamedEvent::Set() {
  if (block_ == nullptr) {
    return;
  }
  StateRef state(block_->state);
  std::uint32_t current = state.load();
  while (!state.compare_exchange_weak(current, (current + kSetCountStep) | kSetBit)) {
  }
  // Woken even when the event was set already: a setter may have died before its wake.
  Futex(*block_, FUTEX_WAKE, INT_MAX, nullptr);
}

void NamedEvent::Reset() {
  if (block_ == nullptr) {
    return;
  }
  StateRef(block_->state).fetch_and(~kSetBit);
}

void NamedEvent::Wait() {
  if (block_ == nullptr) {
    return;
  }
  StateRef state(block_->state);
  const std::uint32_t seen = state.load();
  if ((seen & kSetBit) != 0) {
    return;
  }
  // A Reset leaves an unset word as it is, so any change of the word is a Set since `seen`:
  // the wait ends even when a Reset followed before this thread ran again. The futex call
  // returns at once when the word is no longer `seen`, which closes the gap between the
  // check and the sleep; interruptions and time-outs just lead to the next check.
  while (state.load() == seen) {
    Futex(*block_, FUTEX_WAIT, seen, &kRecheckInterval);
  }
}

int RemoveNamedEvent(std::string_view name) {
  return RemoveSharedBlock(ObjectName(name));
}
