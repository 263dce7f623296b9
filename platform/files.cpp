#include "files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

std::string NativePath(std::string_view suite_path) {
  std::string path(suite_path);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

FILE* OpenFile(std::string_view suite_path, const char* mode) {
  return std::fopen(NativePath(suite_path).c_str(), mode);
}

int MakeDirectory(std::string_view suite_path) {
  return ::mkdir(NativePath(suite_path).c_str(), 0777) == 0 ? 0 : errno;
}

bool FileExists(std::string_view suite_path) {
  struct stat info {};
  return ::stat(NativePath(suite_path).c_str(), &info) == 0;
}

namespace {

// Copies the rest of `in` to `out`; returns 0 or the error code.
int CopyStream(FILE* in, FILE* out) {
  char buffer[16384];
  size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    if (std::fwrite(buffer, 1, count, out) != count) {
      return errno ? errno : EIO;
    }
  }
  return std::ferror(in) ? EIO : 0;
}

}  // namespace

int CopyWholeFile(std::string_view from, std::string_view to, bool fail_if_exists) {
  FILE* in = OpenFile(from, "rb");
  if (in == nullptr) {
    return errno;
  }
  // "x" makes the exclusive create atomic: an existing target is never overwritten.
  FILE* out = OpenFile(to, fail_if_exists ? "wbx" : "wb");
  if (out == nullptr) {
    int error = errno;
    std::fclose(in);
    return error;
  }
  int error = CopyStream(in, out);
  std::fclose(in);
  if (std::fclose(out) != 0 && error == 0) {
    error = errno;
  }
  return error;
}

AtomicFileWriter::~AtomicFileWriter() {
  if (file_ != nullptr) {
    std::fclose(file_);
    std::remove(temporary_.c_str());
  }
}

FILE* AtomicFileWriter::Open(std::string_view suite_path) {
  if (file_ != nullptr) {
    return nullptr;
  }
  target_ = NativePath(suite_path);
  temporary_ = target_ + ".tmp";
  file_ = std::fopen(temporary_.c_str(), "w");
  return file_;
}

int AtomicFileWriter::Commit() {
  if (file_ == nullptr) {
    return EBADF;
  }
  bool written = std::fflush(file_) == 0 && !std::ferror(file_) && ::fsync(fileno(file_)) == 0;
  int error = written ? 0 : (errno ? errno : EIO);
  if (std::fclose(file_) != 0 && error == 0) {
    error = errno;
  }
  file_ = nullptr;
  if (error == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    std::remove(temporary_.c_str());
  }
  return error;
}
