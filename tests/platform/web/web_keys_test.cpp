// DOM keys to Win32 virtual-key codes, and which keys the page keeps from
// the browser.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "web_keys.h"

namespace {

// Codes the game's windows.h does not declare.
constexpr int kNumpad0 = 0x60, kNumpad7 = 0x67, kOem1 = 0xBA, kF24 = 0x87;

struct KeyCase {
    const char* code;
    const char* key;
    int vk;
    int sided;
};

class WebKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(WebKeys, TranslateAsWin32Does) {
    const KeyCase& c = GetParam();
    webhost::VirtualKey key = webhost::VirtualKeyFromDom(c.code, c.key);
    EXPECT_EQ(key.vk, c.vk) << c.code << " / " << c.key;
    EXPECT_EQ(key.sided, c.sided) << c.code << " / " << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WebKeys,
    testing::Values(
        // The game's keys.
        KeyCase{"ArrowLeft", "ArrowLeft", VK_LEFT, 0}, KeyCase{"ArrowUp", "ArrowUp", VK_UP, 0},
        KeyCase{"ArrowRight", "ArrowRight", VK_RIGHT, 0}, KeyCase{"ArrowDown", "ArrowDown", VK_DOWN, 0},
        KeyCase{"ControlLeft", "Control", VK_CONTROL, VK_LCONTROL},
        KeyCase{"ControlRight", "Control", VK_CONTROL, VK_RCONTROL},
        KeyCase{"Enter", "Enter", VK_RETURN, 0}, KeyCase{"NumpadEnter", "Enter", VK_RETURN, 0},
        KeyCase{"Escape", "Escape", VK_ESCAPE, 0}, KeyCase{"KeyP", "p", 'P', 0},
        KeyCase{"F12", "F12", VK_F12, 0},
        // Modifiers hold both codes.
        KeyCase{"ShiftRight", "Shift", VK_SHIFT, VK_RSHIFT}, KeyCase{"AltLeft", "Alt", VK_MENU, VK_LMENU},
        // Letters follow the layout (AZERTY's A sits where QWERTY has Q) ...
        KeyCase{"KeyQ", "a", 'A', 0}, KeyCase{"KeyP", "P", 'P', 0},
        // ... unless the layout gives no Latin letter there: then the place decides.
        KeyCase{"KeyQ", "\xD0\xB9", 'Q', 0}, KeyCase{"Digit1", "&", '1', 0},
        KeyCase{"Digit0", "0", '0', 0},
        // A keypad digit or punctuation is never read as a letter.
        KeyCase{"Numpad7", "7", kNumpad7, 0}, KeyCase{"Numpad0", "Insert", kNumpad0, 0},
        KeyCase{"Semicolon", "m", kOem1, 0},
        // Function keys up to F24; what Win32 has no code for is 0.
        KeyCase{"F1", "F1", VK_F1, 0}, KeyCase{"F24", "F24", kF24, 0}, KeyCase{"F25", "F25", 0, 0},
        KeyCase{"IntlBackslash", "<", 0, 0}, KeyCase{"Fn", "Fn", 0, 0}, KeyCase{"KeyAB", "a", 0, 0},
        // Events with no code (made by scripts) fall back on the layout's character.
        KeyCase{"", "x", 'X', 0}, KeyCase{"", "", 0, 0}));

TEST(WebKeys, NullStringsAreEmpty) {
    EXPECT_EQ(webhost::VirtualKeyFromDom(nullptr, nullptr).vk, 0);
    EXPECT_EQ(webhost::VirtualKeyFromDom("ArrowUp", nullptr).vk, VK_UP);
}

TEST(WebKeys, PageKeepsOnlyTheGameKeysFromTheBrowser) {
    for (int vk : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_CONTROL, VK_MENU, VK_RETURN, VK_ESCAPE,
                   VK_SPACE, static_cast<int>('P'), VK_F10, VK_F12})
        EXPECT_TRUE(webhost::IsGameKey(vk)) << vk;
    // Reload, the browser's own shortcuts' letters, typing elsewhere.
    for (int vk : {VK_F5, VK_F11, static_cast<int>('R'), static_cast<int>('W'), VK_TAB, VK_SHIFT})
        EXPECT_FALSE(webhost::IsGameKey(vk)) << vk;
}

} // namespace
