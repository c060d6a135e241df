// Puts every global of the program and of the headless platform back to the
// state of a fresh process, so tests in one process do not see each other.
#pragma once

#include "ddraw_setup.h"
#include "dib.h"
#include "game_state.h"
#include "headless.h"
#include "startup.h"
#include "user_state.h"
#include "winmain.h"
#include "world.h"

inline void ResetProgram() {
    if (lpDDSOffscreen) lpDDSOffscreen->Release();
    if (lpDDPal) lpDDPal->Release();
    if (lpDDPalTitle) lpDDPalTitle->Release();
    lpDDSOffscreen = nullptr;
    lpDDPal = lpDDPalTitle = nullptr;
    ReleaseDirectDraw();
    delete SpriteSheet;
    SpriteSheet = nullptr;
    SheetImage = nullptr;
    GameState = GS_STARTING;
    AppActive = 0;
    RandomState = 1;
    LastFireTick = 0;
    FireInterval = 180;
    headless::Reset();
    platform::ResetWindowingForTests();
    headless::SetTickCount(1000000);
}
