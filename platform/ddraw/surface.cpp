// IDirectDrawSurface life and state: creation and destruction, the flipping
// chain's attachments, the surface description, loss and Restore, the
// source colour key and the attached palette.
#include "surface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app_state.h"
#include "device.h"
#include "device_context.h"
#include "faults.h"
#include "palette.h"

namespace platform::ddraw {

namespace {

constexpr DWORD kChainCaps = DDSCAPS_FLIP | DDSCAPS_COMPLEX;

// Rows start on 8-byte boundaries, as display memory is usually laid out.
int PitchFor(int width) {
    return (width + 7) & ~7;
}

} // namespace

Surface::Surface(std::shared_ptr<Device> device, int width, int height, DWORD caps)
    : device_(std::move(device)), width_(width), height_(height), pitch_(PitchFor(width)),
      caps_(caps) {
    device_->surfaces.push_back(this);
}

Surface::~Surface() {
    // Releasing the front of a flipping chain destroys the whole chain; a
    // back buffer the program still holds stays a dead object until released.
    for (size_t i = 1; i < chain_.size(); i++) {
        Surface* back = chain_[i];
        back->chainFront_ = nullptr;
        back->Kill();
        back->Release();
    }
    Kill();
    device_->Forget(this);
}

// Each buffer is followed by a gap of unused bytes. A 640 x 480 buffer is a
// whole number of 4 KB pages, so allocators that place blocks back to back
// (WebAssembly's) would put one surface a few bytes past the end of the
// other, and every copy from one to the next would have its loads wait on
// the stores just made at the same page offset: twenty times slower.
constexpr size_t kBufferGap = 1088;

bool Surface::AllocatePixels(int id) {
    size_t bytes = static_cast<size_t>(pitch_) * static_cast<size_t>(height_);
    buffer_.bits.reset(new (std::nothrow) uint8_t[bytes + kBufferGap]());
    buffer_.id = id;
    return buffer_.bits != nullptr;
}

HRESULT Surface::CreatePrimary(const std::shared_ptr<Device>& device, DWORD backBuffers,
                               DWORD memoryCaps, Surface** out) {
    DWORD frontCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE | memoryCaps;
    if (backBuffers > 0) frontCaps |= DDSCAPS_FRONTBUFFER | kChainCaps;
    Surface* front = new Surface(device, kDisplayWidth, kDisplayHeight, frontCaps);
    bool ok = front->AllocatePixels(0);
    if (backBuffers > 0) front->chain_.push_back(front);
    for (DWORD i = 1; ok && i <= backBuffers; i++) {
        // Only the first back buffer carries DDSCAPS_BACKBUFFER, as in DirectDraw.
        DWORD caps = kChainCaps | memoryCaps | (i == 1 ? DDSCAPS_BACKBUFFER : 0);
        Surface* back = new Surface(device, kDisplayWidth, kDisplayHeight, caps);
        back->chainFront_ = front;
        back->implicit_ = true;
        front->chain_.push_back(back);
        ok = back->AllocatePixels(static_cast<int>(i));
    }
    if (!ok) {
        front->Release();
        return DDERR_OUTOFVIDEOMEMORY;
    }
    device->primary = front;
    *out = front;
    return DD_OK;
}

HRESULT Surface::CreateOffscreen(const std::shared_ptr<Device>& device, int width, int height,
                                 DWORD memoryCaps, const DDCOLORKEY* key, Surface** out) {
    Surface* surface = new Surface(device, width, height, DDSCAPS_OFFSCREENPLAIN | memoryCaps);
    if (!surface->AllocatePixels(0)) {
        surface->Release();
        return DDERR_OUTOFMEMORY;
    }
    if (key) {
        surface->hasKey_ = true;
        surface->key_ = *key;
    }
    *out = surface;
    return DD_OK;
}

HRESULT Surface::QueryInterface(REFIID riid, LPVOID* ppvObj) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDrawSurface::QueryInterface", &code)) return code;
    if (!ppvObj) return DDERR_INVALIDPARAMS;
    if (SameIid(riid, IID_IUnknown) || SameIid(riid, IID_IDirectDrawSurface)) {
        AddRef();
        *ppvObj = static_cast<IDirectDrawSurface*>(this);
        return S_OK;
    }
    *ppvObj = nullptr;
    return E_NOINTERFACE;
}

ULONG Surface::AddRef() {
    return ++refs_;
}

