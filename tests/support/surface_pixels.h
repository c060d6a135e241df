// Reads a DirectDraw surface's pixels out through a lock, for tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include <ddraw.h>

// The surface's pixels, rows packed (width bytes each); empty when the lock
// fails. `width` receives the surface's width.
inline std::vector<uint8_t> SurfacePixels(LPDIRECTDRAWSURFACE surface, int* width = nullptr) {
    DDSURFACEDESC ddsd;
    std::memset(&ddsd, 0, sizeof(ddsd));
    ddsd.dwSize = sizeof(ddsd);
    std::vector<uint8_t> out;
    if (surface->Lock(nullptr, &ddsd, DDLOCK_WAIT, nullptr) != DD_OK) return out;
    out.resize(static_cast<size_t>(ddsd.dwWidth) * ddsd.dwHeight);
    for (DWORD y = 0; y < ddsd.dwHeight; y++)
        std::memcpy(&out[y * ddsd.dwWidth], static_cast<uint8_t*>(ddsd.lpSurface) + y * ddsd.lPitch, ddsd.dwWidth);
    surface->Unlock(nullptr);
    if (width) *width = static_cast<int>(ddsd.dwWidth);
    return out;
}
