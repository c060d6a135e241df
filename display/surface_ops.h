// The per-frame surface work: filling a surface with colour 0, copying
// sprite-sheet rectangles to the back buffer, flipping, restoring lost
// surfaces, and painting a CDib onto a surface through GDI.
#pragma once

#include <ddraw.h>
#include <windows.h>

class CDib;

// Fills the whole surface with pixel value 0. On a lost surface, restores
// all surfaces and gives up this fill (DD_OK after a good restore). Repeats
// at once while the blitter is busy.
HRESULT ClearSurface(LPDIRECTDRAWSURFACE surface);

// BltFast from `source` to `dest` at (x, y), repeating while busy. 1 when
// the copy was done, else 0; a lost surface restores all and gives up.
int BltFastLoop(LPDIRECTDRAWSURFACE source, LPDIRECTDRAWSURFACE dest, LONG x, LONG y, LPRECT sourceRect,
                DWORD flags);

// Copies `rect` of the sprite sheet to (x, y) of the back buffer, skipping the
// colour key unless `opaque`. Nothing is clipped: a rectangle that does not
// fit is refused by the platform and the sprite is missing from the frame.
int DrawSprite(LONG x, LONG y, RECT rect, int opaque);

// Shows the back buffer. A lost surface restores all and gives up the flip.
HRESULT FlipPages();

// Restores the primary (and with it its flipping chain), the back buffer and
// the sprite surface, stopping at the first failure, then paints SheetImage
// onto the restored sprite surface.
HRESULT RestoreAll();

// Paints `dib` at (0, 0) of `surface` through the surface's device context.
// 1 when painted; 0 when no device context could be had.
int CopyDibToSurface(LPDIRECTDRAWSURFACE surface, CDib* dib);

// DrawSprite the other way round: from the back buffer to the sprite surface.
int CopyBackToOffscreen(LONG x, LONG y, RECT rect, int opaque);

// Writes one pixel of the back buffer through a lock; returns Unlock's
// result, the failing Lock code, or DDERR_INVALIDPARAMS for a pixel outside
// the buffer (nothing written).
HRESULT PlotBackPixel(int x, int y, BYTE color);

// Spins until the tick count has moved more than 93 ms past its first
// reading; returns the last reading.
DWORD BusyWait();
