// IDirectDraw and DirectDrawCreate: the DirectDraw object of the one
// emulated display device, which is 640 x 480 with 8-bit palettized
// colour. It holds the cooperative level and the display mode and creates
// surfaces and palettes.
#include <memory>

#include "device.h"
#include "faults.h"
#include "host.h"
#include "palette.h"
#include "surface.h"

namespace platform::ddraw {

namespace {

constexpr DWORD kMemoryCaps = DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY | DDSCAPS_LOCALVIDMEM;
// A flipping chain has at most this many back buffers (triple buffering):
// the emulated display memory holds no more.
constexpr DWORD kMaxBackBuffers = 3;
// Off-screen surfaces larger than this are refused with DDERR_OUTOFMEMORY.
constexpr DWORD kMaxSide = 16384;
constexpr uint64_t kMaxBytes = 64ull << 20;

class DirectDraw final : public IDirectDraw {
  public:
    DirectDraw() : device_(std::make_shared<Device>()) {}

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;
    HRESULT CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable,
                          IDirectDrawPalette** lplpDDPalette, IUnknown* pUnkOuter) override;
    HRESULT CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc, IDirectDrawSurface** lplpDDSurface,
                          IUnknown* pUnkOuter) override;
    HRESULT FlipToGDISurface() override;
    HRESULT RestoreDisplayMode() override;
    HRESULT SetCooperativeLevel(HWND hWnd, DWORD dwFlags) override;
    HRESULT SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) override;

  private:
    ~DirectDraw();
    // Gives the display back to the desktop if this object changed it; a
    // mode change takes every surface's memory away.
    void GiveBackMode();
    HRESULT CreatePrimary(const DDSURFACEDESC& desc, Surface** out);
    HRESULT CreateOffscreen(const DDSURFACEDESC& desc, Surface** out);

    std::shared_ptr<Device> device_;
    ULONG refs_ = 1;
};

// Releasing the DirectDraw object leaves exclusive mode, gives the display
// mode back and destroys every surface it created: surfaces the program
// still holds answer DDERR_INVALIDOBJECT until released. Palettes live on.
DirectDraw::~DirectDraw() {
    GiveBackMode();
    device_->released = true;
    device_->level = 0;
    device_->window = nullptr;
    device_->primary = nullptr;
    for (Surface* surface : std::vector<Surface*>(device_->surfaces))
        surface->Kill();
}

ULONG DirectDraw::Release() {
    if (refs_ == 0) return 0;
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT DirectDraw::QueryInterface(REFIID riid, LPVOID* ppvObj) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::QueryInterface", &code)) return code;
    if (!ppvObj) return DDERR_INVALIDPARAMS;
    if (SameIid(riid, IID_IUnknown) || SameIid(riid, IID_IDirectDraw)) {
        AddRef();
        *ppvObj = static_cast<IDirectDraw*>(this);
        return S_OK;
    }
    *ppvObj = nullptr;
    return E_NOINTERFACE;
}

void DirectDraw::GiveBackMode() {
    if (!device_->modeSet) return;
    host::RestoreDisplayMode();
    device_->modeSet = false;
    device_->LoseAll();
}

// SetCooperativeLevel takes exactly one of DDSCL_NORMAL and DDSCL_EXCLUSIVE;
// DDSCL_EXCLUSIVE goes with DDSCL_FULLSCREEN and a window (IsWindow), and
// only one DirectDraw object holds it (DDERR_EXCLUSIVEMODEALREADYSET).
// DDSCL_NORMAL takes a window or null. Once surfaces exist the window
// cannot change (DDERR_HWNDALREADYSET). Returning to DDSCL_NORMAL gives
// the display mode back.
HRESULT DirectDraw::SetCooperativeLevel(HWND hWnd, DWORD dwFlags) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::SetCooperativeLevel", &code)) return code;
    constexpr DWORD kKnown = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES |
                             DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
    bool exclusive = dwFlags & DDSCL_EXCLUSIVE;
    bool normal = dwFlags & DDSCL_NORMAL;
    bool fullscreen = dwFlags & DDSCL_FULLSCREEN;
    if ((dwFlags & ~kKnown) || exclusive == normal || exclusive != fullscreen)
        return DDERR_INVALIDPARAMS;
    if ((dwFlags & DDSCL_ALLOWMODEX) && !exclusive) return DDERR_INVALIDPARAMS;
    if ((exclusive || hWnd) && !IsWindow(hWnd)) return DDERR_INVALIDPARAMS;
    if (exclusive && device_->OtherHoldsExclusive()) return DDERR_EXCLUSIVEMODEALREADYSET;
    if (hWnd && device_->window && hWnd != device_->window && !device_->surfaces.empty())
        return DDERR_HWNDALREADYSET;
    if (!exclusive) GiveBackMode();
    device_->level = dwFlags;
    if (hWnd) device_->window = hWnd;
    return DD_OK;
}

