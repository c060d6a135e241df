// Game controllers as the game's keyboard: what pads hold, the commands of
// Start and Back, and how pad and keyboard combine in the key table.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "gamepad.h"

namespace {

using hostcommon::Gamepads;
using hostcommon::KeySource;
using hostcommon::KeySources;
using hostcommon::PadAxis;
using hostcommon::PadButton;

// One thing a pad does: a button (down or up) or an axis value.
struct PadAction {
    int32_t pad;
    bool isAxis;
    PadButton button;
    PadAxis axis;
    int value; // button: 1 down, 0 up; axis: position
};

PadAction Press(PadButton b, int32_t pad = 7) { return {pad, false, b, PadAxis::Other, 1}; }
PadAction Lift(PadButton b, int32_t pad = 7) { return {pad, false, b, PadAxis::Other, 0}; }
PadAction Move(PadAxis a, int value, int32_t pad = 7) {
    return {pad, true, PadButton::Other, a, value};
}

struct HoldCase {
    const char* name;
    std::vector<PadAction> actions;
    std::set<int> held; // of VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL
};

class PadHolds : public testing::TestWithParam<HoldCase> {};

TEST_P(PadHolds, KeysHeldAfterActions) {
    Gamepads pads;
    for (const PadAction& a : GetParam().actions) {
        if (a.isAxis)
            pads.Axis(a.pad, a.axis, a.value);
        else
            pads.Button(a.pad, a.button, a.value != 0);
    }
    for (int vk : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_CONTROL, int{'P'}, VK_ESCAPE})
        EXPECT_EQ(pads.Holds(vk), GetParam().held.count(vk) == 1) << "vk " << vk;
}

INSTANTIATE_TEST_SUITE_P(
    Gamepads, PadHolds,
    testing::Values(
        HoldCase{"Nothing", {}, {}},
        HoldCase{"DpadLeft", {Press(PadButton::DpadLeft)}, {VK_LEFT}},
        HoldCase{"DpadRight", {Press(PadButton::DpadRight)}, {VK_RIGHT}},
        HoldCase{"DpadUp", {Press(PadButton::DpadUp)}, {VK_UP}},
        HoldCase{"DpadDown", {Press(PadButton::DpadDown)}, {VK_DOWN}},
        HoldCase{"DpadDiagonal",
                 {Press(PadButton::DpadUp), Press(PadButton::DpadRight)},
                 {VK_UP, VK_RIGHT}},
        HoldCase{"DpadReleased", {Press(PadButton::DpadLeft), Lift(PadButton::DpadLeft)}, {}},
        HoldCase{"SouthFires", {Press(PadButton::South)}, {VK_CONTROL}},
        HoldCase{"WestFires", {Press(PadButton::West)}, {VK_CONTROL}},
        HoldCase{"FireHeldWhileOtherFaceButtonDown",
                 {Press(PadButton::South), Press(PadButton::West), Lift(PadButton::South)},
                 {VK_CONTROL}},
        HoldCase{"StartAndBackHoldNothing",
                 {Press(PadButton::Start), Press(PadButton::Back)},
                 {}},
        HoldCase{"OtherButtonsHoldNothing", {Press(PadButton::Other)}, {}},
        // The dead zone: 16000 of 32767 either way holds nothing, one more does.
        HoldCase{"StickInsideDeadZone",
                 {Move(PadAxis::LeftX, 16000), Move(PadAxis::LeftY, -16000)},
                 {}},
        HoldCase{"StickRight", {Move(PadAxis::LeftX, 16001)}, {VK_RIGHT}},
        HoldCase{"StickLeft", {Move(PadAxis::LeftX, -16001)}, {VK_LEFT}},
        HoldCase{"StickFullLeft", {Move(PadAxis::LeftX, -32768)}, {VK_LEFT}},
        HoldCase{"StickUpIsNegative", {Move(PadAxis::LeftY, -32768)}, {VK_UP}},
        HoldCase{"StickDown", {Move(PadAxis::LeftY, 32767)}, {VK_DOWN}},
        HoldCase{"StickDiagonal",
                 {Move(PadAxis::LeftX, 30000), Move(PadAxis::LeftY, -30000)},
                 {VK_RIGHT, VK_UP}},
        HoldCase{"StickBackToCentre", {Move(PadAxis::LeftX, 30000), Move(PadAxis::LeftX, 0)}, {}},
        HoldCase{"OtherAxesIgnored", {Move(PadAxis::Other, 32767)}, {}},
        HoldCase{"StickAndDpadSameWay",
                 {Move(PadAxis::LeftX, -30000), Press(PadButton::DpadLeft),
                  Move(PadAxis::LeftX, 0)},
                 {VK_LEFT}},
        HoldCase{"TwoPadsCombine",
                 {Press(PadButton::DpadLeft, 1), Press(PadButton::South, 2)},
                 {VK_LEFT, VK_CONTROL}},
        HoldCase{"OnePadLetsGoOtherStillHolds",
                 {Press(PadButton::DpadLeft, 1), Press(PadButton::DpadLeft, 2),
                  Lift(PadButton::DpadLeft, 1)},
                 {VK_LEFT}}),
    [](const testing::TestParamInfo<HoldCase>& info) { return std::string(info.param.name); });

