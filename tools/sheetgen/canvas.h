// The sheet as palette indices, windows onto it with local coordinates, and
// the painting steps the art is made of: flat fills, bevel shading, outlines
// and glows.
#pragma once

#include <cstdint>
#include <vector>

#include "layout.h"
#include "mask.h"
#include "palette.h"

class Canvas {
  public:
    Canvas(int width, int height, uint8_t fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    uint8_t At(int x, int y) const; // the key colour outside the canvas
    void Set(int x, int y, uint8_t colour);
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

  private:
    int width_, height_;
    std::vector<uint8_t> pixels_;
};

// A rectangle of the canvas. Coordinates are relative to its top-left and
// every write is clipped to it, so a sprite cannot spill onto its neighbours.
class View {
  public:
    View(Canvas& canvas, Rect rect) : canvas_(canvas), rect_(rect) {}

    int Width() const { return rect_.Width(); }
    int Height() const { return rect_.Height(); }
    Mask NewMask() const { return Mask(Width(), Height()); }

    uint8_t At(int x, int y) const;
    void Set(int x, int y, uint8_t colour);
    void Box(int left, int top, int right, int bottom, uint8_t colour);
    void Line(int x0, int y0, int x1, int y1, uint8_t colour);
    void Fill(const Mask& mask, uint8_t colour);

  private:
    Canvas& canvas_;
    Rect rect_;
};

// Paints a shape lit from the top-left: ramp[base] inside, ramp[base + 1]
// along the top and left edges, ramp[base + 2] on top-left corners and
// ramp[base - 1] along the bottom and right edges (depth pixels deep).
void Shade(View& view, const Mask& shape, Ramp ramp, int base, int depth = 1);

// Shade, with the shape's own border drawn in a line colour.
void ShadeOutlined(View& view, const Mask& shape, Ramp ramp, int base, uint8_t line);

// Draws a line colour on every transparent pixel that touches a painted one
// on a side.
void Outline(View& view, uint8_t line);

// Paints rings of a ramp around a core: the core in the ramp's lightest shade
// and each ring one shade darker, `rings` deep.
void Glow(View& view, const Mask& core, Ramp ramp, int rings);
