// IDirectDrawSurface pixel access. Lock hands out the memory; GetDC hands
// out a GDI device context over it. While either is out, blits and flips
// involving the surface answer DDERR_SURFACEBUSY. Giving the visible front
// back shows the screen again, so what was drawn directly appears.
#include <cstddef>
#include <memory>

#include "device.h"
#include "device_context.h"
#include "surface.h"

namespace platform::ddraw {

// The device context of a surface: GDI draws on the surface's current
// memory with the palette in force on it.
class SurfaceDC final : public HDC__ {
  public:
    explicit SurfaceDC(Surface& surface) : surface_(surface) {}
    uint8_t* Bits() override { return surface_.Bits(); }
    int Width() const override { return surface_.Width(); }
    int Height() const override { return surface_.Height(); }
    int Pitch() const override { return surface_.Pitch(); }
    const PALETTEENTRY* Palette() const override { return surface_.PaletteInForce(); }
    // GDI drawing on the visible front shows at once, as on a real display.
    void Touched() override { surface_.Touched(); }

  private:
    Surface& surface_;
};

namespace {

constexpr DWORD kLockFlags = DDLOCK_WAIT | DDLOCK_READONLY | DDLOCK_WRITEONLY;

} // namespace

// Lock: the description's dwSize must be sizeof(DDSURFACEDESC), the
// rectangle null (the whole surface) or on the surface, hEvent null, and
// the flags among DDLOCK_WAIT, DDLOCK_READONLY and DDLOCK_WRITEONLY
// (DDERR_INVALIDPARAMS otherwise). One lock at a time: a second Lock, or a
// Lock while a device context is out, answers DDERR_SURFACEBUSY. lpSurface
// points at the rectangle's top-left pixel; width, height, pitch, caps and
// pixel format describe the whole surface.
HRESULT Surface::Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc, DWORD dwFlags,
                      HANDLE hEvent) {
    if (HRESULT hr = Enter("IDirectDrawSurface::Lock"); hr != DD_OK) return hr;
    if (!lpDDSurfaceDesc || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC))
        return DDERR_INVALIDPARAMS;
    if ((dwFlags & ~kLockFlags) || hEvent) return DDERR_INVALIDPARAMS;
    RECT rect = lpDestRect ? *lpDestRect : RECT{0, 0, width_, height_};
    if (rect.left < 0 || rect.top < 0 || rect.left >= rect.right || rect.top >= rect.bottom ||
        rect.right > width_ || rect.bottom > height_)
        return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (Busy()) return DDERR_SURFACEBUSY;
    if (!BlitterReady(dwFlags & DDLOCK_WAIT)) return DDERR_WASSTILLDRAWING;
    locked_ = true;
    lockedAt_ = Bits() + static_cast<ptrdiff_t>(rect.top) * pitch_ + rect.left;
    FillDesc(*lpDDSurfaceDesc);
    lpDDSurfaceDesc->dwFlags |= DDSD_LPSURFACE;
    lpDDSurfaceDesc->lpSurface = lockedAt_;
    return DD_OK;
}

// Unlock takes null or the pointer Lock handed out (DDERR_INVALIDPARAMS
// for any other); DDERR_NOTLOCKED without a lock.
HRESULT Surface::Unlock(LPVOID lpSurfaceData) {
    if (HRESULT hr = Enter("IDirectDrawSurface::Unlock"); hr != DD_OK) return hr;
    if (!locked_) return DDERR_NOTLOCKED;
    if (lpSurfaceData && lpSurfaceData != lockedAt_) return DDERR_INVALIDPARAMS;
    locked_ = false;
    lockedAt_ = nullptr;
    Touched();
    return DD_OK;
}

// GetDC: one device context at a time (DDERR_DCALREADYCREATED), none on a
// lost (DDERR_SURFACELOST) or locked (DDERR_SURFACEBUSY) surface.
HRESULT Surface::GetDC(HDC* lphDC) {
    if (HRESULT hr = Enter("IDirectDrawSurface::GetDC"); hr != DD_OK) return hr;
    if (!lphDC) return DDERR_INVALIDPARAMS;
    if (lost_) return DDERR_SURFACELOST;
    if (dc_) return DDERR_DCALREADYCREATED;
    if (locked_) return DDERR_SURFACEBUSY;
    dc_ = std::make_unique<SurfaceDC>(*this);
    *lphDC = dc_.get();
    return DD_OK;
}

// ReleaseDC takes back the context GetDC handed out: DDERR_NODC when none
// is out, DDERR_INVALIDPARAMS for another one.
HRESULT Surface::ReleaseDC(HDC hDC) {
    if (HRESULT hr = Enter("IDirectDrawSurface::ReleaseDC"); hr != DD_OK) return hr;
    if (!dc_) return DDERR_NODC;
    if (hDC != dc_.get()) return DDERR_INVALIDPARAMS;
    dc_.reset();
    Touched();
    return DD_OK;
}

} // namespace platform::ddraw
