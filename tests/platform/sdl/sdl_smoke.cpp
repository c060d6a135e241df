// A small Win32 + DirectDraw program for the SDL host's smoke test. It takes
// the display into 640 x 480 x 8 with a flipping chain, flips a back buffer
// filled with palette index 1 (pure red) to the screen, prints READY, then
// echoes every WM_KEYDOWN as "WM_KEYDOWN <vk in hex>" and quits on Esc.
// It uses only windows.h and ddraw.h, as the game does; sdl_smoke.sh drives it.
#include <cstdio>

#include <ddraw.h>
#include <windows.h>

namespace {

constexpr BYTE kRedIndex = 1;

LRESULT CALLBACK SmokeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        std::printf("WM_KEYDOWN %02X\n", static_cast<unsigned>(wParam));
        std::fflush(stdout);
        if (wParam == VK_ESCAPE) PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

int Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "sdl_smoke: %s failed (0x%08X)\n", what, static_cast<unsigned>(hr));
    return 1;
}

struct Display {
    IDirectDraw* dd = nullptr;
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    IDirectDrawPalette* palette = nullptr;

    ~Display() {
        if (palette) palette->Release();
        if (back) back->Release();
        if (primary) primary->Release();
        if (dd) dd->Release();
    }
};

// Exclusive 640 x 480 x 8, a primary with two back buffers, and a palette
// whose entry 1 is pure red on the primary. Returns 0 or the exit code.
int SetUpDisplay(HWND hwnd, Display& d) {
    HRESULT hr = DirectDrawCreate(nullptr, &d.dd, nullptr);
    if (FAILED(hr)) return Fail("DirectDrawCreate", hr);
    hr = d.dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    if (FAILED(hr)) return Fail("SetCooperativeLevel", hr);
    hr = d.dd->SetDisplayMode(640, 480, 8);
    if (FAILED(hr)) return Fail("SetDisplayMode", hr);

    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 2;
    hr = d.dd->CreateSurface(&desc, &d.primary, nullptr);
    if (FAILED(hr)) return Fail("CreateSurface", hr);
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    hr = d.primary->GetAttachedSurface(&caps, &d.back);
    if (FAILED(hr)) return Fail("GetAttachedSurface", hr);

    PALETTEENTRY entries[256]{};
    entries[kRedIndex] = PALETTEENTRY{255, 0, 0, 0};
    hr = d.dd->CreatePalette(DDPCAPS_8BIT, entries, &d.palette, nullptr);
    if (FAILED(hr)) return Fail("CreatePalette", hr);
    hr = d.primary->SetPalette(d.palette);
    if (FAILED(hr)) return Fail("SetPalette", hr);
    return 0;
}

int ShowRedFrame(Display& d) {
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = kRedIndex;
    HRESULT hr = d.back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    if (FAILED(hr)) return Fail("Blt", hr);
    hr = d.primary->Flip(nullptr, DDFLIP_WAIT);
    if (FAILED(hr)) return Fail("Flip", hr);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = SmokeWindowProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "SdlSmoke";
    if (!RegisterClassA(&wc)) return Fail("RegisterClassA", static_cast<HRESULT>(GetLastError()));
    HWND hwnd = CreateWindowExA(0, "SdlSmoke", "sdl smoke", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, hInstance, nullptr);
    if (!hwnd) return Fail("CreateWindowExA", static_cast<HRESULT>(GetLastError()));

    Display display;
    if (int code = SetUpDisplay(hwnd, display)) return code;
    if (int code = ShowRedFrame(display)) return code;
    std::printf("READY\n");
    std::fflush(stdout);

    MSG msg{};
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (got < 0) return Fail("GetMessageA", 0);
    return static_cast<int>(msg.wParam);
}