TEST(Gamepads, StartAndBackCommandOnPressOnly) {
    Gamepads pads;
    EXPECT_EQ(pads.Button(1, PadButton::Start, true), 'P');
    EXPECT_EQ(pads.Button(1, PadButton::Start, true), 0) << "a repeated down is no new press";
    EXPECT_EQ(pads.Button(1, PadButton::Start, false), 0);
    EXPECT_EQ(pads.Button(1, PadButton::Start, true), 'P');
    EXPECT_EQ(pads.Button(1, PadButton::Back, true), VK_ESCAPE);
    EXPECT_EQ(pads.Button(1, PadButton::Back, false), 0);
    for (PadButton b : {PadButton::South, PadButton::West, PadButton::DpadUp, PadButton::Other})
        EXPECT_EQ(pads.Button(1, b, true), 0);
}

TEST(Gamepads, RemovedPadLetsGoAndOthersStay) {
    Gamepads pads;
    pads.Button(1, PadButton::DpadLeft, true);
    pads.Axis(2, PadAxis::LeftY, 32767);
    pads.Remove(1);
    EXPECT_FALSE(pads.Holds(VK_LEFT));
    EXPECT_TRUE(pads.Holds(VK_DOWN));
    pads.Remove(2);
    EXPECT_FALSE(pads.Holds(VK_DOWN));
}

TEST(Gamepads, ClearForgetsUntilPressedAgain) {
    Gamepads pads;
    pads.Button(1, PadButton::South, true);
    pads.Axis(1, PadAxis::LeftX, -32768);
    pads.Button(1, PadButton::Start, true);
    pads.Clear();
    EXPECT_FALSE(pads.Holds(VK_CONTROL));
    EXPECT_FALSE(pads.Holds(VK_LEFT));
    // Start was forgotten too, so pressing it again is a new command.
    EXPECT_EQ(pads.Button(1, PadButton::Start, true), 'P');
    pads.Button(1, PadButton::South, true);
    EXPECT_TRUE(pads.Holds(VK_CONTROL));
}

bool Down(host::KeyTable& table, int vk) { return table.IsDown(vk); }

TEST(KeySources, KeyStaysDownWhileAnySourceHoldsIt) {
    host::KeyTable table;
    KeySources sources;
    sources.Press(KeySource::Keyboard, VK_LEFT, table);
    sources.Press(KeySource::Pad, VK_LEFT, table);
    sources.Release(KeySource::Pad, VK_LEFT, table);
    EXPECT_TRUE(Down(table, VK_LEFT)) << "the keyboard still holds it";
    sources.Release(KeySource::Keyboard, VK_LEFT, table);
    EXPECT_FALSE(Down(table, VK_LEFT));

    sources.Press(KeySource::Pad, VK_CONTROL, table);
    sources.Press(KeySource::Keyboard, VK_CONTROL, table);
    sources.Release(KeySource::Keyboard, VK_CONTROL, table);
    EXPECT_TRUE(Down(table, VK_CONTROL)) << "the pad still holds it";
    sources.Release(KeySource::Pad, VK_CONTROL, table);
    EXPECT_FALSE(Down(table, VK_CONTROL));
}

