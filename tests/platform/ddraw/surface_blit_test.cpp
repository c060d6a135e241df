// Blt (colour fill) and BltFast (opaque and colour-keyed copies): pixels
// against a simple model, refusals that must leave the destination alone,
// busy and still-drawing answers. The rectangles BltFast refuses and the
// opaque copy are in the API suite (tests/platform/api), which Wine runs too.
#include <random>

#include "ddraw_fixture.h"

namespace {

using Blit = DirectDrawTest;

std::vector<uint8_t> Noise(size_t count, uint32_t seed, int keyValue) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> pixels(count);
    // A third of the pixels are the key, the others anything, neighbours of
    // the key value included.
    for (uint8_t& p : pixels)
        p = rng() % 3 == 0 ? static_cast<uint8_t>(keyValue) : static_cast<uint8_t>(rng());
    return pixels;
}

// What BltFast must produce: `rect` of src (srcWidth wide) onto dst at (x, y).
void ModelCopy(const std::vector<uint8_t>& src, int srcWidth, RECT rect, std::vector<uint8_t>& dst,
               int dstWidth, int x, int y, const int* key) {
    for (int row = rect.top; row < rect.bottom; row++)
        for (int col = rect.left; col < rect.right; col++) {
            uint8_t p = src[row * srcWidth + col];
            if (key && p == *key) continue;
            dst[(y + row - rect.top) * dstWidth + x + col - rect.left] = p;
        }
}

TEST_F(Blit, ColorFillSetsEveryPixelOfTheRectangleToTheLowByte) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(20, 10);
    ASSERT_EQ(Fill(surface, 0x1AB), DD_OK);
    EXPECT_EQ(Pixels(surface), std::vector<uint8_t>(200, 0xAB));
    RECT rect{2, 3, 5, 7};
    ASSERT_EQ(Fill(surface, 9, &rect, DDBLT_WAIT), DD_OK);
    std::vector<uint8_t> expected(200, 0xAB);
    for (int y = 3; y < 7; y++)
        for (int x = 2; x < 5; x++)
            expected[y * 20 + x] = 9;
    EXPECT_EQ(Pixels(surface), expected);
}

TEST_F(Blit, BltRefusesAnythingButAColorFillThatFits) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(20, 10);
    LPDIRECTDRAWSURFACE other = Offscreen(20, 10);
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 7;
    RECT outside{10, 5, 21, 10}, empty{3, 3, 3, 5}, inverted{5, 5, 2, 8}, negative{-1, 0, 4, 4};
    EXPECT_EQ(surface->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    EXPECT_EQ(surface->Blt(&empty, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    EXPECT_EQ(surface->Blt(&inverted, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    EXPECT_EQ(surface->Blt(&negative, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, 0, &fx), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Blt(nullptr, other, nullptr, DDBLT_WAIT, &fx), DDERR_UNSUPPORTED);
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_ROP, &fx),
              DDERR_UNSUPPORTED);
    fx.dwSize = 100 + 1;
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS);
    EXPECT_EQ(Pixels(surface), std::vector<uint8_t>(200, 0));
}

TEST_F(Blit, BltFastChecksFlagsSourceAndKey) {
    Exclusive();
    LPDIRECTDRAWSURFACE src = Offscreen(8, 8);
    LPDIRECTDRAWSURFACE dst = Offscreen(8, 8);
    EXPECT_EQ(dst->BltFast(0, 0, nullptr, nullptr, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, 0x4), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_DESTCOLORKEY), DDERR_UNSUPPORTED);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
    SetKey(src, 3);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(src->SetColorKey(DDCKEY_SRCBLT, nullptr), DD_OK);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
}

