// A fixture with a visible game window on the headless host, and helpers to
// set the display up the way start-up does and to read surface pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ddraw_setup.h"
#include "dib.h"
#include "headless.h"
#include "surface_pixels.h"
#include "user_state.h"

class DisplayTest : public ::testing::Test {
  protected:
    HWND hwnd = nullptr;

    void SetUp() override {
        headless::Reset();
        platform::ResetWindowingForTests();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DisplayTest";
        ASSERT_NE(RegisterClassA(&wc), 0);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, "DisplayTest", "DisplayTest", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                               nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr);
    }

    void TearDown() override {
        if (lpDDSOffscreen) lpDDSOffscreen->Release();
        if (lpDDPal) lpDDPal->Release();
        if (lpDDPalTitle) lpDDPalTitle->Release();
        lpDDSOffscreen = nullptr;
        lpDDPal = lpDDPalTitle = nullptr;
        ReleaseDirectDraw();
        headless::Reset();
        platform::ResetWindowingForTests();
    }

    // Display, chain and a palette whose entry i is (i, 255 - i, i / 2).
    void SetUpDisplay() {
        ASSERT_EQ(InitDirectDraw(hwnd), 1);
        ASSERT_EQ(CreateFlippingSurfaces(), 1);
        RGBQUAD table[256];
        for (int i = 0; i < 256; i++) table[i] = RGBQUAD{BYTE(i / 2), BYTE(255 - i), BYTE(i), 0};
        CreatePaletteFromDib(&lpDDPal, table);
        ASSERT_NE(lpDDPal, nullptr);
        ASSERT_EQ(lpDDSPrimary->SetPalette(lpDDPal), DD_OK);
        ASSERT_EQ(lpDDSBack->SetPalette(lpDDPal), DD_OK);
    }

    static std::vector<uint8_t> Pixels(LPDIRECTDRAWSURFACE surface) { return SurfacePixels(surface); }

    static void Fill(LPDIRECTDRAWSURFACE surface, BYTE value) {
        DDBLTFX fx;
        std::memset(&fx, 0, sizeof(fx));
        fx.dwSize = sizeof(fx);
        fx.dwFillColor = value;
        ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }
};
