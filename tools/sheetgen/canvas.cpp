// Canvas storage and the shading, outlining and glow steps.
#include "canvas.h"

#include <cstddef>
#include <utility>

Canvas::Canvas(int width, int height, uint8_t fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

uint8_t Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return pal::kKey;
    return pixels_[static_cast<std::size_t>(y * width_ + x)];
}

void Canvas::Set(int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y * width_ + x)] = colour;
}

uint8_t View::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return pal::kKey;
    return canvas_.At(rect_.left + x, rect_.top + y);
}

void View::Set(int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    canvas_.Set(rect_.left + x, rect_.top + y, colour);
}

void View::Box(int left, int top, int right, int bottom, uint8_t colour) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            Set(x, y, colour);
}

void View::Line(int x0, int y0, int x1, int y1, uint8_t colour) {
    Fill(NewMask().Line(x0, y0, x1, y1), colour);
}

void View::Fill(const Mask& mask, uint8_t colour) {
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (mask(x, y)) Set(x, y, colour);
}

namespace {

// How far the shape continues from (x, y) in direction (dx, dy), up to limit.
int Run(const Mask& shape, int x, int y, int dx, int dy, int limit) {
    int n = 0;
    while (n < limit && shape(x + dx * (n + 1), y + dy * (n + 1)))
        ++n;
    return n;
}

} // namespace

void Shade(View& view, const Mask& shape, Ramp ramp, int base, int depth) {
    for (int y = 0; y < shape.Height(); ++y) {
        for (int x = 0; x < shape.Width(); ++x) {
            if (!shape(x, y)) continue;
            const bool top = !shape(x, y - 1), left = !shape(x - 1, y);
            const bool low = Run(shape, x, y, 0, 1, depth) < depth;
            const bool right = Run(shape, x, y, 1, 0, depth) < depth;
            int shade = base;
            if (top && left)
                shade = base + 2;
            else if (top || left)
                shade = base + 1;
            else if (low || right)
                shade = base - 1;
            view.Set(x, y, ramp[shade]);
        }
    }
}

void ShadeOutlined(View& view, const Mask& shape, Ramp ramp, int base, uint8_t line) {
    view.Fill(shape.Border(), line);
    Shade(view, shape.Inner(), ramp, base);
}

void Outline(View& view, uint8_t line) {
    std::vector<std::pair<int, int>> edge;
    for (int y = 0; y < view.Height(); ++y) {
        for (int x = 0; x < view.Width(); ++x) {
            if (view.At(x, y) != pal::kKey) continue;
            const auto painted = [&](int px, int py) {
                const uint8_t c = view.At(px, py);
                return c != pal::kKey && c != line;
            };
            if (painted(x - 1, y) || painted(x + 1, y) || painted(x, y - 1) || painted(x, y + 1))
                edge.emplace_back(x, y);
        }
    }
    for (auto [x, y] : edge)
        view.Set(x, y, line);
}

void Glow(View& view, const Mask& core, Ramp ramp, int rings) {
    std::vector<Mask> layers{core};
    for (int i = 0; i < rings; ++i)
        layers.push_back(layers.back().Grown());
    for (int i = rings; i >= 0; --i)
        view.Fill(layers[static_cast<std::size_t>(i)], ramp[ramp.count - 1 - i]);
}
