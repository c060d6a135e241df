// CDib: construction, blank images, the info block and its header.
#include "dib.h"

#include <cstdlib>
#include <cstring>

#include "global_block.h"

// A BITMAPINFOHEADER followed by a full table of 256 RGBQUADs.
static const DWORD INFO_SIZE = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);

CDib::CDib() {
    lpInfo = nullptr;
    lpBits = nullptr;
    lpColorTable = nullptr;
    rcBounds = RECT{0, 0, 0, 0};
    // nError keeps no meaning until a failure; start it at 0 all the same.
    nError = 0;
    Create(640, 480);
}

CDib::~CDib() { Free(); }

void CDib::Free() {
    if (lpInfo) FreeLockedBlock(lpInfo);
    if (lpBits) FreeLockedBlock(lpBits);
    lpInfo = nullptr;
    lpBits = nullptr;
    lpColorTable = nullptr;
}

BOOL CDib::Create(LONG width, LONG height) {
    Free();
    lpInfo = static_cast<LPBITMAPINFO>(AllocLockedBlock(INFO_SIZE));
    if (!lpInfo) return FALSE;
    lpColorTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<LPBYTE>(lpInfo) + sizeof(BITMAPINFOHEADER));
    InitHeader(width, height);
    ResetBounds();
    SetGreyRamp();

    // 32-bit arithmetic, as the header's own fields are.
    DWORD rowLength = (static_cast<DWORD>(width) + 3) & ~3u;
    DWORD size = rowLength * static_cast<DWORD>(height);
    lpBits = static_cast<LPBYTE>(AllocLockedBlock(size));
    if (!lpBits) {
        Free();
        return FALSE;
    }
    std::memset(lpBits, 0, size);
    return TRUE;
}

BOOL CDib::AllocInfo() {
    if (lpInfo) FreeLockedBlock(lpInfo);
    lpInfo = static_cast<LPBITMAPINFO>(AllocLockedBlock(INFO_SIZE));
    if (!lpInfo) {
        lpColorTable = nullptr;
        SetError(8);
        return FALSE;
    }
    lpColorTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<LPBYTE>(lpInfo) + sizeof(BITMAPINFOHEADER));
    std::memset(lpInfo, 0, INFO_SIZE);
    return TRUE;
}

void CDib::SetError(int code) { nError = code; }

DWORD CDib::NumColors(const BITMAPINFOHEADER* header) {
    DWORD colors = 0;
    switch (header->biBitCount) {
    case 1: colors = 2; break;
    case 4: colors = 16; break;
    case 8: colors = 256; break;
    default: colors = 0; break;
    }
    if (header->biClrUsed != 0) colors = header->biClrUsed;
    return colors;
}

unsigned long long CDib::PixelBytesDescribed(const BITMAPINFOHEADER* header) {
    unsigned long long width = static_cast<unsigned long long>(std::llabs(static_cast<long long>(header->biWidth)));
    unsigned long long rows = static_cast<unsigned long long>(std::llabs(static_cast<long long>(header->biHeight)));
    unsigned long long rowBytes = (width * header->biBitCount + 31) / 32 * 4;
    return rowBytes * rows;
}

BOOL CDib::InitHeader(LONG width, LONG height) {
    if (!lpInfo) return FALSE;
    BITMAPINFOHEADER& h = lpInfo->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height; // positive: bottom-up rows
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = BI_RGB;
    h.biSizeImage = 0;
    h.biXPelsPerMeter = 0;
    h.biYPelsPerMeter = 0;
    h.biClrUsed = 0; // all 256 entries count
    h.biClrImportant = 0;
    return TRUE;
}

BOOL CDib::SetGreyRamp() {
    if (!lpColorTable) return FALSE;
    for (int i = 0; i < 256; i++) {
        BYTE level = static_cast<BYTE>(i);
        lpColorTable[i] = RGBQUAD{level, level, level, 0};
    }
    return TRUE;
}

void CDib::ResetBounds() {
    if (lpInfo)
        rcBounds = RECT{0, 0, lpInfo->bmiHeader.biWidth, lpInfo->bmiHeader.biHeight};
    else
        rcBounds = RECT{0, 0, 0, 0};
}

DWORD CDib::GetInfoSize() { return INFO_SIZE; }

LONG CDib::GetWidth() { return lpInfo ? lpInfo->bmiHeader.biWidth : 0; }

LONG CDib::GetHeight() { return lpInfo ? lpInfo->bmiHeader.biHeight : 0; }

RGBQUAD* CDib::GetColorTable() {
    if (!lpInfo) return nullptr;
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<LPBYTE>(lpInfo) + sizeof(BITMAPINFOHEADER));
}

void CDib::SetBounds(LONG left, LONG top, LONG right, LONG bottom) { rcBounds = RECT{left, top, right, bottom}; }

BOOL CDib::CopyInfo(CDib* other) {
    if (!AllocInfo()) return FALSE;
    if (other && other->lpInfo) std::memcpy(lpInfo, other->lpInfo, INFO_SIZE);
    return TRUE;
}

BOOL CDib::CopyColors(CDib* other) {
    if (!other || !other->lpInfo || !lpColorTable) return FALSE;
    DWORD count = NumColors(&other->lpInfo->bmiHeader);
    if (count > 256) count = 256; // the table has room for 256
    for (DWORD i = 0; i < count; i++) {
        lpColorTable[i].rgbRed = other->lpColorTable[i].rgbRed;
        lpColorTable[i].rgbGreen = other->lpColorTable[i].rgbGreen;
        lpColorTable[i].rgbBlue = other->lpColorTable[i].rgbBlue;
    }
    return TRUE;
}
