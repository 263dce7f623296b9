// The program icon: a three-by-three level of set B in which the keeper pushes a crate
// towards a goal, with rounded corners.
#pragma once

#include "bmp4.h"
#include "raster.h"

namespace tilegen {

inline constexpr int kIconSize = 64;
// Index of the pixels outside the rounded square, beyond the 16 palette colours.
inline constexpr std::uint8_t kIconTransparent = kPaletteSize;

Raster render_icon();
const Palette& icon_palette();

}  // namespace tilegen
