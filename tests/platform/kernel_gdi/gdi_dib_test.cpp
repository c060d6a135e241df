// StretchDIBits onto a device context's 8-bit surface: every bit depth and
// row order, source rectangles, stretching and mirroring, clipping at each
// edge without a byte written off the surface, colour matching and refusals.
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "headless.h"
#include "test_dc.h"

namespace {

using test::TestDC;
using Picture = std::function<int(int x, int y)>; // x, y from the top-left

constexpr uint8_t kBackground = 254;

// The palette index that value v of a <= 8 bpp DIB shows: its colour-table
// entry holds the colour of that palette entry.
int TableIndex(int v) { return (v * 37 + 11) & 255; }

// What the surface shows for a pixel of value v: for direct colour, v is the
// palette entry whose colour the pixel holds.
int Shown(int bitCount, int v) { return bitCount <= 8 ? TableIndex(v) : v; }

struct TestDib {
    std::vector<uint8_t> info; // header and a 256-entry colour table
    std::vector<uint8_t> bits;

    BITMAPINFOHEADER& Header() { return *reinterpret_cast<BITMAPINFOHEADER*>(info.data()); }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

void PutPixel(uint8_t* row, int bitCount, int x, int v) {
    const PALETTEENTRY& entry = test::DistinctPalette()[v & 255];
    switch (bitCount) {
    case 1: row[x >> 3] |= static_cast<uint8_t>((v & 1) << (7 - (x & 7))); break;
    case 4: row[x >> 1] |= static_cast<uint8_t>((v & 15) << ((x & 1) ? 0 : 4)); break;
    case 8: row[x] = static_cast<uint8_t>(v); break;
    case 16: // v is the X1R5G5B5 value itself
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        break;
    default: {
        uint8_t* p = row + (bitCount / 8) * x;
        p[0] = entry.peBlue, p[1] = entry.peGreen, p[2] = entry.peRed;
    }
    }
}

TestDib MakeDib(int bitCount, bool topDown, int width, int height, const Picture& value) {
    TestDib dib;
    dib.info.assign(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER& h = dib.Header();
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = topDown ? -height : height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = BI_RGB;
    auto* table = reinterpret_cast<RGBQUAD*>(dib.info.data() + sizeof(BITMAPINFOHEADER));
    for (int v = 0; bitCount <= 8 && v < (1 << bitCount); v++) {
        const PALETTEENTRY& entry = test::DistinctPalette()[TableIndex(v)];
        table[v] = {entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
    size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    dib.bits.assign(stride * height, 0);
    for (int y = 0; y < height; y++) {
        uint8_t* row = dib.bits.data() + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; x++) PutPixel(row, bitCount, x, value(x, y));
    }
    return dib;
}

// Checks every surface pixel: expected(x, y) where it is >= 0, the
// background elsewhere; and nothing written off the surface.
void ExpectSurface(TestDC& dc, const Picture& expected) {
    std::ostringstream wrong;
    int mismatches = 0;
    for (int y = 0; y < dc.Height(); y++)
        for (int x = 0; x < dc.Width(); x++) {
            int want = expected(x, y) >= 0 ? expected(x, y) : kBackground;
            if (dc.At(x, y) != want && mismatches++ < 8)
                wrong << " (" << x << "," << y << ")=" << int(dc.At(x, y)) << " want " << want;
        }
    EXPECT_EQ(mismatches, 0) << wrong.str();
    EXPECT_TRUE(dc.OutsideUntouched());
}

// The picture of a w x h DIB painted unscaled at (left, top).
Picture Placed(int left, int top, int w, int h, const Picture& shown) {
    return [=](int x, int y) {
        int px = x - left, py = y - top;
        return px >= 0 && py >= 0 && px < w && py < h ? shown(px, py) : -1;
    };
}

class GdiDib : public ::testing::Test {
  protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

TEST_F(GdiDib, PaintsEveryDepthInBothRowOrders) {
    const int width = 5, height = 3; // rows padded at every depth
    for (int bitCount : {1, 4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bitCount << " bpp, " << (topDown ? "top-down" : "bottom-up"));
            int levels = bitCount >= 8 ? 256 : 1 << bitCount;
            Picture value = [=](int x, int y) { return (x * 3 + y * 7 + 1) % levels; };
            TestDib dib = MakeDib(bitCount, topDown, width, height, value);
            TestDC dc(9, 6);
            dc.Fill(kBackground);
            int lines = StretchDIBits(&dc, 2, 1, width, dib.Header().biHeight, 0, 0, width, dib.Header().biHeight,
                                      dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
            if (topDown) {
                // Negative heights run upward from row 1: only the picture's
                // top row lands, on row 1.
                EXPECT_EQ(lines, height);
                ExpectSurface(dc, Placed(2, 1, width, 1, [&](int x, int y) { return Shown(bitCount, value(x, y)); }));
                dc.Fill(kBackground);
                lines = StretchDIBits(&dc, 2, 1, width, height, 0, 0, width, height, dib.bits.data(), dib.Info(),
                                      DIB_RGB_COLORS, SRCCOPY);
            }
            EXPECT_EQ(lines, height);
            ExpectSurface(dc, Placed(2, 1, width, height, [&](int x, int y) { return Shown(bitCount, value(x, y)); }));
            EXPECT_GE(dc.touches, 1);
        }
    }
}

TEST_F(GdiDib, SourceOriginCountsFromTheBottomExceptForTopDownCopiesFromTheOrigin) {
    // 2 x 2 blocks out of a 4 x 4 DIB; which picture pixel lands top-left.
    struct Case {
        bool topDown;
        int xSrc, ySrc, w, h;
        int left, top; // of the block, in the picture
    } cases[] = {
        {false, 0, 0, 2, 2, 0, 2}, {false, 1, 1, 2, 2, 1, 1}, {false, 0, 2, 4, 2, 0, 0},
        {true, 0, 0, 2, 2, 0, 0},  {true, 1, 0, 2, 2, 1, 2},  {true, 1, 1, 2, 2, 1, 1},
    };
    Picture value = [](int x, int y) { return x + 4 * y; };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.topDown ? "top-down " : "bottom-up ") << c.xSrc << "," << c.ySrc << " "
                                        << c.w << "x" << c.h);
        TestDib dib = MakeDib(8, c.topDown, 4, 4, value);
        TestDC dc(5, 5);
        dc.Fill(kBackground);
        EXPECT_EQ(StretchDIBits(&dc, 1, 1, c.w, c.h, c.xSrc, c.ySrc, c.w, c.h, dib.bits.data(), dib.Info(),
                                DIB_RGB_COLORS, SRCCOPY),
                  4);
        ExpectSurface(dc, Placed(1, 1, c.w, c.h, [&](int x, int y) { return TableIndex(value(c.left + x, c.top + y)); }));
    }
}

TEST_F(GdiDib, StretchesAndShrinksByNearestPixel) {
    Picture value = [](int x, int y) { return 10 * y + x; };
    TestDib small = MakeDib(8, false, 2, 2, value);
    TestDC dc(6, 6);
    dc.Fill(kBackground);
    EXPECT_EQ(StretchDIBits(&dc, 1, 1, 4, 4, 0, 0, 2, 2, small.bits.data(), small.Info(), DIB_RGB_COLORS, SRCCOPY), 2);
    ExpectSurface(dc, Placed(1, 1, 4, 4, [&](int x, int y) { return TableIndex(value(x / 2, y / 2)); }));

    TestDib large = MakeDib(8, false, 4, 4, value);
    dc.Fill(kBackground);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 2, 2, 0, 0, 4, 4, large.bits.data(), large.Info(), DIB_RGB_COLORS, SRCCOPY), 4);
    ExpectSurface(dc, Placed(0, 0, 2, 2, [&](int x, int y) { return TableIndex(value(2 * x, 2 * y)); }));
}

