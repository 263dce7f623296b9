#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <set>

namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as fopen creates files
constexpr mode_t kPermissionBits = 07777;
constexpr char kTemporarySuffix[] = ".tmp";
constexpr int kTemporaryTag = 6;  // random characters in a temporary file's name
constexpr int kCreateAttempts = 100;
constexpr std::string_view kTagCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// open() flags for an fopen() mode.
int OpenFlags(std::string_view mode) {
  const bool update = mode.find('+') != std::string_view::npos;
  int flags = O_CLOEXEC;
  switch (mode.empty() ? 'r' : mode.front()) {
    case 'w':
      flags |= (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
      break;
    case 'a':
      flags |= (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
      break;
    default:
      flags |= update ? O_RDWR : O_RDONLY;
      break;
  }
  if (mode.find('x') != std::string_view::npos) {
    flags |= O_EXCL;
  }
  return flags;
}

// 0 for a regular file; EISDIR for a directory; EINVAL for anything else.
int RegularFileError(const struct stat& info) {
  if (S_ISREG(info.st_mode)) {
    return 0;
  }
  return S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
}

// The directory part of a path, slash included; empty for a name alone.
std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary files this process has open, so that its own stray ones can be told apart.
class OpenTemporaries {
 public:
  void Add(const std::string& path) {
    std::lock_guard lock(mutex_);
    paths_.insert(path);
  }
  void Remove(const std::string& path) {
    std::lock_guard lock(mutex_);
    paths_.erase(path);
  }
  bool Contains(const std::string& path) {
    std::lock_guard lock(mutex_);
    return paths_.count(path) != 0;
  }

 private:
  std::mutex mutex_;
  std::set<std::string> paths_;
};

OpenTemporaries& open_temporaries() {
  static OpenTemporaries temporaries;
  return temporaries;
}

// The writer's process id in a temporary file name of `target_name`; 0 when it is none.
pid_t TemporaryOwner(std::string_view name, std::string_view target_name) {
  if (name.size() <= target_name.size() + 1 || !name.starts_with(target_name) ||
      name[target_name.size()] != '.' || !name.ends_with(kTemporarySuffix)) {
    return 0;
  }
  name.remove_prefix(target_name.size() + 1);
  name.remove_suffix(std::string_view(kTemporarySuffix).size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || name.size() - dot - 1 != kTemporaryTag) {
    return 0;
  }
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dot, pid);
  return error == std::errc() && end == name.data() + dot && pid > 0 ? pid : 0;
}

// True when the temporary file `path`, written by process `pid`, has no writer any more:
// its process has ended, or it is this process and the file is not one of its open ones.
bool TemporaryAbandoned(const std::string& path, pid_t pid) {
  if (pid == ::getpid()) {
    return !open_temporaries().Contains(path);
  }
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the temporary files of `target` that their writers left behind.
void RemoveAbandonedTemporaries(const std::string& target) {
  const std::string directory = DirectoryOf(target);
  const std::string target_name = FileNameOf(target);
  DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
  if (listing == nullptr) {
    return;
  }
  while (const dirent* entry = ::readdir(listing)) {
    const pid_t pid = TemporaryOwner(entry->d_name, target_name);
    const std::string path = directory + entry->d_name;
    if (pid != 0 && TemporaryAbandoned(path, pid)) {
      ::unlink(path.c_str());
    }
  }
  ::closedir(listing);
}

std::string RandomTag() {
  static thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, kTagCharacters.size() - 1);
  std::string tag(kTemporaryTag, ' ');
  for (char& c : tag) {
    c = kTagCharacters[pick(random)];
  }
  return tag;
}

// Writes all of `size` bytes; 0 or the error code.
int WriteAll(int descriptor, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(descriptor, data, size);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

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

std::string NativePath(std::string_view suite_path) {
  std::string path(suite_path);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

FILE* OpenFile(std::string_view suite_path, const char* mode) {
  const std::string path = NativePath(suite_path);
  struct stat info {};
  // Refused before opening: opening a FIFO waits for its other end, a device may act on it.
  if (::stat(path.c_str(), &info) == 0 && RegularFileError(info) != 0) {
    errno = RegularFileError(info);
    return nullptr;
  }
  const int descriptor = ::open(path.c_str(), OpenFlags(mode) | O_NONBLOCK, kNewFileMode);
  if (descriptor < 0) {
    return nullptr;
  }
  // Checked again on the open file: the name may have been replaced in between.
  int error = ::fstat(descriptor, &info) == 0 ? RegularFileError(info) : errno;
  if (error == 0 && ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
    error = errno;
  }
  std::string stream_mode(mode);
  std::erase(stream_mode, 'x');
  FILE* file = error == 0 ? ::fdopen(descriptor, stream_mode.c_str()) : nullptr;
  if (file == nullptr) {
    error = error != 0 ? error : errno;
    ::close(descriptor);
    errno = error;
  }
  return file;
}

FILE* OpenReadFile(std::string_view suite_path, const char* mode) {
  FILE* file = OpenFile(suite_path, mode);
  struct stat info {};
  if (file != nullptr && ::fstat(fileno(file), &info) == 0 &&
      static_cast<std::size_t>(info.st_size) > kMaxReadBytes) {
    std::fclose(file);
    errno = EFBIG;
    return nullptr;
  }
  return file;
}

bool WithinReadLimit(FILE* file) {
  const long position = std::ftell(file);
  return position >= 0 && static_cast<std::size_t>(position) <= kMaxReadBytes;
}

int MakeDirectory(std::string_view suite_path) {
  return ::mkdir(NativePath(suite_path).c_str(), 0777) == 0 ? 0 : errno;
}

bool FileExists(std::string_view suite_path) {
  struct stat info {};
  return ::stat(NativePath(suite_path).c_str(), &info) == 0;
}

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

bool IsTemporaryOf(std::string_view name, std::string_view target_name) {
  return TemporaryOwner(name, target_name) != 0;
}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

void AtomicFileWriter::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    open_temporaries().Remove(temporary_);
    temporary_.clear();
  }
  std::free(memory_);
  memory_ = nullptr;
  memory_size_ = 0;
}

FILE* AtomicFileWriter::Open(std::string_view suite_path) {
  if (file_ != nullptr) {
    errno = EBUSY;
    return nullptr;
  }
  target_ = NativePath(suite_path);
  struct stat info {};
  const bool exists = ::stat(target_.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) {
    open_error_ = errno;
  } else if (exists && S_ISDIR(info.st_mode)) {
    open_error_ = EISDIR;
  } else if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
    open_error_ = errno;  // a read-only target is not replaced behind its owner's back
  } else {
    RemoveAbandonedTemporaries(target_);
    open_error_ = OpenTemporary(exists ? info.st_mode & kPermissionBits : 0, exists,
                                exists ? info.st_uid : 0, exists ? info.st_gid : 0);
    const bool directory_closed =
        open_error_ == EACCES || open_error_ == EPERM || open_error_ == EROFS;
    if (directory_closed && exists) {
      open_error_ = OpenInPlace();
    }
  }
  errno = open_error_;
  return open_error_ == 0 ? file_ : nullptr;
}

