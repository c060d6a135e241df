// CDib: blank images, the info block, releasing, painting and pixel operations.
#include <gtest/gtest.h>

#include <vector>

#include "bmp_builder.h"
#include "device_context.h"
#include "dib.h"
#include "headless.h"

namespace {

// A device context over plain memory with a grey-ramp palette.
class MemoryDC final : public HDC__ {
  public:
    MemoryDC(int width, int height) : width_(width), height_(height), pixels_(width * height, 0xAA) {
        for (int i = 0; i < 256; i++) palette_[i] = PALETTEENTRY{BYTE(i), BYTE(i), BYTE(i), 0};
    }
    uint8_t* Bits() override { return pixels_.data(); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Pitch() const override { return width_; }
    const PALETTEENTRY* Palette() const override { return palette_; }
    uint8_t At(int x, int y) const { return pixels_[y * width_ + x]; }

  private:
    int width_, height_;
    std::vector<uint8_t> pixels_;
    PALETTEENTRY palette_[256];
};

SIZE_T BlockSize(const void* pointer) { return GlobalSize(GlobalHandle(pointer)); }

TEST(CDib, NewObjectIsABlank640By480GreyRampImage) {
    CDib dib;
    EXPECT_EQ(dib.GetWidth(), 640);
    EXPECT_EQ(dib.GetHeight(), 480);
    ASSERT_NE(dib.lpBits, nullptr);
    ASSERT_EQ(BlockSize(dib.lpBits), 307200u);
    for (int i = 0; i < 307200; i++) ASSERT_EQ(dib.lpBits[i], 0) << i;
    ASSERT_EQ(BlockSize(dib.lpInfo), 1064u);
    EXPECT_EQ(dib.lpColorTable, dib.GetColorTable());
    EXPECT_EQ(reinterpret_cast<BYTE*>(dib.lpColorTable) - reinterpret_cast<BYTE*>(dib.lpInfo), 40);
    for (int i = 0; i < 256; i++) {
        const RGBQUAD& c = dib.lpColorTable[i];
        ASSERT_TRUE(c.rgbBlue == i && c.rgbGreen == i && c.rgbRed == i && c.rgbReserved == 0) << i;
    }
    EXPECT_EQ(dib.rcBounds.left, 0);
    EXPECT_EQ(dib.rcBounds.top, 0);
    EXPECT_EQ(dib.rcBounds.right, 640);
    EXPECT_EQ(dib.rcBounds.bottom, 480);
    const BITMAPINFOHEADER& h = dib.lpInfo->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed, 0u);
}

TEST(CDib, CreatePadsRowsToFourBytes) {
    CDib dib;
    ASSERT_TRUE(dib.Create(641, 2));
    EXPECT_EQ(BlockSize(dib.lpBits), 1288u); // rows of 644 bytes
    EXPECT_EQ(dib.rcBounds.right, 641);
    EXPECT_EQ(dib.rcBounds.bottom, 2);
}

TEST(CDib, CreateWithAZeroSizeFailsAndLeavesNoBlocks) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-4, 4}}) {
        CDib dib;
        EXPECT_FALSE(dib.Create(w, h));
        EXPECT_EQ(dib.lpInfo, nullptr);
        EXPECT_EQ(dib.lpBits, nullptr);
        EXPECT_EQ(dib.lpColorTable, nullptr);
        EXPECT_EQ(dib.GetWidth(), 0);
    }
}

TEST(CDib, FreeEmptiesTheObjectAndItCanBeFilledAgain) {
    CDib dib;
    dib.Free();
    EXPECT_EQ(dib.GetWidth(), 0);
    EXPECT_EQ(dib.GetHeight(), 0);
    EXPECT_EQ(dib.GetColorTable(), nullptr);
    EXPECT_EQ(dib.Paint(nullptr, 0, 0), 0);
    dib.Free(); // twice is harmless
    ASSERT_TRUE(dib.Create(8, 8));
    EXPECT_EQ(dib.GetWidth(), 8);
}

TEST(CDib, PaintDrawsTheImageUprightAtItsPosition) {
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2));
    // Bottom-up rows of 4 bytes: the bottom row comes first.
    const BYTE bits[8] = {10, 11, 12, 0, 20, 21, 22, 0};
    std::memcpy(dib.lpBits, bits, 8);
    MemoryDC dc(6, 4);
    EXPECT_EQ(dib.Paint(&dc, 2, 1), 2);
    EXPECT_EQ(dc.At(2, 1), 20);
    EXPECT_EQ(dc.At(4, 1), 22);
    EXPECT_EQ(dc.At(2, 2), 10);
    EXPECT_EQ(dc.At(1, 1), 0xAA); // untouched outside
    EXPECT_EQ(dc.At(5, 1), 0xAA);
}

