// The GDI device context behind an HDC. DirectDraw hands one out for a
// surface (IDirectDrawSurface::GetDC); BeginPaint hands out one without
// pixels. GDI functions accept only HDCs that are alive.
#pragma once

#include <cstdint>

#include <windows.h>

struct HDC__ {
    HDC__();
    virtual ~HDC__();
    HDC__(const HDC__&) = delete;
    HDC__& operator=(const HDC__&) = delete;

    // The 8-bit pixels drawn on: null for a context without pixels.
    virtual uint8_t* Bits() = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual int Pitch() const = 0;
    // The 256 colours in force: the surface's palette, else the primary
    // surface's, else the system's default palette.
    virtual const PALETTEENTRY* Palette() const = 0;
    // Called after GDI wrote pixels, so a visible surface can be shown again.
    virtual void Touched() {}
};

namespace platform {

// True for a device context that exists and has not been released.
bool IsLiveDC(HDC hdc);

// The system's default palette: the 20 static colours at 0..9 and 246..255,
// black in between. Used by a context whose surface has no palette in reach.
const PALETTEENTRY* DefaultPalette();

// The palette index whose colour is nearest to `color` (squared RGB
// distance); the first index wins a tie.
uint8_t NearestPaletteIndex(const PALETTEENTRY* palette, COLORREF color);

} // namespace platform
