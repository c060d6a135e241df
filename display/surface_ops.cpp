// Surface operations of every frame, with recovery of lost surfaces.
#include "surface_ops.h"

#include <cstring>

#include "ddraw_setup.h"
#include "dib.h"

HRESULT ClearSurface(LPDIRECTDRAWSURFACE surface) {
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof(fx));
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0;
    for (;;) {
        HRESULT hr = surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
        if (hr == DD_OK) return DD_OK;
        if (hr == DDERR_SURFACELOST) {
            // The fill itself is not repeated: this frame's surface stays as it was.
            HRESULT restored = RestoreAll();
            return restored != DD_OK ? restored : DD_OK;
        }
        if (hr != DDERR_WASSTILLDRAWING) return hr;
    }
}

HRESULT FlipPages() {
    for (;;) {
        HRESULT hr = lpDDSPrimary->Flip(nullptr, 0);
        if (hr == DD_OK) return DD_OK;
        if (hr == DDERR_SURFACELOST) {
            // The frame is never shown.
            HRESULT restored = RestoreAll();
            return restored != DD_OK ? restored : DD_OK;
        }
        if (hr != DDERR_WASSTILLDRAWING) return hr;
    }
}

int BltFastLoop(LPDIRECTDRAWSURFACE source, LPDIRECTDRAWSURFACE dest, LONG x, LONG y, LPRECT sourceRect,
                DWORD flags) {
    for (;;) {
        // A negative position reaches BltFast as a large unsigned value, which it refuses.
        HRESULT hr = dest->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), source, sourceRect, flags);
        if (hr == DD_OK) return 1;
        if (hr == DDERR_WASSTILLDRAWING) continue;
        if (hr == DDERR_SURFACELOST) RestoreAll(); // the blit is not repeated
        return 0;
    }
}

int DrawSprite(LONG x, LONG y, RECT rect, int opaque) {
    DWORD flags = opaque ? DDBLTFAST_WAIT : (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    return BltFastLoop(lpDDSOffscreen, lpDDSBack, x, y, &rect, flags);
}

HRESULT RestoreAll() {
    HRESULT hr = lpDDSPrimary->Restore();
    if (hr != DD_OK) return hr;
    // The back buffer was created with the primary, whose Restore already
    // brought it back; DirectDraw answers DDERR_IMPLICITLYCREATED for it.
    hr = lpDDSBack->Restore();
    if (hr != DD_OK && hr != DDERR_IMPLICITLYCREATED) return hr;
    hr = lpDDSOffscreen->Restore();
    // A restored surface comes back without its pixels: the sprite sheet is
    // painted again (its colour key stays set), or every sprite would be gone.
    if (hr == DD_OK && SheetImage) CopyDibToSurface(lpDDSOffscreen, SheetImage);
    return hr;
}

int CopyDibToSurface(LPDIRECTDRAWSURFACE surface, CDib* dib) {
    surface->Restore();
    HDC hdc = nullptr;
    if (surface->GetDC(&hdc) != DD_OK) return 0;
    dib->Paint(hdc, 0, 0);
    surface->ReleaseDC(hdc);
    return 1;
}

int CopyBackToOffscreen(LONG x, LONG y, RECT rect, int opaque) {
    DWORD flags = opaque ? DDBLTFAST_WAIT : (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    return BltFastLoop(lpDDSBack, lpDDSOffscreen, x, y, &rect, flags);
}

HRESULT PlotBackPixel(int x, int y, BYTE color) {
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    HRESULT hr;
    while ((hr = lpDDSBack->Lock(nullptr, &ddsd, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    if (hr != DD_OK) return hr;
    // A pixel outside the buffer would be written outside its memory.
    if (x < 0 || y < 0 || static_cast<DWORD>(x) >= ddsd.dwWidth || static_cast<DWORD>(y) >= ddsd.dwHeight) {
        lpDDSBack->Unlock(nullptr);
        return DDERR_INVALIDPARAMS;
    }
    static_cast<LPBYTE>(ddsd.lpSurface)[y * ddsd.lPitch + x] = color;
    return lpDDSBack->Unlock(nullptr);
}

DWORD BusyWait() {
    DWORD start = GetTickCount();
    DWORD now;
    do {
        now = GetTickCount();
    } while (!(now > start + 93));
    return now;
}
