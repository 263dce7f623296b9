// Checks level files and prints a solution of each:
//   levelcheck FILE...
// One line per file on standard output: the level number (the file name's extension,
// as in "Screen.12") or the file name, a blank, and the step letters. Counts and search
// sizes go to standard error. Exits with 1 when a file is unreadable, malformed or has
// no solution found.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "level.h"
#include "solver.h"

namespace {

std::string level_label(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  const bool numbered =
      extension.size() > 1 && extension.find_first_not_of("0123456789", 1) == std::string::npos;
  return numbered ? extension.substr(1) : path.filename().string();
}

bool check_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot open\n", path.string().c_str());
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  const levels::ParseResult parsed = levels::parse_level(text.str());
  if (!parsed.level) {
    std::fprintf(stderr, "%s: %s\n", path.string().c_str(), parsed.error.c_str());
    return false;
  }
  const levels::SolveResult found = levels::solve(*parsed.level);
  if (!found.letters) {
    std::fprintf(stderr, "%s: %s after %zu positions\n", path.string().c_str(),
                 found.gave_up ? "gave up" : "no solution", found.positions);
    return false;
  }
  const levels::Replay replay = levels::replay_steps(*parsed.level, *found.letters);
  std::printf("%s %s\n", level_label(path).c_str(), found.letters->c_str());
  std::fprintf(stderr, "%s: %dx%d, %zu crates, %d moves, %d pushes, %zu positions\n",
               path.string().c_str(), parsed.level->width, parsed.level->height,
               parsed.level->crates.size(), replay.moves, replay.pushes, found.positions);
  return replay.solved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: levelcheck FILE...\n");
    return 2;
  }
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    ok = check_file(argv[i]) && ok;
  }
  return ok ? 0 : 1;
}
