// The web host's keyboard translation: a DOM KeyboardEvent's `code` (the
// key's position) and `key` (what the layout makes of it) to the Win32
// virtual-key codes that WM_KEYDOWN and GetAsyncKeyState speak.
// Nothing here touches the browser, so it is checked on its own.
#pragma once

#include "virtual_keys.h"

namespace webhost {

using hostcommon::VirtualKey;

// Translates one key. Letters and digits follow the keyboard layout, as
// Win32's do ('A'..'Z', '0'..'9'); where the layout gives no Latin letter or
// digit there, the key's position decides, as Win32 does on non-Latin
// layouts. Keys that Win32 has no code for answer vk = 0. Null strings are
// taken as empty.
VirtualKey VirtualKeyFromDom(const char* code, const char* key);

// True for the keys whose default action the page must not take while the
// game has the focus: the game's own keys (arrows scroll, F12 opens the
// developer tools, Enter and the space bar press buttons, Alt and F10 reach
// the browser's menu). The browser's other shortcuts keep working.
bool IsGameKey(int vk);

} // namespace webhost