// SetDisplayMode needs exclusive mode (DDERR_NOEXCLUSIVEMODE); the display
// offers 640 x 480 x 8 only (DDERR_INVALIDMODE for anything else).
// Switching modes loses every surface.
HRESULT DirectDraw::SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::SetDisplayMode", &code)) return code;
    if (!device_->Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    if (dwWidth != kDisplayWidth || dwHeight != kDisplayHeight || dwBPP != 8)
        return DDERR_INVALIDMODE;
    if (device_->modeSet) return DD_OK;
    if (!host::SetDisplayMode(kDisplayWidth, kDisplayHeight, 8)) return DDERR_UNSUPPORTEDMODE;
    device_->modeSet = true;
    device_->LoseAll();
    return DD_OK;
}

// RestoreDisplayMode needs exclusive mode; it gives the display back when
// this object changed it.
HRESULT DirectDraw::RestoreDisplayMode() {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::RestoreDisplayMode", &code)) return code;
    if (!device_->Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    GiveBackMode();
    return DD_OK;
}

// FlipToGDISurface makes the primary surface's original memory visible
// again; DDERR_NOTFOUND without a primary surface.
HRESULT DirectDraw::FlipToGDISurface() {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::FlipToGDISurface", &code)) return code;
    if (!device_->primary) return DDERR_NOTFOUND;
    return device_->primary->FlipToGdi();
}

// CreatePalette: 8-bit palettes only (DDPCAPS_8BIT, optionally with
// DDPCAPS_ALLOW256, DDPCAPS_INITIALIZE or DDPCAPS_PRIMARYSURFACE); smaller
// ones answer DDERR_UNSUPPORTED, as no surface here could use them. The
// palette starts from all 256 entries of lpColorTable (DDPCAPS_INITIALIZE
// or not), but without DDPCAPS_ALLOW256 entry 0 is black and entry 255
// white, whatever the table holds there, and they stay so.
HRESULT DirectDraw::CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable,
                                  IDirectDrawPalette** lplpDDPalette, IUnknown* pUnkOuter) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::CreatePalette", &code)) return code;
    if (!lplpDDPalette) return DDERR_INVALIDPARAMS;
    *lplpDDPalette = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    if (!lpColorTable) return DDERR_INVALIDPARAMS;
    if (device_->level == 0) return DDERR_NOCOOPERATIVELEVELSET;
    constexpr DWORD kSizes = DDPCAPS_1BIT | DDPCAPS_2BIT | DDPCAPS_4BIT | DDPCAPS_8BIT;
    constexpr DWORD kOptions = DDPCAPS_ALLOW256 | DDPCAPS_INITIALIZE | DDPCAPS_PRIMARYSURFACE;
    DWORD size = dwFlags & kSizes;
    if ((dwFlags & ~(kSizes | kOptions)) || size == 0 || (size & (size - 1)))
        return DDERR_INVALIDPARAMS;
    if (size != DDPCAPS_8BIT) return DDERR_UNSUPPORTED;
    *lplpDDPalette = new Palette(device_, dwFlags, lpColorTable);
    return DD_OK;
}

// The primary surface is the display itself, 640 x 480: the description
// gives no size or format. DDSCAPS_FLIP | DDSCAPS_COMPLEX with
// DDSD_BACKBUFFERCOUNT (1 to 3) makes a flipping chain, which needs
// exclusive mode. There is one primary surface per DirectDraw object.
HRESULT DirectDraw::CreatePrimary(const DDSURFACEDESC& desc, Surface** out) {
    constexpr DWORD kChain = DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    DWORD caps = desc.ddsCaps.dwCaps;
    if (caps & ~(DDSCAPS_PRIMARYSURFACE | kChain | DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM))
        return DDERR_INVALIDCAPS;
    DWORD chain = caps & kChain;
    if (chain != 0 && chain != kChain) return DDERR_INVALIDCAPS;
    if (desc.dwFlags & ~(DDSD_CAPS | DDSD_BACKBUFFERCOUNT)) return DDERR_INVALIDPARAMS;
    bool countGiven = desc.dwFlags & DDSD_BACKBUFFERCOUNT;
    if (countGiven != (chain != 0) || (countGiven && desc.dwBackBufferCount == 0))
        return DDERR_INVALIDPARAMS;
    DWORD backBuffers = countGiven ? desc.dwBackBufferCount : 0;
    if (backBuffers > kMaxBackBuffers) return DDERR_OUTOFVIDEOMEMORY;
    if (backBuffers > 0 && !device_->Exclusive()) return DDERR_NOEXCLUSIVEMODE;
    if (device_->primary) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    DWORD memory = caps & kMemoryCaps;
    return Surface::CreatePrimary(device_, backBuffers, memory ? memory : DDSCAPS_VIDEOMEMORY, out);
}

