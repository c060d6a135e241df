// The hosts' input core: keys reach the program only while it is active,
// reserved keys never do, pads, touch and keyboard share the key table, and
// every change of the table is made as its event is taken, in order.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
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

// ---- Touch: an on-screen pad, one more source of the key table.

namespace touch = hostcommon::touch;

// What a demo's recording hears of the key table.
struct TableLog final : host::KeyTableObserver {
    std::vector<std::string> lines;
    void OnKeyPressed(int vk) override { lines.push_back("press " + std::to_string(vk)); }
    void OnKeyReleased(int vk) override { lines.push_back("release " + std::to_string(vk)); }
    void OnAllKeysReleased() override { lines.push_back("release all"); }
};

std::string Describe(const host::Event& e) {
    return std::to_string(static_cast<int>(e.kind)) + ":" + std::to_string(e.vk) + (e.repeat ? " repeat" : "") +
           (e.alt ? " alt" : "");
}

TEST_F(Core, TouchAndKeyboardHoldTheSameArrowTogether) {
    input.TouchHold(touch::kLeft, Reach::ShownWindow);
    input.KeyDown({VK_LEFT}, false, false, Reach::ShownWindow);
    Drain();
    EXPECT_TRUE(input.Keys().IsDown(VK_LEFT));
    input.TouchHold(0, Reach::ShownWindow);
    Drain();
    EXPECT_TRUE(input.Keys().IsDown(VK_LEFT)) << "the keyboard still holds Left";
    input.TouchHold(touch::kLeft, Reach::ShownWindow);
    input.KeyUp({VK_LEFT}, false);
    Drain();
    EXPECT_TRUE(input.Keys().IsDown(VK_LEFT)) << "touch still holds Left";
    input.TouchHold(0, Reach::ShownWindow);
    Drain();
    EXPECT_FALSE(input.Keys().IsDown(VK_LEFT));
}

TEST_F(Core, TouchGoesTheKeyboardsWayAsADemoRecordsIt) {
    // The same hold, once from the keyboard (Left, then the left Ctrl) and
    // once from touch (Steer left, then Fire): the same events for the
    // program and the same changes of the table.
    auto play = [this](bool byTouch) {
        input.Reset();
        input.State().OnWindowShown(true);
        TableLog log;
        input.Keys().SetObserver(&log);
        std::vector<std::string> seen;
        auto drain = [&] {
            for (const host::Event& e : Drain()) seen.push_back(Describe(e));
        };
        if (byTouch) input.TouchHold(touch::kLeft, Reach::ShownWindow);
        else input.KeyDown({VK_LEFT}, false, false, Reach::ShownWindow);
        drain();
        if (byTouch) input.TouchHold(touch::kLeft | touch::kFire, Reach::ShownWindow);
        else input.KeyDown({VK_CONTROL, VK_LCONTROL}, false, false, Reach::ShownWindow);
        drain();
        EXPECT_TRUE(input.Keys().IsDown(VK_CONTROL));
        EXPECT_TRUE(input.Keys().IsDown(VK_LCONTROL)) << "fire holds Ctrl as the left Ctrl key does";
        if (byTouch) input.TouchHold(touch::kFire, Reach::ShownWindow);
        else input.KeyUp({VK_LEFT}, false);
        drain();
        if (byTouch) input.TouchHold(0, Reach::ShownWindow);
        else input.KeyUp({VK_CONTROL, VK_LCONTROL}, false);
        drain();
        input.Keys().SetObserver(nullptr);
        for (const std::string& line : log.lines) seen.push_back(line);
        return seen;
    };
    std::vector<std::string> keyboard = play(false);
    std::vector<std::string> touched = play(true);
    EXPECT_EQ(keyboard.size(), 10u) << "4 events, 6 changes of the table";
    EXPECT_EQ(touched, keyboard);
    EXPECT_FALSE(input.Keys().IsDown(VK_CONTROL));
    EXPECT_EQ(input.TouchHeld(), 0u);
}

TEST_F(Core, ASlidingFingerLetsGoOfTheOldDirectionBeforeTheNext) {
    input.TouchHold(touch::kLeft, Reach::ShownWindow);
    input.TouchHold(touch::kLeft | touch::kUp, Reach::ShownWindow);
    input.TouchHold(touch::kRight, Reach::ShownWindow);
    std::vector<host::Event> events = Drain();
    std::vector<std::string> seen;
    for (const host::Event& e : events) seen.push_back(Describe(e));
    auto down = [](int vk) { return Describe({K::KeyDown, vk}); };
    auto up = [](int vk) { return Describe({K::KeyUp, vk}); };
    EXPECT_EQ(seen, (std::vector<std::string>{down(VK_LEFT), down(VK_UP), up(VK_LEFT), up(VK_UP), down(VK_RIGHT)}));
    EXPECT_EQ(input.TouchHeld(), touch::kRight);
    EXPECT_TRUE(input.Keys().IsDown(VK_RIGHT));
    EXPECT_FALSE(input.Keys().IsDown(VK_LEFT));
    EXPECT_FALSE(input.Keys().IsDown(VK_UP));
}

