// The emulated display's picture as the page's canvas takes it: RGBA bytes,
// converted from the frame's palette indices. Only the rows that changed
// since the previous frame are converted and handed to the canvas, so a
// frame where a few sprites moved costs a few rows.
// Nothing here touches the browser, so it is checked on its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host.h"

namespace webhost {

struct RowSpan {
    int first = 0; // first changed row
    int last = 0;  // one past the last changed row; first == last: nothing changed
    bool Empty() const { return first >= last; }
};

class CanvasFrame final {
  public:
    // Takes a width x height frame of indices (rows `pitch` bytes apart)
    // with its 256-entry palette. Every row is converted when the size or
    // the palette changed, else only the rows whose indices changed.
    // Returns the rows now different from what the canvas shows.
    RowSpan Update(const uint8_t* pixels, int width, int height, int pitch,
                   const host::PaletteEntry* palette);

    // Every row converted again on the next Update (the canvas was reset).
    void Invalidate() { known_ = false; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // width x height x 4 bytes, R, G, B, A, top row first.
    const uint8_t* Rgba() const { return reinterpret_cast<const uint8_t*>(rgba_.data()); }
    // The last frame taken, as palette indices (width x height, top row
    // first; null before the first), and its palette.
    const uint8_t* Indices() const { return indices_.empty() ? nullptr : indices_.data(); }
    const host::PaletteEntry* Palette() const { return palette_.data(); }

  private:
    bool PaletteChanged(const host::PaletteEntry* palette);

    int width_ = 0, height_ = 0;
    bool known_ = false;
    std::vector<uint8_t> indices_; // the frame the canvas shows
    std::vector<uint32_t> rgba_;
    std::array<host::PaletteEntry, 256> palette_{};
    std::array<uint32_t, 256> table_{};
};

} // namespace webhost
