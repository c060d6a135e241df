// Game states, the key commands, and the title screen.
#include "game_state.h"

#include "ddraw_setup.h"
#include "dib.h"
#include "frame.h"
#include "surface_ops.h"

int GameState = GS_STARTING;

// The title image, read the first time the title is shown and kept while it
// stays on screen; its blocks are released when the title is left.
static CDib* TitleDib = nullptr;

static void ShowTitle() {
    if (!TitleDib) TitleDib = new CDib;
    if (!TitleDib->lpInfo) TitleDib->ReadBMP("title.bmp"); // a missing file leaves the blank image
    const RGBQUAD* colors = TitleDib->GetColorTable();
    if (!lpDDPalTitle && colors) CreatePaletteFromDib(&lpDDPalTitle, colors);
    if (lpDDPalTitle) lpDDSPrimary->SetPalette(lpDDPalTitle);
    CopyDibToSurface(lpDDSBack, TitleDib);
    RECT whole = {0, 0, TitleDib->GetWidth(), TitleDib->GetHeight()};
    BltFastLoop(lpDDSBack, lpDDSPrimary, 0, 0, &whole, 0);
}

static void LeaveTitle() {
    if (TitleDib) TitleDib->Free();
    lpDDSPrimary->SetPalette(lpDDPal);
    lpDD->FlipToGDISurface();
}

void UpdateFrame() {
    switch (GameState) {
    case GS_PLAYING: GameFrame(); break;
    case GS_TITLE: ShowTitle(); break;
    case GS_QUIT: PostQuitMessage(0); break;
    default: break; // GS_PAUSED, GS_STARTING
    }
}

void OnKeyDown(int virtualKey) {
    switch (virtualKey) {
    case VK_RETURN:
        if (GameState == GS_TITLE) {
            LeaveTitle();
            GameState = GS_PLAYING;
        }
        break;
    case VK_ESCAPE: GameState = GS_QUIT; break;
    case 'P':
        if (GameState == GS_PLAYING)
            GameState = GS_PAUSED;
        else if (GameState == GS_PAUSED)
            GameState = GS_PLAYING;
        break;
    default: break;
    }
}
