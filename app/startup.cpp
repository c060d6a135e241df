// The start-up sequence, step by step, each failure in its own words.
#include "startup.h"

#include <cstdio>
#include <new>
#include <string>

#include "ddraw_setup.h"
#include "dib.h"
#include "game_state.h"
#include "sheet_check.h"
#include "surface_ops.h"
#include "world.h"

CDib* SpriteSheet = nullptr;

static int Fail(HWND hwnd, LPCSTR text) {
    MessageBoxA(hwnd, text, "Error", MB_OK);
    return 0;
}

int InitGame(HWND hwnd) {
    SpriteSheet = new (std::nothrow) CDib;
    if (!SpriteSheet) return Fail(hwnd, "CDib* Allocation Exhausted");
    // A sheet read but too small for the rectangles, or not of 8 bits, is
    // refused here as well: the game would draw from it without a word.
    // Why goes where the program's messages go, for the player to act on.
    BOOL read = SpriteSheet->ReadBMP("city2.bmp");
    std::string refusal = SheetRefusal(SpriteSheet, read, "city2.bmp");
    if (!refusal.empty()) {
        std::fprintf(stderr, "%s\n", refusal.c_str());
        return Fail(hwnd, "CDib* Read BMP Failed");
    }

    if (!InitDirectDraw(hwnd)) return Fail(hwnd, "DirectDraw Init Failed");
    if (!CreateFlippingSurfaces()) return Fail(hwnd, "DirectDraw Flip Surface Init Failed");
    ClearSurface(lpDDSPrimary);
    ClearSurface(lpDDSBack);

    CreatePaletteFromDib(&lpDDPal, SpriteSheet->GetColorTable());
    if (!lpDDPal) return Fail(hwnd, "IDirectDrawPalette* NULL");
    lpDDSPrimary->SetPalette(lpDDPal);
    lpDDSBack->SetPalette(lpDDPal);

    lpDDSOffscreen = CreateOffscreenSurface(SpriteSheet->GetWidth(), SpriteSheet->GetHeight());
    if (!lpDDSOffscreen) return Fail(hwnd, "lpDDSOffscreen NULL");
    if (!CopyDibToSurface(lpDDSOffscreen, SpriteSheet)) return Fail(hwnd, "CopyDibToSurface Failed");
    // The colour of sheet pixel (1, 500) is transparent in every keyed blit.
    SetColorKeyFromPixel(lpDDSOffscreen, 1, 500);
    // From now on a restore of the surfaces paints the sheet again.
    SheetImage = SpriteSheet;

    InitObjects();
    ResetGame();
    GameState = GS_PLAYING;
    return 1;
}
