// GDI painting of device-independent bitmaps: StretchDIBits onto a device
// context's 8-bit surface, each source colour stored as the nearest colour
// of the context's palette.
//
// What is reproduced, as Windows behaves with SRCCOPY:
// - The source rectangle is in DIB pixels. For a bottom-up DIB (positive
//   biHeight) ySrc counts from the bottom row of the picture; for a top-down
//   DIB it counts from the top only for an unstretched copy from the origin
//   (xSrc = ySrc = 0, equal sizes), and from the bottom otherwise.
// - A negative width or height runs the rectangle the other way from its
//   origin; where the signs of source and destination differ the picture is
//   mirrored.
// - Stretching picks the nearest source pixel (COLORONCOLOR): destination
//   step i shows source step i * |SrcSize| / |DestSize|.
// - The destination is clipped to the surface and the source to the DIB;
//   nothing outside either is read or written.
// - The result is the DIB's height in scan lines when the source rectangle
//   touches the DIB, else 0.
// Not implemented, and refused with 0: raster operations other than SRCCOPY,
// compressed or bit-field DIBs (BI_RLE8, BI_RLE4, BI_BITFIELDS), and the
// OS/2 BITMAPCOREHEADER.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <windows.h>

#include "device_context.h"
#include "faults.h"

namespace {

struct Dib {
    const uint8_t* bits;
    long long width;
    long long height; // rows, always positive
    bool topDown;
    int bitCount;
    size_t stride; // bytes per row, padded to 4

    // Row y of the picture, counted from the top.
    const uint8_t* Row(long long y) const {
        long long stored = topDown ? y : height - 1 - y;
        return bits + static_cast<size_t>(stored) * stride;
    }
};

bool IsKnownHeaderSize(DWORD size) {
    // BITMAPINFOHEADER and its V2, V3, V4 and V5 extensions.
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// Checks the header as Windows does and describes the pixel array.
bool ReadDib(const BITMAPINFOHEADER& header, const void* bits, Dib* dib) {
    if (!IsKnownHeaderSize(header.biSize) || header.biCompression != BI_RGB) return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes == 0) return false;
    switch (header.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    dib->bits = static_cast<const uint8_t*>(bits);
    dib->width = header.biWidth;
    dib->height = std::llabs(static_cast<long long>(header.biHeight));
    dib->topDown = header.biHeight < 0;
    dib->bitCount = header.biBitCount;
    dib->stride = static_cast<size_t>((dib->width * dib->bitCount + 31) / 32 * 4);
    // An image of more than 4 GB is refused, as Windows refuses it.
    return dib->stride * static_cast<unsigned long long>(dib->height) <= 0xFFFFFFFFull;
}

// The palette indices of the 256 possible values of a <= 8 bpp pixel,
// matched once per call. Values past the colour table show black.
std::array<uint8_t, 256> IndexTable(const BITMAPINFO* bmi, UINT usage, const PALETTEENTRY* palette) {
    const BITMAPINFOHEADER& header = bmi->bmiHeader;
    unsigned values = 1u << header.biBitCount;
    unsigned count = header.biClrUsed == 0 || header.biClrUsed > values ? values : header.biClrUsed;
    const uint8_t* table = reinterpret_cast<const uint8_t*>(bmi) + header.biSize;

    std::array<uint8_t, 256> indices{};
    uint8_t black = platform::NearestPaletteIndex(palette, RGB(0, 0, 0));
    for (unsigned i = 0; i < values; i++) {
        if (i >= count) {
            indices[i] = black;
        } else if (usage == DIB_PAL_COLORS) {
            // The table holds 16-bit indices into the context's palette.
            WORD index;
            std::memcpy(&index, table + 2 * i, sizeof(index));
            indices[i] = static_cast<uint8_t>(index & 0xFF);
        } else {
            RGBQUAD quad;
            std::memcpy(&quad, table + 4 * i, sizeof(quad));
            indices[i] = platform::NearestPaletteIndex(palette, RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue));
        }
    }
    return indices;
}

// Nearest-index matching for direct-colour pixels, remembering each colour
// met (a direct-mapped cache keyed by the exact colour, so results never
// differ from a fresh search).
class ColorMatcher final {
  public:
    explicit ColorMatcher(const PALETTEENTRY* palette) : palette_(palette) {}

