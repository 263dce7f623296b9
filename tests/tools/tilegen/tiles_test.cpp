// Checks the tile bitmaps, icon and resource file kept in game/res: that every tile the
// game asks for is listed and loadable under its exact name, is a 16-colour bitmap of its
// size, is what the generator draws today, and that tiles meant to differ do so clearly.
#include "tiles.h"

#include <gtest/gtest.h>
#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace tilegen {
namespace {

const std::string kResDir = std::string(RV7_SOURCE_DIR) + "/game/res/";

// The kinds each set must have, written out here rather than taken from the generator.
const std::vector<std::string> kLeftRightKinds{"GND",  "PKT",   "PKTS", "STORE", "WALL",
                                               "MANL", "MANLS", "MANR", "MANRS"};
const std::vector<std::string> kUpDownKinds{"MANU", "MANUS", "MAND", "MANDS"};

std::set<std::string> expected_names() {
  std::set<std::string> names;
  for (char set : {'A', 'B', 'C'}) {
    for (int size : {15, 23, 31, 39, 47}) {
      for (const std::string& kind : kLeftRightKinds) {
        names.insert(set + std::to_string(size) + kind);
      }
      for (const std::string& kind : kUpDownKinds) {
        if (set != 'A') {
          names.insert(set + std::to_string(size) + kind);
        }
      }
    }
  }
  return names;
}

std::vector<std::uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string read_text(const std::string& path) {
  const std::vector<std::uint8_t> bytes = read_bytes(path);
  return {bytes.begin(), bytes.end()};
}

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

QImage load_tile(const std::string& name) {
  return QImage(QString::fromStdString(":/tiles/" + name));
}

// Share of the pixels in which two images of one size differ.
double difference(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
  }
  return static_cast<double>(differing) / (a.width() * a.height());
}

TEST(TileResources, ResourceFileListsEveryTileUnderItsOwnNameAndTheIcon) {
  const std::string qrc = read_text(kResDir + "rv7res.qrc");
  const std::size_t tiles_block = qrc.find("<qresource prefix=\"/tiles\">");
  const std::size_t icon_block = qrc.find("<qresource prefix=\"/icon\">");
  ASSERT_NE(tiles_block, std::string::npos);
  ASSERT_NE(icon_block, std::string::npos);
  const std::string tiles =
      qrc.substr(tiles_block, qrc.find("</qresource>", tiles_block) - tiles_block);
  std::set<std::string> listed;
  int entries = 0;
  const std::string open = "<file alias=\"";
  for (std::size_t at = tiles.find(open); at != std::string::npos; at = tiles.find(open, at + 1)) {
    const std::size_t name_start = at + open.size();
    const std::string alias = tiles.substr(name_start, tiles.find('"', name_start) - name_start);
    const std::string expected_rest = alias + "\">tiles/" + alias + ".bmp</file>";
    EXPECT_EQ(tiles.compare(name_start, expected_rest.size(), expected_rest), 0)
        << "alias " << alias << " does not name its own file";
    listed.insert(alias);
    ++entries;
  }
  EXPECT_EQ(entries, 175);
  EXPECT_EQ(listed, expected_names());
  EXPECT_NE(qrc.find("<file>nrv7.png</file>", icon_block), std::string::npos);
}

TEST(TileResources, EveryTileFileIsASixteenColourBitmapOfItsSize) {
  for (const std::string& name : expected_names()) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> file = read_bytes(kResDir + "tiles/" + name + ".bmp");
    ASSERT_GE(file.size(), 118u);
    const std::uint32_t size = static_cast<std::uint32_t>(std::stoi(name.substr(1, 2)));
    const std::uint32_t row_bytes = (size * 4 + 31) / 32 * 4;
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(u32(file, 2), file.size());
    EXPECT_EQ(u32(file, 18), size);
    EXPECT_EQ(u32(file, 22), size);
    EXPECT_EQ(file[28], 4) << "bits per pixel";
    EXPECT_EQ(u32(file, 30), 0u) << "compression";
    EXPECT_LE(u32(file, 46), 16u) << "colours used";
    EXPECT_EQ(file.size(), u32(file, 10) + row_bytes * size);
  }
}

