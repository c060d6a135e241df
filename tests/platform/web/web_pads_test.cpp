// Gamepad API samples as the game's keys: buttons and stick moves found by
// comparing samples, Start and Back as commands, pads coming and going.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "web_pads.h"

namespace {

using hostcommon::Gamepads;
using webhost::PadSample;
using webhost::WebPads;

constexpr uint32_t kA = 1u << 0, kX = 1u << 2, kBack = 1u << 8, kStart = 1u << 9;
constexpr uint32_t kDpadUp = 1u << 12, kDpadLeft = 1u << 14;

PadSample Pad(uint32_t buttons, double x = 0, double y = 0) {
    return PadSample{true, buttons, x, y};
}

TEST(WebPads, StandardButtonsMapByPosition) {
    using hostcommon::PadButton;
    EXPECT_EQ(webhost::PadButtonFromStandard(0), PadButton::South);
    EXPECT_EQ(webhost::PadButtonFromStandard(2), PadButton::West);
    EXPECT_EQ(webhost::PadButtonFromStandard(8), PadButton::Back);
    EXPECT_EQ(webhost::PadButtonFromStandard(9), PadButton::Start);
    EXPECT_EQ(webhost::PadButtonFromStandard(15), PadButton::DpadRight);
    for (int other : {1, 3, 4, 7, 10, 16, 31, -1}) EXPECT_EQ(webhost::PadButtonFromStandard(other), PadButton::Other);
}

TEST(WebPads, StickValuesScaleAndClamp) {
    EXPECT_EQ(webhost::StickValue(0.0), 0);
    EXPECT_EQ(webhost::StickValue(1.0), 32767);
    EXPECT_EQ(webhost::StickValue(-1.0), -32768);
    EXPECT_EQ(webhost::StickValue(2.5), 32767);
    EXPECT_EQ(webhost::StickValue(-7.0), -32768);
    EXPECT_EQ(webhost::StickValue(0.5), 16384);
    EXPECT_EQ(webhost::StickValue(0.0 / 0.0), 0);
}

TEST(WebPads, HeldControlsFollowTheSamples) {
    WebPads web;
    Gamepads pads;
    std::vector<int> commands;
    web.Update(0, Pad(kA | kDpadLeft), pads, commands);
    EXPECT_TRUE(pads.Holds(VK_CONTROL));
    EXPECT_TRUE(pads.Holds(VK_LEFT));
    web.Update(0, Pad(kX, 0.0, -0.9), pads, commands); // A let go, X held: still firing
    EXPECT_TRUE(pads.Holds(VK_CONTROL));
    EXPECT_FALSE(pads.Holds(VK_LEFT));
    EXPECT_TRUE(pads.Holds(VK_UP)); // the stick past the dead zone
    web.Update(0, Pad(0, 0.0, -0.3), pads, commands);
    EXPECT_FALSE(pads.Holds(VK_CONTROL));
    EXPECT_FALSE(pads.Holds(VK_UP)); // within the dead zone
    EXPECT_TRUE(commands.empty());
}

TEST(WebPads, StartAndBackAreCommandsOncePerPress) {
    WebPads web;
    Gamepads pads;
    std::vector<int> commands;
    web.Update(0, Pad(kStart), pads, commands);
    web.Update(0, Pad(kStart), pads, commands); // still held: no second command
    web.Update(0, Pad(0), pads, commands);
    web.Update(1, Pad(kBack), pads, commands);
    EXPECT_EQ(commands, (std::vector<int>{'P', VK_ESCAPE}));
}

TEST(WebPads, APadThatGoesAwayLetsGoAndOthersKeepTheirs) {
    WebPads web;
    Gamepads pads;
    std::vector<int> commands;
    web.Update(0, Pad(kDpadUp), pads, commands);
    web.Update(1, Pad(kA), pads, commands);
    web.Update(0, PadSample{}, pads, commands);
    EXPECT_FALSE(pads.Holds(VK_UP));
    EXPECT_TRUE(pads.Holds(VK_CONTROL));
    // Plugged in again with the same button still down: held again.
    web.Update(0, Pad(kDpadUp), pads, commands);
    EXPECT_TRUE(pads.Holds(VK_UP));
    web.Update(WebPads::kMaxPads, Pad(kDpadLeft), pads, commands); // beyond the pads followed
    EXPECT_FALSE(pads.Holds(VK_LEFT));
}

TEST(WebPads, AfterFocusLossHeldControlsWaitForTheirNextChange) {
    WebPads web;
    Gamepads pads;
    std::vector<int> commands;
    web.Update(0, Pad(kA, 1.0, 0.0), pads, commands);
    pads.Clear(); // the page lost the focus
    web.Update(0, Pad(kA, 1.0, 0.0), pads, commands);
    EXPECT_FALSE(pads.Holds(VK_CONTROL));
    EXPECT_FALSE(pads.Holds(VK_RIGHT));
    web.Update(0, Pad(0, 0.95, 0.0), pads, commands);
    web.Update(0, Pad(kA, 0.95, 0.0), pads, commands);
    EXPECT_TRUE(pads.Holds(VK_CONTROL));
    EXPECT_TRUE(pads.Holds(VK_RIGHT));
}

} // namespace
