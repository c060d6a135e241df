// The Boss, a heavy violet warship facing left with one red eye, a bronze
// jaw and a long cannon, and its shot: a pink plasma bolt flying left.
#include "art.h"

namespace {

void Engines(View& view) {
    Mask pods = view.NewMask().Box(76, 17, 88, 28).Box(76, 37, 88, 48);
    ShadeOutlined(view, pods, pal::kMetal, 1, pal::kBossLine);
    for (int y : {19, 23, 39, 43})
        view.Line(79, y, 86, y, pal::kMetal[0]);
}

void Fins(View& view) {
    Mask tower = view.NewMask().Polygon({{42, 13}, {50, 1}, {67, 1}, {74, 13}});
    ShadeOutlined(view, tower, pal::kBossHull, 2, pal::kBossLine);
    for (int x = 53; x <= 64; x += 4)
        view.Box(x, 5, x + 2, 7, pal::kBossGlow[2]);

    Mask keel = view.NewMask().Polygon({{46, 50}, {54, 63.5}, {72, 63.5}, {76, 48}});
    ShadeOutlined(view, keel, pal::kBossHull, 1, pal::kBossLine);
    view.Line(56, 58, 70, 58, pal::kBronze[1]);
}

Mask HullShape(const View& view) {
    return view.NewMask().Polygon({{14, 31},
                                   {26, 15},
                                   {46, 10},
                                   {72, 11},
                                   {82, 17},
                                   {85, 32},
                                   {82, 48},
                                   {72, 54},
                                   {46, 56},
                                   {26, 51},
                                   {12, 40}});
}

// Two horns swept back from the brow.
void Horns(View& view) {
    Mask horns = view.NewMask().Polygon({{44, 15}, {25, 3}, {31, 17}});
    horns.Polygon({{55, 12}, {39, 0.5}, {43, 14}});
    ShadeOutlined(view, horns, pal::kBronze, 2, pal::kBossLine);
}

void Hull(View& view) {
    const Mask hull = HullShape(view);
    view.Fill(hull.Border(), pal::kBossLine);
    Shade(view, hull.Inner(), pal::kBossHull, 3, 2);

    Mask belly = view.NewMask().Box(0, 44, 90, 65);
    belly.Keep(hull.Inner());
    Shade(view, belly, pal::kBossHull, 1, 2);

    Mask belt = view.NewMask().Box(40, 41, 85, 45);
    belt.Keep(hull.Inner());
    ShadeOutlined(view, belt, pal::kBronze, 1, pal::kBossLine);
    for (int x = 44; x < 80; x += 6)
        view.Set(x, 43, pal::kBronze[3]);

    for (int x : {56, 68}) {
        Mask seam = view.NewMask().Line(x, 12, x - 2, 40);
        seam.Keep(hull.Inner());
        view.Fill(seam, pal::kBossHull[1]);
        view.Fill(seam.Line(x + 1, 13, x - 1, 40).Keep(hull.Inner()), pal::kBossHull[1]);
        view.Line(x + 1, 13, x - 1, 40, pal::kBossHull[4]);
    }
    for (int x = 60; x <= 80; x += 5)
        view.Set(x, 20, pal::kBronze[2]);
    for (int x = 48; x <= 80; x += 8)
        view.Set(x, 50, pal::kBronze[1]);
}

// An open mouth under the eye: a dark maw with fangs above and a toothed
// bronze jaw below.
void Mouth(View& view) {
    Mask maw = view.NewMask().Polygon({{8, 41}, {24, 37}, {42, 42}, {38, 46}, {8, 46}});
    view.Fill(maw, pal::kBossLine);
    for (int x = 12; x <= 32; x += 5) {
        Mask fang = view.NewMask().Polygon({{x - 0.5, 38.5}, {x + 1.5, 43.5}, {x + 3.5, 38.5}});
        fang.Keep(maw);
        view.Fill(fang, pal::kMetal[3]);
    }
    Mask jaw = view.NewMask().Polygon({{4, 45}, {22, 43}, {40, 45}, {32, 54}, {12, 52}});
    ShadeOutlined(view, jaw, pal::kBronze, 1, pal::kBossLine);
    for (int x = 9; x <= 29; x += 5) {
        Mask tooth = view.NewMask().Polygon({{x - 0.5, 46.5}, {x + 1.5, 40.5}, {x + 3.5, 46.5}});
        view.Fill(tooth, pal::kMetal[4]);
        view.Set(x + 2, 45, pal::kMetal[2]);
    }
}

void Cannon(View& view) {
    Mask housing = view.NewMask().Polygon({{13, 16}, {32, 14}, {37, 21}, {32, 30}, {13, 29}});
    ShadeOutlined(view, housing, pal::kMetal, 2, pal::kBossLine);
    Mask barrel = view.NewMask().Box(3, 20, 16, 26);
    ShadeOutlined(view, barrel, pal::kMetal, 1, pal::kBossLine);
    Mask ring = view.NewMask().Box(2, 19, 7, 27);
    ShadeOutlined(view, ring, pal::kBronze, 1, pal::kBossLine);
    view.Box(2, 21, 3, 25, pal::kBossGlow[1]);
    view.Box(2, 22, 3, 24, pal::kBossGlow[3]);
    for (int x = 20; x <= 29; x += 3)
        view.Line(x, 18, x, 26, pal::kMetal[1]);
}

void Eye(View& view) {
    Mask brow = view.NewMask().Polygon({{24, 28}, {48, 25}, {48, 30}, {27, 32}});
    ShadeOutlined(view, brow, pal::kBossHull, 1, pal::kBossLine);
    Mask socket = view.NewMask().Ellipse(38, 35.5, 7, 4.5);
    view.Fill(socket, pal::kBossLine);
    Mask core = view.NewMask().Ellipse(37, 35.5, 2.5, 1.5);
    Glow(view, core, pal::kBossGlow, 2);
    view.Fill(socket.Border(), pal::kBossLine);
}

} // namespace

void DrawBoss(Canvas& canvas) {
    View view(canvas, sheet::kBoss);
    Engines(view);
    Fins(view);
    Horns(view);
    Hull(view);
    Mouth(view);
    Cannon(view);
    Eye(view);
    Outline(view, pal::kBossLine);
    for (int y : {20, 40}) {
        Mask exhaust = view.NewMask().Box(88, y, 89, y + 5);
        Glow(view, exhaust, pal::kBossGlow, 1);
    }
}

void DrawBossShot(Canvas& canvas) {
    View view(canvas, sheet::kBossShot);
    Mask core = view.NewMask().Polygon(
        {{2.5, 5}, {6, 2.5}, {12, 3.5}, {25, 4.5}, {25, 5.5}, {12, 6.5}, {6, 7.5}});
    Glow(view, core, pal::kBossBolt, 2);
    view.Box(5, 4, 10, 6, pal::kWhite);
    const struct {
        int left, right, row;
        uint8_t colour;
    } trail[] = {{28, 34, 4, pal::kBossBolt[1]}, {28, 36, 5, pal::kBossBolt[1]},
                 {35, 39, 3, pal::kBossBolt[0]}, {37, 42, 5, pal::kBossBolt[0]},
                 {41, 45, 4, pal::kBossBolt[0]}, {31, 33, 7, pal::kBossBolt[0]}};
    for (const auto& t : trail)
        view.Line(t.left, t.row, t.right, t.row, t.colour);
}
