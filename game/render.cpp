// Frame rendering: the background and the sprites in their fixed order.
#include "render.h"

#include "surface_ops.h"
#include "world.h"

void DrawBackground() { DrawSprite(0, 0, BackgroundRect, 1); }

// Draws the object with `rect` when it is active, skipping the colour key.
static void DrawObject(const GameObject& object, const RECT& rect) {
    if (object.active) DrawSprite(object.x, object.y, rect, 0);
}

void DrawSprites() {
    DrawObject(Boss, SpriteRects[SR_BOSS]);
    DrawObject(Player, SpriteRects[SR_PLAYER]);
    for (int i = 0; i < MAX_BONUS_ITEMS; i++) DrawObject(BonusItems[i], BonusRects[i]);
    for (int i = 0; i < MAX_ENEMY_PAIRS; i++) {
        DrawObject(LeftEnemies[i], SpriteRects[SR_LEFT_ENEMY]);
        DrawObject(RightEnemies[i], SpriteRects[SR_RIGHT_ENEMY]);
    }
    // Frame 5's rectangle is empty: the explosion holds its slot unseen.
    for (const GameObject& explosion : Explosions) {
        int frame = explosion.animFrame;
        if (frame >= 0 && frame < EXPLOSION_FRAMES) DrawObject(explosion, ExplosionRects[frame]);
    }
    for (const GameObject& shot : BossShots) DrawObject(shot, SpriteRects[SR_BOSS_SHOT]);
    for (const GameObject& shot : PlayerShots) DrawObject(shot, SpriteRects[SR_PLAYER_SHOT]);
}
