// IDirectDrawSurface: the primary surface with its flipping chain, and
// off-screen plain surfaces. Every surface is 8 bits per pixel in the
// display's palettized format.
//
// The methods live in three files: surface.cpp (life, chain, description,
// loss and restore, colour key, palette), surface_blit.cpp (Blt, BltFast,
// Flip) and surface_access.cpp (Lock, Unlock, GetDC, ReleaseDC).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <ddraw.h>

struct HDC__;

namespace platform::ddraw {

struct Device;
class Palette;

// Pixel memory. In a flipping chain it moves between the chain's surfaces
// on every flip; `id` 0 is the memory the primary surface started with
// (the one GDI draws on), the back buffers' start at 1.
struct PixelBuffer {
    std::unique_ptr<uint8_t[]> bits;
    int id = 0;
};

class Surface final : public IDirectDrawSurface {
  public:
    // Creates the primary surface, with `backBuffers` implicitly created
    // back buffers behind it when nonzero. `memoryCaps` are the placement
    // caps asked for. Fails with DDERR_OUTOFVIDEOMEMORY when memory runs out.
    static HRESULT CreatePrimary(const std::shared_ptr<Device>& device, DWORD backBuffers,
                                 DWORD memoryCaps, Surface** out);
    // Creates an off-screen plain surface of width x height (already checked
    // to be sensible), with a source colour key when `key` is non-null.
    static HRESULT CreateOffscreen(const std::shared_ptr<Device>& device, int width, int height,
                                   DWORD memoryCaps, const DDCOLORKEY* key, Surface** out);

    // IUnknown
    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // IDirectDrawSurface
    HRESULT Blt(LPRECT lpDestRect, IDirectDrawSurface* lpDDSrcSurface, LPRECT lpSrcRect,
                DWORD dwFlags, LPDDBLTFX lpDDBltFx) override;
    HRESULT BltFast(DWORD dwX, DWORD dwY, IDirectDrawSurface* lpDDSrcSurface, LPRECT lpSrcRect,
                    DWORD dwTrans) override;
    HRESULT Flip(IDirectDrawSurface* lpDDSurfaceTargetOverride, DWORD dwFlags) override;
    HRESULT GetAttachedSurface(LPDDSCAPS lpDDSCaps,
                               IDirectDrawSurface** lplpDDAttachedSurface) override;
    HRESULT GetDC(HDC* lphDC) override;
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) override;
    HRESULT IsLost() override;
    HRESULT Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc, DWORD dwFlags,
                 HANDLE hEvent) override;
    HRESULT ReleaseDC(HDC hDC) override;
    HRESULT Restore() override;
    HRESULT SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override;
    HRESULT SetPalette(IDirectDrawPalette* lpDDPalette) override;
    HRESULT Unlock(LPVOID lpSurfaceData) override;

    // ---- For the DirectDraw object, palettes and device contexts ----

    // The surface's memory is taken away (display mode change, loss of
    // the foreground, the host's request).
    void Lose() { lost_ = true; }
    // The DirectDraw object or the chain's front went away: the surface
    // gives up its memory, device context and palette, and answers
    // DDERR_INVALIDOBJECT from then on. It is freed at its last Release.
    void Kill();
    // Brings the chain's original primary memory to the front
    // (IDirectDraw::FlipToGDISurface). Called on the primary only.
    HRESULT FlipToGdi();

    uint8_t* Bits() const { return buffer_.bits.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Pitch() const { return pitch_; }
    bool Lost() const { return lost_; }
    // The palette attached to this surface, or null.
    const Palette* AttachedPalette() const { return palette_; }
    // The colours GDI uses on this surface: its palette, else the primary
    // surface's, else the system's default palette.
    const PALETTEENTRY* PaletteInForce() const;

  private:
    Surface(std::shared_ptr<Device> device, int width, int height, DWORD caps);
    ~Surface();

    // The start of every method: injected failure, destroyed object, and a
    // pending loss request. Returns DD_OK when the method may go on.
    HRESULT Enter(const char* api);
    bool IsFront() const;
    // Locked or with a device context out: blits and flips must wait.
    bool Busy() const { return locked_ || dc_ != nullptr; }
    // The surfaces of this surface's flipping chain, front first; null for
    // a surface outside any chain.
    const std::vector<Surface*>* Chain() const;
    bool AllocatePixels(int id);
    // DD_OK when no surface of this chain is lost, locked or drawn on by GDI.
    HRESULT ChainUsable() const;
    // Moves each buffer of the chain one place towards the front; the
    // front's buffer goes to the last back buffer.
    void RotateChain();
    void FillDesc(DDSURFACEDESC& desc) const;
    // Shows the screen again when this surface is the visible front.
    void Touched();

    std::shared_ptr<Device> device_;
    ULONG refs_ = 1;
    int width_, height_, pitch_;
    DWORD caps_;
    PixelBuffer buffer_;
    bool lost_ = false;
    bool dead_ = false;
    bool locked_ = false;
    uint8_t* lockedAt_ = nullptr;
    std::unique_ptr<HDC__> dc_;
    bool hasKey_ = false;
    DDCOLORKEY key_{};
    Palette* palette_ = nullptr;
    // On the front of a flipping chain: the chain, front first, holding one
    // reference on each back buffer. Empty elsewhere.
    std::vector<Surface*> chain_;
    // On an implicitly created back buffer: the chain's front, while it lives.
    Surface* chainFront_ = nullptr;
    // Made with the chain rather than by CreateSurface: Restore refuses it.
    bool implicit_ = false;

    friend class SurfaceDC;
};

} // namespace platform::ddraw
