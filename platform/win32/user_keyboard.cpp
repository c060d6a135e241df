// USER32 keyboard messages: the lParam of keystroke messages and
// TranslateMessage, which turns character keys into WM_CHAR / WM_SYSCHAR.
//
// The keyboard is the US layout. Shift and Ctrl are read from the host's
// key table when the keystroke is translated; Caps Lock and Num Lock are
// not tracked (Caps Lock off, Num Lock on).
#include <cstdint>

#include "host.h"
#include "user_windowing.h"

namespace {

struct ScanCode {
    uint8_t code;
    bool extended;
};

// Set-1 scan codes of the keys that are not letters or digits.
struct NamedKey {
    int vk;
    ScanCode scan;
};
constexpr NamedKey kNamedKeys[] = {
    {VK_BACK, {0x0E, false}},    {VK_TAB, {0x0F, false}},      {VK_RETURN, {0x1C, false}},
    {VK_SHIFT, {0x2A, false}},   {VK_CONTROL, {0x1D, false}},  {VK_MENU, {0x38, false}},
    {VK_PAUSE, {0x45, false}},   {VK_CAPITAL, {0x3A, false}},  {VK_ESCAPE, {0x01, false}},
    {VK_SPACE, {0x39, false}},   {VK_PRIOR, {0x49, true}},     {VK_NEXT, {0x51, true}},
    {VK_END, {0x4F, true}},      {VK_HOME, {0x47, true}},      {VK_LEFT, {0x4B, true}},
    {VK_UP, {0x48, true}},       {VK_RIGHT, {0x4D, true}},     {VK_DOWN, {0x50, true}},
    {VK_SNAPSHOT, {0x37, true}}, {VK_INSERT, {0x52, true}},    {VK_DELETE, {0x53, true}},
    {VK_F11, {0x57, false}},     {VK_F12, {0x58, false}},      {VK_LSHIFT, {0x2A, false}},
    {VK_RSHIFT, {0x36, false}},  {VK_LCONTROL, {0x1D, false}}, {VK_RCONTROL, {0x1D, true}},
    {VK_LMENU, {0x38, false}},   {VK_RMENU, {0x38, true}},
};

// The keyboard rows, top to bottom, as scan codes run along them.
constexpr char kLetterRows[] = "QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM";
constexpr uint8_t kFirstLetterScan = 0x10;

ScanCode ScanCodeOf(int vk) {
    if (vk >= '1' && vk <= '9') return {static_cast<uint8_t>(0x02 + vk - '1'), false};
    if (vk == '0') return {0x0B, false};
    if (vk >= VK_F1 && vk <= VK_F10) return {static_cast<uint8_t>(0x3B + vk - VK_F1), false};
    if (vk >= 'A' && vk <= 'Z') {
        for (uint8_t i = 0; i < sizeof(kLetterRows) - 1; i++)
            if (kLetterRows[i] == vk) return {static_cast<uint8_t>(kFirstLetterScan + i), false};
    }
    for (const NamedKey& key : kNamedKeys)
        if (key.vk == vk) return key.scan;
    return {0, false};
}

// Punctuation and keypad keys of the US layout: unshifted and shifted.
struct CharacterKey {
    int vk;
    char plain;
    char shifted;
};
constexpr CharacterKey kCharacterKeys[] = {
    {0xBA, ';', ':'},  {0xBB, '=', '+'}, {0xBC, ',', '<'},  {0xBD, '-', '_'},
    {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'},  {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'}, {0x6A, '*', '*'},
    {0x6B, '+', '+'},  {0x6D, '-', '-'}, {0x6E, '.', '.'},  {0x6F, '/', '/'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";
constexpr int kNumpad0 = 0x60;
constexpr int kNumpad9 = 0x69;

bool Held(int vk, int left, int right) {
    host::KeyTable& keys = host::Keys();
    return keys.IsDown(vk) || keys.IsDown(left) || keys.IsDown(right);
}

// The character a key types, or 0 for a key that types none.
int CharacterOf(int vk) {
    bool shift = Held(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    bool control = Held(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return vk - 'A' + 1; // Ctrl+A is 0x01
        return shift ? vk : vk - 'A' + 'a';
    }
    if (vk >= '0' && vk <= '9') return control ? 0 : (shift ? kShiftedDigits[vk - '0'] : vk);
    if (vk >= kNumpad0 && vk <= kNumpad9) return '0' + vk - kNumpad0;
    switch (vk) {
    case VK_SPACE:
        return ' ';
    case VK_RETURN:
        return control ? '\n' : '\r';
    case VK_BACK:
        return control ? 0x7F : 0x08;
    case VK_ESCAPE:
        return 0x1B;
    case VK_TAB:
        return control ? 0 : '\t';
    }
    for (const CharacterKey& key : kCharacterKeys)
        if (key.vk == vk) return control ? 0 : (shift ? key.shifted : key.plain);
    return 0;
}

} // namespace

namespace platform::user {

LPARAM KeystrokeLParam(int vk, bool down, bool repeat, bool alt) {
    ScanCode scan = ScanCodeOf(vk);
    uint32_t bits = 1; // repeat count
    bits |= static_cast<uint32_t>(scan.code) << 16;
    if (scan.extended) bits |= 1u << 24;
    if (alt) bits |= 1u << 29;             // context code: Alt held
    if (!down || repeat) bits |= 1u << 30; // previous state: the key was down
    if (!down) bits |= 1u << 31;           // transition state: going up
    return static_cast<LPARAM>(bits);
}

} // namespace platform::user

// TranslateMessage posts WM_CHAR (for WM_KEYDOWN) or WM_SYSCHAR (for
// WM_SYSKEYDOWN) to the same window, with the keystroke's lParam, when the
// key types a character; the character comes before any later keystroke.
// Nonzero for every keystroke message, translated or not; 0 otherwise.
extern "C" BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg) return FALSE;
    switch (lpMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        int character = lpMsg->wParam <= 0xFF ? CharacterOf(static_cast<int>(lpMsg->wParam)) : 0;
        UINT charMessage = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        bool deliverable = !lpMsg->hwnd || platform::user::LookupWindow(lpMsg->hwnd);
        if (character && deliverable)
            platform::user::PostToQueue(lpMsg->hwnd, charMessage, static_cast<WPARAM>(character),
                                        lpMsg->lParam);
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}
