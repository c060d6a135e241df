// The frame step in its fixed order, and the player's movement and firing.
#include "frame.h"

#include "collisions.h"
#include "ddraw_setup.h"
#include "foes.h"
#include "render.h"
#include "surface_ops.h"
#include "world.h"

void GameFrame() {
    ReadInput();                 // 1
    ClampPlayer();               // 2
    ClearSurface(lpDDSBack);     // 3
    SpawnBonus();                // 4
    SpawnBoss();                 // 5
    SpawnEnemies();              // 6
    AnimateExplosions();         // 7
    CheckPlayerVsRightEnemies(); // 8
    CheckPlayerVsLeftEnemies();  // 9
    CheckBonusPickups();         // 10
    CheckPlayerVsBoss();         // 11
    CheckBossShotsVsPlayer();    // 12
    CheckPlayerShots();          // 13
    MoveBonus();                 // 14
    MoveBoss();                  // 15
    MoveLeftEnemies();           // 16
    MoveRightEnemies();          // 17
    MoveBossShots();             // 18
    MovePlayerShots();           // 19
    DrawBackground();            // 20
    DrawSprites();               // 21
    FlipPages();                 // 22
}

void ReadInput() {
    DWORD now = GetTickCount();

    // Any nonzero state counts: a key still down, or one tapped since the
    // previous poll. Opposite keys cancel.
    if (GetAsyncKeyState(VK_LEFT)) Player.x -= 8;
    if (GetAsyncKeyState(VK_RIGHT)) Player.x += 8;
    if (GetAsyncKeyState(VK_UP)) Player.y -= 8;
    if (GetAsyncKeyState(VK_DOWN)) Player.y += 8;

    // Unsigned difference, so the interval survives the tick count wrapping.
    if (GetAsyncKeyState(VK_CONTROL) && now - LastFireTick > FireInterval) {
        FirePlayerShot(Player.x + 32, Player.y + 12, 5);
        // Restarted even when no slot was free and nothing was fired.
        LastFireTick = GetTickCount();
    }
}

void ClampPlayer() {
    if (Player.active != 1) return;
    if (Player.x >= 598) Player.x = 598;
    if (Player.x <= 0) Player.x = 0;
    if (Player.y >= 447) Player.y = 447;
    if (Player.y <= 0) Player.y = 0;
}

void FirePlayerShot(SHORT x, SHORT y, SHORT dx) {
    for (GameObject& shot : PlayerShots) {
        if (shot.active) continue;
        shot.active = 1;
        shot.x = x;
        shot.y = y;
        shot.dx = dx;
        return;
    }
}

void MovePlayerShots() {
    for (GameObject& shot : PlayerShots) {
        if (shot.active) shot.x += shot.dx;
        // Tested for free slots as well; a freed shot keeps its last position.
        if (shot.x >= 640) shot.active = 0;
    }
}
