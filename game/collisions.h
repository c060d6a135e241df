// Collisions, scoring and explosions: what happens when objects touch, and
// the explosion animation.
#pragma once

#include <windows.h>

struct GameObject;

// True when the collision boxes of a and b share at least one pixel. Boxes are
// inclusive: boxes that share only an edge pixel overlap.
bool Overlaps(const GameObject& a, const GameObject& b);

// Starts an explosion with its corner at (x - 10, y - 10) in the first free
// Explosions slot; dropped when all five are busy.
void SpawnExplosion(SHORT x, SHORT y, SHORT period);

// Frame step 7: advances every explosion one tick and frees finished ones.
void AnimateExplosions();

// Frame steps 8 and 9: at most one enemy of each pool hits the ship per frame.
void CheckPlayerVsRightEnemies();
void CheckPlayerVsLeftEnemies();
// Frame step 10: the shield, bomb and extra-life pick-ups.
void CheckBonusPickups();
// Frame step 11: contact with the Boss, repeated in every frame of contact.
void CheckPlayerVsBoss();
// Frame step 12: Boss shots that hit the ship.
void CheckBossShotsVsPlayer();
// Frame step 13: each player shot against Boss shots, enemies and the Boss.
void CheckPlayerShots();
