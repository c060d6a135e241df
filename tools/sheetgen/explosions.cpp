// The five explosion frames: a white flash, a fireball, the fireball
// breaking up, a cloud of smoke and the last thinning wisps. Each frame is a
// sum of round blobs whose heat is cut into flat bands of one ramp.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "art.h"

namespace {

constexpr double kCentre = 18.5;

struct Blob {
    double x, y, radius, power;
};

struct Look {
    Ramp ramp;
    int lowest, highest; // the ramp shades the heat spans
    double light;        // how much brighter the blobs' upper-left sides are
    bool thin = false;   // draw the outermost band on every other pixel only
};

// `count` blobs spaced round a circle, starting at `turn` (in whole turns).
// Their distances and sizes step through a short cycle so the ring looks
// ragged rather than machined.
void Ring(std::vector<Blob>& blobs, int count, double distance, double radius, double power,
          double turn) {
    constexpr double kReach[] = {1.0, 0.8, 0.92};
    constexpr double kSize[] = {1.1, 0.8, 0.95};
    for (int i = 0; i < count; ++i) {
        const double a = 2 * std::numbers::pi * (turn + static_cast<double>(i) / count);
        const double d = distance * kReach[i % 3];
        blobs.push_back(
            {kCentre + std::cos(a) * d, kCentre + std::sin(a) * d, radius * kSize[i % 3], power});
    }
}

void Paint(View& view, const std::vector<Blob>& blobs, const Look& look) {
    for (int y = 0; y < view.Height(); ++y) {
        for (int x = 0; x < view.Width(); ++x) {
            double best = 0, light = 0;
            for (const Blob& b : blobs) {
                const double dx = (x + 0.5 - b.x) / b.radius, dy = (y + 0.5 - b.y) / b.radius;
                const double heat = b.power * (1 - std::sqrt(dx * dx + dy * dy));
                if (heat > best) {
                    best = heat;
                    light = -(dx + dy) * 0.5;
                }
            }
            if (best <= 0) continue;
            const double value = std::clamp(best + light * look.light, 0.0, 0.999);
            const int span = look.highest - look.lowest + 1;
            const int band = static_cast<int>(value * span);
            if (look.thin && band == 0 && ((x + y) & 1) != 0) continue;
            view.Set(x, y, look.ramp[look.lowest + band]);
        }
    }
}

void Flash(View& view) {
    std::vector<Blob> blobs{{kCentre, kCentre, 8, 1.0}};
    for (int i = 0; i < 8; ++i) {
        const double a = 2 * std::numbers::pi * i / 8;
        const double reach = (i % 2 == 0) ? 11 : 7.5;
        const int x = static_cast<int>(std::floor(kCentre + std::cos(a) * reach));
        const int y = static_cast<int>(std::floor(kCentre + std::sin(a) * reach));
        view.Line(18, 18, x, y, pal::kFire[4]);
    }
    Paint(view, blobs, {pal::kFire, 4, 7, 0});
}

void Fireball(View& view) {
    std::vector<Blob> blobs{{kCentre, kCentre, 12, 1.0}};
    Ring(blobs, 6, 7, 6.5, 0.75, 0.05);
    Paint(view, blobs, {pal::kFire, 1, 7, 0.25});
}

void BreakUp(View& view) {
    std::vector<Blob> blobs{{kCentre, kCentre, 8, 0.35}};
    Ring(blobs, 7, 11, 6.5, 0.85, 0.1);
    Paint(view, blobs, {pal::kFire, 0, 6, 0.3});
    const struct {
        int x, y;
    } debris[] = {{3, 9}, {32, 6}, {34, 27}, {6, 31}, {19, 1}, {19, 34}, {1, 20}};
    for (const auto& d : debris) {
        view.Box(d.x, d.y, d.x + 2, d.y + 2, pal::kSmoke[1]);
        view.Set(d.x, d.y, pal::kFire[4]);
    }
}

void Smoke(View& view) {
    std::vector<Blob> blobs{{kCentre, kCentre, 9, 0.6}};
    Ring(blobs, 7, 11, 7, 0.8, 0.15);
    Paint(view, blobs, {pal::kSmoke, 1, 4, 0.35});
    for (const Blob& b : std::vector<Blob>(blobs.begin() + 1, blobs.begin() + 4)) {
        const int x = static_cast<int>(b.x), y = static_cast<int>(b.y);
        view.Set(x, y, pal::kFire[3]);
        view.Set(x + 1, y, pal::kFire[1]);
    }
}

void Wisps(View& view) {
    std::vector<Blob> blobs;
    Ring(blobs, 8, 14, 4.5, 0.8, 0.2);
    Ring(blobs, 3, 6, 3.5, 0.6, 0.05);
    Paint(view, blobs, {pal::kSmoke, 1, 3, 0.4, true});
}

} // namespace

void DrawExplosions(Canvas& canvas) {
    void (*const frames[])(View&) = {Flash, Fireball, BreakUp, Smoke, Wisps};
    for (int i = 0; i < sheet::kExplosionFrames; ++i) {
        View view(canvas, sheet::kExplosion[static_cast<std::size_t>(i)]);
        frames[i](view);
    }
}
