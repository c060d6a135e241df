// The pixel loops behind Blt and BltFast on 8-bit surfaces: fill, opaque
// copy and colour-keyed copy of a rectangle. Callers pass rectangles that
// already fit both surfaces; nothing here checks or clips.
#pragma once

#include <cstdint>

namespace platform::ddraw::blit {

// A rectangle of pixels: its top-left byte, the surface's pitch and the size.
struct Span {
    uint8_t* bits;
    int pitch;
};

// Sets `width` x `height` pixels at `dst` to `value`, one memset per row.
void Fill(Span dst, int width, int height, uint8_t value);

// Copies `width` x `height` pixels from `src` to `dst`. The two may overlap
// (a copy within one surface): rows then go in the order that reads every
// source row before it is overwritten.
void Copy(Span src, Span dst, int width, int height);

// Copies `width` x `height` pixels from `src` to `dst`, leaving the
// destination pixel wherever the source pixel equals `key`. The two must
// not overlap. Works 64 pixels at a time where the CPU has AVX-512BW, else
// 16 (SSE2), else 8 (SWAR).
void CopyKeyed(Span src, Span dst, int width, int height, uint8_t key);

} // namespace platform::ddraw::blit
