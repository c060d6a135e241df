// Spawning and movement of the Boss, its shots, enemies and bonus items.
#include <algorithm>
#include <vector>

#include "world_fixture.h"

#include "foes.h"

namespace {

using Foes = WorldTest;

// Finds a generator state from which `accept` holds for the draws it takes.
template <typename Accept> DWORD FindState(Accept accept) {
    for (DWORD s = 1;; s++) {
        RandomState = s;
        if (accept()) return s;
    }
}

// Counts moves of `move` until `object` is freed.
template <typename Move> int MovesUntilFreed(GameObject& object, Move move) {
    int moves = 0;
    while (object.active && moves < 100000) {
        move();
        moves++;
    }
    return moves;
}

TEST_F(Foes, BossPatrolsItsRowInACycleOf913Frames) {
    SpawnBoss();
    ASSERT_EQ(Boss.x, 640);
    std::vector<int> xs;
    for (int frame = 0; frame < 319 + 3 * 913; frame++) {
        SpawnBoss();
        MoveBoss();
        ASSERT_EQ(Boss.y, 160);
        xs.push_back(Boss.x);
    }
    // Reaching x <= 2 turns at once (+3 in the same frame), so the frame's x
    // never shows 1 or 2; reaching x >= 550 turns in the next frame.
    std::vector<int> extremes;
    for (size_t i = 1; i + 1 < xs.size(); i++) {
        bool peak = xs[i] > xs[i - 1] && xs[i] > xs[i + 1];
        bool trough = xs[i] < xs[i - 1] && xs[i] < xs[i + 1];
        if (peak || trough) extremes.push_back(xs[i]);
    }
    const std::vector<int> expectedStart = {4, 551, 3, 550, 4, 551, 3};
    ASSERT_GE(extremes.size(), expectedStart.size());
    EXPECT_EQ(std::vector<int>(extremes.begin(), extremes.begin() + 7), expectedStart);
    EXPECT_EQ(xs[318], 5); // 319th frame: 640 - 2 * 319 = 2, turned to 5
    EXPECT_EQ(xs[317], 4);
    for (size_t i = 318; i + 913 < xs.size(); i++) ASSERT_EQ(xs[i], xs[i + 913]) << "frame " << i;
    EXPECT_EQ(*std::min_element(xs.begin() + 318, xs.end()), 3);
    EXPECT_EQ(*std::max_element(xs.begin(), xs.end()), 638);
}

TEST_F(Foes, BossDrawsItsFireRollEvenWhenInactive) {
    MoveBoss();
    EXPECT_EQ(RandomState, 214013u * 1u + 2531011u);
    EXPECT_EQ(ActiveCount(BossShots, MAX_BOSS_SHOTS), 0);
}

TEST_F(Foes, BossFiresFromItsNoseWhenTheRollIsOne) {
    SpawnBoss();
    RandomState = FindState([] { return GameRandom() % 25 == 1; });
    MoveBoss();
    ASSERT_EQ(BossShots[0].active, 1);
    EXPECT_EQ(BossShots[0].x, 638 + 8);
    EXPECT_EQ(BossShots[0].y, 160 + 18);
}

TEST_F(Foes, BossShotFiredWhileFourAreInFlightIsLost) {
    for (GameObject& shot : BossShots) Place(shot, 100, 100);
    FireBossShot(300, 300);
    for (const GameObject& shot : BossShots) EXPECT_EQ(shot.x, 100);
    BossShots[2].active = 0;
    FireBossShot(300, 300);
    EXPECT_EQ(BossShots[2].x, 300);
}

TEST_F(Foes, BossShotsHomeOntoThePlayersRow) {
    Player.y = 200; // target row 205
    struct Case {
        int y, wantY;
    } cases[] = {
        {100, 104}, // above: descends
        {203, 207}, // just above: descends past the row
        {205, 205}, // on the row: keeps it
        {208, 208}, // 3 below: keeps it
        {209, 209}, // 4 below: keeps it
        {210, 206}, // 5 below: climbs to 1 below
        {300, 296}, // far below: climbs
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        Place(BossShots[0], 500, c.y);
        MoveBossShots();
        EXPECT_EQ(BossShots[0].x, 496);
        EXPECT_EQ(BossShots[0].y, c.wantY);
        EXPECT_EQ(BossShots[0].active, 1);
    }
}

TEST_F(Foes, BossShotsAreFreedAtTheScreenEdges) {
    Player.y = 200;
    struct Case {
        int x, y, active;
    } cases[] = {{8, 205, 1}, {7, 205, 0}, {644, 205, 0}, {643, 205, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        Place(BossShots[0], c.x, c.y);
        MoveBossShots();
        EXPECT_EQ(BossShots[0].active, c.active);
    }
}

TEST_F(Foes, AnActivePairMemberBlocksItsPartnerAndDrawsNothing) {
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++) Place(i % 2 ? RightEnemies[i] : LeftEnemies[i], 50, 50);
    for (int round = 0; round < 5000; round++) {
        RandomState = static_cast<DWORD>(round) * 2654435761u;
        DWORD before = RandomState;
        SpawnEnemies();
        ASSERT_EQ(RandomState, before);
        for (int i = 0; i < MAX_ENEMY_PAIRS; i++) ASSERT_FALSE(LeftEnemies[i].active && RightEnemies[i].active);
    }
}

TEST_F(Foes, EnemiesEnterAtTheirEdgeWithTheirSpeed) {
    for (int i = 1; i < MAX_ENEMY_PAIRS; i++) Place(LeftEnemies[i], 50, 50);
    for (int side = 0; side < 2; side++) {
        SCOPED_TRACE(side);
        InitObjects();
        for (int i = 1; i < MAX_ENEMY_PAIRS; i++) Place(LeftEnemies[i], 50, 50);
        DWORD s = FindState([side] { return GameRandom() % 50 == 1 && GameRandom() % 2 == side; });
        RandomState = s;
        SpawnEnemies();
        GameObject& enemy = side == 0 ? LeftEnemies[0] : RightEnemies[0];
        GameObject& other = side == 0 ? RightEnemies[0] : LeftEnemies[0];
        EXPECT_EQ(enemy.active, 1);
        EXPECT_EQ(other.active, 0);
        EXPECT_EQ(enemy.x, side == 0 ? 0 : 640);
        EXPECT_EQ(enemy.speed, side == 0 ? 1 : -2);
        EXPECT_GE(enemy.y, 100);
        EXPECT_LE(enemy.y, 350);
    }
}

TEST_F(Foes, ObjectsLeaveAfterCrossingTheScreen) {
    Place(RightEnemies[0], 640, 200);
    RightEnemies[0].speed = -2;
    EXPECT_EQ(MovesUntilFreed(RightEnemies[0], MoveRightEnemies), 328);
    EXPECT_EQ(RightEnemies[0].x, -16);

    Place(LeftEnemies[0], 0, 200);
    LeftEnemies[0].speed = 1;
    EXPECT_EQ(MovesUntilFreed(LeftEnemies[0], MoveLeftEnemies), 642);
    EXPECT_EQ(LeftEnemies[0].x, 642);
    EXPECT_EQ(LeftEnemies[0].y, 200); // the wave table is flat

    Place(BonusItems[1], 0, 200);
    BonusItems[1].speed = 1;
    EXPECT_EQ(MovesUntilFreed(BonusItems[1], MoveBonus), 656);
    EXPECT_EQ(BonusItems[1].x, 656);

    Place(BonusItems[2], 640, 200);
    BonusItems[2].speed = -1;
    EXPECT_EQ(MovesUntilFreed(BonusItems[2], MoveBonus), 656);
    EXPECT_EQ(BonusItems[2].x, -16);
}

TEST_F(Foes, BonusEntersItsOwnSlotOnlyOnTheOneChanceInFourHundred) {
    DWORD s = FindState([] {
        return GameRandom() % 3 == BONUS_BOMB && GameRandom() % 400 == 1 && GameRandom() % 2 == 1;
    });
    RandomState = s;
    SpawnBonus();
    EXPECT_EQ(BonusItems[BONUS_BOMB].active, 1);
    EXPECT_EQ(BonusItems[BONUS_BOMB].x, 640);
    EXPECT_EQ(BonusItems[BONUS_BOMB].speed, -1);
    EXPECT_EQ(ActiveCount(BonusItems, MAX_BONUS_ITEMS), 1);

    // The same draws with the slot taken stop after the first draw.
    RandomState = s;
    SpawnBonus();
    RandomState = s;
    GameRandom();
    DWORD afterOne = RandomState;
    RandomState = s;
    SpawnBonus();
    EXPECT_EQ(RandomState, afterOne);
}

} // namespace
