// Display set-up on the headless host: each failure's box, the flipping
// chain, the palette, the sprite surface and the colour key.
#include "display_fixture.h"

#include "surface_ops.h"

namespace {

using DisplaySetup = DisplayTest;

const headless::MessageBoxRecord* OnlyBox() {
    const auto& boxes = headless::MessageBoxes();
    return boxes.size() == 1 ? &boxes[0] : nullptr;
}

TEST_F(DisplaySetup, EachInitFailureShowsOneBoxAndStopsThere) {
    struct Case {
        const char* api;
        const char* text;
        bool objectExists;
    } cases[] = {
        {"DirectDrawCreate", "DirectDrawCreate Failed", false},
        {"IDirectDraw::SetCooperativeLevel", "SetCooperativeLevel Failed", true},
        {"IDirectDraw::SetDisplayMode", "SetDisplayMode Failed", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.api);
        TearDown();
        SetUp();
        headless::InjectFailure(c.api, DDERR_GENERIC);
        EXPECT_EQ(InitDirectDraw(hwnd), 0);
        const headless::MessageBoxRecord* box = OnlyBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->caption, "DirectDraw Error");
        EXPECT_EQ(box->text, c.text);
        EXPECT_EQ(box->type, static_cast<unsigned>(MB_OK));
        EXPECT_EQ(lpDD != nullptr, c.objectExists);
        EXPECT_FALSE(headless::DisplayModeSet());
    }
}

TEST_F(DisplaySetup, AfterAFailedModeChangeTheObjectKeepsExclusiveControl) {
    headless::InjectFailure("IDirectDraw::SetDisplayMode", DDERR_GENERIC);
    ASSERT_EQ(InitDirectDraw(hwnd), 0);
    ASSERT_NE(lpDD, nullptr);
    EXPECT_EQ(lpDD->SetDisplayMode(640, 480, 8), DD_OK); // would need exclusive mode
}

TEST_F(DisplaySetup, FlippingChainFailuresNameTheirCall) {
    struct Case {
        const char* api;
        const char* text;
    } cases[] = {
        {"IDirectDraw::CreateSurface", "Create lpDDSPrimary Failed"},
        {"IDirectDrawSurface::GetAttachedSurface", "Attach lpDDSBack Failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.api);
        TearDown();
        SetUp();
        ASSERT_EQ(InitDirectDraw(hwnd), 1);
        headless::InjectFailure(c.api, DDERR_OUTOFMEMORY);
        EXPECT_EQ(CreateFlippingSurfaces(), 0);
        const headless::MessageBoxRecord* box = OnlyBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text, c.text);
        EXPECT_EQ(lpDDSBack, nullptr);
    }
}

TEST_F(DisplaySetup, TheChainHasThreeBuffersAndTheBackBufferIsShownNext) {
    SetUpDisplay();
    Fill(lpDDSBack, 1);
    ASSERT_EQ(FlipPages(), DD_OK);
    Fill(lpDDSBack, 2);
    ASSERT_EQ(FlipPages(), DD_OK);
    Fill(lpDDSBack, 3);
    ASSERT_EQ(FlipPages(), DD_OK);
    EXPECT_EQ(headless::Screen().pixels[1000], 3);
    // With three buffers the next two flips bring back 1 and 2 (two buffers
    // would show 2 at once).
    ASSERT_EQ(FlipPages(), DD_OK);
    EXPECT_EQ(headless::Screen().pixels[1000], 1);
    ASSERT_EQ(FlipPages(), DD_OK);
    EXPECT_EQ(headless::Screen().pixels[1000], 2);
    EXPECT_EQ(headless::FlipCount(), 5);
}

TEST_F(DisplaySetup, PaletteTakesRedAndBlueFromTheirOwnBytes) {
    ASSERT_EQ(InitDirectDraw(hwnd), 1);
    RGBQUAD table[256] = {};
    table[5] = RGBQUAD{10, 20, 30, 99}; // blue, green, red, reserved
    ASSERT_EQ(CreatePaletteFromDib(&lpDDPal, table), DD_OK);
    ASSERT_NE(lpDDPal, nullptr);
    PALETTEENTRY entries[256];
    ASSERT_EQ(lpDDPal->GetEntries(0, 0, 256, entries), DD_OK);
    EXPECT_EQ(entries[5].peRed, 30);
    EXPECT_EQ(entries[5].peGreen, 20);
    EXPECT_EQ(entries[5].peBlue, 10);
    EXPECT_EQ(entries[5].peFlags, 0);
}

