// The canvas frame: palette indices to RGBA bytes, and only the rows that
// changed handed on.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "web_canvas.h"

namespace {

using webhost::CanvasFrame;
using webhost::RowSpan;

std::array<host::PaletteEntry, 256> Grey() {
    std::array<host::PaletteEntry, 256> p{};
    for (int i = 0; i < 256; i++) {
        auto v = static_cast<uint8_t>(i);
        p[i] = {v, static_cast<uint8_t>(255 - v), static_cast<uint8_t>(v / 2), 0};
    }
    return p;
}

TEST(WebCanvas, ConvertsIndicesToRgbaBytesTopRowFirst) {
    auto palette = Grey();
    std::vector<uint8_t> pixels = {0, 10, 200, 255, 7, 8}; // 3 x 2, pitch 4 below
    std::vector<uint8_t> pitched = {0, 10, 200, 99, 255, 7, 8, 99};
    CanvasFrame frame;
    RowSpan rows = frame.Update(pitched.data(), 3, 2, 4, palette.data());
    EXPECT_EQ(rows.first, 0);
    EXPECT_EQ(rows.last, 2);
    const uint8_t* rgba = frame.Rgba();
    for (int i = 0; i < 6; i++) {
        const host::PaletteEntry& e = palette[pixels[i]];
        EXPECT_EQ(rgba[4 * i + 0], e.red) << i;
        EXPECT_EQ(rgba[4 * i + 1], e.green) << i;
        EXPECT_EQ(rgba[4 * i + 2], e.blue) << i;
        EXPECT_EQ(rgba[4 * i + 3], 255) << i; // opaque, whatever the entry's flags
    }
}

TEST(WebCanvas, OnlyChangedRowsAreHandedOn) {
    auto palette = Grey();
    const int w = 640, h = 480;
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h, 3);
    CanvasFrame frame;
    EXPECT_EQ(frame.Update(pixels.data(), w, h, w, palette.data()).last, h);
    EXPECT_TRUE(frame.Update(pixels.data(), w, h, w, palette.data()).Empty());

    pixels[100 * w + 5] = 9;
    pixels[250 * w + 639] = 9;
    RowSpan rows = frame.Update(pixels.data(), w, h, w, palette.data());
    EXPECT_EQ(rows.first, 100);
    EXPECT_EQ(rows.last, 251);
    EXPECT_EQ(frame.Rgba()[4 * (250 * w + 639)], palette[9].red);
}

TEST(WebCanvas, PaletteSizeOrInvalidationConvertsEverything) {
    auto palette = Grey();
    std::vector<uint8_t> pixels(64 * 8, 1);
    CanvasFrame frame;
    frame.Update(pixels.data(), 64, 8, 64, palette.data());
    palette[1].red = 77; // the same indices, another colour
    RowSpan rows = frame.Update(pixels.data(), 64, 8, 64, palette.data());
    EXPECT_EQ(rows.first, 0);
    EXPECT_EQ(rows.last, 8);
    EXPECT_EQ(frame.Rgba()[0], 77);

    frame.Invalidate();
    EXPECT_EQ(frame.Update(pixels.data(), 64, 8, 64, palette.data()).last, 8);
    EXPECT_EQ(frame.Update(pixels.data(), 32, 16, 32, palette.data()).last, 16);
    EXPECT_EQ(frame.Width(), 32);
}

TEST(WebCanvas, RefusesFramesItCannotRead) {
    auto palette = Grey();
    std::vector<uint8_t> pixels(16, 0);
    CanvasFrame frame;
    EXPECT_TRUE(frame.Update(nullptr, 4, 4, 4, palette.data()).Empty());
    EXPECT_TRUE(frame.Update(pixels.data(), 4, 4, 4, nullptr).Empty());
    EXPECT_TRUE(frame.Update(pixels.data(), 4, 4, 3, palette.data()).Empty()); // pitch < width
    EXPECT_TRUE(frame.Update(pixels.data(), 0, 4, 4, palette.data()).Empty());
    EXPECT_EQ(frame.Width(), 0);
}

} // namespace
