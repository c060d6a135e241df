// When a host lets an idle message loop wait for an event: only after
// a run of empty peeks with no frame and no event between them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "idle_gate.h"

namespace {

// A run of what the message loop does: 'p' an empty peek, 'f' a paced frame,
// 'e' an event handed out. `waits` marks the peeks that wait.
struct IdleCase {
    const char* name;
    std::string run;
    std::string waits; // per step: 'w' waited, '.' did not
};

class IdleGateWaits : public testing::TestWithParam<IdleCase> {};

TEST_P(IdleGateWaits, OnlyAfterRepeatedEmptyPeeks) {
    hostcommon::IdleGate gate;
    std::string waits;
    for (char step : GetParam().run) {
        bool waited = false;
        if (step == 'p') waited = gate.OnEmptyPeek();
        if (step == 'f' || step == 'e') gate.OnActivity();
        waits += waited ? 'w' : '.';
    }
    EXPECT_EQ(waits, GetParam().waits);
}

INSTANTIATE_TEST_SUITE_P(
    SdlHost, IdleGateWaits,
    testing::Values(
        // Playing: one empty peek per frame never waits.
        IdleCase{"PlayingNeverWaits", "pfpfpfpfpf", ".........."},
        // Paused: the third empty peek in a row waits, and every one after it.
        IdleCase{"PausedWaitsFromTheThirdPeek", "pppppp", "..wwww"},
        // A frame or an event ends the idle run: the next peeks go straight on.
        IdleCase{"FrameEndsTheIdleRun", "ppppfpp", "..ww..."},
        IdleCase{"EventEndsTheIdleRun", "pppepppp", "..w...ww"},
        IdleCase{"TwoPeeksPerFrameNeverWait", "ppfppfppf", "........."}),
    [](const testing::TestParamInfo<IdleCase>& info) { return std::string(info.param.name); });

TEST(IdleGate, LongIdleRunKeepsWaiting) {
    hostcommon::IdleGate gate;
    for (int i = 0; i < 2; i++) EXPECT_FALSE(gate.OnEmptyPeek());
    for (int i = 0; i < 100000; i++) ASSERT_TRUE(gate.OnEmptyPeek()) << "peek " << i;
}

} // namespace
