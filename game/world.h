// The game world: the one entity record, its fixed pools, the four counters,
// the sprite rectangles on the sheet, the firing timer and the random
// generator. Everything is statically allocated and lives for the whole run.
#pragma once

#include <windows.h>

// One record for every entity that moves or is drawn. Each kind of object
// uses only the fields it needs; the others stay 0. All fields are signed
// 16-bit and their arithmetic wraps at 16 bits.
struct GameObject {
    SHORT x;          // left edge
    SHORT y;          // top edge
    SHORT width;      // collision-box width, set once by InitObjects
    SHORT height;     // collision-box height, set once by InitObjects
    SHORT dx;         // per-frame horizontal step of a player shot
    SHORT mode;       // Boss patrol direction: BOSS_FLYING_LEFT or BOSS_FLYING_RIGHT
    SHORT animTick;   // frames counted since the explosion frame last advanced
    SHORT animPeriod; // frames per explosion frame
    SHORT animFrame;  // current explosion frame, 0..5
    SHORT active;     // 1 while in play, 0 when the slot is free
    SHORT speed;      // signed per-frame horizontal step of enemies and bonus items
};

// Pool sizes.
#define MAX_PLAYER_SHOTS 25
#define MAX_EXPLOSIONS 5
#define MAX_BONUS_ITEMS 3
#define MAX_ENEMY_PAIRS 4
#define MAX_BOSS_SHOTS 4

// Boss patrol directions (GameObject::mode).
#define BOSS_FLYING_LEFT 8
#define BOSS_FLYING_RIGHT 9

// Bonus item kinds are their slots in BonusItems.
#define BONUS_SHIELD 0
#define BONUS_BOMB 1
#define BONUS_EXTRA_LIFE 2

// Explosion animation: frames 0..4 are drawn, frame 5 is empty and holds the
// slot; reaching EXPLOSION_FRAMES frees it.
#define EXPLOSION_FRAMES 6

// The pools. The first free slot of a pool is the lowest index whose
// `active` is 0.
extern GameObject Player;
extern GameObject PlayerShots[MAX_PLAYER_SHOTS];
extern GameObject Explosions[MAX_EXPLOSIONS];
extern GameObject BonusItems[MAX_BONUS_ITEMS];
extern GameObject LeftEnemies[MAX_ENEMY_PAIRS]; // LeftEnemies[i] and RightEnemies[i] are a pair:
extern GameObject RightEnemies[MAX_ENEMY_PAIRS]; // never both active at once
extern GameObject Boss;
extern GameObject BossShots[MAX_BOSS_SHOTS];

// The counters. Only the shield bonus looks at one of them (its cap); play
// goes on whatever their values.
extern SHORT Shield;
extern SHORT Lives;
extern SHORT BossEnergy;
extern SHORT Score;

// Firing timer, in GetTickCount milliseconds.
extern DWORD FireInterval; // 180
extern DWORD LastFireTick; // tick of the last shot, 0 at start

// Source rectangles on the sprite sheet, right and bottom exclusive.
enum SpriteRectIndex {
    SR_PLAYER_SHOT,
    SR_BOSS_SHOT,
    SR_PLAYER,
    SR_BOSS,
    SR_RIGHT_ENEMY,
    SR_LEFT_ENEMY,
    SR_COUNT
};
extern const RECT SpriteRects[SR_COUNT];
extern const RECT BonusRects[MAX_BONUS_ITEMS];
extern const RECT ExplosionRects[EXPLOSION_FRAMES];
// The background: the sheet's top-left 639 x 479 pixels.
extern const RECT BackgroundRect;

// Vertical offset added to a left enemy's y before each move, one per
// screen column 0..641. All 0: left enemies fly level.
#define WAVE_COLUMNS 642
extern const LONG WaveOffsets[WAVE_COLUMNS];

// Sets every pool to its start: Player at (320, 240) and active, every other
// slot free at (0, 0) with its pool's collision size. Returns 1.
int InitObjects();

// Sets the counters to their start values, Player active and Boss inactive.
void ResetGame();

// The generator's 32-bit state. It starts at 1 and the game never reseeds it,
// so every run draws the same sequence; tests may set it to replay a stretch.
extern DWORD RandomState;

// Next number of the game's generator, 0..32767.
int GameRandom();

// A spawn row: 100..350, with 100 and 350 far likelier than the rows between.
int RandomY();
