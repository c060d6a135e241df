// The frame's palette indices turned into a window's own pixels and scaled
// in the same pass: what a display without a GPU shows, so that the window
// system receives one finished image instead of a texture to upload and
// scale. Shared by the hosts; it touches none of them.
#pragma once

#include <cstdint>

#include "presentation.h"

namespace hostcommon {

// Converts the srcW x srcH frame (rows `srcPitch` bytes apart) through
// `table` into the rectangle `to` of `dst` (rows `dstPitchPixels` pixels
// apart), nearest neighbour: destination pixel (x, y) of `to` shows source
// pixel (x * srcW / to.w, y * srcH / to.h). A whole factor k (to.w == k *
// srcW, to.h == k * srcH) gives k x k blocks, exactly what a nearest-
// neighbour scaled draw of the frame shows. Nothing outside `to` is
// written. Empty sizes convert nothing; `to` must lie inside `dst`.
void ConvertScaled(const uint8_t* src, int srcPitch, int srcW, int srcH, uint32_t* dst,
                   int dstPitchPixels, Rect to, const uint32_t table[256]);

// Fills the parts of the outW x outH image `dst` that lie outside `inside`
// with `value`: the bars around a letterboxed frame.
void FillOutside(uint32_t* dst, int dstPitchPixels, int outW, int outH, Rect inside,
                 uint32_t value);

} // namespace hostcommon
