// The player's input, screen clamp, firing interval and shots.
#include "world_fixture.h"

#include <vector>

#include "frame.h"

namespace {

using PlayerControl = WorldTest;

TEST_F(PlayerControl, ArrowKeysMoveAndTheClampHoldsTheShipOnScreen) {
    struct Case {
        const char* what;
        int x, y;
        std::vector<int> keys;
        int wantX, wantY;
    } cases[] = {
        {"left past the edge", 4, 200, {VK_LEFT}, 0, 200},
        {"right past the edge", 596, 200, {VK_RIGHT}, 598, 200},
        {"up past the edge", 100, 5, {VK_UP}, 100, 0},
        {"down past the edge", 100, 440, {VK_DOWN}, 100, 447},
        {"left and right cancel", 100, 100, {VK_LEFT, VK_RIGHT}, 100, 100},
        {"up and down cancel", 100, 100, {VK_UP, VK_DOWN}, 100, 100},
        {"diagonal", 100, 100, {VK_RIGHT, VK_DOWN}, 108, 108},
        {"exactly at the right limit", 590, 100, {VK_RIGHT}, 598, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Player.x = static_cast<SHORT>(c.x);
        Player.y = static_cast<SHORT>(c.y);
        for (int vk : c.keys) headless::SetKeyDown(vk, true);
        ReadInput();
        ClampPlayer();
        EXPECT_EQ(Player.x, c.wantX);
        EXPECT_EQ(Player.y, c.wantY);
        headless::ReleaseAllKeys();
    }
}

TEST_F(PlayerControl, AKeyTappedBetweenPollsStillMovesOnce) {
    headless::SetKeyDown(VK_RIGHT, true);
    headless::SetKeyDown(VK_RIGHT, false);
    ReadInput();
    EXPECT_EQ(Player.x, 328);
    ReadInput();
    EXPECT_EQ(Player.x, 328);
}

TEST_F(PlayerControl, ClampLeavesAnInactivePlayerAlone) {
    Player.active = 0;
    Player.x = -50;
    ClampPlayer();
    EXPECT_EQ(Player.x, -50);
}

TEST_F(PlayerControl, HeldCtrlFiresOnlyAfterMoreThanTheInterval) {
    headless::SetKeyDown(VK_CONTROL, true);
    headless::SetTickCount(100000);
    ReadInput();
    ASSERT_EQ(ActiveCount(PlayerShots, MAX_PLAYER_SHOTS), 1);
    EXPECT_EQ(PlayerShots[0].x, 320 + 32);
    EXPECT_EQ(PlayerShots[0].y, 240 + 12);
    EXPECT_EQ(PlayerShots[0].dx, 5);
    EXPECT_EQ(LastFireTick, 100000u);

    headless::SetTickCount(100180); // exactly the interval: not more
    ReadInput();
    EXPECT_EQ(ActiveCount(PlayerShots, MAX_PLAYER_SHOTS), 1);
    headless::SetTickCount(100181);
    ReadInput();
    EXPECT_EQ(ActiveCount(PlayerShots, MAX_PLAYER_SHOTS), 2);
    EXPECT_EQ(LastFireTick, 100181u);
}

TEST_F(PlayerControl, FiringIntervalSurvivesTheTickCountWrapping) {
    headless::SetKeyDown(VK_CONTROL, true);
    LastFireTick = 0xFFFFFF00u;
    headless::SetTickCount(0x00000010u); // 0x110 = 272 ms later
    ReadInput();
    EXPECT_EQ(ActiveCount(PlayerShots, MAX_PLAYER_SHOTS), 1);
    EXPECT_EQ(LastFireTick, 0x10u);
}

TEST_F(PlayerControl, FullShotPoolPlacesNothingButRestartsTheInterval) {
    for (GameObject& shot : PlayerShots) Place(shot, 10, 10);
    headless::SetKeyDown(VK_CONTROL, true);
    headless::SetTickCount(200000);
    ReadInput();
    EXPECT_EQ(LastFireTick, 200000u);
    for (const GameObject& shot : PlayerShots) EXPECT_EQ(shot.x, 10);

    PlayerShots[3].active = 0;
    headless::SetTickCount(200100); // a slot is free, but the interval restarted
    ReadInput();
    EXPECT_EQ(PlayerShots[3].active, 0);
}

TEST_F(PlayerControl, ShotsFillTheFirstFreeSlot) {
    Place(PlayerShots[0], 1, 1);
    Place(PlayerShots[2], 1, 1);
    FirePlayerShot(50, 60, 5);
    EXPECT_EQ(PlayerShots[1].active, 1);
    EXPECT_EQ(PlayerShots[1].x, 50);
    EXPECT_EQ(PlayerShots[3].active, 0);
}

TEST_F(PlayerControl, ShotFliesFivePixelsAndIsFreedAtTheRightEdge) {
    FirePlayerShot(630, 100, 5);
    MovePlayerShots();
    EXPECT_EQ(PlayerShots[0].x, 635);
    EXPECT_EQ(PlayerShots[0].active, 1);
    MovePlayerShots();
    EXPECT_EQ(PlayerShots[0].x, 640);
    EXPECT_EQ(PlayerShots[0].active, 0);
    MovePlayerShots(); // a freed shot keeps its last position
    EXPECT_EQ(PlayerShots[0].x, 640);
}

} // namespace