TEST(TileResources, GameLoadsEachTileByNameWithTheGeneratorsColours) {
  for (const TileStyle* style : all_styles()) {
    for (int size : kTileSizes) {
      for (const KindInfo& info : kKinds) {
        if (info.needs_four_facings && !style->four_facings()) {
          continue;
        }
        const std::string name = tile_name(style->letter(), size, info.name);
        SCOPED_TRACE(name);
        const QImage image = load_tile(name);
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.width(), size);
        ASSERT_EQ(image.height(), size);
        const Raster drawn = render_tile(*style, info.kind, size);
        for (int y = 0; y < size; ++y) {
          for (int x = 0; x < size; ++x) {
            const Rgb c = style->palette()[drawn.at(x, y)];
            ASSERT_EQ(QColor(image.pixel(x, y)), QColor(c.red, c.green, c.blue)) << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(TileResources, CommittedFilesAreExactlyWhatTheGeneratorWrites) {
  const std::vector<TileFile> tiles = render_all_tiles();
  ASSERT_EQ(tiles.size(), 175u);
  for (const TileFile& tile : tiles) {
    EXPECT_EQ(read_bytes(kResDir + "tiles/" + tile.name + ".bmp"), tile.bytes)
        << tile.name << " is stale: run tilegen game/res";
  }
  EXPECT_EQ(read_text(kResDir + "rv7res.qrc"), resource_file_text(tiles, "nrv7.png"));
  // A second run must give the same bytes, or the committed files would churn.
  const std::vector<TileFile> again = render_all_tiles();
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    EXPECT_EQ(again[i].bytes, tiles[i].bytes) << tiles[i].name;
  }
}

// At every size the player must tell each kind from the others at a glance: a crate on
// a goal from a crate, a keeper on a goal from a keeper, and one facing from another.
TEST(TileResources, TilesOfDifferentKindsLookClearlyDifferent) {
  struct Pair {
    const char* a;
    const char* b;
    double least;  // share of pixels that must differ
  };
  const std::vector<Pair> pairs{{"PKT", "PKTS", 0.25},   {"GND", "STORE", 0.08},
                                {"MANR", "MANRS", 0.03}, {"MANL", "MANLS", 0.03},
                                {"MANL", "MANR", 0.05},  {"PKT", "WALL", 0.3}};
  const std::vector<Pair> turning{{"MANU", "MAND", 0.02},
                                  {"MANU", "MANL", 0.02},
                                  {"MANUS", "MANU", 0.03},
                                  {"MANDS", "MAND", 0.03}};
  for (char set : {'A', 'B', 'C'}) {
    for (int size : {15, 23, 31, 39, 47}) {
      const std::string prefix = set + std::to_string(size);
      std::vector<Pair> checks = pairs;
      if (set != 'A') {
        checks.insert(checks.end(), turning.begin(), turning.end());
      }
      for (const Pair& p : checks) {
        EXPECT_GE(difference(load_tile(prefix + p.a), load_tile(prefix + p.b)), p.least)
            << prefix << p.a << " vs " << prefix << p.b;
      }
    }
  }
}

TEST(TileResources, SetAKeeperFacingLeftIsTheMirrorImageOfFacingRight) {
  for (int size : {15, 23, 31, 39, 47}) {
    const std::string prefix = std::string("A").append(std::to_string(size));
    const QImage left = load_tile(prefix + "MANL");
    const QImage right = load_tile(prefix + "MANR");
    // The floor's grout line runs along the left edge only, so compare the figure's columns.
    EXPECT_GT(difference(left, right), 0.0);
    int mismatched = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 1; x < size - 1; ++x) {
        mismatched += left.pixel(x, y) != right.pixel(size - 1 - x, y) ? 1 : 0;
      }
    }
    EXPECT_EQ(mismatched, 0) << size;
  }
}

TEST(TileResources, IconIsSixtyFourPixelsWithTransparentCorners) {
  const QImage icon(":/icon/nrv7.png");
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.size(), QSize(64, 64));
  EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(63, 63)), 0);
  EXPECT_EQ(qAlpha(icon.pixel(32, 32)), 255);
}

}  // namespace
}  // namespace tilegen
