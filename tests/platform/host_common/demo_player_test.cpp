// The demo player: passes handed over in order with what came before the
// first, passes that brought no event merged into a wait, the record's end
// told exactly once, and ticks and answers as streams of their own.
#include <gtest/gtest.h>

#include <vector>

#include "demo_format.h"
#include "demo_player.h"

namespace {

using hostcommon::Demo;
using hostcommon::DemoItem;
using hostcommon::DemoOp;
using hostcommon::DemoPlayer;

DemoItem Pump() { return {DemoOp::Pump}; }
DemoItem Tick(uint32_t value) { return {DemoOp::Tick, 0, false, false, value}; }
DemoItem Answer(int32_t value) { return {DemoOp::Answer, 0, false, false, static_cast<uint32_t>(value)}; }
DemoItem Down(int vk) { return {DemoOp::KeyDown, vk}; }
DemoItem Press(int vk) { return {DemoOp::KeyPress, vk}; }
DemoItem Activate() { return {DemoOp::Activate}; }

Demo DemoOf(const std::vector<DemoItem>& items) {
    Demo demo;
    demo.items = items;
    for (const DemoItem& item : items)
        if (item.op == DemoOp::Pump) demo.passes++;
    return demo;
}

TEST(DemoPlayer, PassesComeInOrderWithWhatCameBeforeTheFirst) {
    DemoPlayer player(DemoOf({Press(0x11), Tick(5), Pump(), Down(0x27), Pump(), Pump(), Press(0x25)}));
    EXPECT_EQ(player.Passes(), 3u);
    EXPECT_EQ(player.PassesPlayed(), 0u);

    DemoPlayer::Step first = player.Pump();
    EXPECT_EQ(first.items, (std::vector<DemoItem>{Press(0x11), Down(0x27)}));
    EXPECT_FALSE(first.ranOut);
    EXPECT_TRUE(player.Pump().items.empty());
    EXPECT_EQ(player.Pump().items, std::vector<DemoItem>{Press(0x25)});
    EXPECT_EQ(player.PassesPlayed(), 3u);

    DemoPlayer::Step end = player.Pump();
    EXPECT_TRUE(end.ranOut);
    EXPECT_TRUE(end.items.empty());
    EXPECT_TRUE(player.Ended());
    // The end is told once; nothing comes after it.
    EXPECT_FALSE(player.Pump().ranOut);
    EXPECT_FALSE(player.Wait().ranOut);
    EXPECT_FALSE(player.Stop());
}

TEST(DemoPlayer, AWaitTakesThePassesUpToTheOneThatBroughtAnEvent) {
    // Pass 1 ran; then the program waited through two empty passes (one
    // with a pad's key change) until pass 4 brought the activation.
    DemoPlayer player(DemoOf({Pump(), Down(0x7B), Pump(), Pump(), Press(0x26), Pump(), Activate(), Pump(), Down(0x50)}));
    player.Pump();
    DemoPlayer::Step wait = player.Wait();
    EXPECT_EQ(wait.items, (std::vector<DemoItem>{Press(0x26), Activate()}));
    EXPECT_FALSE(wait.ranOut);
    EXPECT_EQ(player.PassesPlayed(), 4u);
    // GetMessageA pumps again after the wait: that pass was brought already.
    EXPECT_TRUE(player.Pump().items.empty());
    EXPECT_EQ(player.Pump().items, std::vector<DemoItem>{Down(0x50)});
}

TEST(DemoPlayer, AWaitThatNoEventEndsRunsOutAfterHandingOverWhatIsLeft) {
    DemoPlayer player(DemoOf({Pump(), Pump(), Press(0x25), Pump()}));
    player.Pump();
    DemoPlayer::Step wait = player.Wait();
    EXPECT_EQ(wait.items, std::vector<DemoItem>{Press(0x25)});
    EXPECT_TRUE(wait.ranOut);
    EXPECT_TRUE(player.Ended());
    EXPECT_FALSE(player.Pump().ranOut);
}

TEST(DemoPlayer, StopEndsThePlaybackOnce) {
    DemoPlayer player(DemoOf({Pump(), Pump()}));
    player.Pump();
    EXPECT_TRUE(player.Stop());
    EXPECT_FALSE(player.Stop());
    DemoPlayer::Step after = player.Pump();
    EXPECT_TRUE(after.items.empty());
    EXPECT_FALSE(after.ranOut); // stopped, not run out: the end was already told
}

TEST(DemoPlayer, ADemoWithoutPassesRunsOutAtTheFirstPump) {
    DemoPlayer player(DemoOf({Tick(3)}));
    EXPECT_EQ(player.Passes(), 0u);
    EXPECT_TRUE(player.Pump().ranOut);
    EXPECT_EQ(player.NextTick(), 3u);
}

TEST(DemoPlayer, TicksAndAnswersAreStreamsOfTheirOwn) {
    DemoPlayer player(DemoOf({Tick(100), Answer(1), Pump(), Tick(116), Answer(-2), Tick(0xFFFFFFF0u), Pump()}));
    EXPECT_EQ(player.LastTick(), 0u);
    // Read before any pass is played: the streams do not follow the passes.
    EXPECT_EQ(player.NextTick(), 100u);
    EXPECT_EQ(player.NextTick(), 116u);
    EXPECT_EQ(player.NextTick(), 0xFFFFFFF0u);
    // Past the record the clock runs on, a millisecond a read, wrapping.
    EXPECT_EQ(player.NextTick(), 0xFFFFFFF1u);
    for (int i = 0; i < 15; i++) player.NextTick();
    EXPECT_EQ(player.NextTick(), 1u);
    EXPECT_EQ(player.LastTick(), 1u);

    int32_t answer = 0;
    ASSERT_TRUE(player.NextAnswer(&answer));
    EXPECT_EQ(answer, 1);
    ASSERT_TRUE(player.NextAnswer(&answer));
    EXPECT_EQ(answer, -2);
    EXPECT_FALSE(player.NextAnswer(&answer));
    EXPECT_EQ(answer, -2);
}

} // namespace