TEST_F(GdiDib, OppositeSignsMirror) {
    Picture value = [](int x, int y) { return 10 * y + x; };
    TestDib dib = MakeDib(8, false, 3, 2, value);
    auto shown = [&](int x, int y) { return TableIndex(value(x, y)); };
    struct Case {
        int xDest, yDest, dw, dh, xSrc, sw;
        Picture expected;
    } cases[] = {
        // Destination runs leftward from column 2: mirrored left to right.
        {2, 0, -3, 2, 0, 3, [&](int x, int y) { return x < 3 && y < 2 ? shown(2 - x, y) : -1; }},
        // Both run leftward: not mirrored.
        {2, 0, -3, 2, 2, -3, [&](int x, int y) { return x < 3 && y < 2 ? shown(x, y) : -1; }},
        // Destination runs upward from row 1: upside down.
        {0, 1, 3, -2, 0, 3, [&](int x, int y) { return x < 3 && y < 2 ? shown(x, 1 - y) : -1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dw << "x" << c.dh << " from " << c.xSrc << " width " << c.sw);
        TestDC dc(4, 3);
        dc.Fill(kBackground);
        EXPECT_EQ(StretchDIBits(&dc, c.xDest, c.yDest, c.dw, c.dh, c.xSrc, 0, c.sw, 2, dib.bits.data(), dib.Info(),
                                DIB_RGB_COLORS, SRCCOPY),
                  2);
        ExpectSurface(dc, c.expected);
    }
}

TEST_F(GdiDib, ClipsToTheSurfaceAtEveryEdge) {
    Picture value = [](int x, int y) { return 16 * y + x; };
    TestDib dib = MakeDib(8, false, 4, 4, value);
    auto shown = [&](int x, int y) { return TableIndex(value(x, y)); };
    struct Case {
        int x, y, size; // destination, square; the source is all 4 x 4
    } cases[] = {
        {-2, -2, 4}, {4, -1, 4}, {-1, 3, 4}, {3, 2, 4}, {-3, -3, 12}, {-10, 0, 4}, {6, 0, 4}, {0, 9, 4}, {-2, 1, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " size " << c.size);
        TestDC dc(6, 5);
        dc.Fill(kBackground);
        EXPECT_EQ(StretchDIBits(&dc, c.x, c.y, c.size, c.size, 0, 0, 4, 4, dib.bits.data(), dib.Info(),
                                DIB_RGB_COLORS, SRCCOPY),
                  4);
        ExpectSurface(dc, Placed(c.x, c.y, c.size, c.size,
                                 [&](int x, int y) { return shown(x * 4 / c.size, y * 4 / c.size); }));
    }
}

TEST_F(GdiDib, ReadsNothingOutsideTheDib) {
    Picture value = [](int x, int y) { return 16 * y + x; };
    TestDib dib = MakeDib(8, false, 4, 4, value);
    TestDC dc(6, 6);
    dc.Fill(kBackground);
    // Columns -1 and 4 of the source do not exist: those steps stay unpainted.
    EXPECT_EQ(StretchDIBits(&dc, 0, 1, 6, 4, -1, 0, 6, 4, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 4);
    ExpectSurface(dc, [&](int x, int y) {
        return x >= 1 && x <= 4 && y >= 1 && y <= 4 ? TableIndex(value(x - 1, y - 1)) : -1;
    });

    dc.Fill(kBackground);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 4, 0, 4, 4, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 0, 4, 4, 4, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
    ExpectSurface(dc, [](int, int) { return -1; });
}

TEST_F(GdiDib, DirectColoursGoToTheNearestEntry) {
    // 24 bpp: (101, 46, 186) is nearest to entry 100 of the distinct palette.
    TestDib dib = MakeDib(24, false, 2, 1, [](int x, int) { return x == 0 ? 100 : 7; });
    dib.bits[0] = 186, dib.bits[1] = 46, dib.bits[2] = 101;
    TestDC dc(2, 1);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 2, 1, 0, 0, 2, 1, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(dc.At(0, 0), 100);
    EXPECT_EQ(dc.At(1, 0), 7);

    // 16 bpp X1R5G5B5 onto the default palette: white, red, blue, and black
    // whose first entry is 0.
    const int colors[] = {0x7FFF, 0x7C00, 0x001F, 0x0000};
    const int expected[] = {255, 249, 252, 0};
    TestDib wide = MakeDib(16, true, 4, 1, [&](int x, int) { return colors[x]; });
    TestDC defaultDC(4, 1, platform::DefaultPalette());
    defaultDC.Fill(kBackground);
    EXPECT_EQ(StretchDIBits(&defaultDC, 0, 0, 4, 1, 0, 0, 4, 1, wide.bits.data(), wide.Info(), DIB_RGB_COLORS, SRCCOPY), 1);
    for (int x = 0; x < 4; x++) EXPECT_EQ(defaultDC.At(x, 0), expected[x]) << x;
}

TEST_F(GdiDib, ColourTableEntriesAreMatchedAsTheirUseSays) {
    Picture value = [](int x, int) { return x; };
    TestDib dib = MakeDib(8, false, 6, 1, value);
    TestDC dc(6, 1);

    // Only 3 colours in the table: values past it show black (entry 0 here).
    dib.Header().biClrUsed = 3;
    StretchDIBits(&dc, 0, 0, 6, 1, 0, 0, 6, 1, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    for (int x = 0; x < 6; x++) EXPECT_EQ(dc.At(x, 0), x < 3 ? TableIndex(x) : 0) << x;

    // DIB_PAL_COLORS: the table holds 16-bit indices into the context's palette.
    dib.Header().biClrUsed = 0;
    auto* indices = reinterpret_cast<WORD*>(dib.info.data() + sizeof(BITMAPINFOHEADER));
    for (int v = 0; v < 256; v++) indices[v] = static_cast<WORD>(255 - v);
    StretchDIBits(&dc, 0, 0, 6, 1, 0, 0, 6, 1, dib.bits.data(), dib.Info(), DIB_PAL_COLORS, SRCCOPY);
    for (int x = 0; x < 6; x++) EXPECT_EQ(dc.At(x, 0), 255 - x) << x;
}

TEST_F(GdiDib, AnImageInTheSurfacePaletteKeepsItsIndices) {
    // The program's case: an 8-bit image whose colour table is the palette
    // of the surface it is painted on.
    const int width = 256, height = 3;
    Picture value = [](int x, int y) { return (x + 85 * y) & 255; };
    TestDib dib = MakeDib(8, false, width, height, value);
    auto* table = reinterpret_cast<RGBQUAD*>(dib.info.data() + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; i++) {
        const PALETTEENTRY& e = test::DistinctPalette()[i];
        table[i] = {e.peBlue, e.peGreen, e.peRed, 0};
    }
    TestDC dc(width, height);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, width, height, 0, 0, width, height, dib.bits.data(), dib.Info(),
                            DIB_RGB_COLORS, SRCCOPY),
              height);
    ExpectSurface(dc, value);
}

TEST_F(GdiDib, RefusesWhatItCannotPaint) {
    struct Case {
        const char* what;
        std::function<void(TestDib&)> spoil;
        UINT usage = DIB_RGB_COLORS;
        DWORD rop = SRCCOPY;
    } cases[] = {
        {"RLE8", [](TestDib& d) { d.Header().biCompression = BI_RLE8; }},
        {"bit fields", [](TestDib& d) { d.Header().biCompression = BI_BITFIELDS; }},
        {"2 bpp", [](TestDib& d) { d.Header().biBitCount = 2; }},
        {"0 bpp", [](TestDib& d) { d.Header().biBitCount = 0; }},
        {"core header", [](TestDib& d) { d.Header().biSize = 12; }},
        {"odd header size", [](TestDib& d) { d.Header().biSize = 41; }},
        {"zero width", [](TestDib& d) { d.Header().biWidth = 0; }},
        {"negative width", [](TestDib& d) { d.Header().biWidth = -4; }},
        {"zero height", [](TestDib& d) { d.Header().biHeight = 0; }},
        {"no planes", [](TestDib& d) { d.Header().biPlanes = 0; }},
        {"over 4 GB", [](TestDib& d) { d.Header().biWidth = 0x7FFFFFFF, d.Header().biHeight = 8; }},
        {"unknown usage", [](TestDib&) {}, 2},
        {"other raster operation", [](TestDib&) {}, DIB_RGB_COLORS, 0x00EE0086},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestDib dib = MakeDib(8, false, 4, 4, [](int x, int y) { return x + y; });
        c.spoil(dib);
        TestDC dc(4, 4);
        dc.Fill(kBackground);
        EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 0, 0, 4, 4, dib.bits.data(), dib.Info(), c.usage, c.rop), 0);
        ExpectSurface(dc, [](int, int) { return -1; });
        EXPECT_EQ(dc.touches, 0);
    }
}

TEST_F(GdiDib, RefusesMissingPointersAndContextsWithoutPixels) {
    TestDib dib = MakeDib(8, false, 4, 4, [](int x, int y) { return x + y; });
    TestDC dc(4, 4);
    TestDC noPixels(4, 4, test::DistinctPalette(), false);
    dc.Fill(kBackground);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 0, 0, 4, 4, nullptr, dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 0, 0, 4, 4, dib.bits.data(), nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(&noPixels, 0, 0, 4, 4, 0, 0, 4, 4, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 4, 4, 0, 0, 4, 4, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY), 0);
    ExpectSurface(dc, [](int, int) { return -1; });
}

} // namespace
