// The player's ship and shot, and the two kinds of enemy fighter: the red
// claw that comes in from the right and the green saucer from the left.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "art.h"

namespace {

// A short engine flame pointing left (dir -1) or right (dir +1) from (x, y),
// `rows` tall, hottest next to the nozzle.
void Flame(View& view, int x, int y, int rows, int dir) {
    const uint8_t heat[] = {pal::kFire[7], pal::kFire[5], pal::kFire[3], pal::kFire[2]};
    for (int r = 0; r < rows; ++r) {
        const int edge = std::min(r, rows - 1 - r); // 0 at the outer rows
        const int length = 2 + edge * 2;
        for (int i = 0; i < length; ++i) {
            const int shade = std::min(3, i * 4 / length + (edge == 0 ? 1 : 0));
            view.Set(x + dir * i, y + r, heat[shade]);
        }
    }
}

// ---- player ----

void PlayerHull(View& view) {
    Mask fin = view.NewMask().Polygon({{5, 13}, {7, 3}, {11.5, 3}, {18, 12}});
    ShadeOutlined(view, fin, pal::kPlayerPaint, 1, pal::kPlayerLine);
    view.Box(8, 4, 10, 11, pal::kPlayerPaint[3]);

    Mask nozzle = view.NewMask().Box(2, 11, 8, 20);
    ShadeOutlined(view, nozzle, pal::kMetal, 1, pal::kPlayerLine);

    Mask hull = view.NewMask().Polygon(
        {{5, 10}, {16, 7.5}, {27, 8}, {35, 12}, {38, 15.5}, {35, 19}, {24, 21}, {5, 21}});
    ShadeOutlined(view, hull, pal::kMetal, 2, pal::kPlayerLine);

    Mask stripe = view.NewMask().Box(7, 16, 36, 18);
    stripe.Keep(hull.Inner());
    Shade(view, stripe, pal::kPlayerPaint, 1);

    Mask canopy = view.NewMask().Ellipse(24, 11, 7.5, 4.5);
    canopy.Keep(view.NewMask().Box(0, 0, 41, 13));
    ShadeOutlined(view, canopy, pal::kGlass, 1, pal::kPlayerLine);
    view.Box(21, 9, 23, 10, pal::kGlass[3]);
    view.Set(20, 10, pal::kGlass[3]);
}

void PlayerWingAndGun(View& view) {
    Mask wing = view.NewMask().Polygon({{11, 18}, {27, 18}, {19, 27}, {6, 27}});
    ShadeOutlined(view, wing, pal::kPlayerPaint, 1, pal::kPlayerLine);
    view.Line(12, 25, 18, 25, pal::kPlayerPaint[3]);
    view.Line(9, 24, 9, 26, pal::kMetal[3]);

    // The cannon along the nose: shots leave from its muzzle.
    Mask gun = view.NewMask().Box(30, 14, 40, 17);
    ShadeOutlined(view, gun, pal::kMetal, 2, pal::kPlayerLine);
    view.Set(39, 15, pal::kPlayerBolt[3]);
    view.Set(39, 14, pal::kPlayerBolt[2]);
    view.Set(39, 16, pal::kPlayerBolt[2]);
}

// ---- red claw: faces left ----

Mask Mirror(const View& view, std::initializer_list<Point> top, double axis) {
    std::vector<Point> points(top);
    Mask shape = view.NewMask().Polygon(points);
    for (Point& p : points)
        p.y = 2 * axis - p.y;
    return shape.Polygon(points);
}

void RedClawBody(View& view) {
    constexpr double kAxis = 15.5;
    Mask fins = Mirror(view, {{27, 11}, {33, 2}, {38.5, 2}, {37, 11}}, kAxis);
    ShadeOutlined(view, fins, pal::kRedHull, 1, pal::kRedLine);

    Mask pods = view.NewMask().Box(33, 9, 40, 14).Box(33, 17, 40, 22);
    ShadeOutlined(view, pods, pal::kMetal, 1, pal::kRedLine);

    Mask prongs = Mirror(view, {{2, 7.5}, {18, 5}, {28, 10}, {14, 12.5}}, kAxis);
    ShadeOutlined(view, prongs, pal::kRedHull, 2, pal::kRedLine);
    Mask tips = Mirror(view, {{2, 7.5}, {8, 6.5}, {8, 10}}, kAxis);
    tips.Keep(prongs.Inner());
    view.Fill(tips, pal::kMetal[4]);

    Mask body = view.NewMask().Ellipse(23, kAxis, 14, 6.5);
    ShadeOutlined(view, body, pal::kRedHull, 2, pal::kRedLine);
    view.Line(28, 11, 28, 19, pal::kRedLine);
    view.Line(31, 12, 31, 18, pal::kRedHull[1]);
}

void RedClawEye(View& view) {
    Mask eye = view.NewMask().Ellipse(16, 15.5, 4.5, 3);
    ShadeOutlined(view, eye, pal::kAmber, 1, pal::kRedLine);
    view.Box(14, 14, 16, 15, pal::kAmber[2]);
    view.Set(14, 15, pal::kWhite);
}

// ---- green saucer: faces right ----

void SaucerBody(View& view) {
    Mask fin = view.NewMask().Polygon({{1.5, 7}, {10, 11}, {11, 17}, {2, 17}});
    ShadeOutlined(view, fin, pal::kGreenHull, 1, pal::kGreenLine);

    Mask gun = view.NewMask().Box(31, 15, 41, 18);
    ShadeOutlined(view, gun, pal::kMetal, 2, pal::kGreenLine);
    view.Set(40, 16, pal::kAmber[2]);

    Mask pod = view.NewMask().Ellipse(20, 24, 6, 3);
    ShadeOutlined(view, pod, pal::kMetal, 1, pal::kGreenLine);

    Mask skirt = view.NewMask().Ellipse(20, 19.5, 16, 5);
    ShadeOutlined(view, skirt, pal::kGreenHull, 1, pal::kGreenLine);

    Mask disk = view.NewMask().Ellipse(20, 16.5, 17.5, 5.5);
    ShadeOutlined(view, disk, pal::kGreenHull, 2, pal::kGreenLine);
    Mask band = view.NewMask().Box(0, 17, 41, 19);
    band.Keep(disk.Inner());
    view.Fill(band, pal::kGreenHull[0]);
    for (int x = 8; x <= 32; x += 6)
        view.Set(x, 18, pal::kGlass[3]);
    for (int x = 11; x <= 29; x += 6)
        view.Set(x, 18, pal::kGlass[2]);
}

void SaucerDome(View& view) {
    Mask dome = view.NewMask().Ellipse(19.5, 12.5, 8.5, 6.5);
    dome.Keep(view.NewMask().Box(0, 0, 41, 14));
    ShadeOutlined(view, dome, pal::kAmber, 1, pal::kGreenLine);
    view.Box(15, 9, 17, 10, pal::kWhite);
    view.Set(14, 10, pal::kAmber[2]);
}

} // namespace

