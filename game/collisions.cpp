// Collision tests on the collision boxes, their effects on the counters, and
// the explosion animation.
#include "collisions.h"

#include "world.h"

bool Overlaps(const GameObject& a, const GameObject& b) {
    return b.x + b.width - 1 >= a.x && a.x + a.width - 1 >= b.x &&
           b.y + b.height - 1 >= a.y && a.y + a.height - 1 >= b.y;
}

void SpawnExplosion(SHORT x, SHORT y, SHORT period) {
    for (GameObject& explosion : Explosions) {
        if (explosion.active) continue;
        explosion.active = 1;
        explosion.x = x - 10;
        explosion.y = y - 10;
        explosion.animFrame = 0;
        explosion.animPeriod = period;
        explosion.animTick = 0;
        return;
    }
}

void AnimateExplosions() {
    for (GameObject& explosion : Explosions) {
        if (!explosion.active) continue;
        explosion.animTick += 1;
        if (explosion.animTick == explosion.animPeriod) {
            explosion.animFrame += 1;
            if (explosion.animFrame == EXPLOSION_FRAMES) explosion.active = 0;
            explosion.animTick = 0;
        }
    }
}

static void CheckPlayerVsEnemies(GameObject* enemies) {
    if (Player.active != 1) return;
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++) {
        GameObject& enemy = enemies[i];
        if (!enemy.active || !Overlaps(enemy, Player)) continue;
        enemy.active = 0;
        SpawnExplosion(enemy.x + 10, enemy.y + 10, 2);
        SpawnExplosion(Player.x + 10, Player.y + 10, 2);
        Shield -= 5;
        return;
    }
}

void CheckPlayerVsRightEnemies() { CheckPlayerVsEnemies(RightEnemies); }

void CheckPlayerVsLeftEnemies() { CheckPlayerVsEnemies(LeftEnemies); }

// The bomb clears every pair while the Boss is active, which it always is in
// play, so each pair costs the Boss 10 energy and requests explosions at both
// members, alive or not (a dead member explodes where it was last).
static void DetonateBomb() {
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++) {
        if (!LeftEnemies[i].active && !RightEnemies[i].active && !Boss.active) continue;
        LeftEnemies[i].active = 0;
        RightEnemies[i].active = 0;
        SpawnExplosion(LeftEnemies[i].x + 10, LeftEnemies[i].y + 10, 2);
        SpawnExplosion(RightEnemies[i].x + 10, RightEnemies[i].y + 10, 2);
        BossEnergy -= 10;
        SpawnExplosion(Boss.x + 10, Boss.y + 10, 2);
    }
}

void CheckBonusPickups() {
    if (Player.active != 1) return;

    GameObject& shield = BonusItems[BONUS_SHIELD];
    if (shield.active && Overlaps(shield, Player)) {
        shield.active = 0;
        if (Shield <= 3000) Shield += 100;
    }

    GameObject& bomb = BonusItems[BONUS_BOMB];
    if (bomb.active && Overlaps(bomb, Player)) {
        bomb.active = 0;
        DetonateBomb();
    }

    GameObject& extraLife = BonusItems[BONUS_EXTRA_LIFE];
    if (extraLife.active && Overlaps(extraLife, Player)) {
        extraLife.active = 0;
        Lives += 1;
    }
}

// Neither object is freed, so contact costs again in every frame it lasts.
void CheckPlayerVsBoss() {
    if (!Overlaps(Player, Boss)) return;
    BossEnergy -= 15;
    Shield -= 10;
    SpawnExplosion(Player.x + 10, Player.y + 10, 2);
    SpawnExplosion(Boss.x + 10, Boss.y + 10, 2);
}

void CheckBossShotsVsPlayer() {
    for (GameObject& shot : BossShots) {
        if (!shot.active || !Overlaps(shot, Player)) continue;
        shot.active = 0;
        SpawnExplosion(Player.x + 10, Player.y + 10, 2);
        Shield -= 5;
    }
}

static void ShotVsBossShots(GameObject& s) {
    for (GameObject& bossShot : BossShots) {
        if (!bossShot.active || !Overlaps(bossShot, s)) continue;
        s.active = 0;
        bossShot.active = 0;
        Score += 1;
        SpawnExplosion(bossShot.x + 5, bossShot.y + 5, 2);
        return;
    }
}

// A right enemy is preferred over the left enemy of the same pair.
static void ShotVsEnemies(GameObject& s) {
    for (int j = 0; j < MAX_ENEMY_PAIRS; j++) {
        GameObject* target = nullptr;
        if (RightEnemies[j].active && Overlaps(RightEnemies[j], s))
            target = &RightEnemies[j];
        else if (LeftEnemies[j].active && Overlaps(LeftEnemies[j], s))
            target = &LeftEnemies[j];
        else
            continue;
        target->active = 0;
        s.active = 0;
        Score += 10;
        SpawnExplosion(target->x + 5, target->y + 5, 2);
        return;
    }
}

static void ShotVsBoss(GameObject& s) {
    if (!Overlaps(s, Boss)) return;
    s.active = 0;
    BossEnergy -= 10;
    Score += 10;
    SpawnExplosion(Boss.x + 10, Boss.y + 10, 2);
}

// A test that frees the shot does not stop the tests after it in the same
// turn: one shot can destroy a Boss shot, destroy an enemy and hit the Boss.
void CheckPlayerShots() {
    for (GameObject& s : PlayerShots) {
        if (!s.active) continue;
        ShotVsBossShots(s);
        ShotVsEnemies(s);
        ShotVsBoss(s);
    }
}
