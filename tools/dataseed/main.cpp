// Seeds or upgrades a player's data directory from the bundled one (./play runs it):
//   dataseed BUNDLED_DIR PLAYER_DIR
// Tells on standard output what it added or kept back; exits with 1 when a file could not
// be read or written.
#include <cstdio>

#include "dataseed.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dataseed BUNDLED_DIR PLAYER_DIR\n");
    return 2;
  }
  const dataseed::SeedReport report = dataseed::seed_data_dir(argv[1], argv[2]);
  if (report.seeded) {
    std::printf("Data directory %s made.\n", argv[2]);
  }
  for (const std::string& set : report.added) {
    std::printf("New level set: %s\n", set.c_str());
  }
  for (const std::string& set : report.kept_back) {
    std::printf("Level set not added: %s\n", set.c_str());
  }
  for (const std::string& error : report.errors) {
    std::fprintf(stderr, "dataseed: %s\n", error.c_str());
  }
  return report.errors.empty() ? 0 : 1;
}
