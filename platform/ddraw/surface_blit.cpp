// IDirectDrawSurface drawing: the blitter's operations. Blt only fills;
// BltFast copies a rectangle 1:1, opaque or with the source colour key;
// Flip rotates the flipping chain and shows the new front.
#include <cstddef>
#include <algorithm>
#include <vector>

#include "blit.h"
#include "device.h"
#include "surface.h"

namespace platform::ddraw {

namespace {

// A rectangle that lies on a width x height surface: not empty, not
// inverted, not leaving it.
bool Inside(const RECT& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= width &&
           r.bottom <= height;
}

RECT Whole(const Surface& surface) {
    return {0, 0, surface.Width(), surface.Height()};
}

blit::Span SpanAt(const Surface& surface, LONG x, LONG y) {
    return {surface.Bits() + static_cast<ptrdiff_t>(y) * surface.Pitch() + x, surface.Pitch()};
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Copies `from` (on `src`) to `dst` at (x, y); `key` is null for an opaque
// copy. A keyed copy within one surface whose rectangles overlap reads a
// snapshot of the source, so every pixel is taken before it is overwritten.
void CopyPixels(const Surface& src, const RECT& from, Surface& dst, LONG x, LONG y,
                const uint8_t* key) {
    int width = from.right - from.left, height = from.bottom - from.top;
    blit::Span source = SpanAt(src, from.left, from.top);
    blit::Span target = SpanAt(dst, x, y);
    if (!key) {
        blit::Copy(source, target, width, height);
        return;
    }
    std::vector<uint8_t> snapshot;
    if (&src == &dst && Overlap(from, RECT{x, y, x + width, y + height})) {
        snapshot.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        blit::Span copy{snapshot.data(), width};
        blit::Copy(source, copy, width, height);
        source = copy;
    }
    blit::CopyKeyed(source, target, width, height, *key);
}

} // namespace

// Blt does colour fills only (DDBLT_COLORFILL, no source, a DDBLTFX of the
// right dwSize); it fills the destination rectangle, or the whole surface,
// with the low 8 bits of dwFillColor. A rectangle that leaves the surface
// is refused with DDERR_INVALIDRECT. Copies, stretches, raster operations,
// keys and effects are not offered (DDERR_UNSUPPORTED): BltFast copies.
HRESULT Surface::Blt(LPRECT lpDestRect, IDirectDrawSurface* lpDDSrcSurface, LPRECT, DWORD dwFlags,
                     LPDDBLTFX lpDDBltFx) {
    if (HRESULT hr = Enter("IDirectDrawSurface::Blt"); hr != DD_OK) return hr;
    if (dwFlags & ~(DDBLT_COLORFILL | DDBLT_WAIT | DDBLT_ASYNC)) return DDERR_UNSUPPORTED;
    if (!(dwFlags & DDBLT_COLORFILL))
        return lpDDSrcSurface ? DDERR_UNSUPPORTED : DDERR_INVALIDPARAMS;
    if (lpDDSrcSurface || !lpDDBltFx || lpDDBltFx->dwSize != sizeof(DDBLTFX))
        return DDERR_INVALIDPARAMS;
    RECT rect = lpDestRect ? *lpDestRect : Whole(*this);
    if (!Inside(rect, width_, height_)) return DDERR_INVALIDRECT;
    if (lost_) return DDERR_SURFACELOST;
    if (Busy()) return DDERR_SURFACEBUSY;
    if (!BlitterReady(dwFlags & DDBLT_WAIT)) return DDERR_WASSTILLDRAWING;
    blit::Fill(SpanAt(*this, rect.left, rect.top), rect.right - rect.left, rect.bottom - rect.top,
               static_cast<uint8_t>(lpDDBltFx->dwFillColor));
    Touched();
    return DD_OK;
}

// BltFast never clips: a source rectangle that is empty, inverted or
// leaves the source, or a destination that does not fit (a negative
// position arrives as a huge DWORD), is refused with DDERR_INVALIDRECT and
// nothing is drawn. DDBLTFAST_SRCCOLORKEY skips exactly the source pixels
// equal to the source's key, and needs a key (DDERR_NOCOLORKEY);
// destination keys are not offered (DDERR_UNSUPPORTED). Source and
// destination may be one surface, overlapping rectangles included.
HRESULT Surface::BltFast(DWORD dwX, DWORD dwY, IDirectDrawSurface* lpDDSrcSurface, LPRECT lpSrcRect,
                         DWORD dwTrans) {
    if (HRESULT hr = Enter("IDirectDrawSurface::BltFast"); hr != DD_OK) return hr;
    constexpr DWORD kKeys = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY;
    DWORD keying = dwTrans & kKeys;
    if ((dwTrans & ~(kKeys | DDBLTFAST_WAIT)) || keying == kKeys || !lpDDSrcSurface)
        return DDERR_INVALIDPARAMS;
    if (keying == DDBLTFAST_DESTCOLORKEY) return DDERR_UNSUPPORTED;
    Surface* src = static_cast<Surface*>(lpDDSrcSurface);
    if (src->dead_) return DDERR_INVALIDOBJECT;
    if (src->device_ != device_) src->device_->SyncLoss();
    RECT from = lpSrcRect ? *lpSrcRect : Whole(*src);
    if (!Inside(from, src->width_, src->height_)) return DDERR_INVALIDRECT;
    uint64_t right = uint64_t{dwX} + static_cast<uint64_t>(from.right - from.left);
    uint64_t bottom = uint64_t{dwY} + static_cast<uint64_t>(from.bottom - from.top);
    if (right > static_cast<uint64_t>(width_) || bottom > static_cast<uint64_t>(height_))
        return DDERR_INVALIDRECT;
    if (keying && !src->hasKey_) return DDERR_NOCOLORKEY;
    if (lost_ || src->lost_) return DDERR_SURFACELOST;
    if (Busy() || src->Busy()) return DDERR_SURFACEBUSY;
    if (!BlitterReady(dwTrans & DDBLTFAST_WAIT)) return DDERR_WASSTILLDRAWING;
    uint8_t key = static_cast<uint8_t>(src->key_.dwColorSpaceLowValue);
    CopyPixels(*src, from, *this, static_cast<LONG>(dwX), static_cast<LONG>(dwY),
               keying ? &key : nullptr);
    Touched();
    return DD_OK;
}

HRESULT Surface::ChainUsable() const {
    for (const Surface* surface : chain_)
        if (surface->lost_) return DDERR_SURFACELOST;
    for (const Surface* surface : chain_)
        if (surface->Busy()) return DDERR_SURFACEBUSY;
    return DD_OK;
}

void Surface::RotateChain() {
    PixelBuffer front = std::move(chain_.front()->buffer_);
    for (size_t i = 0; i + 1 < chain_.size(); i++)
        chain_[i]->buffer_ = std::move(chain_[i + 1]->buffer_);
    chain_.back()->buffer_ = std::move(front);
}

// Flip works on the front of a flipping chain in exclusive mode: the first
// back buffer's pixels become visible, and every back buffer then holds
// the next one's (the last gets the old front's), so the surface the
// program draws on is always the one the next flip shows. Flipping to a
// chosen buffer is not offered (DDERR_UNSUPPORTED).
HRESULT Surface::Flip(IDirectDrawSurface* lpDDSurfaceTargetOverride, DWORD dwFlags) {
    if (HRESULT hr = Enter("IDirectDrawSurface::Flip"); hr != DD_OK) return hr;
    if (dwFlags & ~DDFLIP_WAIT) return DDERR_INVALIDPARAMS;
    if (chain_.empty()) return DDERR_NOTFLIPPABLE;
    if (lpDDSurfaceTargetOverride) {
        bool inChain =
            std::find(chain_.begin(), chain_.end(), lpDDSurfaceTargetOverride) != chain_.end();
        return inChain ? DDERR_UNSUPPORTED : DDERR_INVALIDPARAMS;
    }
    if (!device_->Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    if (HRESULT hr = ChainUsable(); hr != DD_OK) return hr;
    if (!BlitterReady(dwFlags & DDFLIP_WAIT)) return DDERR_WASSTILLDRAWING;
    RotateChain();
    device_->PresentFront(true);
    return DD_OK;
}

// FlipToGDISurface: flips until the memory the primary started with, the
// one GDI draws on, is visible again. Without a chain it already is.
HRESULT Surface::FlipToGdi() {
    if (dead_) return DDERR_INVALIDOBJECT;
    device_->SyncLoss();
    if (chain_.empty() || buffer_.id == 0) return DD_OK;
    if (HRESULT hr = ChainUsable(); hr != DD_OK) return hr;
    while (buffer_.id != 0)
        RotateChain();
    device_->PresentFront(true);
    return DD_OK;
}

} // namespace platform::ddraw
