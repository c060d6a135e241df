// A long deterministic run of whole frames with a fixed key pattern, checking
// the world's invariants after every frame.
#include <algorithm>

#include "world_fixture.h"

#include "frame.h"

namespace {

using LongRun = WorldTest;

struct Range {
    int lo, hi;
};

void ExpectPoolInRange(const GameObject* pool, int count, Range x, Range y, const char* name, int frame) {
    for (int i = 0; i < count; i++) {
        const GameObject& o = pool[i];
        if (!o.active) continue;
        ASSERT_EQ(o.active, 1) << name;
        ASSERT_TRUE(o.x >= x.lo && o.x <= x.hi) << name << "[" << i << "].x=" << o.x << " frame " << frame;
        ASSERT_TRUE(o.y >= y.lo && o.y <= y.hi) << name << "[" << i << "].y=" << o.y << " frame " << frame;
    }
}

// The key pattern: each key has its own period, so the ship wanders, fires in
// bursts and crosses every part of the screen.
void SetKeysForFrame(int frame) {
    headless::SetKeyDown(VK_LEFT, (frame / 97) % 3 == 0);
    headless::SetKeyDown(VK_RIGHT, (frame / 61) % 2 == 0);
    headless::SetKeyDown(VK_UP, (frame / 43) % 3 == 1);
    headless::SetKeyDown(VK_DOWN, (frame / 29) % 2 == 1);
    headless::SetKeyDown(VK_CONTROL, (frame / 200) % 4 != 3);
}

TEST_F(LongRun, HundredThousandFramesKeepEveryInvariant) {
    const int frames = 100000;
    int maxExplosions = 0, hits = 0;
    DWORD tick = 1000000;
    for (int frame = 0; frame < frames; frame++) {
        SetKeysForFrame(frame);
        headless::SetTickCount(tick);
        tick += 16;
        SHORT scoreBefore = Score;
        GameFrame();
        if (Score != scoreBefore) hits++;

        for (int i = 0; i < MAX_ENEMY_PAIRS; i++)
            ASSERT_FALSE(LeftEnemies[i].active && RightEnemies[i].active) << "pair " << i << " frame " << frame;
        int explosions = ActiveCount(Explosions, MAX_EXPLOSIONS);
        maxExplosions = std::max(maxExplosions, explosions);
        for (const GameObject& e : Explosions) {
            if (!e.active) continue;
            ASSERT_TRUE(e.animFrame >= 0 && e.animFrame <= 5) << frame;
            ASSERT_TRUE(e.animTick >= 0 && e.animTick < 2) << frame;
            ASSERT_EQ(e.animPeriod, 2);
        }
        ASSERT_EQ(Player.active, 1);
        ASSERT_TRUE(Player.x >= 0 && Player.x <= 598 && Player.y >= 0 && Player.y <= 447) << frame;
        ASSERT_EQ(Boss.active, 1);
        ASSERT_EQ(Boss.y, 160);
        ASSERT_TRUE(Boss.x >= 3 && Boss.x <= 638) << frame;
        // Shots leave from where input put the ship, before the clamp: y up to 455 + 12.
        ASSERT_NO_FATAL_FAILURE(ExpectPoolInRange(PlayerShots, MAX_PLAYER_SHOTS, {5, 639}, {4, 467}, "PlayerShots", frame));
        ASSERT_NO_FATAL_FAILURE(ExpectPoolInRange(LeftEnemies, MAX_ENEMY_PAIRS, {0, 641}, {100, 350}, "LeftEnemies", frame));
        ASSERT_NO_FATAL_FAILURE(ExpectPoolInRange(RightEnemies, MAX_ENEMY_PAIRS, {-15, 640}, {100, 350}, "RightEnemies", frame));
        ASSERT_NO_FATAL_FAILURE(ExpectPoolInRange(BonusItems, MAX_BONUS_ITEMS, {-15, 655}, {100, 350}, "BonusItems", frame));
        ASSERT_NO_FATAL_FAILURE(ExpectPoolInRange(BossShots, MAX_BOSS_SHOTS, {4, 639}, {4, 480}, "BossShots", frame));
        for (const GameObject& item : BonusItems) {
            if (item.active) {
                ASSERT_TRUE(item.speed == 1 || item.speed == -1);
            }
        }
        ASSERT_LE(Lives, 2 + frame);
    }
    // The run must have exercised the interesting paths, not idled.
    EXPECT_EQ(maxExplosions, MAX_EXPLOSIONS);
    EXPECT_GT(hits, 100);
    EXPECT_LT(BossEnergy, 7000);
    EXPECT_LT(Shield, 3000 + 100 * 50);
}

} // namespace
