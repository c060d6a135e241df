// One step of play and the player's own rules: input, the screen clamp,
// firing and the flight of player shots.
#pragma once

#include <windows.h>

// One frame of play: input, spawning, collisions, movement, drawing and the
// page flip, always in the same order. Called once per idle pass while playing.
void GameFrame();

// Polls the arrow keys and Ctrl, moves Player 8 pixels per key held and fires
// when Ctrl is down and the firing interval has passed.
void ReadInput();

// Holds the active Player's 42 x 33 box on the 640 x 480 screen.
void ClampPlayer();

// Puts a shot in the first free PlayerShots slot; does nothing when all are busy.
void FirePlayerShot(SHORT x, SHORT y, SHORT dx);

// Moves every active shot by its dx and frees every slot whose x reached 640.
void MovePlayerShots();
