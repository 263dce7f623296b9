// The one file layer of the suite. Paths are given as the suite builds them, with "\" as
// separator ("Mazes\Screens\Screens.12"); they become "/" only here, at the system call.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// The readers of level, score and settings files read no more than this many bytes of a
// file: far above any real one (a score file with five solutions and a bookmark of the
// longest history holds about 0.6 MB), so that a file that never ends cannot hold a program.
// A larger file is treated as unreadable.
inline constexpr std::size_t kMaxReadBytes = std::size_t{16} << 20;

// The suite path with every "\" turned into "/".
std::string NativePath(std::string_view suite_path);

// fopen() of the native path, for regular files only: a path that names a directory
// (EISDIR), a FIFO, a device or a link to one (EINVAL) is refused before anything could block
// on it, so a reader never hangs on a file that does not end. nullptr on failure (errno set).
FILE* OpenFile(std::string_view suite_path, const char* mode);

// OpenFile for reading ("r" or "rb") that also refuses a file larger than kMaxReadBytes
// (EFBIG).
FILE* OpenReadFile(std::string_view suite_path, const char* mode);

// True while `file`, read from its start, has not gone past kMaxReadBytes. For readers that
// must stop on a file that grows while it is read; asks the system, so call it every few
// thousand lines, not every line.
bool WithinReadLimit(FILE* file);

// Creates one directory. Returns 0, or the system error code (EEXIST when it exists).
int MakeDirectory(std::string_view suite_path);

// True when a file or directory exists at the path.
bool FileExists(std::string_view suite_path);

// Copies a whole file. With fail_if_exists an existing target is left alone and EEXIST is
// returned. Returns 0 or the system error code.
int CopyWholeFile(std::string_view from, std::string_view to, bool fail_if_exists);

// Writes a file by replacing it atomically: the text goes to a temporary file beside the
// target, which is renamed over the target only when everything was written, flushed to disk
// and closed. A crash or a full disk therefore never leaves a half-written target.
//
// - The temporary file has a name of its own, "<target>.<pid>.<six characters>.tmp", made
//   with an exclusive create, so two processes writing the same target never share one; the
//   last rename wins and the target is always one complete file. Temporary files of the
//   target left by a process that has ended (killed while writing) are removed by the next
//   writer of that target.
// - A target that exists but may not be written (a read-only file) is refused with the
//   system's reason (EACCES, EROFS) and stays as it is; a directory is refused with EISDIR.
//   A replaced target keeps its permission bits (and its owner and group where the process
//   may set them).
// - A writable target in a directory where no temporary file can be made (a read-only
//   directory) is written in place: the whole text is collected first and written over the
//   target at Commit.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();  // an uncommitted temporary file is removed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Opens the temporary file for the target; nullptr on failure, with the system error code
  // in open_error() (and errno).
  FILE* Open(std::string_view suite_path);
  // Closes the temporary file and renames it over the target (or writes the target in
  // place). Returns 0 or the system error code; on failure the target is unchanged, except
  // that a failed in-place write may leave it partly written.
  int Commit();
  // The system error code of the last failed Open; 0 after a successful one.
  int open_error() const { return open_error_; }

 private:
  int OpenTemporary(unsigned mode, bool keep_owner, unsigned owner, unsigned group);
  int OpenInPlace();
  int CommitTemporary();
  int CommitInPlace();
  void Discard();

  FILE* file_ = nullptr;
  std::string target_;
  std::string temporary_;   // empty while writing in place
  char* memory_ = nullptr;  // the collected text of an in-place write
  std::size_t memory_size_ = 0;
  int open_error_ = 0;
};

// The temporary-file name pattern of AtomicFileWriter, for tests: true when `name` (a file
// name without directory) is a temporary file of the target file name `target_name`.
bool IsTemporaryOf(std::string_view name, std::string_view target_name);
