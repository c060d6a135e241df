// The world's start state and the game's random numbers.
#include "world_fixture.h"

#include "frame.h"
#include "../../tools/sheetgen/layout.h"

namespace {

using World = WorldTest;

TEST_F(World, StartsWithOnlyThePlayerActiveAndEveryPoolSized) {
    struct Pool {
        const char* name;
        const GameObject* slots;
        int count;
        int width, height;
    } pools[] = {
        {"PlayerShots", PlayerShots, MAX_PLAYER_SHOTS, 26, 7},
        {"Explosions", Explosions, MAX_EXPLOSIONS, 38, 38},
        {"BonusItems", BonusItems, MAX_BONUS_ITEMS, 36, 32},
        {"LeftEnemies", LeftEnemies, MAX_ENEMY_PAIRS, 42, 31},
        {"RightEnemies", RightEnemies, MAX_ENEMY_PAIRS, 42, 31},
        {"Boss", &Boss, 1, 90, 66},
        {"BossShots", BossShots, MAX_BOSS_SHOTS, 46, 9},
    };
    int freeSlots = 0;
    for (const Pool& pool : pools) {
        for (int i = 0; i < pool.count; i++) {
            const GameObject& o = pool.slots[i];
            SCOPED_TRACE(testing::Message() << pool.name << "[" << i << "]");
            EXPECT_EQ(o.active, 0);
            EXPECT_EQ(o.x, 0);
            EXPECT_EQ(o.y, 0);
            EXPECT_EQ(o.width, pool.width);
            EXPECT_EQ(o.height, pool.height);
            EXPECT_EQ(o.speed, 0);
            EXPECT_EQ(o.animFrame, 0);
            freeSlots++;
        }
    }
    EXPECT_EQ(freeSlots, 46);
    EXPECT_EQ(Player.active, 1); // at the sheet's start (SpriteRectanglesAreWhereTheSheetDrawsThem)
    EXPECT_EQ(Player.width, 42);
    EXPECT_EQ(Player.height, 33);
    EXPECT_EQ(Shield, 3000);
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(BossEnergy, 7000);
    EXPECT_EQ(Score, 0);
}

TEST_F(World, ResetGameRestoresCountersButNotPositions) {
    Shield = -5;
    Lives = 9;
    BossEnergy = 1;
    Score = 1234;
    Player.active = 0;
    Place(Boss, 100, 160);
    Player.x = 17;
    ResetGame();
    EXPECT_EQ(Shield, 3000);
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(BossEnergy, 7000);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Player.active, 1);
    EXPECT_EQ(Boss.active, 0);
    EXPECT_EQ(Player.x, 17);
}

TEST_F(World, GameRandomRepeatsTheSameSequenceFromSeedOne) {
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) EXPECT_EQ(GameRandom(), value);
}

TEST_F(World, GameRandomStaysWithinFifteenBits) {
    RandomState = 0xFFFFFFFFu;
    for (int i = 0; i < 100000; i++) {
        int v = GameRandom();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

// Draws from seed 1 are 41, 18467, 6334, 26500, 19169; their remainders by 480
// are 41, 227, 94, 100 and 449.
TEST_F(World, RandomYPinsLowAndHighRemaindersToTheEdgeRows) {
    const int expected[] = {100, 227, 100, 100, 350};
    for (int row : expected) EXPECT_EQ(RandomY(), row);
}

// The game cuts every sprite, and starts the ship, where the sheet
// generator draws them and the tests of pictures look for them.
TEST_F(World, SpriteRectanglesAreWhereTheSheetDrawsThem) {
    struct Cut {
        const char* name;
        RECT game;
        Rect drawn;
    } cuts[] = {
        {"player shot", SpriteRects[SR_PLAYER_SHOT], sheet::kPlayerShot},
        {"Boss shot", SpriteRects[SR_BOSS_SHOT], sheet::kBossShot},
        {"player", SpriteRects[SR_PLAYER], sheet::kPlayer},
        {"Boss", SpriteRects[SR_BOSS], sheet::kBoss},
        {"right enemy", SpriteRects[SR_RIGHT_ENEMY], sheet::kRightEnemy},
        {"left enemy", SpriteRects[SR_LEFT_ENEMY], sheet::kLeftEnemy},
        {"shield", BonusRects[0], sheet::kBonusShield},
        {"bomb", BonusRects[1], sheet::kBonusBomb},
        {"extra life", BonusRects[2], sheet::kBonusLife},
        {"background", BackgroundRect, sheet::kBackground},
    };
    const auto same = [](const RECT& r, const Rect& d) {
        return r.left == d.left && r.top == d.top && r.right == d.right && r.bottom == d.bottom;
    };
    for (const Cut& c : cuts) EXPECT_TRUE(same(c.game, c.drawn)) << c.name;
    for (int i = 0; i < sheet::kExplosionFrames; i++)
        EXPECT_TRUE(same(ExplosionRects[i], sheet::kExplosion[i])) << "explosion frame " << i;
    EXPECT_EQ(ExplosionRects[5].right - ExplosionRects[5].left, 0); // the last frame draws nothing
    EXPECT_EQ(Player.x, sheet::kPlayerStartX);
    EXPECT_EQ(Player.y, sheet::kPlayerStartY);
}

// The whole course of a game hangs on how many numbers each frame draws.
TEST_F(World, EachFrameDrawsAFixedNumberOfRandomNumbers) {
    // From seed 1 nothing spawns in the first frame: the bonus slot (1 draw),
    // its chance (1), four free pairs (1 each) and the Boss's fire roll (1).
    GameFrame();
    DWORD afterFrame = RandomState;
    RandomState = 1;
    for (int i = 0; i < 7; i++) GameRandom();
    EXPECT_EQ(afterFrame, RandomState);

    // With every bonus slot and every pair taken: the slot draw and the fire roll.
    for (GameObject& item : BonusItems) Place(item, 300, 5);
    for (GameObject& enemy : RightEnemies) Place(enemy, 500, 5);
    for (GameObject& item : BonusItems) item.speed = 0;
    DWORD before = RandomState;
    GameFrame();
    DWORD after = RandomState;
    RandomState = before;
    GameRandom();
    GameRandom();
    EXPECT_EQ(after, RandomState);
}

} // namespace
