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
// zero byte ends the text of its piece, as for every reader of C text lines. Returns true when
// the file was read to its end; false after a read error or when the file went on past
// kMaxReadBytes, where reading stops: the caller treats such a file as unreadable.
template <typename Take>
bool read_line_pieces(FILE* file, Take take) {
  // The position is asked for only now and then: a piece holds at most kLinePiece bytes.
  constexpr unsigned kPiecesBetweenChecks = 4096;
  char buffer[kLinePiece + 1];
  unsigned pieces = 0;
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    if (++pieces % kPiecesBetweenChecks == 0 && !WithinReadLimit(file)) {
      return false;
    }
    take(std::string_view(buffer, std::strlen(buffer)));
  }
  return std::ferror(file) == 0 && WithinReadLimit(file);
}
