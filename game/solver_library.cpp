#include "solver_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "dialog_base.h"
#include "rv7log.h"

namespace {

constexpr const char* kLogModule = kDialogLogModule;
constexpr char kSolverEntry[] = "Rv7Solver2";
constexpr char kAbortEntry[] = "Rv7SolverAbort";

std::optional<std::string> g_directory;

std::string FirstSearchDirectory() {
  if (g_directory) {
    return *g_directory;
  }
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : program.parent_path().string();
}

void* OpenLibrary() {
  const std::string directory = FirstSearchDirectory();
  if (!directory.empty()) {
    const std::string beside = (std::filesystem::path(directory) / kSolverLibraryFile).string();
    if (void* handle = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      RV7_LOG(kLogInfo, "solver, %s", beside.c_str());
      return handle;
    }
  }
  void* handle = dlopen(kSolverLibraryFile, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    RV7_LOG(kLogInfo, "no solver, %s", dlerror());
  }
  return handle;
}

}  // namespace

SolverLibrary::SolverLibrary() : handle_(OpenLibrary()) {
  if (handle_ != nullptr) {
    solver_ = reinterpret_cast<Rv7Solver2Fn>(dlsym(handle_, kSolverEntry));
    abort_ = reinterpret_cast<Rv7SolverAbortFn>(dlsym(handle_, kAbortEntry));
  }
}

SolverLibrary::~SolverLibrary() {
  Unload();
}

void SolverLibrary::Unload() {
  if (handle_ != nullptr) {
    dlclose(handle_);
  }
  handle_ = nullptr;
  solver_ = nullptr;
  abort_ = nullptr;
}

void SetSolverDirectory(std::optional<std::string> directory) {
  g_directory = std::move(directory);
}
