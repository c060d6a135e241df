// The API suite's fixture. The suite states what the game relies on from
// Win32, GDI and DirectDraw, and builds twice: against platform/ on the
// headless host, and with MinGW against the real SDK, where it runs under
// Wine. So it uses nothing but the API itself: no host test controls.
// Deactivation is a minimized window, as on a desktop.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include <ddraw.h>
#include <windows.h>

namespace api {

// True when the suite runs on Wine rather than on Windows or our platform.
// Wine's ntdll exports wine_get_version; Windows' does not.
inline bool RunningOnWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// The WM_ACTIVATEAPP messages the test window received, in order.
inline std::vector<WPARAM> activations;
// Every message the test window received, in order.
inline std::vector<UINT> messages;

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    messages.push_back(message);
    if (message == WM_ACTIVATEAPP) activations.push_back(wParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

inline const char* TestClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "ApiSuite";
        return RegisterClassA(&wc) != 0;
    }();
    return registered ? "ApiSuite" : nullptr;
}

// Dispatches this thread's messages until done() holds or `ms` pass.
// Natively every change is already there; Wine hears from the X server.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

inline bool LastActivationIs(WPARAM active) {
    return !activations.empty() && activations.back() == active;
}

inline DDSURFACEDESC EmptyDesc() {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    return desc;
}

// A visible top-level 640 x 480 window, as the game makes, and the display
// set up as the game sets it up; everything is released after each test.
class ApiTest : public ::testing::Test {
  public:
    HWND hwnd = nullptr;
    LPDIRECTDRAW dd = nullptr;
    LPDIRECTDRAWSURFACE primary = nullptr;
    LPDIRECTDRAWSURFACE back = nullptr; // the first back buffer; the chain holds it
    std::vector<IUnknown*> owned;       // released in TearDown, last first

    void SetUp() override {
        activations.clear();
        messages.clear();
        ASSERT_NE(TestClass(), nullptr);
        hwnd = CreateWindowExA(WS_EX_TOPMOST, TestClass(), "ApiSuite", WS_POPUP | WS_VISIBLE, 0, 0, 640,
                               480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hwnd, nullptr);
        SetFocus(hwnd);
        ASSERT_TRUE(PumpUntil([] { return LastActivationIs(TRUE); })) << "the window never became active";
        // Under Wine the window manager maps and focuses the window a little
        // later; a minimize before that is lost.
        if (RunningOnWine()) PumpUntil([] { return false; }, 300);
    }

    void TearDown() override {
        for (auto it = owned.rbegin(); it != owned.rend(); ++it)
            (*it)->Release();
        owned.clear();
        if (primary) primary->Release();
        if (dd) dd->Release();
        primary = back = nullptr;
        dd = nullptr;
        if (hwnd) DestroyWindow(hwnd);
        hwnd = nullptr;
        PumpUntil([] { return false; }, 0);
    }

    // The DirectDraw object in exclusive full-screen 640 x 480 x 8.
    void Exclusive() {
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(640, 480, 8), DD_OK);
    }

    // Exclusive mode, the primary with `backBuffers` back buffers, and the
    // first back buffer in `back`, fetched as the game fetches it.
    void Chain(DWORD backBuffers = 2) {
        Exclusive();
        DDSURFACEDESC desc = EmptyDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = backBuffers;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
        back->Release(); // the chain keeps it alive
    }

    LPDIRECTDRAWSURFACE Offscreen(DWORD width, DWORD height) {
        DDSURFACEDESC desc = EmptyDesc();
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        LPDIRECTDRAWSURFACE surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
        if (surface) owned.push_back(surface);
        return surface;
    }

    LPDIRECTDRAWPALETTE Palette(const PALETTEENTRY* entries) {
        LPDIRECTDRAWPALETTE palette = nullptr;
        EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT, const_cast<PALETTEENTRY*>(entries), &palette, nullptr), DD_OK);
        if (palette) owned.push_back(palette);
        return palette;
    }

    // Minimizes the window and waits until the application has heard that
    // it is no longer active.
    void Deactivate() {
        ShowWindow(hwnd, SW_MINIMIZE);
        ASSERT_TRUE(PumpUntil([] { return LastActivationIs(FALSE); })) << "minimizing did not deactivate";
    }

    // Brings the window back as switching to it does, and waits for the
    // application to be active again.
    void Activate() {
        ShowWindow(hwnd, SW_RESTORE);
        SetFocus(hwnd);
        ASSERT_TRUE(PumpUntil([] { return LastActivationIs(TRUE); })) << "restoring did not activate";
    }

    static void SetKey(LPDIRECTDRAWSURFACE surface, BYTE key) {
        DDCOLORKEY ck{key, key};
        ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &ck), DD_OK);
    }

    // The surface's pixels, row after row, read through a lock; empty when
    // the lock fails.
    static std::vector<uint8_t> Pixels(LPDIRECTDRAWSURFACE surface) {
        DDSURFACEDESC desc = EmptyDesc();
        std::vector<uint8_t> out;
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return out;
        out.resize(static_cast<size_t>(desc.dwWidth) * desc.dwHeight);
        for (DWORD y = 0; y < desc.dwHeight; y++)
            std::memcpy(&out[y * desc.dwWidth], static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                        desc.dwWidth);
        surface->Unlock(nullptr);
        return out;
    }

    // Writes `pixels` (row after row, the surface's width) through a lock.
    static void Write(LPDIRECTDRAWSURFACE surface, const std::vector<uint8_t>& pixels) {
        DDSURFACEDESC desc = EmptyDesc();
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(desc.dwWidth) * desc.dwHeight);
        for (DWORD y = 0; y < desc.dwHeight; y++)
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, &pixels[y * desc.dwWidth],
                        desc.dwWidth);
        ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    }

    static HRESULT Fill(LPDIRECTDRAWSURFACE surface, DWORD color, LPRECT rect = nullptr) {
        DDBLTFX fx;
        std::memset(&fx, 0, sizeof fx);
        fx.dwSize = sizeof fx;
        fx.dwFillColor = color;
        return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }

    static uint8_t First(LPDIRECTDRAWSURFACE surface) {
        std::vector<uint8_t> pixels = Pixels(surface);
        return pixels.empty() ? 0xEE : pixels[0];
    }
};

} // namespace api
