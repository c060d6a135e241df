// Starting the real program on the headless host for a benchmark: every
// global put back to a fresh process's state, then the program's own
// start-up (window, display, sprite sheet, world). The benchmarks run from
// the build's bin folder, where city2.bmp lies beside them.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include <ddraw.h>
#include <windows.h>

#include "program_reset.h"
#include "surface_pixels.h"

// Puts the program back to its start and runs InitApp as WinMain does. True
// when the game is ready to play: surfaces made, sheet painted, world set.
inline bool StartGame() {
    ResetProgram();
    return InitApp(nullptr, SW_SHOWDEFAULT) == 1 && lpDDSBack && lpDDSOffscreen;
}

// The sprite sheet's colour key, as the game set it on lpDDSOffscreen.
inline bool SheetColorKey(uint8_t* key) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    if (lpDDSOffscreen->GetSurfaceDesc(&desc) != DD_OK || !(desc.dwFlags & DDSD_CKSRCBLT))
        return false;
    *key = static_cast<uint8_t>(desc.ddckCKSrcBlt.dwColorSpaceLowValue);
    return true;
}

// The game's palette, as the game built it from the sheet.
inline std::vector<PALETTEENTRY> GamePalette() {
    std::vector<PALETTEENTRY> entries(256);
    if (!lpDDPal || lpDDPal->GetEntries(0, 0, 256, entries.data()) != DD_OK) entries.clear();
    return entries;
}
