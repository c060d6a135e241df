// SDL key codes and scan codes to Win32 virtual-key codes.
#include "sdl_keys.h"

#include <array>

namespace sdlhost {

namespace {

using namespace hostcommon::vk;

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

} // namespace sdlhost
