// The three bonus items: a gold-rimmed shield, a round bomb with a lit fuse
// and a heart over "1UP" for the extra life.
#include <array>
#include <cstddef>

#include "art.h"

namespace {

// ---- shield ----

void Shield(View& view) {
    Mask shape = view.NewMask().Polygon(
        {{3, 3}, {16.5, 0.5}, {30, 3}, {30, 14}, {26.5, 23}, {16.5, 31}, {6.5, 23}, {3, 14}});
    ShadeOutlined(view, shape, pal::kGold, 1, pal::kShieldLine);
    Mask field = shape.Inner().Inner().Inner();
    view.Fill(field.Border(), pal::kShieldLine);
    Shade(view, field.Inner(), pal::kShieldBlue, 1, 2);

    Mask chevron =
        view.NewMask().Polygon({{8, 11}, {16.5, 18}, {25, 11}, {25, 16}, {16.5, 23}, {8, 16}});
    chevron.Keep(field.Inner());
    ShadeOutlined(view, chevron, pal::kMetal, 3, pal::kShieldLine);
    view.Line(8, 7, 11, 7, pal::kShieldBlue[3]);
    view.Line(8, 8, 8, 10, pal::kShieldBlue[3]);
}

// ---- bomb ----

void Spark(View& view, int x, int y) {
    view.Line(x - 3, y, x + 3, y, pal::kFire[5]);
    view.Line(x, y - 3, x, y + 3, pal::kFire[5]);
    view.Line(x - 2, y - 2, x + 2, y + 2, pal::kFire[3]);
    view.Line(x - 2, y + 2, x + 2, y - 2, pal::kFire[3]);
    view.Box(x - 1, y - 1, x + 2, y + 2, pal::kFire[6]);
    view.Set(x, y, pal::kWhite);
}

void Bomb(View& view) {
    Mask fuse = view.NewMask().Line(17, 7, 19, 4).Line(19, 4, 22, 3).Line(22, 3, 26, 4);
    view.Fill(fuse.Grown().Keep(view.NewMask().Box(0, 0, 34, 8)), pal::kItemLine);
    view.Fill(fuse, pal::kFuse[1]);
    view.Set(20, 4, pal::kFuse[0]);
    view.Set(24, 3, pal::kFuse[0]);

    Mask body = view.NewMask().Ellipse(15, 19.5, 11.5, 11.5);
    ShadeOutlined(view, body, pal::kBombBody, 1, pal::kItemLine);
    Mask shadow = body.Inner();
    shadow.Cut(view.NewMask().Ellipse(13.5, 18, 10.5, 10.5));
    view.Fill(shadow, pal::kBombBody[0]);
    Mask shine = view.NewMask().Ellipse(10.5, 14.5, 3.5, 2.5);
    view.Fill(shine, pal::kBombBody[3]);
    view.Set(9, 14, pal::kWhite);

    Mask cap = view.NewMask().Box(11, 6, 21, 10);
    ShadeOutlined(view, cap, pal::kMetal, 2, pal::kItemLine);
}

// ---- extra life ----

constexpr std::array<const char*, 7> kOne = {"..#..", ".##..", "..#..", "..#..",
                                             "..#..", "..#..", ".###."};
constexpr std::array<const char*, 7> kU = {"#...#", "#...#", "#...#", "#...#",
                                           "#...#", "#...#", ".###."};
constexpr std::array<const char*, 7> kP = {"####.", "#...#", "#...#", "####.",
                                           "#....", "#....", "#...."};

void Glyph(View& view, const std::array<const char*, 7>& rows, int x, int y, uint8_t colour) {
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 5; ++c)
            if (rows[static_cast<std::size_t>(r)][c] == '#') view.Set(x + c, y + r, colour);
}

void Heart(View& view) {
    Mask heart = view.NewMask().Ellipse(11, 7.5, 6.5, 6).Ellipse(24, 7.5, 6.5, 6);
    heart.Polygon({{4.7, 9.5}, {30.3, 9.5}, {17.5, 22.5}});
    ShadeOutlined(view, heart, pal::kHeart, 1, pal::kHeartLine);
    Mask shine = view.NewMask().Ellipse(9.5, 6.5, 2.5, 2);
    view.Fill(shine, pal::kHeart[3]);
    view.Set(8, 6, pal::kWhite);
}

void OneUp(View& view) {
    const int x = 9, y = 23;
    const std::array<const std::array<const char*, 7>*, 3> text = {&kOne, &kU, &kP};
    for (std::size_t i = 0; i < text.size(); ++i)
        Glyph(view, *text[i], x + 1 + static_cast<int>(i) * 6, y + 1, pal::kLifeText[0]);
    for (std::size_t i = 0; i < text.size(); ++i)
        Glyph(view, *text[i], x + static_cast<int>(i) * 6, y, pal::kLifeText[1]);
}

} // namespace

void DrawBonuses(Canvas& canvas) {
    View shield(canvas, sheet::kBonusShield);
    Shield(shield);

    View bomb(canvas, sheet::kBonusBomb);
    Bomb(bomb);
    Spark(bomb, 28, 4);
    Outline(bomb, pal::kBombBody[2]); // a pale rim so it shows on dark walls

    View life(canvas, sheet::kBonusLife);
    Heart(life);
    OneUp(life);
    Outline(life, pal::kItemLine);
}
