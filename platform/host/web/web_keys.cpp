// DOM key codes to Win32 virtual-key codes.
#include "web_keys.h"

#include <array>
#include <cstring>
#include <string_view>

namespace webhost {

namespace {

using namespace hostcommon::vk;

struct Named {
    std::string_view code;
    VirtualKey key;
};

// Keys by their DOM `code`, where it does not spell the Win32 code.
constexpr std::array kNamed{
    Named{"Backspace", {kBack}},
    Named{"Tab", {kTab}},
    Named{"Enter", {kReturn}},
    Named{"NumpadEnter", {kReturn}},
    Named{"ShiftLeft", {kShift, kLShift}},
    Named{"ShiftRight", {kShift, kRShift}},
    Named{"ControlLeft", {kControl, kLControl}},
    Named{"ControlRight", {kControl, kRControl}},
    Named{"AltLeft", {kMenu, kLMenu}},
    Named{"AltRight", {kMenu, kRMenu}},
    Named{"Pause", {kPause}},
    Named{"CapsLock", {kCapital}},
    Named{"Escape", {kEscape}},
    Named{"Space", {kSpace}},
    Named{"PageUp", {kPrior}},
    Named{"PageDown", {kNext}},
    Named{"End", {kEnd}},
    Named{"Home", {kHome}},
    Named{"ArrowLeft", {kLeft}},
    Named{"ArrowUp", {kUp}},
    Named{"ArrowRight", {kRight}},
    Named{"ArrowDown", {kDown}},
    Named{"PrintScreen", {kSnapshot}},
    Named{"Insert", {kInsert}},
    Named{"Delete", {kDelete}},
    Named{"MetaLeft", {kLWin}},
    Named{"MetaRight", {kRWin}},
    Named{"ContextMenu", {kApps}},
    Named{"NumpadMultiply", {kMultiply}},
    Named{"NumpadAdd", {kAdd}},
    Named{"NumpadSubtract", {kSubtract}},
    Named{"NumpadDecimal", {kDecimal}},
    Named{"NumpadDivide", {kDivide}},
    Named{"NumLock", {kNumLock}},
    Named{"ScrollLock", {kScroll}},
    Named{"Semicolon", {kOem1}},
    Named{"Equal", {kOemPlus}},
    Named{"Comma", {kOemComma}},
    Named{"Minus", {kOemMinus}},
    Named{"Period", {kOemPeriod}},
    Named{"Slash", {kOem2}},
    Named{"Backquote", {kOem3}},
    Named{"BracketLeft", {kOem4}},
    Named{"Backslash", {kOem5}},
    Named{"BracketRight", {kOem6}},
    Named{"Quote", {kOem7}},
};

// "F1".."F24" and "Numpad0".."Numpad9"; Win32 numbers them consecutively.
int FunctionOrKeypad(std::string_view code) {
    auto number = [](std::string_view digits) {
        if (digits.empty() || digits.size() > 2) return -1;
        int n = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return -1;
            n = n * 10 + (c - '0');
        }
        return n;
    };
    if (code.size() >= 2 && code[0] == 'F') {
        int n = number(code.substr(1));
        if (n >= 1 && n <= 24) return kF1 + n - 1;
    }
    if (code.size() == 7 && code.substr(0, 6) == "Numpad") {
        int n = number(code.substr(6));
        if (n >= 0 && n <= 9) return kNumpad0 + n;
    }
    return 0;
}

// The layout's Latin letter or digit, when `key` is one character of them.
int ByLayout(std::string_view key) {
    if (key.size() != 1) return 0;
    char c = key[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    return 0;
}

// "KeyA".."KeyZ" and "Digit0".."Digit9": the letters' and digits' places.
int ByPosition(std::string_view code) {
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z')
        return code[3];
    if (code.size() == 6 && code.substr(0, 5) == "Digit" && code[5] >= '0' && code[5] <= '9')
        return code[5];
    return 0;
}

} // namespace

VirtualKey VirtualKeyFromDom(const char* code, const char* key) {
    std::string_view c = code ? code : "";
    std::string_view k = key ? key : "";
    for (const Named& named : kNamed)
        if (named.code == c) return named.key;
    if (int vk = FunctionOrKeypad(c)) return {vk};
    // Only the keys of the letter and digit rows follow the layout: a
    // keypad digit or a punctuation key is never read as a letter.
    int place = ByPosition(c);
    if (!place && !c.empty()) return {0};
    if (int vk = ByLayout(k)) return {vk};
    return {place};
}

bool IsGameKey(int vk) {
    switch (vk) {
    case kLeft:
    case kUp:
    case kRight:
    case kDown:
    case kControl:
    case kMenu:
    case kReturn:
    case kEscape:
    case kSpace:
    case 'P':
    case kF1 + 9:  // F10
    case kF1 + 11: // F12
        return true;
    default:
        return false;
    }
}

} // namespace webhost
