// Display set-up: the DirectDraw object, the flipping chain, palettes, the
// sprite surface and its colour key, and the "DirectDraw Error" box.
#include "ddraw_setup.h"

#include <cstring>

LPDIRECTDRAW lpDD = nullptr;
LPDIRECTDRAWSURFACE lpDDSPrimary = nullptr;
LPDIRECTDRAWSURFACE lpDDSBack = nullptr;
LPDIRECTDRAWSURFACE lpDDSOffscreen = nullptr;
LPDIRECTDRAWPALETTE lpDDPal = nullptr;
LPDIRECTDRAWPALETTE lpDDPalTitle = nullptr;
CDib* SheetImage = nullptr;

int InitDirectDraw(HWND hwnd) {
    if (DirectDrawCreate(nullptr, &lpDD, nullptr) != DD_OK) return ReportError("DirectDrawCreate Failed");
    if (lpDD->SetCooperativeLevel(hwnd, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK)
        return ReportError("SetCooperativeLevel Failed");
    if (lpDD->SetDisplayMode(640, 480, 8) != DD_OK) return ReportError("SetDisplayMode Failed");
    return 1;
}

int CreateFlippingSurfaces() {
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    ddsd.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    ddsd.dwBackBufferCount = 2; // three buffers in the chain
    ddsd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    if (lpDD->CreateSurface(&ddsd, &lpDDSPrimary, nullptr) != DD_OK) return ReportError("Create lpDDSPrimary Failed");

    DDSCAPS caps;
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (lpDDSPrimary->GetAttachedSurface(&caps, &lpDDSBack) != DD_OK) return ReportError("Attach lpDDSBack Failed");
    return 1;
}

HRESULT CreatePaletteFromDib(LPDIRECTDRAWPALETTE* palette, const RGBQUAD* colorTable) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; i++) {
        // The table runs blue, green, red; a palette entry red, green, blue.
        entries[i].peRed = colorTable[i].rgbRed;
        entries[i].peGreen = colorTable[i].rgbGreen;
        entries[i].peBlue = colorTable[i].rgbBlue;
        entries[i].peFlags = 0; // no special palette behaviour
    }
    return lpDD->CreatePalette(DDPCAPS_8BIT, entries, palette, nullptr);
}

LPDIRECTDRAWSURFACE CreateOffscreenSurface(DWORD width, DWORD height) {
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    ddsd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    ddsd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    ddsd.dwWidth = width;
    ddsd.dwHeight = height;
    LPDIRECTDRAWSURFACE surface = nullptr;
    if (lpDD->CreateSurface(&ddsd, &surface, nullptr) != DD_OK) return nullptr;
    return surface;
}

// Locks the primary surface, repeating while the blitter is busy, and reads
// the pixel value at (0, 0) masked to the surface's bit depth.
static HRESULT ReadPrimaryPixelZero(DWORD* value) {
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    HRESULT hr;
    while ((hr = lpDDSPrimary->Lock(nullptr, &ddsd, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    if (hr != DD_OK) return hr;
    DWORD raw;
    std::memcpy(&raw, ddsd.lpSurface, sizeof(raw));
    unsigned long long mask = (1ULL << ddsd.ddpfPixelFormat.dwRGBBitCount) - 1;
    *value = static_cast<DWORD>(raw & mask);
    lpDDSPrimary->Unlock(nullptr);
    return DD_OK;
}

HRESULT SetColorKeyFromPixel(LPDIRECTDRAWSURFACE surface, int x, int y) {
    HDC surfaceDC = nullptr, primaryDC = nullptr;
    HRESULT hr = surface->GetDC(&surfaceDC);
    if (hr != DD_OK) return hr;
    hr = lpDDSPrimary->GetDC(&primaryDC);
    if (hr != DD_OK) {
        surface->ReleaseDC(surfaceDC);
        return hr;
    }
    COLORREF saved = GetPixel(primaryDC, 0, 0);
    SetPixel(primaryDC, 0, 0, GetPixel(surfaceDC, x, y));
    // Both contexts go back before the lock.
    surface->ReleaseDC(surfaceDC);
    lpDDSPrimary->ReleaseDC(primaryDC);

    DWORD key = 0;
    HRESULT lockResult = ReadPrimaryPixelZero(&key);

    // The screen pixel gets its colour back whether or not the lock worked.
    if (lpDDSPrimary->GetDC(&primaryDC) == DD_OK) {
        SetPixel(primaryDC, 0, 0, saved);
        lpDDSPrimary->ReleaseDC(primaryDC);
    }
    if (lockResult != DD_OK) return lockResult;

    DDCOLORKEY colorKey;
    colorKey.dwColorSpaceLowValue = key;
    colorKey.dwColorSpaceHighValue = key;
    return surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
}

int ReportError(LPCSTR text) {
    char buffer[80];
    // The text is an argument, never the format: no text can act as one.
    wsprintfA(buffer, "%s", text);
    MessageBoxA(GetActiveWindow(), buffer, "DirectDraw Error", MB_OK);
    return 0;
}

void ReleaseDirectDraw() {
    if (!lpDD) return;
    if (lpDDSPrimary) {
        lpDDSPrimary->Release();
        lpDDSPrimary = nullptr;
    }
    if (lpDDSBack) {
        lpDDSBack->Release();
        lpDDSBack = nullptr;
    }
    lpDD->Release();
    lpDD = nullptr;
}

int CreateScreenOffscreen() {
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    ddsd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    ddsd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    ddsd.dwWidth = 640;
    ddsd.dwHeight = 480;
    return lpDD->CreateSurface(&ddsd, &lpDDSOffscreen, nullptr) == DD_OK ? 1 : 0;
}

int SetColorKeyValue(LPDIRECTDRAWSURFACE surface, DWORD key) {
    DDCOLORKEY colorKey;
    colorKey.dwColorSpaceLowValue = key;
    colorKey.dwColorSpaceHighValue = key;
    return surface->SetColorKey(DDCKEY_SRCBLT, &colorKey) == DD_OK ? 1 : 0;
}
