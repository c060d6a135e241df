// Fault injection: every DirectDraw entry point answers an injected code
// once, and works again on the next call.
#include <functional>

#include "ddraw_fixture.h"

namespace {

using FaultInjection = DirectDrawTest;

constexpr HRESULT kInjected = MAKE_DDHRESULT(999);

struct FaultCase {
    const char* api;
    std::function<HRESULT()> call;
};

TEST_F(FaultInjection, EveryEntryPointAnswersTheInjectedCodeOnce) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(8, 8);
    SetKey(sheet, 0);
    PALETTEENTRY entries[256] = {};
    LPDIRECTDRAWPALETTE palette = Palette(entries);
    DDSURFACEDESC desc;
    DDCOLORKEY key{1, 1};
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    LPDIRECTDRAWSURFACE attached = nullptr;
    HDC hdc = nullptr;
    void* unknown = nullptr;
    auto fresh = [&desc]() -> LPDDSURFACEDESC {
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        return &desc;
    };
    const FaultCase cases[] = {
        {"IDirectDraw::SetCooperativeLevel",
         [&] { return dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN); }},
        {"IDirectDraw::SetDisplayMode", [&] { return dd->SetDisplayMode(640, 480, 8); }},
        {"IDirectDraw::FlipToGDISurface", [&] { return dd->FlipToGDISurface(); }},
        {"IDirectDraw::QueryInterface",
         [&] { return dd->QueryInterface(IID_IDirectDraw, &unknown); }},
        {"IDirectDrawSurface::Blt", [&] { return Fill(back, 1); }},
        {"IDirectDrawSurface::BltFast",
         [&] { return back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_SRCCOLORKEY); }},
        {"IDirectDrawSurface::Flip", [&] { return primary->Flip(nullptr, 0); }},
        {"IDirectDrawSurface::GetAttachedSurface",
         [&] { return primary->GetAttachedSurface(&caps, &attached); }},
        {"IDirectDrawSurface::GetSurfaceDesc", [&] { return sheet->GetSurfaceDesc(fresh()); }},
        {"IDirectDrawSurface::IsLost", [&] { return sheet->IsLost(); }},
        {"IDirectDrawSurface::Restore", [&] { return sheet->Restore(); }},
        {"IDirectDrawSurface::Lock", [&] { return sheet->Lock(nullptr, fresh(), 0, nullptr); }},
        {"IDirectDrawSurface::Unlock", [&] { return sheet->Unlock(nullptr); }},
        {"IDirectDrawSurface::GetDC", [&] { return sheet->GetDC(&hdc); }},
        {"IDirectDrawSurface::ReleaseDC", [&] { return sheet->ReleaseDC(hdc); }},
        {"IDirectDrawSurface::SetColorKey",
         [&] { return sheet->SetColorKey(DDCKEY_SRCBLT, &key); }},
        {"IDirectDrawSurface::SetPalette", [&] { return sheet->SetPalette(palette); }},
        {"IDirectDrawSurface::QueryInterface",
         [&] { return sheet->QueryInterface(IID_IDirectDrawSurface, &unknown); }},
        {"IDirectDrawPalette::GetEntries", [&] { return palette->GetEntries(0, 0, 256, entries); }},
        {"IDirectDrawPalette::SetEntries", [&] { return palette->SetEntries(0, 0, 256, entries); }},
        {"IDirectDrawPalette::QueryInterface",
         [&] { return palette->QueryInterface(IID_IUnknown, &unknown); }},
        // Last: giving the display mode back loses every surface.
        {"IDirectDraw::RestoreDisplayMode", [&] { return dd->RestoreDisplayMode(); }},
    };
    for (const FaultCase& c : cases) {
        headless::InjectFailure(c.api, kInjected);
        EXPECT_EQ(c.call(), kInjected) << c.api;
        EXPECT_EQ(c.call(), DD_OK) << c.api;
        if (unknown) static_cast<IUnknown*>(unknown)->Release();
        unknown = nullptr;
    }
    if (attached) attached->Release();
}

TEST_F(FaultInjection, FailedCallsChangeNothing) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(4, 4);
    Write(sheet, std::vector<uint8_t>(16, 9));
    headless::InjectFailure("IDirectDrawSurface::BltFast", DDERR_SURFACELOST);
    headless::InjectFailure("IDirectDrawSurface::Blt", DDERR_GENERIC);
    headless::InjectFailure("IDirectDrawSurface::Flip", DDERR_GENERIC);
    EXPECT_EQ(back->BltFast(0, 0, sheet, nullptr, DDBLTFAST_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(Fill(back, 3), DDERR_GENERIC);
    EXPECT_EQ(primary->Flip(nullptr, 0), DDERR_GENERIC);
    EXPECT_EQ(Pixels(back), std::vector<uint8_t>(640 * 480, 0));
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(headless::FlipCount(), 0);

    headless::InjectFailure("IDirectDrawSurface::Lock", DDERR_SURFACEBUSY);
    DDSURFACEDESC locked;
    std::memset(&locked, 0, sizeof locked);
    locked.dwSize = sizeof locked;
    EXPECT_EQ(sheet->Lock(nullptr, &locked, 0, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(locked.lpSurface, nullptr);
    EXPECT_EQ(sheet->Unlock(nullptr), DDERR_NOTLOCKED);

    headless::InjectFailure("IDirectDraw::CreateSurface", DDERR_OUTOFVIDEOMEMORY);
    DDSURFACEDESC desc = OffscreenDesc(4, 4);
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(surface, nullptr);
    headless::InjectFailure("IDirectDraw::CreatePalette", DDERR_GENERIC);
    PALETTEENTRY entries[256] = {};
    LPDIRECTDRAWPALETTE palette = nullptr;
    EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DDERR_GENERIC);
    EXPECT_EQ(palette, nullptr);
}

} // namespace
