// A fixture for the DirectDraw tests: a visible top-level window on the
// headless host (so the application is active), and helpers that set up
// the display as a full-screen game does and read or write surface pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <ddraw.h>

#include "app_state.h"
#include "headless.h"
#include "user_state.h"

class DirectDrawTest : public ::testing::Test {
  public:
    HWND hwnd = nullptr;
    LPDIRECTDRAW dd = nullptr;
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWSURFACE back = nullptr;
    std::vector<IUnknown*> owned; // released in TearDown, last first

    void SetUp() override {
        headless::Reset();
        platform::ResetWindowingForTests();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DirectDrawTest";
        ASSERT_NE(RegisterClassA(&wc), 0);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, "DirectDrawTest", "DirectDrawTest",
                               WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                               nullptr);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(platform::IsAppActive());
    }

    void TearDown() override {
        for (auto it = owned.rbegin(); it != owned.rend(); ++it)
            (*it)->Release();
        owned.clear();
        if (back) back->Release();
        if (primary) primary->Release();
        if (dd) dd->Release();
        back = primary = nullptr;
        dd = nullptr;
        headless::Reset();
        platform::ResetWindowingForTests();
    }

    // The DirectDraw object in exclusive full-screen 640 x 480 x 8.
    void Exclusive() {
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    }

    static DDSURFACEDESC ChainDesc(DWORD backBuffers) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = backBuffers;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        return desc;
    }

    static DDSURFACEDESC OffscreenDesc(DWORD width, DWORD height) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        return desc;
    }

    // Exclusive mode, then the primary with `backBuffers` back buffers and
    // the first back buffer in `back`.
    void Chain(DWORD backBuffers = 2) {
        Exclusive();
        DDSURFACEDESC desc = ChainDesc(backBuffers);
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    }

    LPDIRECTDRAWSURFACE Offscreen(DWORD width, DWORD height) {
        DDSURFACEDESC desc = OffscreenDesc(width, height);
        LPDIRECTDRAWSURFACE surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        if (surface) owned.push_back(surface);
        return surface;
    }

    LPDIRECTDRAWPALETTE Palette(const PALETTEENTRY* entries) {
        LPDIRECTDRAWPALETTE palette = nullptr;
        EXPECT_EQ(
            dd->CreatePalette(DDPCAPS_8BIT, const_cast<PALETTEENTRY*>(entries), &palette, nullptr),
            DD_OK);
        if (palette) owned.push_back(palette);
        return palette;
    }

    static void SetKey(LPDIRECTDRAWSURFACE surface, BYTE key) {
        DDCOLORKEY ck{key, key};
        ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &ck), DD_OK);
    }

    // The surface's pixels, row after row, read through a lock.
    static std::vector<uint8_t> Pixels(LPDIRECTDRAWSURFACE surface) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        std::vector<uint8_t> out;
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return out;
        out.resize(static_cast<size_t>(desc.dwWidth) * desc.dwHeight);
        for (DWORD y = 0; y < desc.dwHeight; y++)
            std::memcpy(&out[y * desc.dwWidth],
                        static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, desc.dwWidth);
        surface->Unlock(nullptr);
        return out;
    }

    // Writes `pixels` (row after row, the surface's width) through a lock.
    static void Write(LPDIRECTDRAWSURFACE surface, const std::vector<uint8_t>& pixels) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(desc.dwWidth) * desc.dwHeight);
        for (DWORD y = 0; y < desc.dwHeight; y++)
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                        &pixels[y * desc.dwWidth], desc.dwWidth);
        ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    }

    static HRESULT Fill(LPDIRECTDRAWSURFACE surface, DWORD color, LPRECT rect = nullptr,
                        DWORD flags = 0) {
        DDBLTFX fx;
        std::memset(&fx, 0, sizeof fx);
        fx.dwSize = sizeof fx;
        fx.dwFillColor = color;
        return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | flags, &fx);
    }

    static uint8_t PixelAt(LPDIRECTDRAWSURFACE surface, int x, int y, int width) {
        return Pixels(surface)[static_cast<size_t>(y) * width + x];
    }
};
