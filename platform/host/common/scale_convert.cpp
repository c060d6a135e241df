// Converting and scaling in one pass: each source row is converted once
// into the first destination row of its block, widened as it goes, and the
// block's other rows are copies of that one.
#include "scale_convert.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace hostcommon {

namespace {

// One source row into `dst`, each pixel `k` times.
void WidenRow(const uint8_t* src, int srcW, uint32_t* dst, int k, const uint32_t* table) {
    if (k == 2) {
        // Two equal pixels as one 64-bit store.
        for (int x = 0; x < srcW; x++) {
            uint64_t t = table[src[x]];
            uint64_t pair = t | (t << 32);
            std::memcpy(dst + 2 * x, &pair, sizeof pair);
        }
        return;
    }
    for (int x = 0; x < srcW; x++) {
        uint32_t t = table[src[x]];
        for (int i = 0; i < k; i++)
            *dst++ = t;
    }
}

// Any other size, growing or shrinking: a column map made once, and rows
// that show the same source row copied from the one above.
void ConvertAnySize(const uint8_t* src, int srcPitch, int srcW, int srcH, uint32_t* dst,
                    int dstPitch, Rect to, const uint32_t* table) {
    std::vector<int> column(static_cast<size_t>(to.w));
    for (int x = 0; x < to.w; x++)
        column[static_cast<size_t>(x)] = static_cast<int>(static_cast<int64_t>(x) * srcW / to.w);
    int lastRow = -1;
    uint32_t* last = nullptr;
    for (int y = 0; y < to.h; y++) {
        int sy = static_cast<int>(static_cast<int64_t>(y) * srcH / to.h);
        uint32_t* d = dst + static_cast<ptrdiff_t>(to.y + y) * dstPitch + to.x;
        if (sy == lastRow) {
            std::memcpy(d, last, static_cast<size_t>(to.w) * sizeof(uint32_t));
        } else {
            const uint8_t* s = src + static_cast<ptrdiff_t>(sy) * srcPitch;
            for (int x = 0; x < to.w; x++)
                d[x] = table[s[column[static_cast<size_t>(x)]]];
        }
        lastRow = sy;
        last = d;
    }
}

} // namespace

void ConvertScaled(const uint8_t* src, int srcPitch, int srcW, int srcH, uint32_t* dst,
                   int dstPitchPixels, Rect to, const uint32_t table[256]) {
    if (srcW <= 0 || srcH <= 0 || to.w <= 0 || to.h <= 0) return;
    uint32_t* origin = dst + static_cast<ptrdiff_t>(to.y) * dstPitchPixels + to.x;
    int k = to.w / srcW;
    if (to.w != k * srcW || to.h != k * srcH) {
        ConvertAnySize(src, srcPitch, srcW, srcH, dst, dstPitchPixels, to, table);
        return;
    }
    if (k == 1) {
        ConvertToArgb(src, srcPitch, origin, dstPitchPixels, srcW, srcH, table);
        return;
    }
    const size_t rowBytes = static_cast<size_t>(to.w) * sizeof(uint32_t);
    for (int y = 0; y < srcH; y++) {
        uint32_t* first = origin + static_cast<ptrdiff_t>(y) * k * dstPitchPixels;
        WidenRow(src + static_cast<ptrdiff_t>(y) * srcPitch, srcW, first, k, table);
        for (int i = 1; i < k; i++)
            std::memcpy(first + static_cast<ptrdiff_t>(i) * dstPitchPixels, first, rowBytes);
    }
}

void FillOutside(uint32_t* dst, int dstPitchPixels, int outW, int outH, Rect inside,
                 uint32_t value) {
    for (int y = 0; y < outH; y++) {
        uint32_t* row = dst + static_cast<ptrdiff_t>(y) * dstPitchPixels;
        if (y < inside.y || y >= inside.y + inside.h) {
            for (int x = 0; x < outW; x++)
                row[x] = value;
            continue;
        }
        for (int x = 0; x < inside.x && x < outW; x++)
            row[x] = value;
        for (int x = inside.x + inside.w; x < outW; x++)
            row[x] = value;
    }
}

} // namespace hostcommon
