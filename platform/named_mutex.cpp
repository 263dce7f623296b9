#include "named_mutex.h"

#include <pthread.h>

#include <cerrno>

#include "shared_block.h"

struct MutexBlock {
  pthread_mutex_t mutex;
};

namespace {

// A robust, recursive, process-shared mutex, as a named mutex of the suite behaves.
void InitMutexBlock(void* memory) {
  auto* block = static_cast<MutexBlock*>(memory);
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
  pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&block->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

MutexBlock* MapMutex(const char* name, bool create, int& error) {
  if (name == nullptr) {
    error = EINVAL;
    return nullptr;
  }
  return static_cast<MutexBlock*>(
      MapSharedBlock(name, sizeof(MutexBlock), create, InitMutexBlock, error));
}

}  // namespace

int CreateNamedMutex(NamedMutex& mutex) {
  int error = 0;
  mutex.handle = MapMutex(mutex.name, true, error);
  ++mutex.open_count;
  return mutex.handle != nullptr ? 0 : error;
}

int CloseNamedMutex(NamedMutex& mutex) {
  if (mutex.handle == nullptr) {
    return EBADF;
  }
  UnmapSharedBlock(mutex.handle, sizeof(MutexBlock));
  mutex.handle = nullptr;
  --mutex.open_count;
  return 0;
}

int OpenMutexHandle(MutexHandle& handle) {
  if (handle.mutex == nullptr) {
    return EINVAL;
  }
  int error = 0;
  handle.handle = MapMutex(handle.mutex->name, false, error);
  ++handle.mutex->open_count;
  return handle.handle != nullptr ? 0 : error;
}

int CloseMutexHandle(MutexHandle& handle) {
  if (handle.handle == nullptr) {
    return EBADF;
  }
  UnmapSharedBlock(handle.handle, sizeof(MutexBlock));
  handle.handle = nullptr;
  if (handle.mutex != nullptr) {
    --handle.mutex->open_count;
  }
  return 0;
}

int WaitMutexHandle(MutexHandle& handle) {
  if (handle.mutex != nullptr) {
    ++handle.mutex->lock_count;
  }
  if (handle.handle == nullptr) {
    return EBADF;
  }
  int result = pthread_mutex_lock(&handle.handle->mutex);
  if (result == EOWNERDEAD) {
    pthread_mutex_consistent(&handle.handle->mutex);
    return kWaitAbandoned;
  }
  return result;
}

int ReleaseMutexHandle(MutexHandle& handle) {
  if (handle.mutex != nullptr) {
    --handle.mutex->lock_count;
  }
  if (handle.handle == nullptr) {
    return EBADF;
  }
  return pthread_mutex_unlock(&handle.handle->mutex);
}

int RemoveNamedMutex(const char* name) {
  return name != nullptr ? RemoveSharedBlock(name) : EINVAL;
}