void DrawPlayerShip(Canvas& canvas) {
    View view(canvas, sheet::kPlayer);
    PlayerHull(view);
    PlayerWingAndGun(view);
    Outline(view, pal::kPlayerLine);
    Flame(view, 1, 12, 7, -1);
}

void DrawPlayerShot(Canvas& canvas) {
    View view(canvas, sheet::kPlayerShot);
    Mask core =
        view.NewMask().Polygon({{6, 3}, {16, 2}, {22, 2}, {24.5, 3.5}, {22, 5}, {16, 5}, {6, 4}});
    Glow(view, core, pal::kPlayerBolt, 2);
    view.Line(0, 3, 5, 3, pal::kPlayerBolt[1]);
    view.Line(2, 2, 6, 2, pal::kPlayerBolt[0]);
    view.Line(2, 4, 6, 4, pal::kPlayerBolt[0]);
}

void DrawRightEnemy(Canvas& canvas) {
    View view(canvas, sheet::kRightEnemy);
    RedClawBody(view);
    RedClawEye(view);
    Outline(view, pal::kRedLine);
    Flame(view, 40, 10, 3, 1);
    Flame(view, 40, 18, 3, 1);
}

void DrawLeftEnemy(Canvas& canvas) {
    View view(canvas, sheet::kLeftEnemy);
    SaucerBody(view);
    SaucerDome(view);
    Outline(view, pal::kGreenLine);
}
