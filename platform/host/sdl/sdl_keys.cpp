// SDL key codes and scan codes to Win32 virtual-key codes.
#include "sdl_keys.h"

#include <array>

namespace sdlhost {

namespace {

// The Win32 virtual-key codes this host produces. Kept here rather than
// taken from windows.h: the host stays free of the Win32 declarations.
enum Vk : int {
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

struct Named {
    SDL_Keycode sym;
    VirtualKey key;
};

// Keys whose SDL code does not spell their Win32 code.
constexpr std::array kNamed{
    Named{SDLK_BACKSPACE, {kBack}},
    Named{SDLK_TAB, {kTab}},
    Named{SDLK_RETURN, {kReturn}},
    Named{SDLK_KP_ENTER, {kReturn}},
    Named{SDLK_LSHIFT, {kShift, kLShift}},
    Named{SDLK_RSHIFT, {kShift, kRShift}},
    Named{SDLK_LCTRL, {kControl, kLControl}},
    Named{SDLK_RCTRL, {kControl, kRControl}},
    Named{SDLK_LALT, {kMenu, kLMenu}},
    Named{SDLK_RALT, {kMenu, kRMenu}},
    Named{SDLK_PAUSE, {kPause}},
    Named{SDLK_CAPSLOCK, {kCapital}},
    Named{SDLK_ESCAPE, {kEscape}},
    Named{SDLK_SPACE, {kSpace}},
    Named{SDLK_PAGEUP, {kPrior}},
    Named{SDLK_PAGEDOWN, {kNext}},
    Named{SDLK_END, {kEnd}},
    Named{SDLK_HOME, {kHome}},
    Named{SDLK_LEFT, {kLeft}},
    Named{SDLK_UP, {kUp}},
    Named{SDLK_RIGHT, {kRight}},
    Named{SDLK_DOWN, {kDown}},
    Named{SDLK_PRINTSCREEN, {kSnapshot}},
    Named{SDLK_INSERT, {kInsert}},
    Named{SDLK_DELETE, {kDelete}},
    Named{SDLK_LGUI, {kLWin}},
    Named{SDLK_RGUI, {kRWin}},
    Named{SDLK_APPLICATION, {kApps}},
    Named{SDLK_KP_MULTIPLY, {kMultiply}},
    Named{SDLK_KP_PLUS, {kAdd}},
    Named{SDLK_KP_MINUS, {kSubtract}},
    Named{SDLK_KP_PERIOD, {kDecimal}},
    Named{SDLK_KP_DIVIDE, {kDivide}},
    Named{SDLK_NUMLOCKCLEAR, {kNumLock}},
    Named{SDLK_SCROLLLOCK, {kScroll}},
    Named{SDLK_SEMICOLON, {kOem1}},
    Named{SDLK_EQUALS, {kOemPlus}},
    Named{SDLK_COMMA, {kOemComma}},
    Named{SDLK_MINUS, {kOemMinus}},
    Named{SDLK_PERIOD, {kOemPeriod}},
    Named{SDLK_SLASH, {kOem2}},
    Named{SDLK_BACKQUOTE, {kOem3}},
    Named{SDLK_LEFTBRACKET, {kOem4}},
    Named{SDLK_BACKSLASH, {kOem5}},
    Named{SDLK_RIGHTBRACKET, {kOem6}},
    Named{SDLK_QUOTE, {kOem7}},
};

// SDL numbers F1..F12 and keypad 1..9 consecutively but puts keypad 0 last;
// Win32 numbers them VK_F1.. and VK_NUMPAD0..9.
int FunctionOrKeypad(SDL_Keycode sym) {
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return kF1 + static_cast<int>(sym - SDLK_F1);
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9)
        return kNumpad0 + 1 + static_cast<int>(sym - SDLK_KP_1);
    if (sym == SDLK_KP_0) return kNumpad0;
    return 0;
}

// Letters and digits by position, for layouts without Latin letters.
int ByPosition(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

} // namespace

VirtualKey VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode) {
    // Win32 codes letters by their capital and digits by their character.
    if (sym >= SDLK_a && sym <= SDLK_z) return {static_cast<int>(sym - SDLK_a) + 'A'};
    if (sym >= SDLK_0 && sym <= SDLK_9) return {static_cast<int>(sym)};
    for (const Named& named : kNamed)
        if (named.sym == sym) return named.key;
    if (int vk = FunctionOrKeypad(sym)) return {vk};
    return {ByPosition(scancode)};
}

int OtherSide(int sided) {
    // The pairs are adjacent codes, left even and right odd.
    if (sided >= kLShift && sided <= kRMenu) return sided ^ 1;
    return 0;
}

} // namespace sdlhost
