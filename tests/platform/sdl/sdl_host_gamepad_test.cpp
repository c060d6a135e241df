// The SDL host with a game controller plugged in: an SDL virtual controller
// drives the real host (on SDL's dummy video driver), and the host's key
// table and events are checked as the platform layer sees them. How the
// pads and the keyboard share the table, and what focus loss does, is the
// input core's (tests/platform/host_common).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "host.h"
#include "sdl_host.h"

namespace {

std::vector<host::Event> Drain() {
    std::vector<host::Event> events;
    host::Event e;
    while (host::PollEvent(e)) events.push_back(e);
    return events;
}

class SdlHostGamepad : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // No display needed: the dummy driver, asked for by name, is accepted.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // The dummy driver gives no window the focus, which would mute the pad.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        host::CreateMainWindow("pad test", 640, 480);
        host::SetMainWindowState(host::WindowState::Shown); // keys go to the active application
        Drain();
    }
    static void TearDownTestSuite() { host::DestroyMainWindow(); }

    void SetUp() override {
        ASSERT_NE(sdlhost::MainWindow(), nullptr) << SDL_GetError();
        int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                              SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(index)) << "the virtual pad has no controller mapping";
        joystick_ = SDL_JoystickOpen(index);
        ASSERT_NE(joystick_, nullptr) << SDL_GetError();
        EXPECT_TRUE(Drain().empty()) << "plugging a pad in is no key event";
    }

    void TearDown() override {
        if (!joystick_) return;
        SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        for (int i = 0; i < SDL_NumJoysticks(); i++)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        Drain();
        for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL})
            EXPECT_FALSE(host::Keys().IsDown(vk)) << "unplugging lets go of " << vk;
    }

    std::vector<host::Event> SetButton(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
        return Drain();
    }
    std::vector<host::Event> SetAxis(SDL_GameControllerAxis axis, int value) {
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
        return Drain();
    }
    static bool Down(int vk) { return host::Keys().IsDown(vk); }

    SDL_Joystick* joystick_ = nullptr;
};

struct ButtonCase {
    SDL_GameControllerButton button;
    int vk;
};

TEST_F(SdlHostGamepad, ButtonsHoldKeysWithoutKeyEvents) {
    for (ButtonCase c : {ButtonCase{SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
                         ButtonCase{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
                         ButtonCase{SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
                         ButtonCase{SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
                         ButtonCase{SDL_CONTROLLER_BUTTON_A, VK_CONTROL},
                         ButtonCase{SDL_CONTROLLER_BUTTON_X, VK_CONTROL}}) {
        EXPECT_TRUE(SetButton(c.button, true).empty()) << "button " << c.button;
        EXPECT_EQ(static_cast<uint16_t>(host::Keys().Query(c.vk)), 0x8001u) << "button " << c.button;
        EXPECT_TRUE(SetButton(c.button, false).empty()) << "button " << c.button;
        EXPECT_FALSE(Down(c.vk)) << "button " << c.button;
    }
    // B and Y are not the fire buttons.
    SetButton(SDL_CONTROLLER_BUTTON_B, true);
    SetButton(SDL_CONTROLLER_BUTTON_Y, true);
    EXPECT_FALSE(Down(VK_CONTROL));
    SetButton(SDL_CONTROLLER_BUTTON_B, false);
    SetButton(SDL_CONTROLLER_BUTTON_Y, false);
}

TEST_F(SdlHostGamepad, LeftStickSteersPastTheDeadZone) {
    SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -12000);
    EXPECT_FALSE(Down(VK_LEFT));
    EXPECT_TRUE(SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -30000).empty());
    EXPECT_TRUE(Down(VK_LEFT));
    SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_TRUE(Down(VK_DOWN));
    SetAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    SetAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_FALSE(Down(VK_LEFT));
    EXPECT_FALSE(Down(VK_DOWN));
    // The right stick steers nothing.
    SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    EXPECT_FALSE(Down(VK_RIGHT));
    SetAxis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
}

TEST_F(SdlHostGamepad, StartAndBackArePressesOfPAndEscape) {
    for (ButtonCase c : {ButtonCase{SDL_CONTROLLER_BUTTON_START, 'P'},
                         ButtonCase{SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE}}) {
        std::vector<host::Event> events = SetButton(c.button, true);
        ASSERT_EQ(events.size(), 2u) << "button " << c.button;
        EXPECT_EQ(events[0].kind, host::EventKind::KeyDown);
        EXPECT_EQ(events[0].vk, c.vk);
        EXPECT_FALSE(events[0].repeat);
        EXPECT_EQ(events[1].kind, host::EventKind::KeyUp);
        EXPECT_EQ(events[1].vk, c.vk);
        EXPECT_EQ(static_cast<uint16_t>(host::Keys().Query(c.vk)), 1u) << "pressed, now up";
        EXPECT_TRUE(SetButton(c.button, false).empty()) << "letting go says nothing more";
    }
}

TEST_F(SdlHostGamepad, UnpluggedPadLetsGo) {
    SetButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    SetButton(SDL_CONTROLLER_BUTTON_X, true);
    ASSERT_TRUE(Down(VK_UP));
    ASSERT_TRUE(Down(VK_CONTROL));
    // TearDown unplugs it and checks that every key went up.
}

} // namespace
