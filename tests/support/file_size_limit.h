// A disk that takes no more: while a FileSizeLimit lives, every write that would take a
// regular file of this process past `bytes` bytes fails with EFBIG, as writes on a full disk
// fail with ENOSPC (the process's file-size limit, with the signal it raises ignored). Works
// for every user, root included, and needs no file system of its own.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstddef>

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    previous_signal_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::signal(SIGXFSZ, previous_signal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  sighandler_t previous_signal_ = SIG_DFL;
};