TEST_F(Core, TouchF9IsTheSaveDemoCommandAndPAKeyPress) {
    EXPECT_EQ(input.TouchPress(VK_F9, Reach::ShownWindow), Fate::Host);
    EXPECT_EQ(commands, std::vector<HostCommand>{HostCommand::SaveDemo});
    EXPECT_TRUE(Drain().empty()) << "F9 never reaches the program";
    EXPECT_FALSE(input.Keys().IsDown(VK_F9));

    EXPECT_EQ(input.TouchPress('P', Reach::ShownWindow), Fate::Program);
    EXPECT_EQ(input.TouchPress(VK_ESCAPE, Reach::ShownWindow), Fate::Program);
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(Describe(events[0]), Describe({K::KeyDown, 'P'}));
    EXPECT_EQ(Describe(events[1]), Describe({K::KeyUp, 'P'}));
    EXPECT_EQ(Describe(events[2]), Describe({K::KeyDown, VK_ESCAPE}));
    EXPECT_EQ(input.Keys().Query('P'), 1) << "pressed since the last query, up now";
    EXPECT_EQ(commands.size(), 1u);
}

TEST_F(Core, FocusLossForgetsWhatTouchHoldsUntilItHoldsItAgain) {
    input.TouchHold(touch::kLeft | touch::kFire, Reach::ShownWindow);
    input.KeyDown({VK_DOWN}, false, false, Reach::ShownWindow);
    input.PadButton(3, hostcommon::PadButton::DpadUp, true);
    Drain();
    EXPECT_TRUE(input.Keys().IsDown(VK_LEFT));
    EXPECT_TRUE(input.Keys().IsDown(VK_CONTROL));
    input.Queue(input.State().OnFocus(false));
    EXPECT_EQ(input.TouchHeld(), 0u) << "forgotten as the Deactivate is queued";
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, K::Deactivate);
    for (int vk : {VK_LEFT, VK_CONTROL, VK_LCONTROL, VK_DOWN, VK_UP}) EXPECT_FALSE(input.Keys().IsDown(vk)) << vk;

    // Inactive: nothing reaches the program, nothing is taken to be held
    // (the page's pad lies in a window the platform may cover).
    input.TouchHold(touch::kLeft | touch::kFire | touch::kDown, Reach::CoveredWindow);
    EXPECT_EQ(input.TouchPress('P', Reach::CoveredWindow), Fate::Ignored);
    EXPECT_EQ(input.TouchHeld(), 0u);
    EXPECT_TRUE(Drain().empty());

    // Back in front, the pad's next word holds what it holds then.
    input.Queue(input.State().OnFocus(true));
    input.TouchHold(touch::kLeft | touch::kFire, Reach::ShownWindow);
    Drain();
    EXPECT_EQ(input.TouchHeld(), touch::kLeft | touch::kFire);
    EXPECT_TRUE(input.Keys().IsDown(VK_LEFT));
    EXPECT_TRUE(input.Keys().IsDown(VK_CONTROL));
    EXPECT_FALSE(input.Keys().IsDown(VK_DOWN));
}

TEST_F(Core, AHoldQueuedBeforeFocusLossIsLetGoWithIt) {
    input.TouchHold(touch::kRight, Reach::ShownWindow);
    input.Queue(input.State().OnFocus(false));
    input.Queue(input.State().OnFocus(true));
    input.TouchHold(touch::kUp, Reach::ShownWindow); // the finger moved meanwhile
    Drain();
    EXPECT_FALSE(input.Keys().IsDown(VK_RIGHT));
    EXPECT_TRUE(input.Keys().IsDown(VK_UP));
    input.TouchHold(0, Reach::ShownWindow);
    Drain();
    EXPECT_FALSE(input.Keys().IsDown(VK_UP)) << "nothing stuck";
}

TEST_F(Core, TouchRestoresAMinimizedGameFirstAndStaysOutOfAPlayback) {
    input.State().OnWindowMinimized();
    input.TouchHold(touch::kFire, Reach::CoveredWindow);
    EXPECT_EQ(input.TouchHeld(), 0u) << "the touch that restores the game is not the game's";
    std::vector<host::Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, K::Activate);
    input.State().OnWindowShown(false); // the program restores its window as it hears of it
    input.TouchHold(touch::kFire | touch::kLeft, Reach::CoveredWindow);
    EXPECT_EQ(input.TouchHeld(), touch::kFire | touch::kLeft) << "a control still held goes down at the next change";
    input.TouchHold(0, Reach::CoveredWindow);
    Drain();

    input.SetLive(false);
    input.TouchHold(touch::kLeft, Reach::ShownWindow);
    EXPECT_EQ(input.TouchPress(VK_F9, Reach::ShownWindow), Fate::Ignored);
    EXPECT_EQ(input.TouchHeld(), 0u);
    EXPECT_TRUE(Drain().empty());
    EXPECT_FALSE(input.Keys().IsDown(VK_LEFT));
    EXPECT_TRUE(commands.empty());
}

} // namespace