TEST(KeySources, ReleaseAllClearsEverySourceAndTheTable) {
    host::KeyTable table;
    KeySources sources;
    sources.Press(KeySource::Keyboard, VK_UP, table);
    sources.Press(KeySource::Pad, VK_DOWN, table);
    sources.ReleaseAll(table);
    EXPECT_EQ(table.Query(VK_UP), 0) << "no pending press either";
    EXPECT_EQ(table.Query(VK_DOWN), 0);
    EXPECT_FALSE(sources.Holds(KeySource::Keyboard, VK_UP));
    EXPECT_FALSE(sources.Holds(KeySource::Pad, VK_DOWN));
}

TEST(KeySources, OutOfRangeCodesIgnored) {
    host::KeyTable table;
    KeySources sources;
    sources.Press(KeySource::Pad, -1, table);
    sources.Press(KeySource::Pad, 256, table);
    sources.Release(KeySource::Pad, 256, table);
    EXPECT_FALSE(sources.Holds(KeySource::Pad, 256));
    EXPECT_FALSE(sources.Holds(KeySource::Pad, -1));
}

TEST(SyncPadKeys, PadFeedsTheTableAsGetAsyncKeyStateReportsIt) {
    host::KeyTable table;
    KeySources sources;
    Gamepads pads;
    pads.Button(3, PadButton::DpadRight, true);
    hostcommon::SyncPadKeys(pads, sources, table);
    EXPECT_EQ(static_cast<uint16_t>(table.Query(VK_RIGHT)), 0x8001u) << "down, pressed since";
    hostcommon::SyncPadKeys(pads, sources, table);
    EXPECT_EQ(static_cast<uint16_t>(table.Query(VK_RIGHT)), 0x8000u)
        << "a sync with nothing new is no new press";
    pads.Button(3, PadButton::DpadRight, false);
    hostcommon::SyncPadKeys(pads, sources, table);
    EXPECT_EQ(table.Query(VK_RIGHT), 0);
}

TEST(SyncPadKeys, LettingGoOfThePadLeavesKeyboardKeysDown) {
    host::KeyTable table;
    KeySources sources;
    Gamepads pads;
    sources.Press(KeySource::Keyboard, VK_LEFT, table);
    pads.Axis(3, PadAxis::LeftX, -30000);
    pads.Button(3, PadButton::West, true);
    hostcommon::SyncPadKeys(pads, sources, table);
    EXPECT_TRUE(Down(table, VK_CONTROL));
    pads.Axis(3, PadAxis::LeftX, 0);
    pads.Button(3, PadButton::West, false);
    hostcommon::SyncPadKeys(pads, sources, table);
    EXPECT_TRUE(Down(table, VK_LEFT));
    EXPECT_FALSE(Down(table, VK_CONTROL));
    EXPECT_FALSE(sources.Holds(KeySource::Pad, VK_LEFT));
}

TEST(SyncPadKeys, RemovedPadReleasesItsKeys) {
    host::KeyTable table;
    KeySources sources;
    Gamepads pads;
    pads.Button(5, PadButton::DpadUp, true);
    pads.Button(5, PadButton::South, true);
    hostcommon::SyncPadKeys(pads, sources, table);
    pads.Remove(5);
    hostcommon::SyncPadKeys(pads, sources, table);
    EXPECT_FALSE(Down(table, VK_UP));
    EXPECT_FALSE(Down(table, VK_CONTROL));
}

} // namespace
