// Where everything sits on the city2.bmp sheet: its size, the background
// rectangle and the rectangle of every sprite. Rectangles are left, top,
// right, bottom in sheet pixels with right and bottom exclusive.
#pragma once

#include <array>

struct Rect {
    int left, top, right, bottom;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool Contains(int x, int y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
};

namespace sheet {

constexpr int kWidth = 640;
constexpr int kHeight = 700;

// The backdrop the game copies to the screen each frame. The generator also
// paints column 639 with it; row 479 and everything below is sprite area.
constexpr Rect kBackground{0, 0, 639, 479};
constexpr int kSpriteAreaTop = 479;

constexpr Rect kPlayerShot{196, 582, 222, 589};
constexpr Rect kBossShot{258, 685, 304, 695};
constexpr Rect kPlayer{151, 581, 192, 610};
constexpr Rect kBoss{315, 629, 405, 694};
constexpr Rect kRightEnemy{151, 614, 193, 645};
constexpr Rect kLeftEnemy{201, 614, 243, 645};
constexpr Rect kBonusShield{4, 653, 37, 685};
constexpr Rect kBonusBomb{43, 653, 77, 685};
constexpr Rect kBonusLife{83, 653, 118, 685};

constexpr int kExplosionFrames = 5;
constexpr std::array<Rect, kExplosionFrames> kExplosion = {{
    {257, 544, 294, 581},
    {297, 544, 334, 581},
    {337, 544, 374, 581},
    {377, 544, 414, 581},
    {417, 544, 454, 581},
}};

// Where shots leave their shooters, relative to the sprite's top-left.
constexpr int kPlayerGunX = 32, kPlayerGunY = 12;
constexpr int kBossGunX = 8, kBossGunY = 18;

// The game takes its colour key from this pixel, and starts play with the
// ship's top-left at kPlayerStart on the screen, over the same place of the
// background. A test sees the ship where kShipFoundShare of its pixels that
// differ from that background show: a shot or an explosion may cover some.
constexpr int kKeyX = 1, kKeyY = 500;
constexpr int kPlayerStartX = 320, kPlayerStartY = 240;
constexpr double kShipFoundShare = 0.8;

struct NamedRect {
    const char* name;
    Rect rect;
};

constexpr std::array<NamedRect, 14> kSprites = {{
    {"player shot", kPlayerShot},
    {"boss shot", kBossShot},
    {"player", kPlayer},
    {"boss", kBoss},
    {"right enemy", kRightEnemy},
    {"left enemy", kLeftEnemy},
    {"bonus shield", kBonusShield},
    {"bonus bomb", kBonusBomb},
    {"bonus life", kBonusLife},
    {"explosion 1", kExplosion[0]},
    {"explosion 2", kExplosion[1]},
    {"explosion 3", kExplosion[2]},
    {"explosion 4", kExplosion[3]},
    {"explosion 5", kExplosion[4]},
}};

} // namespace sheet
