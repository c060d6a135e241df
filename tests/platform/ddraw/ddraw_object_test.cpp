// The DirectDraw object: creation, interfaces and references, cooperative
// level, display mode, and the surface and palette descriptions it accepts
// or refuses.
#include "ddraw_fixture.h"

namespace {

using DirectDraw = DirectDrawTest;

constexpr HRESULT kNoHardware = MAKE_DDHRESULT(563); // DDERR_NODIRECTDRAWHW

TEST_F(DirectDraw, CreateRefusesGuidAggregationAndNullOut) {
    GUID device{};
    IUnknown* outer = reinterpret_cast<IUnknown*>(&device);
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(DirectDrawCreate(&device, &dd, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(dd, nullptr);
    EXPECT_EQ(DirectDrawCreate(nullptr, &dd, outer), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(dd, nullptr);
}

TEST_F(DirectDraw, CreateReportsInjectedFailure) {
    headless::InjectFailure("DirectDrawCreate", kNoHardware);
    EXPECT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), kNoHardware);
    EXPECT_EQ(dd, nullptr);
    EXPECT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
}

TEST_F(DirectDraw, QueryInterfaceKnowsOnlyIUnknownAndIDirectDraw) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    void* out = nullptr;
    ASSERT_EQ(dd->QueryInterface(IID_IDirectDraw, &out), S_OK);
    EXPECT_EQ(out, dd);
    ASSERT_EQ(dd->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IUnknown*>(dd));
    EXPECT_EQ(dd->QueryInterface(IID_IDirectDrawSurface, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(dd->Release(), 2u);
    EXPECT_EQ(dd->Release(), 1u);
}

struct LevelCase {
    const char* name;
    DWORD flags;
    bool window;
    HRESULT expected;
};

TEST_F(DirectDraw, SetCooperativeLevelChecksFlagCombinations) {
    const LevelCase cases[] = {
        {"exclusive fullscreen", DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, true, DD_OK},
        {"exclusive fullscreen modex", DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWMODEX, true,
         DD_OK},
        {"normal", DDSCL_NORMAL, true, DD_OK},
        {"normal without window", DDSCL_NORMAL, false, DD_OK},
        {"exclusive alone", DDSCL_EXCLUSIVE, true, DDERR_INVALIDPARAMS},
        {"fullscreen alone", DDSCL_FULLSCREEN, true, DDERR_INVALIDPARAMS},
        {"normal and exclusive", DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, true,
         DDERR_INVALIDPARAMS},
        {"nothing", 0, true, DDERR_INVALIDPARAMS},
        {"unknown bit", DDSCL_NORMAL | 0x1000, true, DDERR_INVALIDPARAMS},
        {"modex in normal", DDSCL_NORMAL | DDSCL_ALLOWMODEX, true, DDERR_INVALIDPARAMS},
        {"exclusive without window", DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN, false,
         DDERR_INVALIDPARAMS},
    };
    for (const LevelCase& c : cases) {
        LPDIRECTDRAW object = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &object, nullptr), DD_OK);
        EXPECT_EQ(object->SetCooperativeLevel(c.window ? hwnd : nullptr, c.flags), c.expected)
            << c.name;
        object->Release();
    }
}

TEST_F(DirectDraw, ExclusiveModeNeedsALiveWindowAndIsHeldByOneObject) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    HWND gone = CreateWindowExA(0, "DirectDrawTest", "gone", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_TRUE(DestroyWindow(gone));
    EXPECT_EQ(dd->SetCooperativeLevel(gone, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);

    LPDIRECTDRAW other = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &other, nullptr), DD_OK);
    EXPECT_EQ(other->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_EXCLUSIVEMODEALREADYSET);
    EXPECT_EQ(other->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    dd->Release();
    dd = nullptr;
    EXPECT_EQ(other->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    other->Release();
}

TEST_F(DirectDraw, SetDisplayModeNeedsExclusiveModeAndOffersOnly640x480x8) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 8), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 8), DDERR_NOEXCLUSIVEMODE);
    EXPECT_FALSE(headless::DisplayModeSet());

    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 8), DDERR_INVALIDMODE);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 16), DDERR_INVALIDMODE);
    EXPECT_FALSE(headless::DisplayModeSet());
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    EXPECT_TRUE(headless::DisplayModeSet());
    EXPECT_EQ(headless::DisplayBitsPerPixel(), 8);
}

