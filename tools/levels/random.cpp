#include "random.h"

namespace levels {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

std::uint64_t mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

}  // namespace

std::uint64_t Random::next() {
  state_ += kGolden;
  return mix(state_);
}

int Random::below(int bound) {
  // The top bits are the best ones; the bias of a plain remainder is far below anything a
  // level could show.
  return static_cast<int>((next() >> 11) % static_cast<std::uint64_t>(bound));
}

int Random::between(int low, int high) {
  return low + below(high - low + 1);
}

bool Random::chance(int percent) {
  return below(100) < percent;
}

std::uint64_t derive_seed(std::uint64_t run_seed, std::uint64_t n) {
  return mix(run_seed * kGolden + mix(n + 1));
}

}  // namespace levels
