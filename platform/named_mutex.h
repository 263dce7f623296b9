// Named mutexes shared by every process that uses the same name. A mutex lives in a
// shared-memory block named after it and outlives the processes that use it; its owner
// may wait on it again (it counts its waits), and an owner that ends without releasing it
// hands it on to the next waiter as abandoned.
#pragma once

#include <cstdint>

// Result of a wait that got the mutex from an owner that ended without releasing it.
inline constexpr int kWaitAbandoned = 128;

struct MutexBlock;  // the shared-memory block that holds the mutex

// A named mutex as its creator holds it.
struct NamedMutex {
  const char* name = nullptr;    // owned by the caller
  MutexBlock* handle = nullptr;  // from CreateNamedMutex, or none
  std::int32_t open_count = 0;   // raised by each create or open, lowered by each close
  std::int32_t lock_count = 0;   // raised before each wait, lowered by each release
};

// One user's handle on a named mutex, opened by the mutex's name.
struct MutexHandle {
  NamedMutex* mutex = nullptr;
  MutexBlock* handle = nullptr;  // from OpenMutexHandle, or none
};

// Creates the mutex under mutex.name, or opens it when it exists, not owned; stores the
// handle and raises the open count whether or not that worked. Returns 0 or the system
// error code.
int CreateNamedMutex(NamedMutex& mutex);

// Closes the creator's handle, sets it to none and lowers the open count. Returns 0, or
// EBADF when there was no handle.
int CloseNamedMutex(NamedMutex& mutex);

// Opens an existing mutex by the name of handle.mutex; stores the handle and raises the
// mutex's open count whether or not that worked. Returns 0 or the system error code
// (ENOENT when no mutex of that name exists).
int OpenMutexHandle(MutexHandle& handle);

// Closes the handle, lowers the mutex's open count and sets the handle to none. Returns 0,
// or EBADF when there was no handle.
int CloseMutexHandle(MutexHandle& handle);

// Raises the mutex's lock count, then waits without time limit until this thread owns the
// mutex. Returns 0, kWaitAbandoned when a previous owner ended without releasing it (the
// caller owns it then, in whatever state that owner left what it guards), or the system
// error code (EBADF without a handle).
int WaitMutexHandle(MutexHandle& handle);

// Releases the mutex once and lowers the lock count. Returns 0 or the system error code
// (EPERM when this thread does not own it, EBADF without a handle).
int ReleaseMutexHandle(MutexHandle& handle);

// Removes the mutex's name so that the next create makes a fresh one. Returns 0 or the
// system error code.
int RemoveNamedMutex(const char* name);
