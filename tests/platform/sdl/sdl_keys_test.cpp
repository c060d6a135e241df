// The SDL host's key translation: SDL key codes to Win32 virtual keys.
#include <gtest/gtest.h>
#include <windows.h>

#include "sdl_keys.h"

namespace {

struct KeyCase {
    const char* name;
    SDL_Keycode sym;
    SDL_Scancode scancode;
    int vk;
    int sided;
};

class SdlKeyMapping : public testing::TestWithParam<KeyCase> {};

TEST_P(SdlKeyMapping, GivesWin32VirtualKey) {
    const KeyCase& c = GetParam();
    sdlhost::VirtualKey key = sdlhost::VirtualKeyFromSdl(c.sym, c.scancode);
    EXPECT_EQ(key.vk, c.vk);
    EXPECT_EQ(key.sided, c.sided);
}

// The keys the game reads (arrows, Ctrl, Enter, Esc, P, F12) and the edges of
// every numbered range.
INSTANTIATE_TEST_SUITE_P(
    Keys, SdlKeyMapping,
    testing::Values(KeyCase{"Left", SDLK_LEFT, SDL_SCANCODE_LEFT, VK_LEFT, 0},
                    KeyCase{"Up", SDLK_UP, SDL_SCANCODE_UP, VK_UP, 0},
                    KeyCase{"Right", SDLK_RIGHT, SDL_SCANCODE_RIGHT, VK_RIGHT, 0},
                    KeyCase{"Down", SDLK_DOWN, SDL_SCANCODE_DOWN, VK_DOWN, 0},
                    KeyCase{"LeftCtrl", SDLK_LCTRL, SDL_SCANCODE_LCTRL, VK_CONTROL, VK_LCONTROL},
                    KeyCase{"RightCtrl", SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL, VK_RCONTROL},
                    KeyCase{"RightShift", SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, VK_SHIFT, VK_RSHIFT},
                    KeyCase{"LeftAlt", SDLK_LALT, SDL_SCANCODE_LALT, VK_MENU, VK_LMENU},
                    KeyCase{"Enter", SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN, 0},
                    KeyCase{"KeypadEnter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN, 0},
                    KeyCase{"Escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0},
                    KeyCase{"Space", SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE, 0},
                    KeyCase{"LetterA", SDLK_a, SDL_SCANCODE_A, 'A', 0},
                    KeyCase{"LetterP", SDLK_p, SDL_SCANCODE_P, 'P', 0},
                    KeyCase{"LetterZ", SDLK_z, SDL_SCANCODE_Z, 'Z', 0},
                    KeyCase{"Digit0", SDLK_0, SDL_SCANCODE_0, '0', 0},
                    KeyCase{"Digit9", SDLK_9, SDL_SCANCODE_9, '9', 0},
                    KeyCase{"F1", SDLK_F1, SDL_SCANCODE_F1, VK_F1, 0},
                    KeyCase{"F12", SDLK_F12, SDL_SCANCODE_F12, VK_F12, 0},
                    KeyCase{"Keypad0", SDLK_KP_0, SDL_SCANCODE_KP_0, 0x60, 0},
                    KeyCase{"Keypad9", SDLK_KP_9, SDL_SCANCODE_KP_9, 0x69, 0},
                    KeyCase{"Pause", SDLK_PAUSE, SDL_SCANCODE_PAUSE, VK_PAUSE, 0},
                    KeyCase{"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, VK_DELETE, 0},
                    KeyCase{"Comma", SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC, 0},
                    // A layout key with no Latin letter: Win32 names it by position.
                    KeyCase{"CyrillicByPosition", 0x0444, SDL_SCANCODE_A, 'A', 0},
                    // AZERTY's top row types symbols but stays the digit keys.
                    KeyCase{"AzertyDigitRow", SDLK_AMPERSAND, SDL_SCANCODE_1, '1', 0},
                    KeyCase{"NoWin32Code", SDLK_MUTE, SDL_SCANCODE_MUTE, 0, 0}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(SdlKeyMapping, ModifierSidesPairUp) {
    EXPECT_EQ(sdlhost::OtherSide(VK_LCONTROL), VK_RCONTROL);
    EXPECT_EQ(sdlhost::OtherSide(VK_RCONTROL), VK_LCONTROL);
    EXPECT_EQ(sdlhost::OtherSide(VK_LSHIFT), VK_RSHIFT);
    EXPECT_EQ(sdlhost::OtherSide(VK_RMENU), VK_LMENU);
    EXPECT_EQ(sdlhost::OtherSide(VK_CONTROL), 0);
}

} // namespace
