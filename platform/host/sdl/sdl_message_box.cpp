// The SDL host's message boxes: SDL's own modal box over the main window,
// holding the keyboard focus while it is up.
#include "native_host.h"
#include "sdl_host.h"

namespace {

// MessageBoxA's type bits that pick the buttons and the icon.
constexpr unsigned kButtonsMask = 0x0000000F;
constexpr unsigned kOkCancel = 0x00000001;
constexpr unsigned kIconMask = 0x000000F0;
constexpr unsigned kIconError = 0x00000010;
constexpr unsigned kIconExclamation = 0x00000030;
constexpr unsigned kIconInformation = 0x00000040;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

Uint32 IconFlags(unsigned type) {
    switch (type & kIconMask) {
    case kIconError:
        return SDL_MESSAGEBOX_ERROR;
    case kIconExclamation:
        return SDL_MESSAGEBOX_WARNING;
    case kIconInformation:
        return SDL_MESSAGEBOX_INFORMATION;
    default:
        return 0;
    }
}

} // namespace

namespace native {

// The box is modal to the main window when there is one; `owner` is the API
// layer's window handle, which SDL cannot use. Without a display, or when SDL
// cannot show the box, the answer is IDOK, as a box the user could only
// acknowledge would give.
int ShowMessageBox(const void* /*owner*/, const char* caption, const char* text, unsigned type) {
    if (!sdlhost::EnsureVideo()) return kIdOk;
    // Enter and Esc answer as they do on Windows: OK is the default, Esc cancels.
    SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kIdOk, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kIdCancel, "Cancel"},
    };
    bool okCancel = (type & kButtonsMask) == kOkCancel;
    if (!okCancel) buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    SDL_MessageBoxData box{};
    box.flags = IconFlags(type);
    box.window = sdlhost::MainWindow();
    box.title = caption ? caption : "";
    box.message = text ? text : "";
    box.numbuttons = okCancel ? 2 : 1;
    box.buttons = buttons;
    int pressed = -1;
    sdlhost::BeginMessageBox(box.window);
    int shown = SDL_ShowMessageBox(&box, &pressed);
    sdlhost::EndMessageBox();
    if (shown != 0) {
        // On X11 the box's own connection may have died with the display;
        // pumping finds out whether the host's did too (and then ends it).
        SDL_PumpEvents();
        return kIdOk;
    }
    // Closing the box without a button answers like Esc.
    if (pressed < 0) return okCancel ? kIdCancel : kIdOk;
    return pressed;
}

} // namespace native
