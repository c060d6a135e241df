// Palette indices to canvas RGBA, row by changed row.
#include "web_canvas.h"

#include <cstddef>
#include <cstring>

#include "presentation.h"

namespace webhost {

namespace {

// An RGBA texel as the canvas reads it from memory: R first, A last.
uint32_t RgbaTexel(const host::PaletteEntry& e) {
    uint8_t bytes[4] = {e.red, e.green, e.blue, 0xFF};
    uint32_t texel;
    std::memcpy(&texel, bytes, 4);
    return texel;
}

} // namespace

bool CanvasFrame::PaletteChanged(const host::PaletteEntry* palette) {
    if (known_ && std::memcmp(palette_.data(), palette, sizeof(palette_)) == 0) return false;
    std::memcpy(palette_.data(), palette, sizeof(palette_));
    for (size_t i = 0; i < table_.size(); i++) table_[i] = RgbaTexel(palette_[i]);
    return true;
}

RowSpan CanvasFrame::Update(const uint8_t* pixels, int width, int height, int pitch,
                            const host::PaletteEntry* palette) {
    if (!pixels || !palette || width <= 0 || height <= 0 || pitch < width) return {};
    bool all = false;
    if (width != width_ || height != height_) {
        width_ = width;
        height_ = height;
        indices_.assign(static_cast<size_t>(width) * height, 0);
        rgba_.assign(static_cast<size_t>(width) * height, 0);
        known_ = false;
    }
    if (!known_) all = true;
    if (PaletteChanged(palette)) all = true;
    known_ = true;

    RowSpan span{height, 0};
    for (int y = 0; y < height; y++) {
        const uint8_t* src = pixels + static_cast<ptrdiff_t>(y) * pitch;
        uint8_t* kept = &indices_[static_cast<size_t>(y) * width];
        if (!all && std::memcmp(src, kept, static_cast<size_t>(width)) == 0) continue;
        std::memcpy(kept, src, static_cast<size_t>(width));
        hostcommon::ConvertToArgb(src, pitch, &rgba_[static_cast<size_t>(y) * width], width, width,
                                  1, table_.data());
        if (y < span.first) span.first = y;
        span.last = y + 1;
    }
    if (span.first >= span.last) return {};
    return span;
}

} // namespace webhost
