// Collisions, their effects on the counters, and the explosion animation.
#include <vector>

#include "world_fixture.h"

#include "collisions.h"
#include "foes.h"
#include "frame.h"

namespace {

using Collisions = WorldTest;

TEST_F(Collisions, BoxesOverlapWhenTheyShareAnEdgePixel) {
    GameObject a{};
    a.x = 100;
    a.y = 100;
    a.width = 10;
    a.height = 10;
    struct Case {
        int x, y;
        bool overlaps;
    } cases[] = {
        {109, 100, true},  // touching on the right: a.x + a.width = b.x + 1
        {110, 100, false}, // one pixel further
        {91, 100, true},   // touching on the left
        {90, 100, false},
        {100, 109, true}, // touching below
        {100, 110, false},
        {100, 91, true}, // touching above
        {100, 90, false},
        {109, 109, true}, // corner pixel
        {110, 109, false},
    };
    for (const Case& c : cases) {
        GameObject b = a;
        b.x = static_cast<SHORT>(c.x);
        b.y = static_cast<SHORT>(c.y);
        EXPECT_EQ(Overlaps(a, b), c.overlaps) << c.x << "," << c.y;
        EXPECT_EQ(Overlaps(b, a), c.overlaps) << c.x << "," << c.y;
    }
}

TEST_F(Collisions, ExplosionShowsTenFramesAndFreesItsSlotAfterTwelve) {
    SpawnExplosion(110, 120, 2);
    ASSERT_EQ(Explosions[0].active, 1);
    EXPECT_EQ(Explosions[0].x, 100);
    EXPECT_EQ(Explosions[0].y, 110);
    // Frame F is the spawn frame (frame 0 drawn); each later frame animates first.
    std::vector<int> drawnFrames = {Explosions[0].animFrame};
    int freedAfter = 0;
    for (int f = 1; f <= 20 && !freedAfter; f++) {
        AnimateExplosions();
        if (!Explosions[0].active)
            freedAfter = f;
        else
            drawnFrames.push_back(Explosions[0].animFrame);
    }
    EXPECT_EQ(freedAfter, 12);
    const std::vector<int> expected = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
    EXPECT_EQ(drawnFrames, expected);
    SpawnExplosion(10, 10, 2);
    EXPECT_EQ(Explosions[0].active, 1); // the slot is reused
    EXPECT_EQ(Explosions[0].animFrame, 0);
}

TEST_F(Collisions, CollisionsStillCountWhenEveryExplosionSlotIsBusy) {
    for (GameObject& e : Explosions) Place(e, 7, 7);
    Place(RightEnemies[1], Player.x + 20, Player.y);
    CheckPlayerVsRightEnemies();
    EXPECT_EQ(RightEnemies[1].active, 0);
    EXPECT_EQ(Shield, 2995);
    for (const GameObject& e : Explosions) EXPECT_EQ(e.x, 7);
}

TEST_F(Collisions, OneEnemyOfEachPoolHitsTheShipPerFrame) {
    Place(RightEnemies[0], Player.x, Player.y);
    Place(RightEnemies[2], Player.x + 5, Player.y);
    Place(LeftEnemies[3], Player.x - 10, Player.y + 10);
    CheckPlayerVsRightEnemies();
    CheckPlayerVsLeftEnemies();
    EXPECT_EQ(RightEnemies[0].active, 0);
    EXPECT_EQ(RightEnemies[2].active, 1); // waits for the next frame
    EXPECT_EQ(LeftEnemies[3].active, 0);
    EXPECT_EQ(Shield, 2990);
    EXPECT_EQ(ActiveCount(Explosions, MAX_EXPLOSIONS), 4);
    EXPECT_EQ(Explosions[0].x, Player.x); // the enemy's corner
    EXPECT_EQ(Explosions[1].x, Player.x); // the ship's corner
}

TEST_F(Collisions, ShieldBonusIsCappedAndOtherPickupsApply) {
    struct Case {
        int shieldBefore, shieldAfter;
    } cases[] = {{3000, 3100}, {3001, 3001}, {2950, 3050}, {-20, 80}};
    for (const Case& c : cases) {
        Shield = static_cast<SHORT>(c.shieldBefore);
        Place(BonusItems[BONUS_SHIELD], Player.x, Player.y);
        CheckBonusPickups();
        EXPECT_EQ(BonusItems[BONUS_SHIELD].active, 0);
        EXPECT_EQ(Shield, c.shieldAfter) << c.shieldBefore;
    }
    Place(BonusItems[BONUS_EXTRA_LIFE], Player.x + 40, Player.y + 30);
    CheckBonusPickups();
    EXPECT_EQ(Lives, 3);
    EXPECT_EQ(BonusItems[BONUS_EXTRA_LIFE].active, 0);
    EXPECT_EQ(ActiveCount(Explosions, MAX_EXPLOSIONS), 0); // no explosion marks a pick-up
}

TEST_F(Collisions, PickupsNeedAnActivePlayer) {
    Player.active = 0;
    Place(BonusItems[BONUS_EXTRA_LIFE], Player.x, Player.y);
    CheckBonusPickups();
    EXPECT_EQ(BonusItems[BONUS_EXTRA_LIFE].active, 1);
    EXPECT_EQ(Lives, 2);
}

TEST_F(Collisions, BombClearsEveryPairAndExplodesAtStalePositions) {
    SpawnBoss();
    LeftEnemies[0].x = 11; // a dead enemy's last position
    LeftEnemies[0].y = 22;
    Place(RightEnemies[2], 500, 300);
    Place(LeftEnemies[3], 50, 150);
    Place(BonusItems[BONUS_BOMB], Player.x, Player.y);
    CheckBonusPickups();
    EXPECT_EQ(BossEnergy, 7000 - 40);
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++) {
        EXPECT_EQ(LeftEnemies[i].active, 0);
        EXPECT_EQ(RightEnemies[i].active, 0);
    }
    // Requests in order left 0, right 0, Boss, left 1, ...: the first five start.
    const int wantX[] = {11, 0, 640, 0, 0};
    const int wantY[] = {22, 0, 160, 0, 0};
    for (int e = 0; e < MAX_EXPLOSIONS; e++) {
        EXPECT_EQ(Explosions[e].active, 1);
        EXPECT_EQ(Explosions[e].x, wantX[e]) << e;
        EXPECT_EQ(Explosions[e].y, wantY[e]) << e;
    }
}

