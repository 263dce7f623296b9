// Writer of 16-colour (4 bits per pixel) Windows bitmap files.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "raster.h"

namespace tilegen {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

inline constexpr int kPaletteSize = 16;
using Palette = std::array<Rgb, kPaletteSize>;

// The complete file: file header, 40-byte info header, the 16 palette entries and the
// rows bottom-up, two pixels a byte (high nibble first), each row padded to 4 bytes.
// Pixel indices must be below 16; higher bits are dropped.
std::vector<std::uint8_t> encode_bmp4(const Raster& image, const Palette& palette);

}  // namespace tilegen