TEST(CDib, TopDownImagePaintsUprightToo) {
    CDib dib;
    ASSERT_TRUE(dib.Create(3, 2));
    dib.lpInfo->bmiHeader.biHeight = -2; // the first stored row is the top one
    const BYTE bits[8] = {10, 11, 12, 0, 20, 21, 22, 0};
    std::memcpy(dib.lpBits, bits, 8);
    MemoryDC dc(6, 4);
    EXPECT_NE(dib.Paint(&dc, 1, 1), 0);
    EXPECT_EQ(dc.At(1, 1), 10);
    EXPECT_EQ(dc.At(3, 2), 22);
}

TEST(CDib, PaintRefusesAPixelBlockShorterThanTheRows) {
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4));
    dib.lpInfo->bmiHeader.biHeight = 400; // claims far more rows than the block holds
    MemoryDC dc(8, 8);
    EXPECT_EQ(dib.Paint(&dc, 0, 0), 0);
    RECT r{0, 0, 4, 4};
    EXPECT_EQ(dib.PaintRect(&dc, &r), 0);
    EXPECT_EQ(dc.At(0, 0), 0xAA);
    // The most negative height has no size at all (found by fuzzing).
    dib.lpInfo->bmiHeader.biHeight = INT32_MIN;
    EXPECT_EQ(dib.Paint(&dc, 0, 0), 0);
    RECT huge{INT32_MIN, 0, INT32_MAX, 4};
    EXPECT_EQ(dib.PaintRect(&dc, &huge), 0);
}

TEST(CDib, PixelOperationsUseThePaddedRowAndEitherRowOrder) {
    CDib dib;
    ASSERT_TRUE(dib.Create(5, 3)); // rows of 8 bytes
    for (int i = 0; i < 24; i++) dib.lpBits[i] = static_cast<BYTE>(i);
    EXPECT_EQ(dib.GetPixelByte(0, 2), 0);  // bottom row first in memory
    EXPECT_EQ(dib.GetPixelByte(4, 0), 20); // top row: offset 2 * 8 + 4
    EXPECT_EQ(dib.GetPixelIndex(1, 1), 9);
    EXPECT_EQ(dib.GetPixelByte(5, 0), 0); // outside: 0, nothing read
    EXPECT_EQ(dib.GetPixelByte(-1, 0), 0);
    dib.lpInfo->bmiHeader.biHeight = -3; // top-down
    EXPECT_EQ(dib.GetPixelByte(4, 0), 4);
}

TEST(CDib, CopyAreaTransparentSkipsTheKeyAndClipsToBothImages) {
    CDib source, dest;
    ASSERT_TRUE(source.Create(4, 4));
    ASSERT_TRUE(dest.Create(4, 4));
    for (int i = 0; i < 16; i++) source.lpBits[i] = static_cast<BYTE>(i % 3 == 0 ? 99 : i);
    std::memset(dest.lpBits, 7, 16);
    ASSERT_TRUE(dest.CopyAreaTransparent(&source, RECT{0, 0, 4, 4}, RECT{2, 2, 0, 0}, 99));
    for (int y = 0; y < 4; y++) {
        for (int x = 0; x < 4; x++) {
            BYTE want = 7;
            if (x >= 2 && y >= 2) {
                BYTE from = source.GetPixelByte(x - 2, y - 2);
                want = from == 99 ? 7 : from;
            }
            EXPECT_EQ(dest.GetPixelByte(x, y), want) << x << "," << y;
        }
    }
    ASSERT_TRUE(dest.CopyArea(&source, RECT{0, 0, 1, 1}, RECT{0, 0, 0, 0}));
    EXPECT_EQ(dest.GetPixelByte(0, 0), source.GetPixelByte(0, 0));
}

TEST(CDib, CopyInfoAndCopyColorsTakeTheOtherImagesColours) {
    CDib a, b;
    a.lpColorTable[5] = RGBQUAD{1, 2, 3, 77};
    b.lpColorTable[5].rgbReserved = 9;
    ASSERT_TRUE(b.CopyColors(&a));
    EXPECT_EQ(b.lpColorTable[5].rgbBlue, 1);
    EXPECT_EQ(b.lpColorTable[5].rgbRed, 3);
    EXPECT_EQ(b.lpColorTable[5].rgbReserved, 9); // kept
    ASSERT_TRUE(b.CopyInfo(&a));
    EXPECT_EQ(b.lpColorTable[5].rgbReserved, 77);
    EXPECT_EQ(std::memcmp(a.lpInfo, b.lpInfo, CDib::GetInfoSize()), 0);
    EXPECT_NE(a.lpInfo, b.lpInfo);
}

TEST(CDib, GdiPaletteHoldsTheImagesColours) {
    CDib dib;
    HPALETTE palette = dib.CreateGdiPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(DeleteObject(palette));
}

} // namespace
