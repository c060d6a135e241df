// The flipping chain: attachments, rotation of the buffers by Flip, the
// frames presented, FlipToGDISurface, and the chain's lifetime.
#include "ddraw_fixture.h"

namespace {

using Flipping = DirectDrawTest;

LPDIRECTDRAWSURFACE Attached(LPDIRECTDRAWSURFACE surface, DWORD caps) {
    DDSCAPS wanted{caps};
    LPDIRECTDRAWSURFACE out = nullptr;
    if (surface->GetAttachedSurface(&wanted, &out) != DD_OK) return nullptr;
    out->Release(); // the chain keeps it alive
    return out;
}

uint8_t First(LPDIRECTDRAWSURFACE surface) {
    return DirectDrawTest::Pixels(surface).at(0);
}

TEST_F(Flipping, ChainSurfacesAreAttachedInARing) {
    Chain(2);
    LPDIRECTDRAWSURFACE back2 = Attached(back, DDSCAPS_FLIP);
    ASSERT_NE(back2, nullptr);
    EXPECT_NE(back2, back);
    EXPECT_NE(back2, primary);
    EXPECT_EQ(Attached(back2, DDSCAPS_FLIP), primary);
    EXPECT_EQ(Attached(back2, DDSCAPS_PRIMARYSURFACE), primary);
    // Only the first back buffer answers to DDSCAPS_BACKBUFFER.
    EXPECT_EQ(Attached(back, DDSCAPS_BACKBUFFER), nullptr);
    EXPECT_EQ(Attached(primary, DDSCAPS_OFFSCREENPLAIN), nullptr);
    LPDIRECTDRAWSURFACE sheet = Offscreen(8, 8);
    EXPECT_EQ(Attached(sheet, DDSCAPS_BACKBUFFER), nullptr);
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    EXPECT_EQ(primary->GetAttachedSurface(&caps, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Flipping, FlipRotatesThreeBuffersAndShowsTheBackBuffer) {
    Chain(2);
    LPDIRECTDRAWSURFACE back2 = Attached(back, DDSCAPS_FLIP);
    ASSERT_EQ(Fill(primary, 1), DD_OK);
    ASSERT_EQ(Fill(back, 2), DD_OK);
    ASSERT_EQ(Fill(back2, 3), DD_OK);

    ASSERT_EQ(primary->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(First(primary), 2);
    EXPECT_EQ(First(back), 3); // the next frame is drawn where the following flip shows it
    EXPECT_EQ(First(back2), 1);
    EXPECT_EQ(headless::Screen().pixels, std::vector<uint8_t>(640 * 480, 2));
    EXPECT_EQ(headless::FlipCount(), 1);

    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(First(primary), 3);
    EXPECT_EQ(First(back), 1);
    EXPECT_EQ(First(back2), 2);
    ASSERT_EQ(primary->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(First(primary), 1);
    EXPECT_EQ(First(back), 2);
    EXPECT_EQ(headless::Screen().pixels[0], 1);
    EXPECT_EQ(headless::FlipCount(), 3);
}

TEST_F(Flipping, TwoBufferChainSwapsFrontAndBack) {
    Chain(1);
    ASSERT_EQ(Fill(primary, 1), DD_OK);
    ASSERT_EQ(Fill(back, 2), DD_OK);
    EXPECT_EQ(Attached(back, DDSCAPS_FLIP), primary);
    ASSERT_EQ(primary->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(First(primary), 2);
    EXPECT_EQ(First(back), 1);
}

TEST_F(Flipping, FlipPresentsWithThePrimarySurfacesPalette) {
    Chain(2);
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; i++)
        entries[i] = {BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
    ASSERT_EQ(primary->SetPalette(Palette(entries)), DD_OK);
    ASSERT_EQ(Fill(back, 200), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, 0), DD_OK);
    const headless::Frame& screen = headless::Screen();
    EXPECT_EQ(screen.pixels[1234], 200);
    EXPECT_EQ(screen.palette[200].red, 200);
    EXPECT_EQ(screen.palette[200].green, 55);
    EXPECT_EQ(screen.palette[200].blue, 100);
}

TEST_F(Flipping, FlipRefusesWhatItCannotFlip) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(8, 8);
    EXPECT_EQ(back->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(sheet->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(primary->Flip(nullptr, 0x2), DDERR_INVALIDPARAMS);
    EXPECT_EQ(primary->Flip(back, 0), DDERR_UNSUPPORTED);
    EXPECT_EQ(primary->Flip(sheet, 0), DDERR_INVALIDPARAMS);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    ASSERT_EQ(back->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    ASSERT_EQ(back->Unlock(nullptr), DD_OK);
    EXPECT_EQ(headless::FlipCount(), 0);
}

TEST_F(Flipping, StillDrawingFlipDoesNothingUnlessItWaits) {
    Chain(2);
    ASSERT_EQ(Fill(back, 2), DD_OK);
    headless::SetStillDrawing(1);
    EXPECT_EQ(primary->Flip(nullptr, 0), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(First(primary), 0);
    EXPECT_EQ(headless::FlipCount(), 0);
    headless::SetStillDrawing(4);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(First(primary), 2);
    EXPECT_EQ(headless::FlipCount(), 1);
    headless::InjectFailure("IDirectDrawSurface::Flip", DDERR_GENERIC);
    EXPECT_EQ(primary->Flip(nullptr, 0), DDERR_GENERIC);
    EXPECT_EQ(headless::FlipCount(), 1);
}

TEST_F(Flipping, FlipToGDISurfaceBringsTheOriginalPrimaryMemoryBack) {
    Exclusive();
    EXPECT_EQ(dd->FlipToGDISurface(), DDERR_NOTFOUND);
    DDSURFACEDESC desc = ChainDesc(2);
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    back = Attached(primary, DDSCAPS_BACKBUFFER);
    back->AddRef();
    ASSERT_EQ(Fill(primary, 7), DD_OK);
    ASSERT_EQ(Fill(back, 8), DD_OK);
    EXPECT_EQ(dd->FlipToGDISurface(), DD_OK); // already visible: nothing moves
    EXPECT_EQ(First(primary), 7);
    ASSERT_EQ(primary->Flip(nullptr, 0), DD_OK);
    ASSERT_EQ(First(primary), 8);
    EXPECT_EQ(dd->FlipToGDISurface(), DD_OK);
    EXPECT_EQ(First(primary), 7);
    EXPECT_EQ(headless::Screen().pixels[0], 7);
}

TEST_F(Flipping, ReleasingThePrimaryDestroysTheWholeChain) {
    Chain(2);
    EXPECT_EQ(primary->Release(), 0u);
    primary = nullptr;
    EXPECT_EQ(Fill(back, 1), DDERR_INVALIDOBJECT);
    DDSURFACEDESC desc = ChainDesc(1);
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    EXPECT_EQ(Fill(primary, 1), DD_OK);
}

TEST_F(Flipping, BackBufferOutlivesExtraReleasesWhileTheChainLives) {
    Chain(2);
    EXPECT_EQ(back->Release(), 1u);
    EXPECT_EQ(back->Release(), 1u); // the chain's own reference stays
    EXPECT_EQ(Fill(back, 6), DD_OK);
    back = nullptr;
    ASSERT_EQ(primary->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(First(primary), 6);
}

} // namespace
