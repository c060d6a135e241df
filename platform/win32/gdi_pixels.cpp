// GDI single pixels on a device context's 8-bit surface: GetPixel reads the
// colour of the stored palette index, SetPixel stores the palette's nearest
// colour.
#include <windows.h>

#include "device_context.h"
#include "faults.h"

namespace {

// The pixel at (x, y) of a live context with pixels, or null when the
// context is dead, has no pixels or (x, y) lies outside its surface.
uint8_t* PixelAt(HDC hdc, int x, int y) {
    if (!platform::IsLiveDC(hdc)) return nullptr;
    uint8_t* bits = hdc->Bits();
    if (!bits || x < 0 || y < 0 || x >= hdc->Width() || y >= hdc->Height()) return nullptr;
    return bits + static_cast<ptrdiff_t>(y) * hdc->Pitch() + x;
}

COLORREF EntryColor(const PALETTEENTRY& entry) { return RGB(entry.peRed, entry.peGreen, entry.peBlue); }

// The palette index a COLORREF selects: PALETTEINDEX(i) names entry i
// (entry 0 past the end), DIBINDEX(n) names index n of the 8-bit surface,
// and an RGB or PALETTERGB colour gets the nearest entry.
uint8_t IndexFor(const PALETTEENTRY* palette, COLORREF color) {
    if (color & 0x01000000) return LOWORD(color) < 256 ? static_cast<uint8_t>(LOWORD(color)) : 0;
    if ((color >> 16) == 0x10FF) return LOWORD(color) < 256 ? static_cast<uint8_t>(LOWORD(color)) : 0;
    return platform::NearestPaletteIndex(palette, color & 0x00FFFFFF);
}

} // namespace

// The RGB colour of the palette entry stored at (x, y); CLR_INVALID outside
// the surface or on a context without pixels.
extern "C" COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    if (platform::InjectedFailure("GetPixel")) return CLR_INVALID;
    const uint8_t* pixel = PixelAt(hdc, x, y);
    if (!pixel) return CLR_INVALID;
    return EntryColor(hdc->Palette()[*pixel]);
}

// Stores the palette index nearest to `color` (first index wins a tie) and
// returns the colour actually set, that entry's RGB. (COLORREF)-1 outside
// the surface or on a context without pixels.
extern "C" COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    const COLORREF failed = static_cast<COLORREF>(-1);
    if (platform::InjectedFailure("SetPixel")) return failed;
    uint8_t* pixel = PixelAt(hdc, x, y);
    if (!pixel) return failed;
    const PALETTEENTRY* palette = hdc->Palette();
    *pixel = IndexFor(palette, color);
    hdc->Touched();
    return EntryColor(palette[*pixel]);
}
