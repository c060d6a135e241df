// The SDL host's keyboard translation: SDL key codes and scan codes to the
// Win32 virtual-key codes that WM_KEYDOWN and GetAsyncKeyState speak.
#pragma once

#include <SDL_keyboard.h>

#include "virtual_keys.h"

namespace sdlhost {

using hostcommon::OtherSide;
using hostcommon::VirtualKey;

// Translates one SDL key. Letters and digits follow the keyboard layout, as
// Win32's do ('A'..'Z', '0'..'9'); where the layout gives no Latin letter or
// digit, the key's position (the scan code) decides, as Win32 does on
// non-Latin layouts. Keys that Win32 has no code for answer vk = 0.
VirtualKey VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode);

} // namespace sdlhost
