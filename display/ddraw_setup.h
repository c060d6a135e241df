// The display objects of the game and their set-up: the DirectDraw object in
// exclusive full-screen 640 x 480 x 8, the flipping chain of the primary
// surface and two back buffers, the palettes, the off-screen surface that
// holds the sprite sheet, and its source colour key.
#pragma once

#include <ddraw.h>
#include <windows.h>

// Each pointer holds the one reference its creating call returned; they live
// until the process ends.
extern LPDIRECTDRAW lpDD;                 // the DirectDraw object of the default display
extern LPDIRECTDRAWSURFACE lpDDSPrimary;  // the visible primary, front of the flipping chain
extern LPDIRECTDRAWSURFACE lpDDSBack;     // the back buffer the next flip shows
extern LPDIRECTDRAWSURFACE lpDDSOffscreen; // the sprite sheet, with its source colour key
extern LPDIRECTDRAWPALETTE lpDDPal;       // the sprite sheet's colours, on both pages
extern LPDIRECTDRAWPALETTE lpDDPalTitle;  // the title image's colours

class CDib;
// The image painted on lpDDSOffscreen, kept so that a restore of lost
// surfaces can paint it again; null until start-up has painted the sheet.
extern CDib* SheetImage;

// Creates the DirectDraw object and takes the display into exclusive
// full-screen 640 x 480 x 8 for `hwnd`. 1 on success; else 0 after one
// "DirectDraw Error" box naming the call that failed. Nothing is undone.
int InitDirectDraw(HWND hwnd);

// Creates the primary surface with two back buffers and fetches the first
// back buffer into lpDDSBack. 1 on success; else 0 after one box.
int CreateFlippingSurfaces();

// Builds a palette from 256 colour-table entries (blue, green, red order)
// into *palette. Returns CreatePalette's result; *palette stays null on failure.
HRESULT CreatePaletteFromDib(LPDIRECTDRAWPALETTE* palette, const RGBQUAD* colorTable);

// An off-screen plain surface of the display's format, or null. Shows nothing.
LPDIRECTDRAWSURFACE CreateOffscreenSurface(DWORD width, DWORD height);

// Makes the colour at (x, y) of `surface` that surface's source colour key.
// The colour becomes a pixel value by letting GDI write it into pixel (0, 0)
// of the primary surface (nearest colour of the primary's palette) and
// reading it back; the screen pixel is put back afterwards. Returns
// SetColorKey's result, or the failing GetDC or Lock code (no key is set then).
HRESULT SetColorKeyFromPixel(LPDIRECTDRAWSURFACE surface, int x, int y);

// Shows `text` in a box captioned "DirectDraw Error", owned by the active
// window. Returns 0, so a failing operation can return its result.
int ReportError(LPCSTR text);

// Releases the primary, the back buffer and the DirectDraw object, if any.
// The off-screen surface and the palettes are kept.
void ReleaseDirectDraw();

// Creates a 640 x 480 off-screen surface straight into lpDDSOffscreen.
// 1 on success, else 0; shows nothing.
int CreateScreenOffscreen();

// Sets `key` as the source colour key of `surface`. 1 on success, else 0.
int SetColorKeyValue(LPDIRECTDRAWSURFACE surface, DWORD key);
