// The smallest DirectDraw program that shows a 256-colour palette the
// documented way: exclusive full-screen 640 x 480 x 8, the primary with two
// back buffers, a DDPCAPS_8BIT | DDPCAPS_ALLOW256 palette set on the
// primary, and every index drawn through a lock of the back buffer and
// flipped to the screen. Index i fills the 40 x 30 cell in column i % 16,
// row i / 16, so a capture of the window tells the colour each index shows.
//
//   palette_probe.exe [BMP]
//
// With a BMP the palette is its colour table (the way the game builds its
// palette from city2.bmp); without one, 256 colours that all differ. It
// flips ten times a second until Esc, a close, or 60 seconds. Exit status 0,
// or 1 with the failing call on stderr.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <ddraw.h>
#include <windows.h>

namespace {

bool done = false;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_KEYDOWN && wParam == VK_ESCAPE) || message == WM_DESTROY) done = true;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int Fail(const char* call, HRESULT hr) {
    std::fprintf(stderr, "palette_probe: %s failed: 0x%08lx\n", call, static_cast<unsigned long>(hr));
    return 1;
}

// The 256-entry colour table of an 8-bit BMP (blue, green, red, reserved
// after the 54-byte headers), as palette entries; false when it is none.
bool ReadColourTable(const char* path, PALETTEENTRY* entries) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 54 + 1024 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 8) return false;
    for (int i = 0; i < 256; i++) {
        const unsigned char* quad = &bytes[54 + 4 * i];
        entries[i] = {quad[2], quad[1], quad[0], 0};
    }
    return true;
}

void DistinctColours(PALETTEENTRY* entries) {
    for (int i = 0; i < 256; i++)
        entries[i] = {BYTE(i), BYTE(255 - i), BYTE((i * 37) & 0xFF), 0};
}

HRESULT DrawCells(LPDIRECTDRAWSURFACE surface) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    HRESULT hr = surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (hr != DD_OK) return hr;
    auto* bits = static_cast<BYTE*>(desc.lpSurface);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) bits[y * desc.lPitch + x] = static_cast<BYTE>((y / 30) * 16 + x / 40);
    return surface->Unlock(nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    PALETTEENTRY entries[256];
    if (commandLine && *commandLine) {
        if (!ReadColourTable(commandLine, entries)) return Fail("reading the BMP's colour table", E_FAIL);
    } else {
        DistinctColours(entries);
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "PaletteProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "PaletteProbe", "PaletteProbe", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, instance, nullptr);
    if (!hwnd) return Fail("CreateWindowExA", E_FAIL);
    SetFocus(hwnd);

    LPDIRECTDRAW dd = nullptr;
    HRESULT hr;
    if ((hr = DirectDrawCreate(nullptr, &dd, nullptr)) != DD_OK) return Fail("DirectDrawCreate", hr);
    if ((hr = dd->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN)) != DD_OK)
        return Fail("SetCooperativeLevel", hr);
    if ((hr = dd->SetDisplayMode(640, 480, 8)) != DD_OK) return Fail("SetDisplayMode", hr);

    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 2;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    LPDIRECTDRAWSURFACE primary = nullptr, back = nullptr;
    if ((hr = dd->CreateSurface(&desc, &primary, nullptr)) != DD_OK) return Fail("CreateSurface", hr);
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    if ((hr = primary->GetAttachedSurface(&caps, &back)) != DD_OK) return Fail("GetAttachedSurface", hr);

    LPDIRECTDRAWPALETTE palette = nullptr;
    if ((hr = dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr)) != DD_OK)
        return Fail("CreatePalette", hr);
    if ((hr = primary->SetPalette(palette)) != DD_OK) return Fail("SetPalette", hr);

    DWORD end = GetTickCount() + 60000;
    while (!done && static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // Every buffer of the chain gets the cells in turn.
        if ((hr = DrawCells(back)) != DD_OK) return Fail("Lock", hr);
        if ((hr = primary->Flip(nullptr, DDFLIP_WAIT)) != DD_OK && hr != DDERR_SURFACELOST) return Fail("Flip", hr);
        if (hr == DDERR_SURFACELOST) primary->Restore();
        Sleep(100);
    }
    palette->Release();
    back->Release();
    primary->Release();
    dd->Release();
    return 0;
}