int AtomicFileWriter::OpenTemporary(unsigned mode, bool keep_owner, unsigned owner,
                                    unsigned group) {
  int descriptor = -1;
  for (int attempt = 0; attempt < kCreateAttempts && descriptor < 0; ++attempt) {
    temporary_ = target_ + "." + std::to_string(::getpid()) + "." + RandomTag() + kTemporarySuffix;
    descriptor = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (descriptor < 0 && errno != EEXIST) {
      break;
    }
  }
  if (descriptor < 0) {
    const int error = errno;
    temporary_.clear();
    return error;
  }
  open_temporaries().Add(temporary_);
  if (keep_owner) {
    // Best effort: only a privileged process may hand a file to another owner.
    [[maybe_unused]] const int owned = ::fchown(descriptor, owner, group);
    ::fchmod(descriptor, mode);
  }
  file_ = ::fdopen(descriptor, "w");
  if (file_ == nullptr) {
    const int error = errno;
    ::close(descriptor);
    Discard();
    return error;
  }
  return 0;
}

int AtomicFileWriter::OpenInPlace() {
  file_ = ::open_memstream(&memory_, &memory_size_);
  return file_ == nullptr ? errno : 0;
}

int AtomicFileWriter::Commit() {
  if (file_ == nullptr) {
    return EBADF;
  }
  const int error = temporary_.empty() ? CommitInPlace() : CommitTemporary();
  Discard();
  return error;
}

int AtomicFileWriter::CommitTemporary() {
  const bool written =
      std::fflush(file_) == 0 && !std::ferror(file_) && ::fsync(fileno(file_)) == 0;
  int error = written ? 0 : (errno ? errno : EIO);
  if (std::fclose(file_) != 0 && error == 0) {
    error = errno;
  }
  file_ = nullptr;
  if (error == 0 && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error = errno;
  }
  if (error == 0) {
    open_temporaries().Remove(temporary_);
    temporary_.clear();  // renamed: nothing left to remove
  }
  return error;
}

int AtomicFileWriter::CommitInPlace() {
  if (std::fclose(file_) != 0) {
    file_ = nullptr;
    return errno != 0 ? errno : EIO;
  }
  file_ = nullptr;
  FILE* target = OpenFile(target_, "r+");
  if (target == nullptr) {
    return errno;
  }
  const int descriptor = fileno(target);
  int error = WriteAll(descriptor, memory_, memory_size_);
  if (error == 0 && ::ftruncate(descriptor, static_cast<off_t>(memory_size_)) != 0) {
    error = errno;
  }
  if (error == 0 && ::fsync(descriptor) != 0) {
    error = errno;
  }
  if (std::fclose(target) != 0 && error == 0) {
    error = errno;
  }
  return error;
}