    uint8_t Match(uint8_t red, uint8_t green, uint8_t blue) {
        uint32_t rgb = (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
        Slot& slot = slots_[(rgb * 2654435761u) >> (32 - kSlotBits)];
        if (slot.key != (rgb | kValid)) {
            slot.key = rgb | kValid;
            slot.index = platform::NearestPaletteIndex(palette_, RGB(red, green, blue));
        }
        return slot.index;
    }

  private:
    static constexpr int kSlotBits = 12;
    static constexpr uint32_t kValid = 0x01000000;
    struct Slot {
        uint32_t key = 0;
        uint8_t index = 0;
    };
    const PALETTEENTRY* palette_;
    std::array<Slot, 1u << kSlotBits> slots_{};
};

// One axis of the copy: the destination and source coordinates of every
// step that lands inside both the surface and the DIB.
struct Axis {
    std::vector<int> dest;
    std::vector<long long> source;
};

// Steps i of a run of `destSize` pixels from `destOrigin` (toward lower
// coordinates when negative) over a surface of `destLimit`, each showing
// source pixel srcOrigin +/- i * |srcSize| / |destSize| of a DIB of `srcLimit`.
Axis MapAxis(long long destOrigin, long long destSize, long long srcOrigin, long long srcSize,
             long long destLimit, long long srcLimit) {
    Axis axis;
    long long destSteps = std::llabs(destSize), srcSteps = std::llabs(srcSize);
    long long first, last; // the steps that stay on the surface
    if (destSize > 0) {
        first = std::max(0LL, -destOrigin);
        last = std::min(destSteps, destLimit - destOrigin);
    } else {
        first = std::max(0LL, destOrigin - destLimit + 1);
        last = std::min(destSteps, destOrigin + 1);
    }
    for (long long i = first; i < last; i++) {
        long long j = i * srcSteps / destSteps;
        long long source = srcSize > 0 ? srcOrigin + j : srcOrigin - j;
        if (source < 0 || source >= srcLimit) continue;
        axis.dest.push_back(static_cast<int>(destSize > 0 ? destOrigin + i : destOrigin - i));
        axis.source.push_back(source);
    }
    return axis;
}

// True when the source rectangle (origin and signed size, runs as above)
// shares a pixel with [0, limit).
bool Touches(long long origin, long long size, long long limit) {
    long long low = size > 0 ? origin : origin + size + 1;
    long long high = size > 0 ? origin + size : origin + 1;
    return low < limit && high > 0;
}

// Writes every mapped pixel, `index(row, x)` giving the palette index of
// source pixel x of a source row.
template <typename IndexOf>
void CopyPixels(HDC hdc, const Dib& dib, const Axis& rows, const Axis& columns, IndexOf index) {
    uint8_t* surface = hdc->Bits();
    const ptrdiff_t pitch = hdc->Pitch();
    for (size_t r = 0; r < rows.dest.size(); r++) {
        const uint8_t* source = dib.Row(rows.source[r]);
        uint8_t* dest = surface + rows.dest[r] * pitch;
        for (size_t c = 0; c < columns.dest.size(); c++) dest[columns.dest[c]] = index(source, columns.source[c]);
    }
}

// The unstretched 8 bpp case, the one the program paints: runs of bytes
// through the index table, or straight copies when the table changes nothing.
void CopyRuns8(HDC hdc, const Dib& dib, const Axis& rows, const Axis& columns, const std::array<uint8_t, 256>& table) {
    bool identity = true;
    for (int i = 0; i < 256 && identity; i++) identity = table[i] == i;
    uint8_t* surface = hdc->Bits();
    const ptrdiff_t pitch = hdc->Pitch();
    const size_t count = columns.dest.size();
    for (size_t r = 0; r < rows.dest.size(); r++) {
        const uint8_t* source = dib.Row(rows.source[r]) + columns.source[0];
        uint8_t* dest = surface + rows.dest[r] * pitch + columns.dest[0];
        if (identity) {
            std::memcpy(dest, source, count);
        } else {
            for (size_t c = 0; c < count; c++) dest[c] = table[source[c]];
        }
    }
}

void Paint(HDC hdc, const Dib& dib, const BITMAPINFO* bmi, UINT usage, const Axis& rows, const Axis& columns,
           bool unstretchedColumns) {
    const PALETTEENTRY* palette = hdc->Palette();
    if (dib.bitCount <= 8) {
        const std::array<uint8_t, 256> table = IndexTable(bmi, usage, palette);
        if (dib.bitCount == 8 && unstretchedColumns) return CopyRuns8(hdc, dib, rows, columns, table);
        switch (dib.bitCount) {
        case 1: return CopyPixels(hdc, dib, rows, columns, [&](const uint8_t* row, long long x) {
                return table[(row[x >> 3] >> (7 - (x & 7))) & 1];
            });
        case 4: return CopyPixels(hdc, dib, rows, columns, [&](const uint8_t* row, long long x) {
                return table[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            });
        default: return CopyPixels(hdc, dib, rows, columns, [&](const uint8_t* row, long long x) { return table[row[x]]; });
        }
    }
    ColorMatcher matcher(palette);
    switch (dib.bitCount) {
    case 16: return CopyPixels(hdc, dib, rows, columns, [&](const uint8_t* row, long long x) {
            // X1R5G5B5; each 5-bit channel widened by repeating its top bits.
            unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            return matcher.Match(static_cast<uint8_t>((r << 3) | (r >> 2)), static_cast<uint8_t>((g << 3) | (g >> 2)),
                                 static_cast<uint8_t>((b << 3) | (b >> 2)));
        });
    case 24: return CopyPixels(hdc, dib, rows, columns, [&](const uint8_t* row, long long x) {
            const uint8_t* p = row + 3 * x;
            return matcher.Match(p[2], p[1], p[0]);
        });
    default: return CopyPixels(hdc, dib, rows, columns, [&](const uint8_t* row, long long x) {
            const uint8_t* p = row + 4 * x;
            return matcher.Match(p[2], p[1], p[0]);
        });
    }
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

} // namespace

// Paints the source rectangle of a DIB into the destination rectangle of a
// device context with pixels, stretching or mirroring as the sizes say (see
// the top of this file). The DIB is uncompressed (BI_RGB) at 1, 4, 8, 16
// (X1R5G5B5), 24 or 32 bits per pixel, its colour table biSize bytes after
// the header's start. iUsage is DIB_RGB_COLORS (the colour table holds RGB
// values) or DIB_PAL_COLORS (16-bit indices into the context's palette).
// Returns the DIB's height in scan lines, or 0 on failure: null pointers, a
// dead context or one without pixels, a header it cannot paint, a raster
// operation other than SRCCOPY, or a source rectangle outside the DIB.
extern "C" int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                                    int SrcWidth, int SrcHeight, const VOID* lpBits, const BITMAPINFO* lpbmi,
                                    UINT iUsage, DWORD rop) {
    int32_t code = 0;
    if (platform::InjectedFailure("StretchDIBits", &code)) return Fail(static_cast<DWORD>(code));
    Dib dib{};
    if (!lpBits || !lpbmi || iUsage > DIB_PAL_COLORS || !ReadDib(lpbmi->bmiHeader, lpBits, &dib))
        return Fail(ERROR_INVALID_PARAMETER);
    if (rop != SRCCOPY) return Fail(ERROR_NOT_SUPPORTED);
    if (!platform::IsLiveDC(hdc)) return Fail(ERROR_INVALID_HANDLE);
    if (!hdc->Bits()) return Fail(ERROR_NOT_SUPPORTED);

    // Where the source rectangle starts, counted from the top of the picture.
    bool fromOrigin = xSrc == 0 && ySrc == 0 && SrcWidth == DestWidth && SrcHeight == DestHeight;
    long long top = ySrc;
    if (!dib.topDown || !fromOrigin) top = dib.height - ySrc - SrcHeight;
    if (SrcWidth == 0 || SrcHeight == 0 || !Touches(xSrc, SrcWidth, dib.width) || !Touches(top, SrcHeight, dib.height))
        return 0;

    int drawnLines = static_cast<int>(dib.height);
    if (DestWidth == 0 || DestHeight == 0) return drawnLines;
    Axis columns = MapAxis(xDest, DestWidth, xSrc, SrcWidth, hdc->Width(), dib.width);
    Axis rows = MapAxis(yDest, DestHeight, top, SrcHeight, hdc->Height(), dib.height);
    if (columns.dest.empty() || rows.dest.empty()) return drawnLines;

    Paint(hdc, dib, lpbmi, iUsage, rows, columns, DestWidth == SrcWidth && DestWidth > 0);
    hdc->Touched();
    return drawnLines;
}
