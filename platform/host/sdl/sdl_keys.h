// The SDL host's keyboard translation: SDL key codes and scan codes to the
// Win32 virtual-key codes that WM_KEYDOWN and GetAsyncKeyState speak.
#pragma once

#include <SDL_keyboard.h>

namespace sdlhost {

// A key as Win32 names it. `vk` is what messages carry (VK_CONTROL for either
// Ctrl key); `sided` is the left/right code of a modifier (VK_LCONTROL,
// VK_RSHIFT, ...) or 0 for every other key.
struct VirtualKey {
    int vk = 0;
    int sided = 0;
};

// Translates one SDL key. Letters and digits follow the keyboard layout, as
// Win32's do ('A'..'Z', '0'..'9'); where the layout gives no Latin letter or
// digit, the key's position (the scan code) decides, as Win32 does on
// non-Latin layouts. Keys that Win32 has no code for answer vk = 0.
VirtualKey VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode);

// The other side of a modifier pair: VK_LSHIFT <-> VK_RSHIFT, VK_LCONTROL <->
// VK_RCONTROL, VK_LMENU <-> VK_RMENU. 0 for any other code.
int OtherSide(int sided);

} // namespace sdlhost
