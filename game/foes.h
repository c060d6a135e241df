// Enemies, the Boss, its shots and the bonus items: how they enter play and
// how they move. Spawning draws from GameRandom in a fixed number and order.
#pragma once

#include <windows.h>

// Frame step 4: may start one bonus item at the left or right edge.
void SpawnBonus();
// Frame step 5: starts the Boss at (640, 160) flying left when it is not active.
void SpawnBoss();
// Frame step 6: may start one enemy of each free pair at its edge.
void SpawnEnemies();

// Frame step 14: drifts each bonus item and frees it past the screen edges.
void MoveBonus();
// Frame step 15: patrols the Boss along its row and lets it fire.
void MoveBoss();
// Frame step 16: moves left enemies right and frees them past the right edge.
void MoveLeftEnemies();
// Frame step 17: moves right enemies left and frees them past the left edge.
void MoveRightEnemies();
// Frame step 18: moves Boss shots left, homing on the player's row.
void MoveBossShots();

// Puts a Boss shot in the first free BossShots slot; lost when all are busy.
void FireBossShot(SHORT x, SHORT y);