TEST_F(DirectDraw, DisplayModeIsGivenBackByRestoreLeavingExclusiveModeOrRelease) {
    Exclusive();
    ASSERT_EQ(dd->RestoreDisplayMode(), DD_OK);
    EXPECT_FALSE(headless::DisplayModeSet());

    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    EXPECT_FALSE(headless::DisplayModeSet());
    EXPECT_EQ(dd->RestoreDisplayMode(), DDERR_NOEXCLUSIVEMODE);

    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    dd->Release();
    dd = nullptr;
    EXPECT_FALSE(headless::DisplayModeSet());
}

struct SurfaceCase {
    const char* name;
    DDSURFACEDESC desc;
    HRESULT expected;
};

std::vector<SurfaceCase> RefusedSurfaces() {
    std::vector<SurfaceCase> cases;
    auto add = [&](const char* name, DDSURFACEDESC desc, HRESULT expected) {
        cases.push_back({name, desc, expected});
    };
    DDSURFACEDESC d = DirectDrawTest::ChainDesc(2);
    d.dwSize = 100;
    add("wrong dwSize", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::ChainDesc(2);
    d.dwFlags &= ~DDSD_CAPS;
    add("no DDSD_CAPS", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::ChainDesc(0);
    add("no back buffers", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::ChainDesc(4);
    add("four back buffers", d, DDERR_OUTOFVIDEOMEMORY);
    d = DirectDrawTest::ChainDesc(2);
    d.dwFlags &= ~DDSD_BACKBUFFERCOUNT;
    add("flip without a count", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::ChainDesc(2);
    d.ddsCaps.dwCaps &= ~DDSCAPS_COMPLEX;
    add("flip without complex", d, DDERR_INVALIDCAPS);
    d = DirectDrawTest::ChainDesc(2);
    d.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT;
    d.dwWidth = 640;
    d.dwHeight = 480;
    add("primary with a size", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::ChainDesc(2);
    d.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    add("primary in system memory", d, DDERR_INVALIDCAPS);
    d = DirectDrawTest::OffscreenDesc(0, 10);
    add("zero width", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::OffscreenDesc(10, 0);
    add("zero height", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::OffscreenDesc(10, 10);
    d.dwFlags &= ~DDSD_HEIGHT;
    add("no height", d, DDERR_INVALIDPARAMS);
    d = DirectDrawTest::OffscreenDesc(0xFFFFFFFF, 0xFFFFFFFF);
    add("absurd size", d, DDERR_OUTOFMEMORY);
    d = DirectDrawTest::OffscreenDesc(16384, 16384);
    add("over 64 MB", d, DDERR_OUTOFMEMORY);
    d = DirectDrawTest::OffscreenDesc(20000, 1);
    add("too wide", d, DDERR_OUTOFMEMORY);
    d = DirectDrawTest::OffscreenDesc(10, 10);
    d.ddsCaps.dwCaps |= DDSCAPS_TEXTURE;
    add("texture", d, DDERR_INVALIDCAPS);
    d = DirectDrawTest::OffscreenDesc(10, 10);
    d.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY;
    add("both memories", d, DDERR_INVALIDCAPS);
    d = DirectDrawTest::OffscreenDesc(10, 10);
    d.dwFlags |= DDSD_PIXELFORMAT;
    d.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    d.ddpfPixelFormat.dwFlags = DDPF_RGB;
    d.ddpfPixelFormat.dwRGBBitCount = 16;
    add("16-bit format", d, DDERR_INVALIDPIXELFORMAT);
    d = DirectDrawTest::OffscreenDesc(10, 10);
    d.dwFlags |= DDSD_LPSURFACE;
    add("client memory", d, DDERR_INVALIDPARAMS);
    return cases;
}

TEST_F(DirectDraw, CreateSurfaceRefusesBadDescriptions) {
    Exclusive();
    for (SurfaceCase& c : RefusedSurfaces()) {
        LPDIRECTDRAWSURFACE surface = reinterpret_cast<LPDIRECTDRAWSURFACE>(&c);
        EXPECT_EQ(dd->CreateSurface(&c.desc, &surface, nullptr), c.expected) << c.name;
        EXPECT_EQ(surface, nullptr) << c.name;
    }
}

TEST_F(DirectDraw, CreateSurfaceNeedsACooperativeLevelAndExclusiveModeForAChain) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    DDSURFACEDESC desc = OffscreenDesc(8, 8);
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL), DD_OK);
    desc = ChainDesc(2);
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_NOEXCLUSIVEMODE);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, reinterpret_cast<IUnknown*>(dd)),
              CLASS_E_NOAGGREGATION);
}

TEST_F(DirectDraw, OffscreenSurfaceHasTheAskedSizeAndThe8BitFormat) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(320, 200);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 320u);
    EXPECT_EQ(desc.dwHeight, 200u);
    EXPECT_GE(desc.lPitch, 320);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_OFFSCREENPLAIN);
    EXPECT_EQ(desc.ddpfPixelFormat.dwSize, sizeof(DDPIXELFORMAT));
    EXPECT_EQ(desc.ddpfPixelFormat.dwFlags, DWORD(DDPF_RGB | DDPF_PALETTEINDEXED8));
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_EQ(std::vector<uint8_t>(320 * 200, 0), Pixels(surface));
    desc.dwSize = 100;
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDraw, PrimaryIsTheDisplaySizeAndReportsItsBackBuffers) {
    Chain(2);
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 640u);
    EXPECT_EQ(desc.dwHeight, 480u);
    EXPECT_EQ(desc.dwBackBufferCount, 2u);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_FRONTBUFFER);
}