ULONG Surface::Release() {
    // A back buffer keeps the reference its chain holds for as long as the
    // chain lives, however often the program releases it.
    if (refs_ == 0 || (chainFront_ && refs_ == 1)) return refs_;
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

HRESULT Surface::Enter(const char* api) {
    int32_t code = 0;
    if (platform::InjectedFailure(api, &code)) return code;
    if (dead_) return DDERR_INVALIDOBJECT;
    device_->SyncLoss();
    return DD_OK;
}

void Surface::Kill() {
    dead_ = true;
    dc_.reset();
    locked_ = false;
    lockedAt_ = nullptr;
    if (palette_) palette_->Release();
    palette_ = nullptr;
    buffer_.bits.reset();
}

bool Surface::IsFront() const {
    return device_->primary == this;
}

const std::vector<Surface*>* Surface::Chain() const {
    if (!chain_.empty()) return &chain_;
    if (chainFront_) return &chainFront_->chain_;
    return nullptr;
}

void Surface::Touched() {
    if (IsFront()) device_->PresentFront(false);
}

const PALETTEENTRY* Surface::PaletteInForce() const {
    if (palette_) return palette_->Entries();
    const Surface* primary = device_->primary;
    if (primary && primary->palette_) return primary->palette_->Entries();
    return platform::DefaultPalette();
}

// Each surface of a chain has the next one attached, and the last back
// buffer has the front: asking the front for DDSCAPS_BACKBUFFER gives the
// first back buffer. The surface handed out carries a new reference.
HRESULT Surface::GetAttachedSurface(LPDDSCAPS lpDDSCaps,
                                    IDirectDrawSurface** lplpDDAttachedSurface) {
    if (HRESULT hr = Enter("IDirectDrawSurface::GetAttachedSurface"); hr != DD_OK) return hr;
    if (!lpDDSCaps || !lplpDDAttachedSurface) return DDERR_INVALIDPARAMS;
    *lplpDDAttachedSurface = nullptr;
    const std::vector<Surface*>* chain = Chain();
    if (!chain) return DDERR_NOTFOUND;
    auto self = std::find(chain->begin(), chain->end(), this);
    Surface* next = (self + 1 == chain->end()) ? chain->front() : *(self + 1);
    DWORD wanted = lpDDSCaps->dwCaps;
    if (wanted == 0 || (next->caps_ & wanted) != wanted) return DDERR_NOTFOUND;
    next->AddRef();
    *lplpDDAttachedSurface = next;
    return DD_OK;
}

void Surface::FillDesc(DDSURFACEDESC& desc) const {
    DWORD size = desc.dwSize;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = size;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = static_cast<DWORD>(width_);
    desc.dwHeight = static_cast<DWORD>(height_);
    desc.lPitch = pitch_;
    desc.ddsCaps.dwCaps = caps_;
    if (chain_.size() > 1) {
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = static_cast<DWORD>(chain_.size() - 1);
    }
    if (hasKey_) {
        desc.dwFlags |= DDSD_CKSRCBLT;
        desc.ddckCKSrcBlt = key_;
    }
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    desc.ddpfPixelFormat.dwRGBBitCount = 8;
}

// GetSurfaceDesc: dwSize must be sizeof(DDSURFACEDESC).
HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) {
    if (HRESULT hr = Enter("IDirectDrawSurface::GetSurfaceDesc"); hr != DD_OK) return hr;
    if (!lpDDSurfaceDesc || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC))
        return DDERR_INVALIDPARAMS;
    FillDesc(*lpDDSurfaceDesc);
    return DD_OK;
}

HRESULT Surface::IsLost() {
    if (HRESULT hr = Enter("IDirectDrawSurface::IsLost"); hr != DD_OK) return hr;
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

// Restore gives a lost surface its memory back, not its pixels: they come
// back as zeros. An implicitly created back buffer is never restored on its
// own: Restore answers DDERR_IMPLICITLYCREATED for it whether it is lost or
// not, before anything else is looked at; restoring the front of its
// flipping chain restores it. Any other surface that is not lost answers
// DD_OK at once. While an exclusive-mode application is in the background
// the display is not in its mode, so Restore answers DDERR_WRONGMODE.
HRESULT Surface::Restore() {
    if (HRESULT hr = Enter("IDirectDrawSurface::Restore"); hr != DD_OK) return hr;
    if (implicit_) return DDERR_IMPLICITLYCREATED;
    if (!lost_) return DD_OK;
    if (device_->Exclusive() && !platform::IsAppActive()) return DDERR_WRONGMODE;
    const std::vector<Surface*> single{this};
    for (Surface* surface : chain_.empty() ? single : chain_) {
        surface->lost_ = false;
        size_t bytes = static_cast<size_t>(surface->pitch_) * static_cast<size_t>(surface->height_);
        std::memset(surface->Bits(), 0, bytes);
    }
    Touched();
    return DD_OK;
}

// SetColorKey: only the source blit key is supported, one colour (or a
// colour space whose low and high values are equal); a null key removes
// it. Destination and overlay keys answer DDERR_UNSUPPORTED. The key is
// compared with the low 8 bits of each pixel.
HRESULT Surface::SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) {
    if (HRESULT hr = Enter("IDirectDrawSurface::SetColorKey"); hr != DD_OK) return hr;
    constexpr DWORD kKinds =
        DDCKEY_DESTBLT | DDCKEY_DESTOVERLAY | DDCKEY_SRCBLT | DDCKEY_SRCOVERLAY;
    DWORD kind = dwFlags & kKinds;
    if ((dwFlags & ~(kKinds | DDCKEY_COLORSPACE)) || kind == 0 || (kind & (kind - 1)))
        return DDERR_INVALIDPARAMS;
    if (kind != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
    if (!lpDDColorKey) {
        hasKey_ = false;
        key_ = {};
        return DD_OK;
    }
    DDCOLORKEY key = *lpDDColorKey;
    if (!(dwFlags & DDCKEY_COLORSPACE)) key.dwColorSpaceHighValue = key.dwColorSpaceLowValue;
    if (key.dwColorSpaceHighValue != key.dwColorSpaceLowValue) return DDERR_UNSUPPORTED;
    hasKey_ = true;
    key_ = key;
    return DD_OK;
}

// SetPalette attaches a palette (holding a reference on it) or, with null,
// detaches the one attached. On the visible front the screen shows the new
// colours at once.
HRESULT Surface::SetPalette(IDirectDrawPalette* lpDDPalette) {
    if (HRESULT hr = Enter("IDirectDrawSurface::SetPalette"); hr != DD_OK) return hr;
    Palette* palette = static_cast<Palette*>(lpDDPalette);
    if (palette == palette_) return DD_OK;
    if (palette) palette->AddRef();
    if (palette_) palette_->Release();
    palette_ = palette;
    Touched();
    return DD_OK;
}

} // namespace platform::ddraw
