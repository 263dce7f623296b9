// The solver library bound for one request: librv7solv.so loaded by name, its entry points
// looked up, and unloaded again when the binding ends, so that every solve starts on freshly
// loaded library storage and the game runs without the library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

inline constexpr char kSolverLibraryFile[] = "librv7solv.so";

using Rv7Solver2Fn = int32_t (*)(const int16_t* board, int32_t* code, int32_t* moves,
                                 int32_t* pushes, char* text, int32_t width, int32_t height);
using Rv7SolverAbortFn = void (*)();

class SolverLibrary {
 public:
  // Loads the library from the first-search directory (beside the running executable
  // unless a test chose another), else through the system's library search, and looks up
  // "Rv7Solver2" and "Rv7SolverAbort".
  SolverLibrary();
  ~SolverLibrary();
  SolverLibrary(const SolverLibrary&) = delete;
  SolverLibrary& operator=(const SolverLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // nullptr when the library is not loaded or lacks the entry point.
  Rv7Solver2Fn solver() const { return solver_; }
  // nullptr when the library cannot stop a search (an older build without the export).
  Rv7SolverAbortFn abort() const { return abort_; }

  // Unloads the library now; the entry points are gone afterwards.
  void Unload();

 private:
  void* handle_ = nullptr;
  Rv7Solver2Fn solver_ = nullptr;
  Rv7SolverAbortFn abort_ = nullptr;
};

// The directory searched first for the library; nullopt (the default) is the directory of
// the running executable.
void SetSolverDirectory(std::optional<std::string> directory);
