// IDirectDrawPalette: creation-time colours, reading and changing entries.
// Changing the palette of the visible primary surface shows the screen
// again, as the display's colours change at once.
//
// A palette made without DDPCAPS_ALLOW256 keeps entry 0 black and entry 255
// white, the system palette's fixed colours there: at creation, whatever
// the caller's table holds, and through SetEntries, where writes to those
// two do not take while the rest of the same call does. GetEntries reports
// them as (0, 0, 0) and (255, 255, 255) with peFlags 0.
#include "palette.h"

#include <algorithm>

#include "device.h"
#include "faults.h"

namespace platform::ddraw {

namespace {

// A range start..start+count must lie inside the 256 entries.
bool RangeFits(DWORD start, DWORD count) {
    return start <= 256 && count <= 256 - start;
}

} // namespace

Palette::Palette(std::shared_ptr<Device> device, DWORD flags, const PALETTEENTRY* entries)
    : device_(std::move(device)), allow256_((flags & DDPCAPS_ALLOW256) != 0) {
    std::copy(entries, entries + 256, entries_.begin());
    KeepReservedEntries();
}

void Palette::KeepReservedEntries() {
    if (allow256_) return;
    entries_[0] = PALETTEENTRY{0, 0, 0, 0};
    entries_[255] = PALETTEENTRY{255, 255, 255, 0};
}

HRESULT Palette::QueryInterface(REFIID riid, LPVOID* ppvObj) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDrawPalette::QueryInterface", &code)) return code;
    if (!ppvObj) return DDERR_INVALIDPARAMS;
    if (SameIid(riid, IID_IUnknown) || SameIid(riid, IID_IDirectDrawPalette)) {
        AddRef();
        *ppvObj = static_cast<IDirectDrawPalette*>(this);
        return S_OK;
    }
    *ppvObj = nullptr;
    return E_NOINTERFACE;
}

ULONG Palette::AddRef() {
    return ++refs_;
}

ULONG Palette::Release() {
    if (refs_ == 0) return 0;
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
}

// GetEntries: dwFlags must be 0; the range must lie inside the palette.
HRESULT Palette::GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries,
                            LPPALETTEENTRY lpEntries) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDrawPalette::GetEntries", &code)) return code;
    if (dwFlags != 0 || !lpEntries || !RangeFits(dwBase, dwNumEntries)) return DDERR_INVALIDPARAMS;
    std::copy_n(entries_.begin() + dwBase, dwNumEntries, lpEntries);
    return DD_OK;
}

// SetEntries: dwFlags must be 0; the range must lie inside the palette.
// Entries 0 and 255 keep black and white unless the palette was made with
// DDPCAPS_ALLOW256; the call still succeeds and sets the others.
HRESULT Palette::SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                            LPPALETTEENTRY lpEntries) {
    int32_t code = 0;
    if (platform::InjectedFailure("IDirectDrawPalette::SetEntries", &code)) return code;
    if (dwFlags != 0 || !lpEntries || !RangeFits(dwStartingEntry, dwCount))
        return DDERR_INVALIDPARAMS;
    std::copy_n(lpEntries, dwCount, entries_.begin() + dwStartingEntry);
    KeepReservedEntries();
    device_->PaletteChanged(this);
    return DD_OK;
}

} // namespace platform::ddraw
