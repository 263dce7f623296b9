// Reading level and score files: lines come in pieces of at most 255 characters, so a longer
// line is read as several.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "files.h"

inline constexpr int kLinePiece = 255;

struct ScopedFileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
// A file opened for reading, closed when it goes out of scope.
using ScopedFile = std::unique_ptr<FILE, ScopedFileCloser>;

// Calls `take` with every piece of the file, line feed included when it ended the piece. A
// zero byte ends the text of its piece, as for every reader of C text lines.
template <typename Take>
void read_line_pieces(FILE* file, Take take) {
  char buffer[kLinePiece + 1];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    take(std::string_view(buffer, std::strlen(buffer)));
  }
}
