// A one-bit shape in a sprite's local coordinates. Shapes are built from
// polygons, ellipses and lines, combined, then painted onto a View.
#pragma once

#include <initializer_list>
#include <vector>

struct Point {
    double x, y;
};

class Mask {
  public:
    Mask(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool operator()(int x, int y) const;
    void Set(int x, int y, bool on = true);
    int Count() const;

    // Shapes add the pixels whose centres they cover.
    Mask& Polygon(std::initializer_list<Point> points);
    Mask& Polygon(const std::vector<Point>& points);
    Mask& Ellipse(double cx, double cy, double rx, double ry);
    Mask& Box(int left, int top, int right, int bottom); // right, bottom exclusive
    Mask& Line(int x0, int y0, int x1, int y1);          // one pixel wide, both ends

    Mask& Add(const Mask& other);
    Mask& Cut(const Mask& other);
    Mask& Keep(const Mask& other);

    Mask Border() const; // pixels with a 4-neighbour outside the shape
    Mask Inner() const;  // the shape without its border
    Mask Grown() const;  // the shape and its 8-neighbours

  private:
    int width_, height_;
    std::vector<bool> bits_;
};
