// Win32 virtual-key codes as the hosts speak them, and how a key of the
// keyboard goes into the asynchronous key table: a modifier holds both its
// generic code (VK_CONTROL) and its sided one (VK_LCONTROL), and the generic
// one stays down while the other side is held. The hosts translate their
// keys into these; the input core keeps the table. Nothing here touches a host.
#pragma once

#include "gamepad.h"
#include "key_table.h"

namespace hostcommon {

namespace vk {
// The Win32 virtual-key codes the hosts produce. Kept here rather than
// taken from windows.h: the hosts stay free of the Win32 declarations.
enum Code : int {
    kBack = 0x08,
    kTab = 0x09,
    kReturn = 0x0D,
    kShift = 0x10,
    kControl = 0x11,
    kMenu = 0x12,
    kPause = 0x13,
    kCapital = 0x14,
    kEscape = 0x1B,
    kSpace = 0x20,
    kPrior = 0x21,
    kNext = 0x22,
    kEnd = 0x23,
    kHome = 0x24,
    kLeft = 0x25,
    kUp = 0x26,
    kRight = 0x27,
    kDown = 0x28,
    kSnapshot = 0x2C,
    kInsert = 0x2D,
    kDelete = 0x2E,
    kLWin = 0x5B,
    kRWin = 0x5C,
    kApps = 0x5D,
    kNumpad0 = 0x60,
    kMultiply = 0x6A,
    kAdd = 0x6B,
    kSubtract = 0x6D,
    kDecimal = 0x6E,
    kDivide = 0x6F,
    kF1 = 0x70,
    kNumLock = 0x90,
    kScroll = 0x91,
    kLShift = 0xA0,
    kRShift = 0xA1,
    kLControl = 0xA2,
    kRControl = 0xA3,
    kLMenu = 0xA4,
    kRMenu = 0xA5,
    kOem1 = 0xBA,      // ;:
    kOemPlus = 0xBB,   // =+
    kOemComma = 0xBC,  // ,<
    kOemMinus = 0xBD,  // -_
    kOemPeriod = 0xBE, // .>
    kOem2 = 0xBF,      // /?
    kOem3 = 0xC0,      // `~
    kOem4 = 0xDB,      // [{
    kOem5 = 0xDC,      // backslash
    kOem6 = 0xDD,      // ]}
    kOem7 = 0xDE,      // '"
};
} // namespace vk

// A key as Win32 names it. `vk` is what messages carry (VK_CONTROL for either
// Ctrl key); `sided` is the left/right code of a modifier (VK_LCONTROL,
// VK_RSHIFT, ...) or 0 for every other key.
struct VirtualKey {
    int vk = 0;
    int sided = 0;
};

// The other side of a modifier pair: VK_LSHIFT <-> VK_RSHIFT, VK_LCONTROL <->
// VK_RCONTROL, VK_LMENU <-> VK_RMENU. 0 for any other code.
int OtherSide(int sided);

// A key of the keyboard (or one that `source` holds the keyboard's way, as
// an on-screen pad's) went down (or repeated) or up: `sources` and the table
// follow, both codes of a modifier included.
void PressSourceKey(KeySource source, VirtualKey key, KeySources& sources, host::KeyTable& table);
void ReleaseSourceKey(KeySource source, VirtualKey key, KeySources& sources, host::KeyTable& table);

} // namespace hostcommon
