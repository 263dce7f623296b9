#include "bmp4.h"

namespace tilegen {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPaletteBytes = kPaletteSize * 4;
constexpr std::uint16_t kBitsPerPixel = 4;
constexpr std::uint8_t kNibbleMask = 0x0F;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::uint32_t row_bytes(int width) {
  return ((static_cast<std::uint32_t>(width) + 7) / 8) * 4;
}

void put_headers(std::vector<std::uint8_t>& out, int size) {
  const std::uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + kPaletteBytes;
  const std::uint32_t image_bytes = row_bytes(size) * static_cast<std::uint32_t>(size);
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + image_bytes);
  put32(out, 0);  // two reserved 16-bit words
  put32(out, offset);
  put32(out, kInfoHeaderBytes);
  put32(out, static_cast<std::uint32_t>(size));
  put32(out, static_cast<std::uint32_t>(size));  // positive height: rows stored bottom-up
  put16(out, 1);                                 // planes
  put16(out, kBitsPerPixel);
  put32(out, 0);  // no compression
  put32(out, image_bytes);
  put32(out, 0);  // horizontal resolution: unspecified
  put32(out, 0);  // vertical resolution: unspecified
  put32(out, kPaletteSize);
  put32(out, kPaletteSize);
}

void put_palette(std::vector<std::uint8_t>& out, const Palette& palette) {
  for (const Rgb& colour : palette) {
    out.push_back(colour.blue);
    out.push_back(colour.green);
    out.push_back(colour.red);
    out.push_back(0);
  }
}

}  // namespace

std::vector<std::uint8_t> encode_bmp4(const Raster& image, const Palette& palette) {
  const int size = image.size();
  std::vector<std::uint8_t> out;
  put_headers(out, size);
  put_palette(out, palette);
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(row_bytes(size), 0);
    for (int x = 0; x < size; ++x) {
      const std::uint8_t index = image.at(x, y) & kNibbleMask;
      row[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace tilegen