// An off-screen plain surface needs DDSD_WIDTH and DDSD_HEIGHT, both
// nonzero; it takes the display's 8-bit palettized format (a different
// DDSD_PIXELFORMAT answers DDERR_INVALIDPIXELFORMAT) and may carry a source
// colour key (DDSD_CKSRCBLT).
HRESULT DirectDraw::CreateOffscreen(const DDSURFACEDESC& desc, Surface** out) {
    DWORD caps = desc.ddsCaps.dwCaps;
    if (caps & ~(DDSCAPS_OFFSCREENPLAIN | kMemoryCaps)) return DDERR_INVALIDCAPS;
    if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & (DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM)))
        return DDERR_INVALIDCAPS;
    constexpr DWORD kSize = DDSD_WIDTH | DDSD_HEIGHT;
    if ((desc.dwFlags & ~(DDSD_CAPS | kSize | DDSD_PIXELFORMAT | DDSD_CKSRCBLT)) ||
        (desc.dwFlags & kSize) != kSize || desc.dwWidth == 0 || desc.dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    if (desc.dwFlags & DDSD_PIXELFORMAT) {
        const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
        if (format.dwSize != sizeof(DDPIXELFORMAT) || !(format.dwFlags & DDPF_PALETTEINDEXED8) ||
            format.dwRGBBitCount != 8)
            return DDERR_INVALIDPIXELFORMAT;
    }
    if (desc.dwWidth > kMaxSide || desc.dwHeight > kMaxSide ||
        uint64_t{desc.dwWidth} * desc.dwHeight > kMaxBytes)
        return DDERR_OUTOFMEMORY;
    const DDCOLORKEY* key = (desc.dwFlags & DDSD_CKSRCBLT) ? &desc.ddckCKSrcBlt : nullptr;
    DWORD memory = caps & kMemoryCaps;
    return Surface::CreateOffscreen(device_, static_cast<int>(desc.dwWidth),
                                    static_cast<int>(desc.dwHeight),
                                    memory ? memory : DDSCAPS_VIDEOMEMORY, key, out);
}

// CreateSurface: dwSize must be sizeof(DDSURFACEDESC) and DDSD_CAPS given;
// a cooperative level must be set first (DDERR_NOCOOPERATIVELEVELSET).
// Caps other than a primary surface (with its flipping chain) or an
// off-screen plain surface answer DDERR_INVALIDCAPS.
HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc,
                                  IDirectDrawSurface** lplpDDSurface, IUnknown* pUnkOuter) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDraw::CreateSurface", &code)) return code;
    if (!lplpDDSurface) return DDERR_INVALIDPARAMS;
    *lplpDDSurface = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    if (!lpDDSurfaceDesc || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC))
        return DDERR_INVALIDPARAMS;
    if (device_->level == 0) return DDERR_NOCOOPERATIVELEVELSET;
    if (!(lpDDSurfaceDesc->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
    // A loss the host asked for concerns the surfaces that exist now only.
    device_->SyncLoss();
    Surface* surface = nullptr;
    HRESULT hr = (lpDDSurfaceDesc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
                     ? CreatePrimary(*lpDDSurfaceDesc, &surface)
                     : CreateOffscreen(*lpDDSurfaceDesc, &surface);
    if (hr == DD_OK) *lplpDDSurface = surface;
    return hr;
}

} // namespace

} // namespace platform::ddraw

// DirectDrawCreate: lpGUID must be null, the default display device
// (DDERR_INVALIDDIRECTDRAWGUID otherwise); aggregation is not supported.
extern "C" HRESULT WINAPI DirectDrawCreate(GUID* lpGUID, LPDIRECTDRAW* lplpDD,
                                           IUnknown* pUnkOuter) {
    int32_t code = 0;
    if (platform::InjectedFailure("DirectDrawCreate", &code)) return code;
    if (!lplpDD) return DDERR_INVALIDPARAMS;
    *lplpDD = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    if (lpGUID) return DDERR_INVALIDDIRECTDRAWGUID;
    platform::ddraw::WatchActivation();
    *lplpDD = new platform::ddraw::DirectDraw();
    return DD_OK;
}
