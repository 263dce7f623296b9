#include "write_failure.h"

#include <cstring>
#include <string>

#include "rv7log.h"

namespace {

constexpr char kLogModule[] = "rv7file";

WriteFailureReporter g_reporter = nullptr;

}  // namespace

void SetWriteFailureReporter(WriteFailureReporter reporter) {
  g_reporter = reporter;
}

void ReportWriteFailure(std::string_view path, int error) {
  const std::string text(path);
  RV7_LOG(kLogError, "write failed, %s, rc=%d, %s", text.c_str(), error, std::strerror(error));
  if (g_reporter != nullptr) {
    g_reporter(path, error);
  }
}
