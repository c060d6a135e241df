// The state one DirectDraw object shares with the surfaces and palettes it
// created: cooperative level, display mode, the primary surface, the live
// surfaces, and the bookkeeping that decides when surfaces are lost.
// Surfaces and palettes hold it by shared_ptr, so it outlives the
// IDirectDraw interface that created it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <ddraw.h>

namespace platform::ddraw {

class Surface;
class Palette;

// The emulated display: the primary surface always has this size.
inline constexpr int kDisplayWidth = 640;
inline constexpr int kDisplayHeight = 480;

struct Device {
    Device();
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool released = false;          // the IDirectDraw interface reached zero references
    DWORD level = 0;                // DDSCL_ flags in force; 0 before SetCooperativeLevel
    HWND window = nullptr;          // the window given to SetCooperativeLevel
    bool modeSet = false;           // this object switched the display to 640 x 480 x 8
    Surface* primary = nullptr;     // the primary surface (front of its chain), if any
    std::vector<Surface*> surfaces; // every live surface, implicit back buffers included
    uint32_t lossSeen = 0;          // the registry's surface-loss count when last compared

    bool Exclusive() const { return (level & DDSCL_EXCLUSIVE) != 0; }

    // Takes every surface's memory away: each answers DDERR_SURFACELOST
    // until restored.
    void LoseAll();
    // Applies a "lose all surfaces" request of the fault registry that this
    // object has not seen yet. Every surface method calls it first.
    void SyncLoss();
    // Shows the primary surface's pixels with the palette in force on it.
    // `paced` is true for a page flip. Nothing happens without a primary or
    // while it is lost.
    void PresentFront(bool paced);
    // Called when a palette's entries changed: the screen is shown again
    // when that palette is the primary surface's.
    void PaletteChanged(const Palette* palette);
    // A surface is being destroyed: it leaves the lists.
    void Forget(Surface* surface);
    // True when another live DirectDraw object holds exclusive mode.
    bool OtherHoldsExclusive() const;
};

// Makes DirectDraw follow the application's activation (idempotent): a
// deactivated exclusive-mode application loses every surface.
void WatchActivation();

// The emulated blitter: when the fault registry reports it busy, a caller that asked
// to wait keeps asking until it is free; one that did not gets false and
// answers DDERR_WASSTILLDRAWING.
bool BlitterReady(bool wait);

// True when `riid` names `iid`.
bool SameIid(REFIID riid, const IID& iid);

} // namespace platform::ddraw
