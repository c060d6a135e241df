// The painters for each part of the sheet. Each draws at its fixed place
// from layout.h and touches nothing outside it.
#pragma once

#include "canvas.h"

void DrawBackground(Canvas& canvas);

void DrawPlayerShip(Canvas& canvas);
void DrawPlayerShot(Canvas& canvas);
void DrawRightEnemy(Canvas& canvas);
void DrawLeftEnemy(Canvas& canvas);

void DrawBoss(Canvas& canvas);
void DrawBossShot(Canvas& canvas);

void DrawBonuses(Canvas& canvas);
void DrawExplosions(Canvas& canvas);
