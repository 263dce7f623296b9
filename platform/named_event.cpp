#include "named_event.h"

#include <pthread.h>

#include <cerrno>

#include "shared_block.h"

struct EventBlock {
  pthread_mutex_t mutex;
  pthread_cond_t changed;
  int signalled;
};

namespace {

void InitEventBlock(void* memory) {
  auto* block = static_cast<EventBlock*>(memory);
  pthread_mutexattr_t mutex_attributes;
  pthread_mutexattr_init(&mutex_attributes);
  pthread_mutexattr_setpshared(&mutex_attributes, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&mutex_attributes, PTHREAD_MUTEX_ROBUST);
  pthread_mutex_init(&block->mutex, &mutex_attributes);
  pthread_mutexattr_destroy(&mutex_attributes);
  pthread_condattr_t cond_attributes;
  pthread_condattr_init(&cond_attributes);
  pthread_condattr_setpshared(&cond_attributes, PTHREAD_PROCESS_SHARED);
  pthread_cond_init(&block->changed, &cond_attributes);
  pthread_condattr_destroy(&cond_attributes);
  block->signalled = 0;
}

// The event's fields are only ever changed as a whole under the lock, so a process that
// died holding it left them consistent.
void Recover(int result, pthread_mutex_t& mutex) {
  if (result == EOWNERDEAD) {
    pthread_mutex_consistent(&mutex);
  }
}

// Holds the event's lock for one scope.
class EventLock {
 public:
  explicit EventLock(EventBlock& block) : block_(block) {
    Recover(pthread_mutex_lock(&block_.mutex), block_.mutex);
  }
  ~EventLock() { pthread_mutex_unlock(&block_.mutex); }
  EventLock(const EventLock&) = delete;
  EventLock& operator=(const EventLock&) = delete;

 private:
  EventBlock& block_;
};

}  // namespace

NamedEvent::NamedEvent(std::string_view name) {
  int error = 0;
  block_ = static_cast<EventBlock*>(
      MapSharedBlock(name, sizeof(EventBlock), true, InitEventBlock, error));
}

NamedEvent::~NamedEvent() {
  UnmapSharedBlock(block_, sizeof(EventBlock));
}

void NamedEvent::Set() {
  if (block_ == nullptr) {
    return;
  }
  EventLock lock(*block_);
  block_->signalled = 1;
  pthread_cond_broadcast(&block_->changed);
}

void NamedEvent::Reset() {
  if (block_ == nullptr) {
    return;
  }
  EventLock lock(*block_);
  block_->signalled = 0;
}

void NamedEvent::Wait() {
  if (block_ == nullptr) {
    return;
  }
  EventLock lock(*block_);
  while (block_->signalled == 0) {
    Recover(pthread_cond_wait(&block_->changed, &block_->mutex), block_->mutex);
  }
}

int RemoveNamedEvent(std::string_view name) {
  return RemoveSharedBlock(name);
}
