#include "fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tone.h"

namespace {

std::filesystem::path g_directory;

void RemoveFuzzDirectory() {
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(g_directory, ignored);
}

}  // namespace

void EnterFuzzDirectory() {
  if (!g_directory.empty()) {
    return;
  }
  const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/rv7fuzz-XXXXXX";
  FuzzCheck(::mkdtemp(pattern.data()) != nullptr, "scratch directory");
  g_directory = pattern;
  std::filesystem::current_path(g_directory);
  std::atexit(RemoveFuzzDirectory);
}

void WriteFuzzFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  FuzzCheck(out.good(), "fuzz input written");
}

std::string ReadFuzzFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FuzzCheck(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

// The speaker, silent and without the wait: a refused step beeps for 50 ms in the programs,
// which would slow every input that bumps into a wall to a crawl. These two definitions take
// the place of the platform's (this object is linked ahead of the platform library).
void PlayTone(int, int) {}
void SetBeepFallback(void (*)()) {}
