#include "bmp4.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tilegen {
namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A 3 x 3 image whose pixel (x, y) holds the index 3y + x.
Raster counting_image() {
  Raster image(3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      Mask one(3);
      one.set(x, y);
      image.paint(one, static_cast<std::uint8_t>(3 * y + x));
    }
  }
  return image;
}

constexpr std::size_t kPixelOffset = 14 + 40 + 16 * 4;

TEST(TilegenBmp4, HeadersDescribeASixteenColourImageStoredBottomUp) {
  const std::vector<std::uint8_t> file = encode_bmp4(counting_image(), Palette{});
  ASSERT_EQ(file.size(), kPixelOffset + 3 * 4);  // each 3-pixel row padded to 4 bytes
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(u32(file, 2), file.size());
  EXPECT_EQ(u32(file, 10), kPixelOffset);
  EXPECT_EQ(u32(file, 14), 40u);
  EXPECT_EQ(u32(file, 18), 3u);  // width
  EXPECT_EQ(u32(file, 22), 3u);  // positive height: bottom-up
  EXPECT_EQ(u16(file, 26), 1);   // planes
  EXPECT_EQ(u16(file, 28), 4);   // bits per pixel
  EXPECT_EQ(u32(file, 30), 0u);  // uncompressed
  EXPECT_EQ(u32(file, 34), 12u);
  EXPECT_EQ(u32(file, 46), 16u);  // colours used
}

TEST(TilegenBmp4, RowsRunBottomUpTwoPixelsAByteHighNibbleFirst) {
  const std::vector<std::uint8_t> file = encode_bmp4(counting_image(), Palette{});
  const std::vector<std::uint8_t> pixels(file.begin() + kPixelOffset, file.end());
  const std::vector<std::uint8_t> expected{0x67, 0x80, 0, 0, 0x34, 0x50, 0, 0, 0x01, 0x20, 0, 0};
  EXPECT_EQ(pixels, expected);
}

TEST(TilegenBmp4, PaletteEntriesAreBlueGreenRedAndAZeroByte) {
  Palette palette{};
  palette[0] = {10, 20, 30};
  palette[15] = {200, 100, 50};
  const std::vector<std::uint8_t> file = encode_bmp4(Raster(1), palette);
  const std::size_t table = 14 + 40;
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + table, file.begin() + table + 4),
            (std::vector<std::uint8_t>{30, 20, 10, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + table + 60, file.begin() + table + 64),
            (std::vector<std::uint8_t>{50, 100, 200, 0}));
}

TEST(TilegenBmp4, RowPaddingFollowsTheWidth) {
  // 15 pixels take 8 bytes, 23 take 12, 47 take 24: each row rounded up to 4 bytes.
  for (const auto& [size, row] : {std::pair{15, 8}, std::pair{23, 12}, std::pair{47, 24}}) {
    EXPECT_EQ(encode_bmp4(Raster(size), Palette{}).size(),
              kPixelOffset + static_cast<std::size_t>(row * size))
        << size;
  }
}

}  // namespace
}  // namespace tilegen