TEST_F(Collisions, BombWithoutTheBossOnlyClearsLivePairs) {
    Place(RightEnemies[2], 500, 300);
    Place(BonusItems[BONUS_BOMB], Player.x, Player.y);
    CheckBonusPickups();
    EXPECT_EQ(BossEnergy, 7000 - 10);
    EXPECT_EQ(RightEnemies[2].active, 0);
    EXPECT_EQ(ActiveCount(Explosions, MAX_EXPLOSIONS), 3);
}

TEST_F(Collisions, BossContactCostsInEveryFrameOfContact) {
    SpawnBoss();
    Boss.x = static_cast<SHORT>(Player.x + 30);
    Boss.y = static_cast<SHORT>(Player.y - 10);
    CheckPlayerVsBoss();
    CheckPlayerVsBoss();
    EXPECT_EQ(BossEnergy, 7000 - 30);
    EXPECT_EQ(Shield, 3000 - 20);
    EXPECT_EQ(Player.active, 1);
    EXPECT_EQ(Boss.active, 1);
    EXPECT_EQ(ActiveCount(Explosions, MAX_EXPLOSIONS), 4);
}

TEST_F(Collisions, EveryBossShotOnTheShipHitsInTheSameFrame) {
    Place(BossShots[0], Player.x, Player.y);
    Place(BossShots[1], 5, 5);
    Place(BossShots[3], Player.x + 10, Player.y + 20);
    CheckBossShotsVsPlayer();
    EXPECT_EQ(BossShots[0].active, 0);
    EXPECT_EQ(BossShots[1].active, 1);
    EXPECT_EQ(BossShots[3].active, 0);
    EXPECT_EQ(Shield, 2990);
}

TEST_F(Collisions, OneShotCanHitABossShotAnEnemyAndTheBossInOneTurn) {
    SpawnBoss();
    Boss.x = 300;
    Place(PlayerShots[4], 290, 200);
    Place(BossShots[1], 280, 198);
    Place(LeftEnemies[2], 270, 190);  // a left and a right enemy of the same
    Place(RightEnemies[2], 275, 190); // pair: the right one is taken
    CheckPlayerShots();
    EXPECT_EQ(PlayerShots[4].active, 0);
    EXPECT_EQ(BossShots[1].active, 0);
    EXPECT_EQ(RightEnemies[2].active, 0);
    EXPECT_EQ(LeftEnemies[2].active, 1);
    EXPECT_EQ(Score, 1 + 10 + 10);
    EXPECT_EQ(BossEnergy, 6990);
    ASSERT_EQ(ActiveCount(Explosions, MAX_EXPLOSIONS), 3);
    EXPECT_EQ(Explosions[0].x, 280 + 5 - 10);
    EXPECT_EQ(Explosions[1].x, 275 + 5 - 10);
    EXPECT_EQ(Explosions[2].x, 300 + 10 - 10);
}

TEST_F(Collisions, AFreedShotHitsNothing) {
    PlayerShots[0].x = 300;
    PlayerShots[0].y = 200;
    Place(RightEnemies[0], 300, 200);
    CheckPlayerShots();
    EXPECT_EQ(RightEnemies[0].active, 1);
    EXPECT_EQ(Score, 0);
}

TEST_F(Collisions, ScoreWrapsToNegativePast32767) {
    Score = 32767;
    Place(PlayerShots[0], 300, 200);
    Place(RightEnemies[0], 300, 200);
    CheckPlayerShots();
    EXPECT_EQ(Score, -32759);
}

} // namespace
