// A small seeded random source whose sequence is the same with every compiler and standard
// library (the standard distributions are not), so that a level set can be made again,
// square for square, from the command line that made it.
#pragma once

#include <cstdint>

namespace levels {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  // The next 64 random bits (SplitMix64).
  std::uint64_t next();
  // A number from 0 to bound - 1; bound must be positive.
  int below(int bound);
  // A number from low to high, both included; low <= high.
  int between(int low, int high);
  // True in about `percent` of 100 calls.
  bool chance(int percent);

 private:
  std::uint64_t state_;
};

// Seed of the n-th item made under one run seed: each item gets a stream of its own, so an
// item is the same whatever happened to the items before it.
std::uint64_t derive_seed(std::uint64_t run_seed, std::uint64_t n);

}  // namespace levels
