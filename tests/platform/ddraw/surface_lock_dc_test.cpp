// Direct access to surface pixels: Lock and Unlock, GetDC and ReleaseDC,
// the palette a device context sees, and the screen shown again when the
// visible front is given back.
#include "ddraw_fixture.h"

namespace {

using SurfaceAccess = DirectDrawTest;

DDSURFACEDESC EmptyDesc() {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    return desc;
}

TEST_F(SurfaceAccess, LockHandsOutThePixelsAndTheirFormat) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(30, 7);
    DDSURFACEDESC desc = EmptyDesc();
    ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_TRUE(desc.dwFlags & DDSD_LPSURFACE);
    EXPECT_TRUE(desc.dwFlags & DDSD_PITCH);
    EXPECT_EQ(desc.dwWidth, 30u);
    EXPECT_EQ(desc.dwHeight, 7u);
    EXPECT_GE(desc.lPitch, 30);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_TRUE(desc.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8);
    uint8_t* bits = static_cast<uint8_t*>(desc.lpSurface);
    bits[6 * desc.lPitch + 29] = 77;
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(PixelAt(surface, 29, 6, 30), 77);

    RECT rect{3, 2, 10, 5};
    DDSURFACEDESC part = EmptyDesc();
    ASSERT_EQ(surface->Lock(&rect, &part, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(part.lpSurface, bits + 2 * desc.lPitch + 3);
    ASSERT_EQ(surface->Unlock(part.lpSurface), DD_OK);
}

TEST_F(SurfaceAccess, LockRefusesBadArgumentsAndASecondLock) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(16, 16);
    DDSURFACEDESC desc = EmptyDesc();
    RECT outside{8, 8, 17, 12}, empty{4, 4, 4, 9}, inverted{6, 6, 2, 9};
    int event = 0;
    EXPECT_EQ(surface->Lock(nullptr, nullptr, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(&outside, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(&empty, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(&inverted, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, &event), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0x8000, nullptr), DDERR_INVALIDPARAMS);
    desc.dwSize = 108 + 4;
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);

    desc = EmptyDesc();
    ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Unlock(&event), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
}

TEST_F(SurfaceAccess, LockFindsTheBlitterBusyUnlessItWaits) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(16, 16);
    DDSURFACEDESC desc = EmptyDesc();
    headless::SetStillDrawing(1);
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
    headless::SetStillDrawing(3);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
}

TEST_F(SurfaceAccess, UnlockingTheVisibleFrontShowsIt) {
    Chain(2);
    for (LPDIRECTDRAWSURFACE surface : {back, primary}) {
        DDSURFACEDESC desc = EmptyDesc();
        ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
        static_cast<uint8_t*>(desc.lpSurface)[5] = surface == primary ? 42 : 43;
        ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    }
    EXPECT_EQ(headless::Screen().pixels.at(5), 42);
    EXPECT_EQ(headless::FlipCount(), 0);
}

TEST_F(SurfaceAccess, OneDeviceContextAtATime) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(16, 16);
    LPDIRECTDRAWSURFACE other = Offscreen(16, 16);
    HDC hdc = nullptr, second = nullptr, foreign = nullptr;
    EXPECT_EQ(surface->ReleaseDC(nullptr), DDERR_NODC);
    ASSERT_EQ(surface->GetDC(&hdc), DD_OK);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
    DDSURFACEDESC desc = EmptyDesc();
    EXPECT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACEBUSY);
    ASSERT_EQ(other->GetDC(&foreign), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(foreign), DDERR_INVALIDPARAMS);
    EXPECT_EQ(other->ReleaseDC(foreign), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(hdc), DD_OK);

    ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(surface->GetDC(&hdc), DDERR_SURFACEBUSY);
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
}

TEST_F(SurfaceAccess, DeviceContextUsesTheSurfacePaletteElseThePrimarysElseTheDefault) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(4, 4);
    HDC hdc = nullptr;
    // No palette anywhere: the system's default palette, white at 255.
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    SetPixel(hdc, 0, 0, RGB(255, 255, 255));
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    EXPECT_EQ(PixelAt(sheet, 0, 0, 4), 255);

    PALETTEENTRY screen[256] = {}, own[256] = {};
    screen[17] = {10, 20, 30, 0};
    own[99] = {10, 20, 30, 0};
    ASSERT_EQ(primary->SetPalette(Palette(screen)), DD_OK);
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    SetPixel(hdc, 1, 0, RGB(10, 20, 30));
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    EXPECT_EQ(PixelAt(sheet, 1, 0, 4), 17);

    ASSERT_EQ(sheet->SetPalette(Palette(own)), DD_OK);
    ASSERT_EQ(sheet->GetDC(&hdc), DD_OK);
    SetPixel(hdc, 2, 0, RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(hdc, 1, 0), RGB(0, 0, 0)); // index 17 is black in the sheet's own palette
    ASSERT_EQ(sheet->ReleaseDC(hdc), DD_OK);
    EXPECT_EQ(PixelAt(sheet, 2, 0, 4), 99);
}

TEST_F(SurfaceAccess, GdiDrawingOnTheFrontShowsOnTheScreen) {
    Chain(2);
    PALETTEENTRY entries[256] = {};
    entries[33] = {200, 100, 50, 0};
    ASSERT_EQ(primary->SetPalette(Palette(entries)), DD_OK);
    HDC hdc = nullptr;
    ASSERT_EQ(primary->GetDC(&hdc), DD_OK);
    SetPixel(hdc, 3, 1, RGB(200, 100, 50));
    ASSERT_EQ(primary->ReleaseDC(hdc), DD_OK);
    EXPECT_EQ(headless::Screen().pixels.at(640 + 3), 33);
    EXPECT_EQ(headless::Screen().palette[33].red, 200);
}

} // namespace
