// The world's storage, its start state and the game's random numbers.
#include "world.h"

GameObject Player;
GameObject PlayerShots[MAX_PLAYER_SHOTS];
GameObject Explosions[MAX_EXPLOSIONS];
GameObject BonusItems[MAX_BONUS_ITEMS];
GameObject LeftEnemies[MAX_ENEMY_PAIRS];
GameObject RightEnemies[MAX_ENEMY_PAIRS];
GameObject Boss;
GameObject BossShots[MAX_BOSS_SHOTS];

SHORT Shield = 3000;
SHORT Lives = 2;
SHORT BossEnergy = 7000;
SHORT Score = 0;

DWORD FireInterval = 180;
DWORD LastFireTick = 0;

const RECT SpriteRects[SR_COUNT] = {
    {196, 582, 222, 589}, // player shot, 26 x 7
    {258, 685, 304, 695}, // Boss shot, 46 x 10
    {151, 581, 192, 610}, // player, 41 x 29
    {315, 629, 405, 694}, // Boss, 90 x 65
    {151, 614, 193, 645}, // right enemy, 42 x 31
    {201, 614, 243, 645}, // left enemy, 42 x 31
};

const RECT BonusRects[MAX_BONUS_ITEMS] = {
    {4, 653, 37, 685},   // shield, 33 x 32
    {43, 653, 77, 685},  // bomb, 34 x 32
    {83, 653, 118, 685}, // extra life, 35 x 32
};

const RECT ExplosionRects[EXPLOSION_FRAMES] = {
    {257, 544, 294, 581}, {297, 544, 334, 581}, {337, 544, 374, 581},
    {377, 544, 414, 581}, {417, 544, 454, 581}, {0, 0, 0, 0}, // frame 5 draws nothing
};

const RECT BackgroundRect = {0, 0, 639, 479};

const LONG WaveOffsets[WAVE_COLUMNS] = {};

DWORD RandomState = 1;

// Frees the slot and gives it its pool's collision size, everything else 0.
static void ClearObject(GameObject& object, SHORT width, SHORT height) {
    object = GameObject{};
    object.width = width;
    object.height = height;
}

static void ClearPool(GameObject* pool, int count, SHORT width, SHORT height) {
    for (int i = 0; i < count; i++) ClearObject(pool[i], width, height);
}

int InitObjects() {
    ClearObject(Player, 42, 33);
    Player.x = 320;
    Player.y = 240;
    Player.active = 1;
    ClearPool(PlayerShots, MAX_PLAYER_SHOTS, 26, 7);
    ClearPool(Explosions, MAX_EXPLOSIONS, 38, 38);
    ClearPool(BonusItems, MAX_BONUS_ITEMS, 36, 32);
    ClearPool(LeftEnemies, MAX_ENEMY_PAIRS, 42, 31);
    ClearPool(RightEnemies, MAX_ENEMY_PAIRS, 42, 31);
    ClearObject(Boss, 90, 66);
    ClearPool(BossShots, MAX_BOSS_SHOTS, 46, 9);
    return 1;
}

void ResetGame() {
    Shield = 3000;
    Lives = 2;
    BossEnergy = 7000;
    Score = 0;
    Player.active = 1;
    Boss.active = 0;
}

// Linear congruential generator on a 32-bit unsigned state; the result is
// bits 16..30 of the new state.
int GameRandom() {
    RandomState = RandomState * 214013u + 2531011u;
    return static_cast<int>((RandomState >> 16) & 0x7FFF);
}

int RandomY() {
    int v = GameRandom() % 480;
    if (v <= 100) return 100;
    if (v >= 350) return 350;
    return v;
}
