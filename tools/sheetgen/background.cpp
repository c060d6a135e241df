// The backdrop: a city at night seen from the side. A banded sky that
// darkens upwards, stars, a moon with its halo, and three rows of buildings,
// the farthest hazy and sparsely lit, the nearest almost black.
#include <algorithm>
#include <cstdint>

#include "art.h"

namespace {

// A fixed integer hash: the backdrop's only source of variety, so every run
// draws the same city.
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0) {
    uint32_t h = 0x2545F491u ^ (a * 0x9E3779B1u) ^ (b * 0x85EBCA77u) ^ (c * 0xC2B2AE3Du);
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// A value in [lo, hi] picked by the hash.
int Pick(uint32_t hash, int lo, int hi) {
    return lo + static_cast<int>(hash % static_cast<uint32_t>(hi - lo + 1));
}

constexpr int kWidth = sheet::kBackground.right + 1; // column 639 gets sky too
constexpr int kHeight = sheet::kBackground.bottom;
constexpr int kMoonX = 508, kMoonY = 82, kMoonR = 23;

// ---- sky ----

int SkyBand(int y) {
    return std::min(pal::kSky.count - 1, y * pal::kSky.count / 450);
}

bool IsSky(uint8_t c) {
    return c >= pal::kSky.first && c <= pal::kSky.Lightest();
}

// Each band's first rows mix in the band above with an ordered pattern, so
// the steps read as a gradient without any noise.
void PaintSky(View& view) {
    for (int y = 0; y < kHeight; ++y) {
        const int band = SkyBand(y);
        const int into = y - (band == 0 ? -99 : band * 450 / pal::kSky.count);
        for (int x = 0; x < kWidth; ++x) {
            bool above = false;
            if (into < 2)
                above = ((x + y) & 1) == 0;
            else if (into < 4)
                above = ((x + 2 * (y & 1)) & 3) == 0;
            view.Set(x, y, pal::kSky[above ? band - 1 : band]);
        }
    }
}

void PaintMoon(View& view) {
    const int haloR[] = {44, 35};
    for (int ring = 0; ring < 2; ++ring) {
        Mask halo = view.NewMask().Ellipse(kMoonX + 0.5, kMoonY + 0.5, haloR[ring], haloR[ring]);
        view.Fill(halo, pal::kMoonHalo[ring]);
    }
    Mask face = view.NewMask().Ellipse(kMoonX + 0.5, kMoonY + 0.5, kMoonR, kMoonR);
    view.Fill(face, pal::kMoon[2]);
    Mask lit = view.NewMask().Ellipse(kMoonX - 3.5, kMoonY - 3.5, kMoonR - 2, kMoonR - 2);
    Mask shade = face;
    shade.Cut(view.NewMask().Ellipse(kMoonX - 2.5, kMoonY - 2.5, kMoonR, kMoonR));
    view.Fill(shade, pal::kMoon[1]);
    Mask rim = face;
    rim.Cut(view.NewMask().Ellipse(kMoonX + 2.5, kMoonY + 2.5, kMoonR, kMoonR)).Keep(lit.Grown());
    view.Fill(rim, pal::kMoon[3]);

    const struct {
        double dx, dy, rx, ry;
    } craters[] = {{-8, -5, 5, 4},     {7, 6, 4.5, 3.5}, {3, -11, 3, 2.5},
                   {-4, 11, 3.5, 2.5}, {12, -4, 2.5, 2}, {-13, 4, 2, 2}};
    for (const auto& c : craters) {
        const double cx = kMoonX + 0.5 + c.dx, cy = kMoonY + 0.5 + c.dy;
        Mask pit = view.NewMask().Ellipse(cx, cy, c.rx, c.ry);
        Mask lip = view.NewMask().Ellipse(cx + 1, cy + 1, c.rx, c.ry);
        lip.Cut(pit).Keep(face);
        view.Fill(pit.Keep(face), pal::kMoon[0]);
        view.Fill(lip, pal::kMoon[3]);
    }
}

// Stars on a coarse grid, one at a hashed spot in some cells; fewer towards
// the glowing horizon and none on the moon's halo.
void PaintStars(View& view) {
    constexpr int kCell = 11;
    for (int cy = 0; cy * kCell < 330; ++cy) {
        for (int cx = 0; cx * kCell < kWidth; ++cx) {
            const uint32_t h = Hash(static_cast<uint32_t>(cx), static_cast<uint32_t>(cy), 7);
            const int x = cx * kCell + static_cast<int>((h >> 8) % kCell);
            const int y = cy * kCell + static_cast<int>((h >> 12) % kCell);
            const int chance = 42 - y / 9;
            if (static_cast<int>(h % 100) >= chance || !IsSky(view.At(x, y))) continue;
            const int kind = static_cast<int>((h >> 20) % 100);
            if (kind < 55) {
                view.Set(x, y, pal::kStar[0]);
            } else if (kind < 92) {
                view.Set(x, y, pal::kStar[1 + static_cast<int>((h >> 27) % 3)]);
            } else if (IsSky(view.At(x - 1, y)) && IsSky(view.At(x + 1, y))) {
                view.Set(x - 1, y, pal::kStar[0]);
                view.Set(x + 1, y, pal::kStar[0]);
                view.Set(x, y - 1, pal::kStar[0]);
                view.Set(x, y + 1, pal::kStar[0]);
                view.Set(x, y, pal::kStar[3]);
            }
        }
    }
}

// ---- buildings ----

struct Layer {
    uint32_t seed;
    Ramp ramp;          // detail, shadow side, wall, lit edge
    int minTop, maxTop; // roof heights
    int minWidth, maxWidth;
    int winW, winH;   // window size
    int stepX, stepY; // window pitch
    int litPercent;   // share of lit windows
    bool darkWindows; // draw the unlit ones too
    bool dim;         // far away: only dim window colours
};

const Layer kLayers[] = {
    {11, pal::kFarCity, 205, 300, 16, 40, 1, 2, 3, 4, 22, false, true},
    {23, pal::kMidCity, 285, 370, 26, 58, 2, 3, 5, 6, 30, true, false},
    {37, pal::kNearCity, 360, 425, 40, 84, 3, 4, 7, 9, 22, true, false},
};

uint8_t LitColour(const Layer& layer, uint32_t h) {
    const int pick = static_cast<int>(h % 100);
    if (layer.dim) return pal::kWindow[pick < 70 ? 0 : 1];
    if (pick < 8) return pal::kWindowCool;
    if (pick < 30) return pal::kWindow[5];
    if (pick < 80) return pal::kWindow[4];
    return pal::kWindow[3];
}

void PaintWindows(View& view, const Layer& layer, Rect face, uint32_t id) {
    const int margin = layer.stepX - layer.winW + 1;
    const int lit = layer.litPercent + Pick(Hash(id, 1), -12, 14);
    for (int wy = face.top + margin + 1; wy + layer.winH <= face.bottom - 2; wy += layer.stepY) {
        const int floor = (wy - face.top) / layer.stepY;
        const bool darkFloor = Hash(id, static_cast<uint32_t>(floor), 3) % 5 == 0;
        for (int wx = face.left + margin; wx + layer.winW <= face.right - margin + 1;
             wx += layer.stepX) {
            const uint32_t h = Hash(id, static_cast<uint32_t>(wx), static_cast<uint32_t>(wy));
            if (!darkFloor && static_cast<int>(h % 100) < lit)
                view.Box(wx, wy, wx + layer.winW, wy + layer.winH, LitColour(layer, h >> 8));
            else if (layer.darkWindows)
                view.Box(wx, wy, wx + layer.winW, wy + layer.winH, layer.ramp[0]);
        }
    }
}

// A block: a shadowed side face on the left, the front face, a lit roof line
// and a lit right edge catching the moonlight.
void PaintBlock(View& view, const Layer& layer, Rect block, uint32_t id) {
    const int side = std::max(2, block.Width() / 6);
    view.Box(block.left, block.top, block.left + side, block.bottom, layer.ramp[1]);
    view.Box(block.left + side, block.top, block.right, block.bottom, layer.ramp[2]);
    view.Box(block.left, block.top, block.right, block.top + 1, layer.ramp[3]);
    view.Box(block.right - 1, block.top, block.right, block.bottom, layer.ramp[3]);
    PaintWindows(view, layer, {block.left + side, block.top, block.right - 1, block.bottom}, id);
}

void PaintAntenna(View& view, const Layer& layer, int x, int top, int height) {
    view.Box(x, top - height, x + 1, top, layer.ramp[1]);
    view.Box(x - 1, top - height / 3, x + 2, top - height / 3 + 1, layer.ramp[1]);
    view.Set(x, top - height - 1, pal::kBeacon);
    view.Set(x, top - height / 2, pal::kBeaconDim);
}

void PaintSpire(View& view, const Layer& layer, Rect block) {
    const double mid = (block.left + block.right) / 2.0;
    const int rise = block.Width() * 3 / 4;
    Mask roof = view.NewMask().Polygon({{block.left + 1.0, block.top * 1.0},
                                        {mid, block.top - rise * 1.0},
                                        {block.right - 1.0, block.top * 1.0}});
    view.Fill(roof, layer.ramp[2]);
    Mask shadow = roof;
    shadow.Keep(view.NewMask().Box(block.left, 0, static_cast<int>(mid), kHeight));
    view.Fill(shadow, layer.ramp[1]);
    PaintAntenna(view, layer, static_cast<int>(mid), block.top - rise + 1, 8);
}

void PaintWaterTank(View& view, const Layer& layer, int x, int top) {
    view.Box(x + 1, top - 4, x + 2, top, layer.ramp[1]);
    view.Box(x + 8, top - 4, x + 9, top, layer.ramp[1]);
    Mask tank = view.NewMask().Box(x, top - 13, x + 10, top - 4);
    tank.Add(view.NewMask().Polygon(
        {{x - 0.5, top - 13.0}, {x + 5.0, top - 17.0}, {x + 10.5, top - 13.0}}));
    view.Fill(tank, layer.ramp[1]);
    view.Box(x + 8, top - 13, x + 10, top - 4, layer.ramp[3]);
}

void PaintRoof(View& view, const Layer& layer, Rect block, uint32_t h) {
    const int kind = static_cast<int>(h % 8);
    const int w = block.Width();
    if (kind == 0 && w >= 20) {
        const int inset = w / 5;
        Rect upper{block.left + inset, block.top - Pick(h >> 4, 8, 22), block.right - inset,
                   block.top};
        PaintBlock(view, layer, upper, h ^ 0x55u);
        PaintAntenna(view, layer, upper.left + upper.Width() / 2, upper.top, Pick(h >> 9, 6, 18));
    } else if (kind == 1) {
        PaintAntenna(view, layer, block.left + w / 3, block.top, Pick(h >> 4, 10, 30));
    } else if (kind == 2 && w <= 44) {
        PaintSpire(view, layer, block);
    } else if (kind == 3 && w >= 30) {
        PaintWaterTank(view, layer, block.left + Pick(h >> 4, 4, w - 16), block.top);
    } else if (kind == 4) {
        view.Box(block.left + 3, block.top - 4, block.left + 9, block.top, layer.ramp[1]);
        view.Box(block.right - 12, block.top - 3, block.right - 5, block.top, layer.ramp[1]);
    }
}

void PaintLayer(View& view, const Layer& layer) {
    int x = -static_cast<int>(Hash(layer.seed) % 20);
    for (uint32_t n = 0; x < kWidth; ++n) {
        const uint32_t h = Hash(layer.seed, n);
        const int w = Pick(h, layer.minWidth, layer.maxWidth);
        const int top = Pick(h >> 8, layer.minTop, layer.maxTop);
        const Rect block{x, top, x + w, kHeight};
        PaintRoof(view, layer, block, Hash(layer.seed, n, 99));
        PaintBlock(view, layer, block, h);
        x += w + Pick(h >> 16, -6, 6);
    }
}

} // namespace

void DrawBackground(Canvas& canvas) {
    View view(canvas, {0, 0, kWidth, kHeight});
    PaintSky(view);
    PaintMoon(view);
    PaintStars(view);
    for (const Layer& layer : kLayers)
        PaintLayer(view, layer);
}