struct PaletteCase {
    const char* name;
    DWORD flags;
    HRESULT expected;
};

TEST_F(DirectDraw, CreatePaletteTakes8BitPalettesOnly) {
    Exclusive();
    PALETTEENTRY entries[256] = {};
    const PaletteCase cases[] = {
        {"8-bit", DDPCAPS_8BIT, DD_OK},
        {"8-bit allow 256", DDPCAPS_8BIT | DDPCAPS_ALLOW256, DD_OK},
        {"4-bit", DDPCAPS_4BIT, DDERR_UNSUPPORTED},
        {"1-bit", DDPCAPS_1BIT, DDERR_UNSUPPORTED},
        {"no size", DDPCAPS_ALLOW256, DDERR_INVALIDPARAMS},
        {"two sizes", DDPCAPS_8BIT | DDPCAPS_4BIT, DDERR_INVALIDPARAMS},
        {"8-bit entries", DDPCAPS_8BIT | DDPCAPS_8BITENTRIES, DDERR_INVALIDPARAMS},
        {"unknown bit", DDPCAPS_8BIT | 0x10000, DDERR_INVALIDPARAMS},
    };
    for (const PaletteCase& c : cases) {
        LPDIRECTDRAWPALETTE palette = nullptr;
        EXPECT_EQ(dd->CreatePalette(c.flags, entries, &palette, nullptr), c.expected) << c.name;
        EXPECT_EQ(palette != nullptr, c.expected == DD_OK) << c.name;
        if (palette) palette->Release();
    }
    LPDIRECTDRAWPALETTE palette = nullptr;
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDraw, ReleasingTheObjectDestroysItsSurfaces) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(16, 16);
    dd->Release();
    dd = nullptr;
    EXPECT_EQ(Fill(sheet, 1), DDERR_INVALIDOBJECT);
    EXPECT_EQ(Fill(back, 1), DDERR_INVALIDOBJECT);
    EXPECT_EQ(primary->Flip(nullptr, 0), DDERR_INVALIDOBJECT);
    EXPECT_EQ(primary->IsLost(), DDERR_INVALIDOBJECT);
}

} // namespace
