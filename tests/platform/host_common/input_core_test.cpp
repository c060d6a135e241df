// The hosts' input core: keys reach the program only while it is active,
// reserved keys never do, pads and keyboard share the key table, and every
// change of the table is made as its event is taken, in order.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "input_core.h"

namespace {

using hostcommon::HostCommand;
using hostcommon::InputCore;
using hostcommon::VirtualKey;
using Fate = InputCore::KeyFate;
using Reach = InputCore::Reach;
using K = host::EventKind;

struct Core : testing::Test {
    InputCore input;
    std::vector<HostCommand> commands;
    void SetUp() override {
        input.SetCommandHandler([this](HostCommand c) { commands.push_back(c); });
        input.State().OnWindowShown(true);
    }
    std::vector<host::Event> Drain() {
        std::vector<host::Event> events;
        host::Event e;
        while (input.Take(e)) events.push_back(e);
        return events;
    }
};

TEST_F(Core, ReservedKeysAreTheHostsAndNeverTheProgramsGoingDownOrUp) {
    struct Case {
        VirtualKey key;
        bool alt;
        HostCommand command;
    } cases[] = {
        {{VK_RETURN}, true, HostCommand::ToggleFullScreen},
        {{VK_F9}, false, HostCommand::SaveDemo},
        {{VK_SNAPSHOT}, false, HostCommand::Screenshot},
    };
    for (const Case& c : cases) {
        commands.clear();
        EXPECT_EQ(input.KeyDown(c.key, false, c.alt, Reach::ShownWindow), Fate::Host);
        EXPECT_EQ(input.KeyDown(c.key, true, c.alt, Reach::ShownWindow), Fate::Host) << "an auto-repeat";
        EXPECT_EQ(input.KeyUp(c.key, false), Fate::Host) << "Alt may be up before the key";
        EXPECT_EQ(commands, std::vector<HostCommand>{c.command}) << "once, as the key goes down";
        EXPECT_TRUE(Drain().empty());
        EXPECT_FALSE(input.Keys().IsDown(c.key.vk));
    }
    // Enter without Alt is the program's, and its release too.
    EXPECT_EQ(input.KeyDown({VK_RETURN}, false, false, Reach::ShownWindow), Fate::Program);
    EXPECT_EQ(input.KeyUp({VK_RETURN}, false), Fate::Program);
    EXPECT_EQ(Drain().size(), 2u);
}

TEST_F(Core, AltIsASystemKeyAndAModifierHoldsBothItsCodes) {
    input.KeyDown({VK_MENU, VK_LMENU}, false, true, Reach::ShownWindow);
    input.KeyDown({VK_CONTROL, VK_RCONTROL}, false, true, Reach::ShownWindow);
    input.KeyDown({VK_CONTROL, VK_LCONTROL}, false, true, Reach::ShownWindow);
    input.KeyUp({VK_CONTROL, VK_RCONTROL}, true);
    input.KeyUp({VK_MENU, VK_LMENU}, false); // the platform no longer says Alt
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_TRUE(events[4].alt) << "the release of Alt itself is WM_SYSKEYUP";
    EXPECT_TRUE(input.Keys().IsDown(VK_CONTROL)) << "the left Ctrl still holds it";
    EXPECT_TRUE(input.Keys().IsDown(VK_LCONTROL));
    EXPECT_FALSE(input.Keys().IsDown(VK_RCONTROL));
    EXPECT_FALSE(input.Keys().IsDown(VK_MENU));
}

TEST_F(Core, KeysGoToTheActiveApplicationOnlyAndDeactivationForgetsThem) {
    input.KeyDown({VK_LEFT}, false, false, Reach::ShownWindow);
    input.PadButton(7, hostcommon::PadButton::South, true);
    EXPECT_TRUE(input.Keys().IsDown(VK_CONTROL)) << "a pad's held keys need no event";
    input.Queue(input.State().OnFocus(false));
    EXPECT_EQ(input.KeyDown({'A'}, false, false, Reach::Elsewhere), Fate::Ignored);
    EXPECT_EQ(input.KeyUp({VK_LEFT}, false), Fate::Ignored);
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, K::Deactivate);
    EXPECT_FALSE(input.Keys().IsDown(VK_LEFT));
    EXPECT_FALSE(input.Keys().IsDown(VK_CONTROL));
    // The pad's button, still down, holds nothing until pressed again.
    input.PadAxis(7, hostcommon::PadAxis::LeftY, -32000);
    EXPECT_FALSE(input.Keys().IsDown(VK_CONTROL));
    EXPECT_TRUE(input.Keys().IsDown(VK_UP));
}

TEST_F(Core, PadStartIsAKeyPressAndRemovingThePadLetsGo) {
    input.PadButton(1, hostcommon::PadButton::DpadLeft, true);
    input.PadButton(1, hostcommon::PadButton::Start, true);
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, K::KeyDown);
    EXPECT_EQ(events[0].vk, 'P');
    EXPECT_EQ(events[1].kind, K::KeyUp);
    EXPECT_EQ(input.Keys().Query('P'), 1) << "pressed since the last query, up now";
    input.KeyDown({VK_LEFT}, false, false, Reach::ShownWindow);
    input.PadRemoved(1);
    Drain();
    EXPECT_TRUE(input.Keys().IsDown(VK_LEFT)) << "the keyboard still holds Left";
}

TEST_F(Core, FreshPressActivatesFirstOrRestoresACoveredGame) {
    input.State().OnWindowMinimized();
    // A key held from before says nothing of the user.
    EXPECT_EQ(input.KeyDown({'A'}, true, false, Reach::ShownWindow), Fate::Ignored);
    EXPECT_EQ(input.KeyDown({'A'}, false, false, Reach::ShownWindow), Fate::Program);
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, K::Activate);
    EXPECT_EQ(events[1].kind, K::KeyDown);

    input.State().OnWindowMinimized();
    EXPECT_EQ(input.KeyDown({'A'}, false, false, Reach::CoveredWindow), Fate::Host);
    EXPECT_FALSE(input.UserInput(Reach::Elsewhere));
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, K::Activate);
}

TEST_F(Core, RecordedChangesAreMadeJustBeforeTheirEventAndLeftoversAtTheEnd) {
    input.QueueKeyChange(hostcommon::KeyChange::Press, VK_RIGHT);
    input.Queue({K::KeyDown, VK_LEFT}, InputCore::Moves::None);
    input.QueueKeyChange(hostcommon::KeyChange::ReleaseAll);
    input.QueueKeyChange(hostcommon::KeyChange::Press, VK_UP);
    EXPECT_TRUE(input.HasEvent());
    host::Event e;
    ASSERT_TRUE(input.Take(e));
    EXPECT_TRUE(input.Keys().IsDown(VK_RIGHT));
    EXPECT_FALSE(input.Keys().IsDown(VK_LEFT)) << "a recorded event moves no key";
    EXPECT_FALSE(input.HasEvent());
    EXPECT_FALSE(input.Take(e));
    EXPECT_FALSE(input.Keys().IsDown(VK_RIGHT));
    EXPECT_TRUE(input.Keys().IsDown(VK_UP));
}

} // namespace
