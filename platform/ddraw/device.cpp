// The state shared by a DirectDraw object and its surfaces: the registry
// of live objects, surface loss (on the host's request and when an
// exclusive-mode application loses the foreground), presenting the
// primary surface, and the emulated blitter's busy state.
#include "device.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "app_state.h"
#include "device_context.h"
#include "fault_registry.h"
#include "host.h"
#include "palette.h"
#include "surface.h"

namespace platform::ddraw {

namespace {

std::vector<Device*>& Devices() {
    static std::vector<Device*> devices;
    return devices;
}

// Deactivating an exclusive-mode application takes its display memory
// away: every surface is lost and stays lost, after reactivation too,
// until restored.
void OnActivation(bool active) {
    if (active) return;
    for (Device* device : Devices())
        if (!device->released && device->Exclusive()) device->LoseAll();
}

static_assert(sizeof(host::PaletteEntry) == sizeof(PALETTEENTRY),
              "host palette entries match PALETTEENTRY");
static_assert(offsetof(PALETTEENTRY, peRed) == offsetof(host::PaletteEntry, red) &&
                  offsetof(PALETTEENTRY, peBlue) == offsetof(host::PaletteEntry, blue),
              "host palette entries are in PALETTEENTRY order");

} // namespace

Device::Device() : lossSeen(hostcommon::faults::SurfaceLossCount()) {
    Devices().push_back(this);
}

Device::~Device() {
    std::erase(Devices(), this);
}

void Device::LoseAll() {
    for (Surface* surface : surfaces)
        surface->Lose();
}

void Device::SyncLoss() {
    uint32_t now = hostcommon::faults::SurfaceLossCount();
    if (now == lossSeen) return;
    lossSeen = now;
    LoseAll();
}

void Device::PresentFront(bool paced) {
    if (!primary || primary->Lost() || !primary->Bits()) return;
    const Palette* palette = primary->AttachedPalette();
    const PALETTEENTRY* entries = palette ? palette->Entries() : platform::DefaultPalette();
    std::array<host::PaletteEntry, 256> colours;
    std::memcpy(colours.data(), entries, sizeof colours);
    host::Present(primary->Bits(), primary->Width(), primary->Height(), primary->Pitch(),
                  colours.data(), paced);
}

void Device::PaletteChanged(const Palette* palette) {
    if (primary && primary->AttachedPalette() == palette) PresentFront(false);
}

void Device::Forget(Surface* surface) {
    std::erase(surfaces, surface);
    if (primary == surface) primary = nullptr;
}

bool Device::OtherHoldsExclusive() const {
    return std::any_of(Devices().begin(), Devices().end(), [this](const Device* other) {
        return other != this && !other->released && other->Exclusive();
    });
}

void WatchActivation() {
    platform::AddActivationListener(&OnActivation);
}

bool BlitterReady(bool wait) {
    if (!hostcommon::faults::TakeStillDrawing()) return true;
    if (!wait) return false;
    while (hostcommon::faults::TakeStillDrawing()) {
    }
    return true;
}

bool SameIid(REFIID riid, const IID& iid) {
    return std::memcmp(&riid, &iid, sizeof(IID)) == 0;
}

} // namespace platform::ddraw
