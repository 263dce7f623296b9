// The drawing interface every tile set implements, and the helper that places the parts
// of a keeper relative to the way it faces.
#pragma once

#include "bmp4.h"
#include "raster.h"

namespace tilegen {

enum class Facing { kLeft, kRight, kUp, kDown };

// One tile set: its letter, its 16 colours and how it draws each kind of square. The
// draw routines paint over what the raster holds already, so a crate or keeper drawn on
// a floor or goal raster keeps the ground visible around it.
class TileStyle {
 public:
  virtual ~TileStyle() = default;
  virtual char letter() const = 0;
  // Whether the set has keeper tiles facing up and down.
  virtual bool four_facings() const = 0;
  virtual const Palette& palette() const = 0;
  virtual void draw_floor(Raster& tile) const = 0;
  // The goal marker, drawn over a floor.
  virtual void draw_goal(Raster& tile) const = 0;
  virtual void draw_wall(Raster& tile) const = 0;
  virtual void draw_crate(Raster& tile, bool on_goal) const = 0;
  virtual void draw_keeper(Raster& tile, Facing facing, bool on_goal) const = 0;
};

const TileStyle& classic_style();  // set A
const TileStyle& flat_style();     // set B
const TileStyle& neon_style();     // set C

// Tile-unit coordinates seen from a keeper in the middle of the tile: "side" runs across
// the facing direction (to the keeper's right), "ahead" along it. Shapes built through it
// turn with the facing.
class Orient {
 public:
  Orient(int size, Facing facing) : size_(size), facing_(facing) {}
  Point at(double side, double ahead) const;
  Mask ellipse(double side, double ahead, double side_radius, double ahead_radius) const;
  Mask rect(double side0, double ahead0, double side1, double ahead1) const;

 private:
  int size_;
  Facing facing_;
};

}  // namespace tilegen
