// A set of board cells as 256 bits, bit i for cell i. Moving every cell of a set by one
// direction offset is a shift of the whole set, so a region grows by all its neighbours at once.
#ifndef RV7SOLV_CELL_BITS_H
#define RV7SOLV_CELL_BITS_H

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace rv7solv {

class CellBits {
 public:
  static constexpr int32_t kWords = 4;
  static constexpr int32_t kWordBits = 64;

  bool test(int32_t cell) const { return ((words_[word(cell)] >> bit(cell)) & 1U) != 0; }
  void set(int32_t cell) { words_[word(cell)] |= uint64_t{1} << bit(cell); }
  void reset(int32_t cell) { words_[word(cell)] &= ~(uint64_t{1} << bit(cell)); }
  void assign(int32_t cell, bool value) { value ? set(cell) : reset(cell); }
  void clear() { words_ = {}; }

  // Cells cell, cell + 1 and cell + 2 as the three low bits.
  uint32_t three_from(int32_t cell) const {
    constexpr uint64_t kThree = 7;
    const uint32_t i = word(cell);
    const uint32_t b = bit(cell);
    uint64_t bits = words_[i] >> b;
    if (b > kWordBits - 3 && i + 1 < kWords) {
      bits |= words_[i + 1] << (kWordBits - b);
    }
    return static_cast<uint32_t>(bits & kThree);
  }

  // Lowest cell in the set, fallback when it is empty.
  int32_t lowest(int32_t fallback) const {
    for (int32_t i = 0; i < kWords; ++i) {
      if (words_[i] != 0) {
        return i * kWordBits + std::countr_zero(words_[i]);
      }
    }
    return fallback;
  }

  int32_t count() const {
    int32_t cells = 0;
    for (const uint64_t w : words_) {
      cells += ones(w);
    }
    return cells;
  }

  // The set, which lies within passable, grown through the cells of passable one ring of
  // neighbours (the cells 1 and `width` away, either way) at a time until it grows no more,
  // or, given a goal, until it holds every cell of the goal. width is below 64, and the sets
  // lie in the first `Words` words, which stay in registers all the way.
  template <int32_t Words>
  CellBits grown_within(const CellBits& passable, uint32_t width,
                        const CellBits* goal = nullptr) const {
    static_assert(Words >= 1 && Words <= kWords);
    std::array<uint64_t, Words> region;
    std::copy_n(words_.begin(), Words, region.begin());
    for (;;) {
      std::array<uint64_t, Words> grown;
      uint64_t changed = 0;
      for (int32_t i = 0; i < Words; ++i) {
        grown[i] = reach(region, i, width) & passable.words_[i];
        changed |= grown[i] ^ region[i];
      }
      region = grown;
      if (changed == 0 || (goal != nullptr && holds_goal<Words>(region, *goal))) {
        CellBits result;
        std::copy_n(region.begin(), Words, result.words_.begin());
        return result;
      }
    }
  }

  // The set with every cell 1 and `width` away from one of its cells, either way (width below
  // 64); cells beyond either end fall off.
  CellBits with_neighbours(uint32_t width) const {
    CellBits result;
    for (int32_t i = 0; i < kWords; ++i) {
      result.words_[i] = reach(words_, i, width);
    }
    return result;
  }

  // Every cell i moved to i + offset for any offset, cells falling off either end.
  CellBits moved(int32_t offset) const {
    const int32_t distance = offset < 0 ? -offset : offset;
    const int32_t whole = distance / kWordBits;
    const uint32_t part = static_cast<uint32_t>(distance % kWordBits);
    CellBits result;
    for (int32_t i = 0; i < kWords; ++i) {
      // Word i of the result takes word `from` shifted by part and the bits that part pushes
      // out of its neighbour `spill`.
      const int32_t from = offset < 0 ? i + whole : i - whole;
      const int32_t spill = offset < 0 ? from + 1 : from - 1;
      uint64_t value = 0;
      if (from >= 0 && from < kWords) {
        value = offset < 0 ? words_[from] >> part : words_[from] << part;
      }
      if (part != 0 && spill >= 0 && spill < kWords) {
        value |=
            offset < 0 ? words_[spill] << (kWordBits - part) : words_[spill] >> (kWordBits - part);
      }
      result.words_[i] = value;
    }
    return result;
  }

  // Whether every cell of other is in the set.
  bool holds(const CellBits& other) const { return other.without(*this) == CellBits(); }

  // Calls visit(cell) for every cell of the set in ascending order.
  template <typename Visit>
  void for_each(Visit visit) const {
    for (int32_t i = 0; i < kWords; ++i) {
      for (uint64_t rest = words_[i]; rest != 0; rest &= rest - 1) {
        visit(i * kWordBits + std::countr_zero(rest));
      }
    }
  }

  // The cells of this set that are not in other.
  CellBits without(const CellBits& other) const {
    CellBits result;
    for (int32_t i = 0; i < kWords; ++i) {
      result.words_[i] = words_[i] & ~other.words_[i];
    }
    return result;
  }

  CellBits& operator|=(const CellBits& other) {
    for (int32_t i = 0; i < kWords; ++i) {
      words_[i] |= other.words_[i];
    }
    return *this;
  }
  CellBits& operator&=(const CellBits& other) {
    for (int32_t i = 0; i < kWords; ++i) {
      words_[i] &= other.words_[i];
    }
    return *this;
  }
  friend CellBits operator|(CellBits a, const CellBits& b) { return a |= b; }
  friend CellBits operator&(CellBits a, const CellBits& b) { return a &= b; }
  bool operator==(const CellBits&) const = default;

 private:
  // The number of one bits of w, added up in ever wider fields. std::popcount would call a
  // helper of the compiler's run-time library where the processor's instruction cannot be
  // assumed, and the library links nothing but the C library.
  static int32_t ones(uint64_t w) {
    constexpr uint64_t kPairs = 0x5555555555555555U;
    constexpr uint64_t kQuads = 0x3333333333333333U;
    constexpr uint64_t kBytes = 0x0f0f0f0f0f0f0f0fU;
    constexpr uint64_t kByteSum = 0x0101010101010101U;
    constexpr int32_t kTopByte = 56;
    w -= (w >> 1) & kPairs;
    w = (w & kQuads) + ((w >> 2) & kQuads);
    w = (w + (w >> 4)) & kBytes;
    return static_cast<int32_t>((w * kByteSum) >> kTopByte);
  }

  // Word i of the cells of `words` (a set in its first N words) and of all cells 1 and
  // `width` away from them, either way; width is below 64.
  template <size_t N>
  static uint64_t reach(const std::array<uint64_t, N>& words, int32_t i, uint32_t width) {
    const uint32_t back = kWordBits - width;
    const uint64_t w = words[i];
    uint64_t cells = w | w << 1 | w >> 1 | w << width | w >> width;
    if (i > 0) {
      cells |= words[i - 1] >> (kWordBits - 1) | words[i - 1] >> back;
    }
    if (i + 1 < static_cast<int32_t>(N)) {
      cells |= words[i + 1] << (kWordBits - 1) | words[i + 1] << back;
    }
    return cells;
  }

  template <int32_t Words>
  static bool holds_goal(const std::array<uint64_t, Words>& region, const CellBits& goal) {
    uint64_t missing = 0;
    for (int32_t i = 0; i < Words; ++i) {
      missing |= goal.words_[i] & ~region[i];
    }
    return missing == 0;
  }

  // Cells are never negative; unsigned arithmetic spares the sign handling of / and %.
  static uint32_t word(int32_t cell) { return static_cast<uint32_t>(cell) / kWordBits; }
  static uint32_t bit(int32_t cell) { return static_cast<uint32_t>(cell) % kWordBits; }

  std::array<uint64_t, kWords> words_{};
};

}  // namespace rv7solv

#endif  // RV7SOLV_CELL_BITS_H