TEST_F(DisplaySetup, OffscreenSurfaceTakesWidthThenHeight) {
    ASSERT_EQ(InitDirectDraw(hwnd), 1);
    LPDIRECTDRAWSURFACE surface = CreateOffscreenSurface(320, 200);
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    ASSERT_EQ(surface->GetSurfaceDesc(&ddsd), DD_OK);
    EXPECT_EQ(ddsd.dwWidth, 320u);
    EXPECT_EQ(ddsd.dwHeight, 200u);
    surface->Release();
    headless::InjectFailure("IDirectDraw::CreateSurface", DDERR_OUTOFMEMORY);
    EXPECT_EQ(CreateOffscreenSurface(320, 200), nullptr);
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(DisplaySetup, ColourKeyIsFoundThroughThePrimaryAndTheScreenPixelPutBack) {
    SetUpDisplay();
    lpDDSOffscreen = CreateOffscreenSurface(64, 64);
    ASSERT_NE(lpDDSOffscreen, nullptr);
    Fill(lpDDSOffscreen, 200);
    Fill(lpDDSPrimary, 77);
    ASSERT_EQ(SetColorKeyFromPixel(lpDDSOffscreen, 1, 50), DD_OK);
    EXPECT_EQ(Pixels(lpDDSPrimary)[0], 77);

    // The key is exactly value 200: a keyed copy skips it and nothing else.
    Fill(lpDDSBack, 9);
    RECT whole{0, 0, 64, 64};
    EXPECT_EQ(lpDDSBack->BltFast(0, 0, lpDDSOffscreen, &whole, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Pixels(lpDDSBack)[0], 9);
}

TEST_F(DisplaySetup, FailedLockSetsNoKeyButStillPutsTheScreenPixelBack) {
    SetUpDisplay();
    lpDDSOffscreen = CreateOffscreenSurface(64, 64);
    ASSERT_NE(lpDDSOffscreen, nullptr);
    Fill(lpDDSPrimary, 77);
    headless::InjectFailure("IDirectDrawSurface::Lock", DDERR_GENERIC);
    EXPECT_EQ(SetColorKeyFromPixel(lpDDSOffscreen, 1, 50), DDERR_GENERIC);
    EXPECT_EQ(Pixels(lpDDSPrimary)[0], 77);
}

TEST_F(DisplaySetup, ReportErrorShowsTheTextAsItIsAndReturnsZero) {
    headless::SetMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(ReportError("100% sure %s %d"), 0);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "100% sure %s %d");
    EXPECT_EQ(headless::MessageBoxes()[0].owner, static_cast<const void*>(GetActiveWindow()));
}

TEST_F(DisplaySetup, ReleaseDirectDrawKeepsTheSpriteSurfaceAndPalette) {
    SetUpDisplay();
    lpDDSOffscreen = CreateOffscreenSurface(8, 8);
    ReleaseDirectDraw();
    EXPECT_EQ(lpDD, nullptr);
    EXPECT_EQ(lpDDSPrimary, nullptr);
    EXPECT_EQ(lpDDSBack, nullptr);
    EXPECT_NE(lpDDSOffscreen, nullptr);
    EXPECT_NE(lpDDPal, nullptr);
    ReleaseDirectDraw(); // nothing left: no effect
}

TEST_F(DisplaySetup, ScreenOffscreenAndKeyValueHelpers) {
    SetUpDisplay();
    ASSERT_EQ(CreateScreenOffscreen(), 1);
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    ASSERT_EQ(lpDDSOffscreen->GetSurfaceDesc(&ddsd), DD_OK);
    EXPECT_EQ(ddsd.dwWidth, 640u);
    EXPECT_EQ(ddsd.dwHeight, 480u);
    EXPECT_EQ(SetColorKeyValue(lpDDSOffscreen, 5), 1);
}

} // namespace
