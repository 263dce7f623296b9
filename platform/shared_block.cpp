#include "shared_block.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

namespace {

// Where the system keeps shared-memory objects as files; a fully set-up block is
// published under its final name by a hard link there.
constexpr char kShmDirectory[] = "/dev/shm";
constexpr mode_t kBlockMode = 0600;
// A block published and removed by other processes between our open and our link can
// make both fail; a few rounds settle it.
constexpr int kPublishAttempts = 8;

void* MapDescriptor(int fd, std::size_t size, int& error) {
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (block == MAP_FAILED) {
    error = errno;
    return nullptr;
  }
  return block;
}

// Opens an existing block; nullptr with ENOENT when there is none.
void* OpenExisting(const std::string& object, std::size_t size, int& error) {
  int fd = ::shm_open(object.c_str(), O_RDWR, 0);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  struct stat info {};
  void* block = nullptr;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else if (static_cast<std::size_t>(info.st_size) < size) {
    error = EINVAL;
  } else {
    block = MapDescriptor(fd, size, error);
  }
  ::close(fd);
  return block;
}

// A private name for a block being set up by this thread.
std::string ScratchName(const std::string& object) {
  static std::atomic<unsigned> serial{0};
  return object + "." + std::to_string(::getpid()) + "." + std::to_string(::gettid()) + "." +
         std::to_string(serial++);
}

// Sets up a block under a private name and links it to `object`. Returns the mapping, or
// nullptr with `error` (EEXIST when another process published the name first).
void* CreateAndPublish(const std::string& object, std::size_t size, void (*init)(void*),
                       int& error) {
  std::string scratch = ScratchName(object);
  int fd = ::shm_open(scratch.c_str(), O_RDWR | O_CREAT | O_EXCL, kBlockMode);
  if (fd < 0) {
    error = errno;
    return nullptr;
  }
  void* block = nullptr;
  if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
    error = errno;
  } else {
    block = MapDescriptor(fd, size, error);
  }
  ::close(fd);
  if (block != nullptr) {
    init(block);
    std::string directory(kShmDirectory);
    if (::link((directory + scratch).c_str(), (directory + object).c_str()) != 0) {
      error = errno;
      ::munmap(block, size);
      block = nullptr;
    }
  }
  ::shm_unlink(scratch.c_str());
  return block;
}

}  // namespace

std::string SharedBlockName(std::string_view name) {
  std::string object(1, '/');
  for (char c : name) {
    object.push_back(c == '/' || c == '\\' ? '_' : c);
  }
  return object;
}

void* MapSharedBlock(std::string_view name, std::size_t size, bool create, void (*init)(void*),
                     int& error) {
  std::string object = SharedBlockName(name);
  for (int attempt = 0; attempt < kPublishAttempts; ++attempt) {
    error = 0;
    if (void* block = OpenExisting(object, size, error); block != nullptr) {
      return block;
    }
    if (error != ENOENT || !create) {
      return nullptr;
    }
    if (void* block = CreateAndPublish(object, size, init, error); block != nullptr) {
      return block;
    }
    if (error != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
}

void UnmapSharedBlock(void* block, std::size_t size) {
  if (block != nullptr) {
    ::munmap(block, size);
  }
}

int RemoveSharedBlock(std::string_view name) {
  return ::shm_unlink(SharedBlockName(name).c_str()) == 0 ? 0 : errno;
}
