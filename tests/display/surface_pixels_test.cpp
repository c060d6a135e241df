// Surface operations on real surfaces of the headless host: pixels drawn,
// refused, painted and lost.
#include "display_fixture.h"

#include "surface_ops.h"

namespace {

class SurfacePixels : public DisplayTest {
  protected:
    // A 64 x 64 sprite surface: a 4 x 4 sprite at (8, 8) whose left half is
    // the key colour 250 and right half colour 40.
    void SetUpSprites() {
        SetUpDisplay();
        lpDDSOffscreen = CreateOffscreenSurface(64, 64);
        ASSERT_NE(lpDDSOffscreen, nullptr);
        Fill(lpDDSOffscreen, 250);
        for (int y = 8; y < 12; y++)
            for (int x = 10; x < 12; x++) Plot(lpDDSOffscreen, x, y, 40);
        ASSERT_EQ(SetColorKeyValue(lpDDSOffscreen, 250), 1);
        Fill(lpDDSBack, 9);
    }
    static void Plot(LPDIRECTDRAWSURFACE surface, int x, int y, BYTE value) {
        DDSURFACEDESC ddsd;
        std::memset(&ddsd, 0, sizeof(ddsd));
        ddsd.dwSize = sizeof(ddsd);
        ASSERT_EQ(surface->Lock(nullptr, &ddsd, DDLOCK_WAIT, nullptr), DD_OK);
        static_cast<uint8_t*>(ddsd.lpSurface)[y * ddsd.lPitch + x] = value;
        surface->Unlock(nullptr);
    }
};

TEST_F(SurfacePixels, DrawSpriteSkipsTheKeyUnlessOpaque) {
    SetUpSprites();
    RECT sprite{8, 8, 12, 12};
    EXPECT_EQ(DrawSprite(100, 50, sprite, 0), 1);
    std::vector<uint8_t> back = Pixels(lpDDSBack);
    EXPECT_EQ(back[50 * 640 + 100], 9);  // key pixel skipped
    EXPECT_EQ(back[50 * 640 + 102], 40); // sprite pixel copied
    EXPECT_EQ(back[53 * 640 + 103], 40);
    EXPECT_EQ(back[54 * 640 + 103], 9); // nothing below the rectangle

    EXPECT_EQ(DrawSprite(200, 50, sprite, 1), 1);
    back = Pixels(lpDDSBack);
    EXPECT_EQ(back[50 * 640 + 200], 250); // opaque: every pixel
    EXPECT_EQ(back[50 * 640 + 202], 40);
}

TEST_F(SurfacePixels, ASpriteThatDoesNotFitIsRefusedWhole) {
    SetUpSprites();
    RECT sprite{8, 8, 12, 12};
    struct Case {
        LONG x, y;
    } cases[] = {{637, 10}, {10, 477}, {-1, 10}, {10, -2}, {640, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(DrawSprite(c.x, c.y, sprite, 1), 0) << c.x << "," << c.y;
    }
    std::vector<uint8_t> back = Pixels(lpDDSBack);
    for (uint8_t v : back) ASSERT_EQ(v, 9);
    EXPECT_EQ(DrawSprite(636, 476, sprite, 1), 1); // exactly fits
}

TEST_F(SurfacePixels, ClearSurfaceFillsEveryPixelWithZero) {
    SetUpSprites();
    ASSERT_EQ(ClearSurface(lpDDSBack), DD_OK);
    for (uint8_t v : Pixels(lpDDSBack)) ASSERT_EQ(v, 0);
}

TEST_F(SurfacePixels, BusyBlitterIsWaitedOutByTheLoops) {
    SetUpSprites();
    headless::SetStillDrawing(5);
    EXPECT_EQ(ClearSurface(lpDDSBack), DD_OK);
    headless::SetStillDrawing(5);
    EXPECT_EQ(FlipPages(), DD_OK);
    EXPECT_EQ(headless::FlipCount(), 1);
    EXPECT_EQ(headless::Screen().pixels[0], 0);
}

TEST_F(SurfacePixels, AfterALossTheSpriteSheetIsNotPaintedAgain) {
    SetUpSprites();
    headless::LoseAllSurfaces();
    RECT sprite{8, 8, 12, 12};
    EXPECT_EQ(DrawSprite(100, 50, sprite, 1), 0); // meets the loss, restores, gives up
    EXPECT_EQ(lpDDSOffscreen->IsLost(), DD_OK);
    EXPECT_EQ(DrawSprite(100, 50, sprite, 1), 1);
    std::vector<uint8_t> back = Pixels(lpDDSBack);
    EXPECT_NE(back[50 * 640 + 102], 40); // the restored sheet lost its pixels
}

TEST_F(SurfacePixels, CopyDibToSurfacePaintsThroughTheNearestColours) {
    SetUpDisplay();
    lpDDSOffscreen = CreateOffscreenSurface(8, 4);
    ASSERT_NE(lpDDSOffscreen, nullptr);
    CDib dib;
    ASSERT_TRUE(dib.Create(8, 4));
    // The image's own colour 3 is the palette's colour 17: GDI stores 17.
    dib.lpColorTable[3] = RGBQUAD{17 / 2, 255 - 17, 17, 0};
    std::memset(dib.lpBits, 3, 32);
    EXPECT_EQ(CopyDibToSurface(lpDDSOffscreen, &dib), 1);
    for (uint8_t v : Pixels(lpDDSOffscreen)) ASSERT_EQ(v, 17);

    Fill(lpDDSOffscreen, 1);
    headless::InjectFailure("IDirectDrawSurface::GetDC", DDERR_CANTCREATEDC);
    EXPECT_EQ(CopyDibToSurface(lpDDSOffscreen, &dib), 0);
    for (uint8_t v : Pixels(lpDDSOffscreen)) ASSERT_EQ(v, 1);
}

TEST_F(SurfacePixels, PlotBackPixelWritesOnePixelAndRefusesOutsideTheBuffer) {
    SetUpSprites();
    EXPECT_EQ(PlotBackPixel(639, 479, 33), DD_OK);
    EXPECT_EQ(Pixels(lpDDSBack)[479 * 640 + 639], 33);
    EXPECT_EQ(PlotBackPixel(640, 0, 33), DDERR_INVALIDPARAMS);
    EXPECT_EQ(PlotBackPixel(0, -1, 33), DDERR_INVALIDPARAMS);
}

TEST_F(SurfacePixels, CopyBackToOffscreenIsTheReverseCopy) {
    SetUpSprites();
    RECT area{0, 0, 4, 4};
    EXPECT_EQ(CopyBackToOffscreen(20, 20, area, 1), 1);
    EXPECT_EQ(Pixels(lpDDSOffscreen)[20 * 64 + 20], 9);
}

TEST(BusyWait, ReturnsAReadingMoreThan93MillisecondsLater) {
    headless::Reset(); // the clock follows real time
    DWORD start = GetTickCount();
    DWORD end = BusyWait();
    EXPECT_GT(end - start, 93u);
}

} // namespace