TEST_F(Blit, ColorKeyedCopySkipsExactlyTheKeyAtEveryWidth) {
    Exclusive();
    // Up to 150 wide, so rows take several 16- and 64-pixel pieces and a tail.
    constexpr int kW = 160, kH = 6, kMax = 150;
    LPDIRECTDRAWSURFACE src = Offscreen(kW, kH);
    LPDIRECTDRAWSURFACE dst = Offscreen(kW, kH);
    for (int key : {0, 0x80, 0xFE, 0xFF}) {
        std::vector<uint8_t> source = Noise(kW * kH, 7u + key, key);
        Write(src, source);
        SetKey(src, static_cast<BYTE>(key));
        for (int width = 1; width <= kMax; width++) {
            std::vector<uint8_t> model = Noise(kW * kH, 99u + width, (key + 1) & 0xFF);
            Write(dst, model);
            RECT rect{3, 1, 3 + width, kH};
            DWORD x = static_cast<DWORD>(kMax + 6 - width);
            ASSERT_EQ(dst->BltFast(x, 0, src, &rect, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
            ModelCopy(source, kW, rect, model, kW, static_cast<int>(x), 0, &key);
            ASSERT_EQ(Pixels(dst), model) << "key " << key << " width " << width;
        }
    }
}

TEST_F(Blit, CopyWithinOneSurfaceHandlesOverlap) {
    Exclusive();
    constexpr int kW = 48, kH = 24;
    LPDIRECTDRAWSURFACE surface = Offscreen(kW, kH);
    SetKey(surface, 0x11);
    for (bool keyed : {false, true})
        for (int dy : {-3, 0, 3})
            for (int dx : {-5, 0, 5}) {
                std::vector<uint8_t> pixels = Noise(kW * kH, 11u + dx * 7 + dy, 0x11);
                Write(surface, pixels);
                RECT rect{8, 8, 8 + 30, 8 + 12};
                DWORD flags = DDBLTFAST_WAIT | (keyed ? DDBLTFAST_SRCCOLORKEY : 0);
                ASSERT_EQ(surface->BltFast(8 + dx, 8 + dy, surface, &rect, flags), DD_OK);
                int key = 0x11;
                std::vector<uint8_t> model = pixels;
                ModelCopy(pixels, kW, rect, model, kW, 8 + dx, 8 + dy, keyed ? &key : nullptr);
                ASSERT_EQ(Pixels(surface), model)
                    << "keyed " << keyed << " dx " << dx << " dy " << dy;
            }
}

TEST_F(Blit, DrawingOnThePrimaryShowsOnTheScreenAtOnce) {
    Exclusive();
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    ASSERT_EQ(Fill(primary, 4), DD_OK);
    EXPECT_EQ(headless::Screen().pixels, std::vector<uint8_t>(640 * 480, 4));
    LPDIRECTDRAWSURFACE sprite = Offscreen(2, 2);
    Write(sprite, {1, 2, 3, 6});
    ASSERT_EQ(primary->BltFast(638, 478, sprite, nullptr, 0), DD_OK);
    EXPECT_EQ(headless::Screen().pixels[479 * 640 + 639], 6);
    EXPECT_EQ(headless::FlipCount(), 0);
}

TEST_F(Blit, StillDrawingBlitterIsWaitedForOnlyWhenAsked) {
    Exclusive();
    LPDIRECTDRAWSURFACE src = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE dst = Offscreen(4, 4);
    Write(src, std::vector<uint8_t>(16, 9));
    headless::SetStillDrawing(1);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, 0), DDERR_WASSTILLDRAWING);
    headless::SetStillDrawing(1);
    EXPECT_EQ(Fill(dst, 3), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(Pixels(dst), std::vector<uint8_t>(16, 0));

    headless::SetStillDrawing(5);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Pixels(dst), std::vector<uint8_t>(16, 9));
    EXPECT_EQ(Fill(dst, 3), DD_OK); // the wait used up every busy answer
    headless::SetStillDrawing(2);
    EXPECT_EQ(Fill(dst, 4, nullptr, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(Pixels(dst), std::vector<uint8_t>(16, 4));
}

TEST_F(Blit, LockedOrDrawnOnSurfacesAreBusy) {
    Exclusive();
    LPDIRECTDRAWSURFACE src = Offscreen(4, 4);
    LPDIRECTDRAWSURFACE dst = Offscreen(4, 4);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    ASSERT_EQ(src->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
    EXPECT_EQ(Fill(src, 1), DDERR_SURFACEBUSY);
    ASSERT_EQ(src->Unlock(nullptr), DD_OK);
    HDC hdc = nullptr;
    ASSERT_EQ(dst->GetDC(&hdc), DD_OK);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DDERR_SURFACEBUSY);
    ASSERT_EQ(dst->ReleaseDC(hdc), DD_OK);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DD_OK);
}

} // namespace
