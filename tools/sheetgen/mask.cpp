// Rasterising shapes into masks. A pixel belongs to a shape when its centre
// lies inside it, which keeps edges crisp and symmetric.
#include "mask.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>

Mask::Mask(int width, int height)
    : width_(width), height_(height), bits_(static_cast<std::size_t>(width * height)) {}

bool Mask::operator()(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    return bits_[static_cast<std::size_t>(y * width_ + x)];
}

void Mask::Set(int x, int y, bool on) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    bits_[static_cast<std::size_t>(y * width_ + x)] = on;
}

int Mask::Count() const {
    return static_cast<int>(std::count(bits_.begin(), bits_.end(), true));
}

Mask& Mask::Polygon(std::initializer_list<Point> points) {
    return Polygon(std::vector<Point>(points));
}

// Even-odd scanline fill sampled at pixel centres.
Mask& Mask::Polygon(const std::vector<Point>& points) {
    const std::size_t n = points.size();
    if (n < 3) return *this;
    std::vector<double> crossings;
    for (int y = 0; y < height_; ++y) {
        const double sy = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % n];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
                crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = static_cast<int>(std::ceil(crossings[i] - 0.5));
            const int to = static_cast<int>(std::floor(crossings[i + 1] - 0.5));
            for (int x = std::max(from, 0); x <= std::min(to, width_ - 1); ++x)
                Set(x, y);
        }
    }
    return *this;
}

Mask& Mask::Ellipse(double cx, double cy, double rx, double ry) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Set(x, y);
        }
    }
    return *this;
}

Mask& Mask::Box(int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            Set(x, y);
    return *this;
}

// Bresenham's line.
Mask& Mask::Line(int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Set(x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    return *this;
}

Mask& Mask::Add(const Mask& other) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (other(x, y)) Set(x, y);
    return *this;
}

Mask& Mask::Cut(const Mask& other) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (other(x, y)) Set(x, y, false);
    return *this;
}

Mask& Mask::Keep(const Mask& other) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!other(x, y)) Set(x, y, false);
    return *this;
}

Mask Mask::Border() const {
    Mask out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Mask& m = *this;
            if (m(x, y) && (!m(x - 1, y) || !m(x + 1, y) || !m(x, y - 1) || !m(x, y + 1)))
                out.Set(x, y);
        }
    }
    return out;
}

Mask Mask::Inner() const {
    Mask out = *this;
    out.Cut(Border());
    return out;
}

Mask Mask::Grown() const {
    Mask out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((*this)(x + dx, y + dy)) out.Set(x, y);
    return out;
}
