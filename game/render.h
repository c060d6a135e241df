// Drawing a frame of play on the back buffer from pieces of the sprite sheet.
#pragma once

// Copies the sheet's background (its top-left 639 x 479 pixels) opaque to
// (0, 0): the last column and row of the frame keep the clear colour.
void DrawBackground();

// Draws every active object's sprite, colour-keyed, at its own position:
// Boss, player, bonus items, enemies, explosions, Boss shots, player shots,
// so later kinds cover earlier ones. Nothing is clipped: a sprite that does
// not fit on the screen is refused whole and missing from the frame.
void DrawSprites();
