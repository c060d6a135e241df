// Spawning and movement of enemies, the Boss, Boss shots and bonus items.
#include "foes.h"

#include "world.h"

// Starts `object` at an edge: side 0 at x = 0 moving by `leftSpeed`, side 1
// at x = 640 moving by `rightSpeed`. The row is drawn afterwards by the caller.
static void EnterAtEdge(GameObject& object, int side, SHORT leftSpeed, SHORT rightSpeed) {
    object.active = 1;
    if (side == 0) {
        object.speed = leftSpeed;
        object.x = 0;
    } else {
        object.speed = rightSpeed;
        object.x = 640;
    }
}

void SpawnBonus() {
    int k = GameRandom() % 3;
    if (BonusItems[k].active) return;
    if (GameRandom() % 400 != 1) return;
    int side = GameRandom() % 2;
    EnterAtEdge(BonusItems[k], side, +1, -1);
    BonusItems[k].y = RandomY();
}

void MoveBonus() {
    for (GameObject& item : BonusItems) {
        if (!item.active) continue;
        item.x += item.speed;
        if (item.x > 655)
            item.active = 0;
        else if (item.x < -15)
            item.active = 0;
    }
}

void SpawnBoss() {
    if (Boss.active) return;
    Boss.active = 1;
    Boss.mode = BOSS_FLYING_LEFT;
    Boss.x = 640;
    Boss.y = 160;
}

void MoveBoss() {
    if (Boss.active && Boss.mode == BOSS_FLYING_LEFT) {
        Boss.x -= 2;
        if (Boss.x <= 2) Boss.mode = BOSS_FLYING_RIGHT;
    }
    // Not an else: the turn at the left end takes effect in the same frame.
    if (Boss.active && Boss.mode == BOSS_FLYING_RIGHT) {
        Boss.x += 3;
        if (Boss.x >= 550) Boss.mode = BOSS_FLYING_LEFT;
    }
    // Drawn in every frame, Boss or not, so the sequence does not depend on it.
    int r = GameRandom();
    if (r % 25 == 1 && Boss.active) FireBossShot(Boss.x + 8, Boss.y + 18);
}

void FireBossShot(SHORT x, SHORT y) {
    for (GameObject& shot : BossShots) {
        if (shot.active) continue;
        shot.active = 1;
        shot.x = x;
        shot.y = y;
        return;
    }
}

void MoveBossShots() {
    for (GameObject& shot : BossShots) {
        if (!shot.active) continue;
        shot.x -= 4;
        // Homes onto the player's row: a shot at the target or up to 4 pixels
        // below it keeps its row.
        int target = Player.y + 5;
        if (shot.y >= target) shot.y -= 4;
        if (shot.y <= target) shot.y += 4;
        if (shot.x >= 640 || shot.x <= 3 || shot.y > 480 || shot.y <= 3) shot.active = 0;
    }
}

void SpawnEnemies() {
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++) {
        if (LeftEnemies[i].active || RightEnemies[i].active) continue;
        if (GameRandom() % 50 != 1) continue;
        int side = GameRandom() % 2;
        GameObject& enemy = side == 0 ? LeftEnemies[i] : RightEnemies[i];
        EnterAtEdge(enemy, side, +1, -2);
        enemy.y = RandomY();
    }
}

void MoveLeftEnemies() {
    for (GameObject& enemy : LeftEnemies) {
        if (!enemy.active) continue;
        // The table covers the columns a left enemy can occupy, 0..641.
        if (enemy.x >= 0 && enemy.x < WAVE_COLUMNS) enemy.y += WaveOffsets[enemy.x];
        enemy.x += enemy.speed;
        if (enemy.x > 641) enemy.active = 0;
    }
}

void MoveRightEnemies() {
    for (GameObject& enemy : RightEnemies) {
        if (!enemy.active) continue;
        enemy.x += enemy.speed;
        if (enemy.x < -15) enemy.active = 0;
    }
}
