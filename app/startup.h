// Start-up: from a freshly created window to a running game.
#pragma once

#include <windows.h>

class CDib;

// The sprite sheet's image, read at start-up and kept for the whole run.
extern CDib* SpriteSheet;

// Reads "city2.bmp", takes over the display, builds the palette and the
// sprite surface with its colour key, sets up the world and starts play.
// 1 on success; else 0 after an "Error" box owned by `hwnd` naming the step.
// Nothing created before a failure is released.
int InitGame(HWND hwnd);
