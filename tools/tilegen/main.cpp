// Writes the game's tile bitmaps, its icon and the Qt resource file listing them:
//   tilegen [resource directory]      (default: game/res)
// The output depends on nothing but this program, so running it twice gives the same
// bytes. It is built with the suite but run by hand when the artwork changes.
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "icon.h"
#include "tiles.h"

namespace {

constexpr char kDefaultResourceDir[] = "game/res";
constexpr char kIconFile[] = "nrv7.png";
constexpr char kResourceFile[] = "rv7res.qrc";
constexpr char kTileDir[] = "tiles";

bool write_bytes(const std::filesystem::path& path, std::span<const char> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "tilegen: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

bool write_icon(const std::filesystem::path& path) {
  const tilegen::Raster icon = tilegen::render_icon();
  const tilegen::Palette& palette = tilegen::icon_palette();
  QImage image(icon.size(), icon.size(), QImage::Format_ARGB32);
  for (int y = 0; y < icon.size(); ++y) {
    for (int x = 0; x < icon.size(); ++x) {
      const std::uint8_t index = icon.at(x, y);
      if (index >= tilegen::kPaletteSize) {
        image.setPixel(x, y, qRgba(0, 0, 0, 0));
        continue;
      }
      const tilegen::Rgb c = palette[index];
      image.setPixel(x, y, qRgb(c.red, c.green, c.blue));
    }
  }
  if (!image.save(QString::fromStdString(path.string()), "PNG")) {
    std::fprintf(stderr, "tilegen: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path res_dir = argc > 1 ? argv[1] : kDefaultResourceDir;
  std::error_code error;
  std::filesystem::create_directories(res_dir / kTileDir, error);
  if (error) {
    std::fprintf(stderr, "tilegen: cannot create %s: %s\n", (res_dir / kTileDir).string().c_str(),
                 error.message().c_str());
    return 1;
  }
  const std::vector<tilegen::TileFile> tiles = tilegen::render_all_tiles();
  bool ok = true;
  for (const tilegen::TileFile& tile : tiles) {
    const auto* data = reinterpret_cast<const char*>(tile.bytes.data());
    ok = write_bytes(res_dir / kTileDir / (tile.name + ".bmp"), {data, tile.bytes.size()}) && ok;
  }
  const std::string qrc = tilegen::resource_file_text(tiles, kIconFile);
  ok = write_bytes(res_dir / kResourceFile, {qrc.data(), qrc.size()}) && ok;
  ok = write_icon(res_dir / kIconFile) && ok;
  std::printf("tilegen: %zu tiles, %s and %s written to %s\n", tiles.size(), kResourceFile,
              kIconFile, res_dir.string().c_str());
  return ok ? 0 : 1;
}
