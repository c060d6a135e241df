// Demos at the host seam: what a recorded live game showed the program,
// pass by pass (events, the key table as each event is taken, ticks and
// answers), is what the playback shows it, through the same input core a
// live host feeds; the record's end closes the program once.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "demo_format.h"
#include "demo_layer.h"
#include "input_core.h"

namespace {

using hostcommon::Demo;
using hostcommon::DemoRecorder;

// What the program saw when it took an event: the event and the keys it polls.
struct Seen {
    host::EventKind kind;
    int vk;
    bool left, right, control;
    bool operator==(const Seen&) const = default;
};

Seen SeenNow(const host::Event& e, const host::KeyTable& keys) {
    return {e.kind, e.vk, keys.IsDown(VK_LEFT), keys.IsDown(VK_RIGHT), keys.IsDown(VK_CONTROL)};
}

// A live game as the seam records it: the pump is recorded first, then the
// host's own key changes (a pad's), then each event the core hands out.
struct LiveGame {
    hostcommon::InputCore input;
    hostcommon::DemoLayer layer{input, true};
    host::KeyTable& keys = input.Keys();
    DemoRecorder& record = layer.Live()->Record();
    std::vector<std::vector<Seen>> seen; // per pass

    void Pass() {
        layer.Pump();
        seen.emplace_back();
    }
    void Take(host::Event e) {
        input.Queue(e);
        ASSERT_TRUE(input.Take(e));
        layer.Event(e);
        seen.back().push_back(SeenNow(e, keys));
    }
    Demo Saved() {
        std::vector<uint8_t> file;
        uint32_t passes = 0;
        std::string error;
        EXPECT_TRUE(layer.Live()->File(DemoRecorder::Extent::Everything, file, passes, error));
        Demo demo;
        EXPECT_TRUE(hostcommon::ReadDemoFile(file.data(), file.size(), demo, error)) << error;
        return demo;
    }
};

host::Event Key(host::EventKind kind, int vk) {
    return {kind, vk};
}

// A playback at the seam, as a host runs it.
struct Playback {
    hostcommon::InputCore input;
    hostcommon::DemoLayer layer{input, true};
    explicit Playback(const Demo& demo) { EXPECT_TRUE(layer.Play(demo)); }
    bool Poll(host::Event& e) { return input.Take(e); }
};

TEST(DemoLayer, EachEventSeesTheKeyTableAsTheLiveGameDid) {
    using K = host::EventKind;
    LiveGame live;
    live.Pass();
    live.Take(Key(K::KeyDown, VK_RIGHT));
    live.Pass();
    live.keys.Press(VK_CONTROL); // a pad's fire button, before any event
    live.Take(Key(K::KeyDown, VK_LEFT));
    live.Take(Key(K::KeyUp, VK_RIGHT));
    live.Pass();
    live.keys.Release(VK_CONTROL); // after the pass's events were taken
    live.Pass();
    live.Take({K::Deactivate});
    live.Take({K::Activate});

    Playback playback(live.Saved());
    host::KeyTable& keys = playback.input.Keys();
    std::vector<std::vector<Seen>> seen;
    std::vector<bool> controlAfterPass;
    for (size_t pass = 0; pass < live.seen.size(); pass++) {
        playback.layer.Pump();
        seen.emplace_back();
        host::Event e;
        while (playback.Poll(e)) seen.back().push_back(SeenNow(e, keys));
        controlAfterPass.push_back(keys.IsDown(VK_CONTROL));
    }
    EXPECT_EQ(seen, live.seen);
    // A change recorded after a pass's last event is made by that pass's pump too.
    EXPECT_EQ(controlAfterPass, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(playback.layer.Player()->PassesPlayed(), 4u);
    EXPECT_FALSE(playback.layer.Player()->Ended());
    // The platform's own input never reaches a playback; Alt+Enter stays the host's.
    using Fate = hostcommon::InputCore::KeyFate;
    using Reach = hostcommon::InputCore::Reach;
    EXPECT_EQ(playback.input.KeyDown({VK_LEFT}, false, false, Reach::ShownWindow), Fate::Ignored);
    EXPECT_EQ(playback.input.KeyDown({VK_RETURN}, false, true, Reach::ShownWindow), Fate::Host);
    playback.input.Queue(playback.input.State().OnFocus(false));
    EXPECT_FALSE(playback.input.HasEvent());
}

// What the player hands over (demo_player_test.cpp) reaches the program
// through the core: a wait's events, and the close, once, whether the record
// ran out or the playback was stopped.
TEST(DemoLayer, WaitsAndTheEndReachTheProgramThroughTheCore) {
    LiveGame live;
    live.Pass();
    live.Take({host::EventKind::Deactivate});
    live.Pass(); // GetMessageA pumps, finds nothing and waits
    live.Pass(); // woken by the activation
    live.Take({host::EventKind::Activate});
    for (bool stopped : {false, true}) {
        Playback playback(live.Saved());
        std::vector<host::EventKind> kinds;
        host::Event e;
        playback.layer.Pump();
        playback.layer.Pump();
        EXPECT_TRUE(playback.Poll(e) && !playback.input.HasEvent());
        playback.layer.Wait();
        if (stopped) {
            EXPECT_TRUE(playback.layer.Stop());
        }
        playback.layer.Pump();
        playback.layer.Wait();
        EXPECT_FALSE(playback.layer.Stop());
        while (playback.Poll(e)) kinds.push_back(e.kind);
        EXPECT_EQ(kinds, (std::vector<host::EventKind>{host::EventKind::Activate, host::EventKind::Close}));
    }
}

TEST(DemoLayer, AnswersAreTheRecordedOnesThenTheHostsOwn) {
    LiveGame live;
    EXPECT_EQ(live.layer.Answer(int32_t{1}), 1);
    EXPECT_EQ(live.layer.Answer(false), false);
    EXPECT_EQ(live.layer.Tick(40), 40u);
    live.Pass();
    Playback playback(live.Saved());
    EXPECT_FALSE(playback.layer.Play(live.Saved())) << "the mode is decided once";
    EXPECT_EQ(playback.layer.Answer(int32_t{0}), 1);
    EXPECT_EQ(playback.layer.Answer(true), false);
    EXPECT_EQ(playback.layer.Answer(int32_t{7}), 7);
    EXPECT_EQ(playback.layer.Tick(99), 40u);
    EXPECT_EQ(playback.layer.Tick(99), 41u); // past the record the clock runs on
}

} // namespace
