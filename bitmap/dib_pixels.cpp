// CDib pixel operations on 8-bit images: reading single pixels and copying
// rectangles between two images. Coordinates count from the top-left of the
// picture; rows are found with the image's real (padded) row length and
// either row order, and pixels outside an image are never touched.
#include "dib.h"

#include "global_block.h"

// The address of pixel (x, y), or null when the image is not an 8-bit image
// or (x, y) lies outside it or outside its pixel block.
LPBYTE CDib::PixelAddress(int x, int y) {
    if (!lpInfo || !lpBits || lpInfo->bmiHeader.biBitCount != 8) return nullptr;
    long long width = lpInfo->bmiHeader.biWidth;
    long long height = lpInfo->bmiHeader.biHeight;
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
    long long rowLength = (width + 3) & ~3LL;
    long long row = topDown ? y : height - 1 - y;
    long long offset = row * rowLength + x;
    if (offset >= static_cast<long long>(LockedBlockSize(lpBits))) return nullptr;
    return lpBits + offset;
}

BYTE CDib::GetPixelByte(int x, int y) {
    LPBYTE pixel = PixelAddress(x, y);
    return pixel ? *pixel : 0;
}

int CDib::GetPixelIndex(int x, int y) { return GetPixelByte(x, y); }

BOOL CDib::CopyPixels(CDib* source, const RECT& src, const RECT& dst, bool keyed, BYTE transparent) {
    if (!source) return FALSE;
    for (LONG i = 0; i < src.bottom - src.top; i++) {
        for (LONG j = 0; j < src.right - src.left; j++) {
            LPBYTE from = source->PixelAddress(src.left + j, src.top + i);
            LPBYTE to = PixelAddress(dst.left + j, dst.top + i);
            if (!from || !to) continue;
            if (keyed && *from == transparent) continue;
            *to = *from;
        }
    }
    return TRUE;
}

BOOL CDib::CopyArea(CDib* source, RECT src, RECT dst) { return CopyPixels(source, src, dst, false, 0); }

BOOL CDib::CopyAreaTransparent(CDib* source, RECT src, RECT dst, BYTE transparent) {
    return CopyPixels(source, src, dst, true, transparent);
}
