// Test helpers shared by every test folder: a scratch directory made current for the life of
// an object, and whole files written from inline texts and read back.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

// A fresh directory made current for the life of the object, then removed (and the previous
// current directory restored). Tests may run in parallel, so every one of them works in its
// own. `prefix` starts the directory's name; `base` is where it is made. When it cannot be
// made the test fails, made() is false and the current directory stays as it was.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(
      std::string_view prefix = "rv7test",
      const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      ADD_FAILURE() << "mkdtemp failed for " << pattern;
      return;
    }
    path_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~ScratchDirectory() {
    if (!path_.empty()) {
      std::error_code ignored;
      std::filesystem::current_path(previous_, ignored);
      std::filesystem::remove_all(path_, ignored);
    }
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  bool made() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Writes `text` byte for byte to `path`, replacing the file and making missing directories
// on the way. Returns false when the file could not be written.
inline bool WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  if (path.has_parent_path()) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out.good();
}

// The file's bytes; empty when it does not exist or cannot be read.
inline std::string ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
