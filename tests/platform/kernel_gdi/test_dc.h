// A device context over plain memory for the GDI tests: an 8-bit surface
// with a row pitch wider than the surface and guard bytes all around, all
// filled with a sentinel, so that a test can tell every byte written
// outside the surface.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "device_context.h"

namespace test {

constexpr uint8_t kSentinel = 0xEE;

// A palette whose entries all differ: entry i has red i.
inline const PALETTEENTRY* DistinctPalette() {
    static const std::array<PALETTEENTRY, 256> palette = [] {
        std::array<PALETTEENTRY, 256> p{};
        for (int i = 0; i < 256; i++)
            p[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i * 3), static_cast<BYTE>(i * 7), 0};
        return p;
    }();
    return palette.data();
}

inline COLORREF ColorOf(const PALETTEENTRY* palette, int index) {
    return RGB(palette[index].peRed, palette[index].peGreen, palette[index].peBlue);
}

class TestDC final : public HDC__ {
  public:
    static constexpr int kPad = 3;    // extra bytes at the end of each row
    static constexpr int kGuard = 64; // bytes before and after the surface

    TestDC(int width, int height, const PALETTEENTRY* palette = DistinctPalette(), bool withPixels = true)
        : width_(width), height_(height), palette_(palette), withPixels_(withPixels),
          memory_(2 * kGuard + static_cast<size_t>(height) * (width + kPad), kSentinel) {}

    uint8_t* Bits() override { return withPixels_ ? memory_.data() + kGuard : nullptr; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Pitch() const override { return width_ + kPad; }
    const PALETTEENTRY* Palette() const override { return palette_; }
    void Touched() override { touches++; }

    uint8_t& At(int x, int y) { return memory_[kGuard + static_cast<size_t>(y) * Pitch() + x]; }

    void Fill(uint8_t index) {
        for (int y = 0; y < height_; y++)
            for (int x = 0; x < width_; x++) At(x, y) = index;
    }

    // True when no byte outside the surface (guards, row padding) changed.
    bool OutsideUntouched() const {
        for (size_t i = 0; i < memory_.size(); i++) {
            bool inGuard = i < kGuard || i >= memory_.size() - kGuard;
            bool inPad = !inGuard && (i - kGuard) % Pitch() >= static_cast<size_t>(width_);
            if ((inGuard || inPad) && memory_[i] != kSentinel) return false;
        }
        return true;
    }

    int touches = 0;

  private:
    int width_, height_;
    const PALETTEENTRY* palette_;
    bool withPixels_;
    std::vector<uint8_t> memory_;
};

} // namespace test
