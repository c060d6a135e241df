// CDib painting through GDI, and its GDI palette.
#include "dib.h"

#include <cstdint>

#include "global_block.h"

// Painting needs a complete image: an info block whose header and colour
// table fit in it, uncompressed rows, and a pixel block holding every row
// the header describes. StretchDIBits reads as much as the header says.
bool CDib::CanPaint() {
    if (!lpInfo || !lpBits) return false;
    const BITMAPINFOHEADER& h = lpInfo->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB) return false;
    if (h.biWidth <= 0 || h.biHeight == 0) return false;
    unsigned long long colors = NumColors(&h);
    if (h.biSize + colors * sizeof(RGBQUAD) > GetInfoSize()) return false;
    return PixelBytesDescribed(&h) <= LockedBlockSize(lpBits);
}

int CDib::PaintArea(HDC hdc, int x, int y, int width, int height) {
    if (!CanPaint()) return 0;
    return StretchDIBits(hdc, x, y, width, height, 0, 0, width, height, lpBits, lpInfo, DIB_RGB_COLORS, SRCCOPY);
}

int CDib::Paint(HDC hdc, int x, int y) {
    if (!lpInfo) return 0;
    // A top-down image has a negative height; the painted area is its size.
    // The most negative height has no positive counterpart: nothing to paint.
    LONG height = lpInfo->bmiHeader.biHeight;
    if (height == INT32_MIN) return 0;
    return PaintArea(hdc, x, y, lpInfo->bmiHeader.biWidth, height < 0 ? -height : height);
}

int CDib::PaintRect(HDC hdc, LPRECT rect) {
    if (!rect || !lpInfo) return 0;
    long long width = static_cast<long long>(rect->right) - rect->left;
    long long height = static_cast<long long>(rect->bottom) - rect->top;
    if (width < INT32_MIN || width > INT32_MAX || height < INT32_MIN || height > INT32_MAX) return 0;
    if (!CanPaint()) return 0;
    int w = static_cast<int>(width), h = static_cast<int>(height);
    return StretchDIBits(hdc, rect->left, rect->top, w, h, 0, 0, w, h, lpBits, lpInfo, DIB_RGB_COLORS, SRCCOPY);
}

HPALETTE CDib::CreateGdiPalette() {
    if (!lpInfo) return nullptr;
    // LOGPALETTE declares one entry; the block has room for all 256.
    struct {
        WORD palVersion;
        WORD palNumEntries;
        PALETTEENTRY entries[256];
    } block = {0x300, 256, {}};
    DWORD count = NumColors(&lpInfo->bmiHeader);
    if (count > 256) count = 256;
    for (DWORD i = 0; i < count; i++) {
        block.entries[i].peRed = lpColorTable[i].rgbRed;
        block.entries[i].peGreen = lpColorTable[i].rgbGreen;
        block.entries[i].peBlue = lpColorTable[i].rgbBlue;
        block.entries[i].peFlags = 0;
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&block));
}
