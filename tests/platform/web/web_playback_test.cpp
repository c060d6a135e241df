// The page's demo playback: what a recorded live game showed the program,
// pass by pass (events, the key table as each event is taken, ticks and
// answers), is what the playback shows it; the record's end closes the
// program once. And a demo is refused, saying why, when it is not sound or
// was played with another city2.bmp.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "demo_format.h"
#include "demo_recorder.h"
#include "key_table.h"
#include "web_demo_check.h"
#include "web_playback.h"

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

// A live host's passes as the web host makes them: the pump is recorded
// first, then the pads' key changes, then each event after the key changes
// that come with it.
struct LiveGame {
    host::KeyTable keys;
    DemoRecorder record;
    std::vector<std::vector<Seen>> seen; // per pass
    LiveGame() { keys.SetObserver(&record); }

    void Pass() {
        record.Pump();
        seen.emplace_back();
    }
    void Take(host::Event e) {
        if (e.kind == host::EventKind::KeyDown) keys.Press(e.vk);
        if (e.kind == host::EventKind::KeyUp) keys.Release(e.vk);
        if (e.kind == host::EventKind::Deactivate) keys.ReleaseAll();
        record.Event(e);
        seen.back().push_back(SeenNow(e, keys));
    }
    Demo Saved() {
        std::vector<uint8_t> file;
        uint32_t passes = 0;
        std::string error;
        EXPECT_TRUE(record.File({}, DemoRecorder::Extent::Everything, file, passes, error));
        Demo demo;
        EXPECT_TRUE(hostcommon::ReadDemoFile(file.data(), file.size(), demo, error)) << error;
        return demo;
    }
};

host::Event Key(host::EventKind kind, int vk) {
    return {kind, vk};
}

TEST(WebPlayback, EachEventSeesTheKeyTableAsTheLiveGameDid) {
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

    webhost::Playback playback(live.Saved());
    host::KeyTable keys;
    std::vector<std::vector<Seen>> seen;
    std::vector<bool> controlAfterPass;
    for (size_t pass = 0; pass < live.seen.size(); pass++) {
        playback.OnPump();
        seen.emplace_back();
        host::Event e;
        while (playback.Poll(e, keys)) seen.back().push_back(SeenNow(e, keys));
        controlAfterPass.push_back(keys.IsDown(VK_CONTROL));
    }
    EXPECT_EQ(seen, live.seen);
    // A change recorded after a pass's last event is made by that pass's pump too.
    EXPECT_EQ(controlAfterPass, (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(playback.PassesPlayed(), 4u);
    EXPECT_FALSE(playback.Ended());
}

TEST(WebPlayback, TheRecordsEndClosesTheProgramOnce) {
    LiveGame live;
    live.Pass();
    live.Take(Key(host::EventKind::KeyDown, 'P'));
    webhost::Playback playback(live.Saved());
    host::KeyTable keys;
    host::Event e;
    playback.OnPump();
    ASSERT_TRUE(playback.Poll(e, keys));
    EXPECT_FALSE(playback.Poll(e, keys));

    playback.OnPump();
    EXPECT_TRUE(playback.Ended());
    EXPECT_TRUE(playback.HasEvent());
    ASSERT_TRUE(playback.Poll(e, keys));
    EXPECT_EQ(e.kind, host::EventKind::Close);
    playback.OnPump();
    playback.OnWait();
    EXPECT_FALSE(playback.Poll(e, keys));
}

TEST(WebPlayback, AWaitBringsTheEventThatWokeTheLiveProgram) {
    LiveGame live;
    live.Pass();
    live.Take({host::EventKind::Deactivate});
    live.Pass(); // GetMessageA pumps, finds nothing and waits
    live.Pass(); // woken by the activation
    live.Take({host::EventKind::Activate});
    webhost::Playback playback(live.Saved());
    host::KeyTable keys;
    host::Event e;
    playback.OnPump();
    ASSERT_TRUE(playback.Poll(e, keys));
    playback.OnPump();
    EXPECT_FALSE(playback.HasEvent());
    playback.OnWait();
    EXPECT_TRUE(playback.HasEvent());
    playback.OnPump(); // the pump after the wait brings nothing more
    ASSERT_TRUE(playback.Poll(e, keys));
    EXPECT_EQ(e.kind, host::EventKind::Activate);
    EXPECT_FALSE(playback.Poll(e, keys));
    EXPECT_FALSE(playback.Ended());
}

TEST(WebPlayback, AnswersAreTheRecordedOnesThenTheHostsOwn) {
    LiveGame live;
    live.record.Answer(1);
    live.record.Answer(0);
    live.record.Tick(40);
    live.Pass();
    webhost::Playback playback(live.Saved());
    EXPECT_EQ(playback.Answer(0), 1);
    EXPECT_EQ(playback.Answer(1), 0);
    EXPECT_EQ(playback.Answer(7), 7);
    EXPECT_EQ(playback.Tick(), 40u);
    EXPECT_EQ(playback.Tick(), 41u); // past the record the clock runs on
}

// ---- The check before a demo is played.

std::vector<uint8_t> DemoFile(const hostcommon::DemoSheet& sheet) {
    DemoRecorder record;
    record.Pump();
    record.Tick(16);
    std::vector<uint8_t> file;
    uint32_t passes = 0;
    std::string error;
    record.File(sheet, DemoRecorder::Extent::Everything, file, passes, error);
    return file;
}

TEST(WebDemoCheck, RefusesWhatCannotBePlayedHereSayingWhy) {
    const std::vector<uint8_t> sheet(1000, 0x5A);
    const std::vector<uint8_t> other(1000, 0x5B);
    const hostcommon::DemoSheet here{hostcommon::ContentHash(sheet.data(), sheet.size()), 1000};
    const hostcommon::DemoSheet there{hostcommon::ContentHash(other.data(), other.size()), 1000};
    const std::string hereHash = hostcommon::HashHex(here.hash), thereHash = hostcommon::HashHex(there.hash);
    std::vector<uint8_t> good = DemoFile(here);
    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};

    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        const std::vector<uint8_t>* sheet;
        std::vector<std::string> said; // empty: played
    } cases[] = {
        {"a demo of this sheet", good, &sheet, {}},
        {"a demo of another sheet", DemoFile(there), &sheet,
         {"played with a city2.bmp of hash " + thereHash + " (1000 bytes)",
          "this page's city2.bmp has hash " + hereHash + " (1000 bytes)"}},
        {"the same hash, another size", DemoFile({here.hash, 999}), &sheet, {"(999 bytes)", "(1000 bytes)"}},
        {"a demo cut short", cut, &sheet, {"not a demo this page can play", "cut short"}},
        {"not a demo at all", text, &sheet, {"not a demo file"}},
        {"a page without its sheet", good, nullptr, {"no city2.bmp"}},
    };
    for (const Case& c : cases) {
        Demo demo;
        std::string error;
        bool ok = webhost::CheckDemo(c.file.data(), c.file.size(), c.sheet ? c.sheet->data() : nullptr,
                                     c.sheet ? c.sheet->size() : 0, demo, error);
        EXPECT_EQ(ok, c.said.empty()) << c.what << ": " << error;
        for (const std::string& part : c.said) EXPECT_NE(error.find(part), std::string::npos) << c.what << ": " << error;
        if (ok) {
            EXPECT_EQ(demo.passes, 1u) << c.what;
        }
    }
}

} // namespace
