// GDI on DirectDraw surfaces as the game uses it: a surface's device
// context matches colours on the palette in force (the surface's own, else
// the primary's), SetPixel stores the nearest entry and GetPixel answers the
// colour of the stored index, the colour-key probe through pixel (0, 0) of
// the primary, and StretchDIBits of a bottom-up 8-bit DIB onto the sheet.
#include "api_fixture.h"

namespace {

using api::ApiTest;
using Gdi = ApiTest;

// 256 entries that all differ, far enough apart that the nearest entry to
// each is itself; black at 0 and white at 255, as the sheet has them.
std::vector<PALETTEENTRY> Distinct() {
    std::vector<PALETTEENTRY> entries(256);
    for (int i = 0; i < 256; i++)
        entries[i] = {BYTE(i), BYTE((i * 7) & 0xFF), BYTE((i * 13) & 0xFF), 0};
    entries[0] = {0, 0, 0, 0};
    entries[255] = {255, 255, 255, 0};
    return entries;
}

COLORREF ColorOf(const std::vector<PALETTEENTRY>& entries, int i) {
    return RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
}

// An 8-bit bottom-up DIB with `entries` as its colour table.
struct Dib8 {
    BITMAPINFOHEADER header{};
    RGBQUAD colors[256]{};
    std::vector<uint8_t> bits;

    Dib8(int width, int height, const std::vector<PALETTEENTRY>& entries) {
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 8;
        header.biCompression = BI_RGB;
        header.biClrUsed = 256;
        for (int i = 0; i < 256; i++)
            colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        bits.assign(static_cast<size_t>(Stride()) * height, 0);
    }
    int Stride() const { return (header.biWidth + 3) & ~3; }
    // Row `y` counted from the top of the picture: the last row in memory.
    uint8_t& At(int x, int y) { return bits[static_cast<size_t>(header.biHeight - 1 - y) * Stride() + x]; }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(&header); }
};

TEST_F(Gdi, SetPixelStoresTheNearestEntryOfThePrimarysPaletteAndGetPixelAnswersIt) {
    Chain(2);
    std::vector<PALETTEENTRY> entries = Distinct();
    ASSERT_EQ(primary->SetPalette(Palette(entries.data())), DD_OK);
    LPDIRECTDRAWSURFACE sheet = Offscreen(8, 2);
    HDC hdc = nullptr;
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    for (int i : {1, 17, 100, 200, 254}) {
        COLORREF exact = ColorOf(entries, i);
        COLORREF nearby = RGB(entries[i].peRed ^ 1, entries[i].peGreen, entries[i].peBlue);
        SetPixel(hdc, i % 8, 0, exact);
        EXPECT_EQ(GetPixel(hdc, i % 8, 0), exact) << i;
        SetPixel(hdc, i % 8, 1, nearby);
        EXPECT_EQ(GetPixel(hdc, i % 8, 1), exact) << "nearest to entry " << i;
    }
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    std::vector<uint8_t> pixels = Pixels(sheet);
    EXPECT_EQ(pixels[200 % 8], 200);
    EXPECT_EQ(pixels[8 + 254 % 8], 254);
}

TEST_F(Gdi, ASurfacesOwnPaletteWinsOverThePrimarys) {
    Chain(2);
    std::vector<PALETTEENTRY> screen(256, PALETTEENTRY{0, 0, 0, 0}), own = screen;
    screen[255] = own[255] = {255, 255, 255, 0};
    screen[17] = {10, 20, 30, 0};
    own[99] = {10, 20, 30, 0};
    ASSERT_EQ(primary->SetPalette(Palette(screen.data())), DD_OK);
    LPDIRECTDRAWSURFACE sheet = Offscreen(4, 1);
    HDC hdc = nullptr;
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    SetPixel(hdc, 0, 0, RGB(10, 20, 30));
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    ASSERT_EQ(sheet->SetPalette(Palette(own.data())), DD_OK);
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    SetPixel(hdc, 1, 0, RGB(10, 20, 30));
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    std::vector<uint8_t> pixels = Pixels(sheet);
    EXPECT_EQ(pixels[0], 17);
    EXPECT_EQ(pixels[1], 99);
}

TEST_F(Gdi, ColourKeyProbeThroughThePrimaryFindsTheSheetsIndex) {
    // The game's way to a colour key: the colour of a sheet pixel, written
    // with GDI into pixel (0, 0) of the primary, then read through a lock.
    Chain(2);
    std::vector<PALETTEENTRY> entries = Distinct();
    ASSERT_EQ(primary->SetPalette(Palette(entries.data())), DD_OK);
    LPDIRECTDRAWSURFACE sheet = Offscreen(4, 4);
    Write(sheet, std::vector<uint8_t>(16, 0xC4));
    HDC sheetDC = nullptr, primaryDC = nullptr;
    ASSERT_EQ(sheet->GetDC(&sheetDC), DD_OK);
    ASSERT_EQ(primary->GetDC(&primaryDC), DD_OK);
    SetPixel(primaryDC, 0, 0, GetPixel(sheetDC, 1, 2));
    ASSERT_EQ(sheet->ReleaseDC(sheetDC), DD_OK);
    ASSERT_EQ(primary->ReleaseDC(primaryDC), DD_OK);
    EXPECT_EQ(First(primary), 0xC4);
}

TEST_F(Gdi, StretchDIBitsPaintsABottomUpDibWithItsIndicesKept) {
    Chain(2);
    std::vector<PALETTEENTRY> entries = Distinct();
    ASSERT_EQ(primary->SetPalette(Palette(entries.data())), DD_OK);
    constexpr int kW = 13, kH = 5; // a width that needs row padding
    Dib8 dib(kW, kH, entries);
    for (int y = 0; y < kH; y++)
        for (int x = 0; x < kW; x++) dib.At(x, y) = static_cast<uint8_t>(1 + y * 40 + x);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 8);
    ASSERT_EQ(Fill(sheet, 0), DD_OK);
    HDC hdc = nullptr;
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    EXPECT_EQ(StretchDIBits(hdc, 2, 1, kW, kH, 0, 0, kW, kH, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY),
              kH);
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    std::vector<uint8_t> pixels = Pixels(sheet);
    std::vector<uint8_t> expected(16 * 8, 0);
    for (int y = 0; y < kH; y++)
        for (int x = 0; x < kW; x++) expected[(1 + y) * 16 + 2 + x] = dib.At(x, y);
    EXPECT_EQ(pixels, expected);
}

TEST_F(Gdi, StretchDIBitsMatchesAForeignColourTableToTheNearestEntry) {
    Chain(2);
    std::vector<PALETTEENTRY> entries = Distinct();
    ASSERT_EQ(primary->SetPalette(Palette(entries.data())), DD_OK);
    std::vector<PALETTEENTRY> table(256, PALETTEENTRY{0, 0, 0, 0});
    table[1] = {BYTE(entries[60].peRed + 1), entries[60].peGreen, entries[60].peBlue, 0};
    table[2] = entries[255];
    Dib8 dib(2, 1, table);
    dib.At(0, 0) = 1;
    dib.At(1, 0) = 2;
    LPDIRECTDRAWSURFACE sheet = Offscreen(2, 1);
    HDC hdc = nullptr;
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    StretchDIBits(hdc, 0, 0, 2, 1, 0, 0, 2, 1, dib.bits.data(), dib.Info(), DIB_RGB_COLORS, SRCCOPY);
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    EXPECT_EQ(Pixels(sheet), (std::vector<uint8_t>{60, 255}));
}

} // namespace
