// The one file layer of the suite. Paths are given as the suite builds them, with "\" as
// separator ("Mazes\Screens\Screens.12"); they become "/" only here, at the system call.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The suite path with every "\" turned into "/".
std::string NativePath(std::string_view suite_path);

// fopen() of the native path; nullptr on failure (errno set).
FILE* OpenFile(std::string_view suite_path, const char* mode);

// Creates one directory. Returns 0, or the system error code (EEXIST when it exists).
int MakeDirectory(std::string_view suite_path);

// True when a file or directory exists at the path.
bool FileExists(std::string_view suite_path);

// Copies a whole file. With fail_if_exists an existing target is left alone and EEXIST is
// returned. Returns 0 or the system error code.
int CopyWholeFile(std::string_view from, std::string_view to, bool fail_if_exists);

// Writes a file by replacing it atomically: the text goes to a temporary file beside the
// target, which is renamed over the target only when everything was written and closed.
// A crash or a full disk therefore never leaves a half-written file.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();  // an uncommitted temporary file is removed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Opens the temporary file for the target; nullptr on failure.
  FILE* Open(std::string_view suite_path);
  // Closes the temporary file and renames it over the target. Returns 0 or the error code.
  int Commit();

 private:
  FILE* file_ = nullptr;
  std::string target_;
  std::string temporary_;
};
