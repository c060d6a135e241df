// sheetgen: draws the game's sprite sheet and saves it as city2.bmp.
//
//   sheetgen OUT.bmp [--facts FACTS.json] [--map MAP.png] [--png REVIEW.png]
//                    [--crop L,T,R,B,SCALE,CROP.png] [--icon SIZE,ICON.png|ICON.rgba]
//
// --facts writes what the tests check pictures against (writers.h). --map
// writes the sheet map for artists: every rectangle framed and named.
// --png writes the whole sheet at twice its size with the sprite rectangles
// framed; --crop writes one region at any scale. Both are for reviewing the
// art and may be given more than once. --icon writes the program's icon, the
// ship on a transparent square.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "art.h"
#include "writers.h"

namespace {

// Everything starts transparent; then the background and each sprite are
// painted in their own rectangles.
Canvas DrawSheet() {
    Canvas canvas(sheet::kWidth, sheet::kHeight, pal::kKey);
    DrawBackground(canvas);
    DrawPlayerShip(canvas);
    DrawPlayerShot(canvas);
    DrawRightEnemy(canvas);
    DrawLeftEnemy(canvas);
    DrawBoss(canvas);
    DrawBossShot(canvas);
    DrawBonuses(canvas);
    DrawExplosions(canvas);
    return canvas;
}

struct Review {
    std::string path;
    PngView view;
};

struct Icon {
    std::string path;
    int size;
};

bool ParseCrop(const std::string& arg, Review& out) {
    Rect r{};
    int scale = 0, used = 0;
    if (std::sscanf(arg.c_str(), "%d,%d,%d,%d,%d,%n", &r.left, &r.top, &r.right, &r.bottom, &scale,
                    &used) != 5 ||
        used == 0 || static_cast<std::size_t>(used) >= arg.size())
        return false;
    out = {arg.substr(static_cast<std::size_t>(used)), {r, scale, false}};
    return true;
}

bool ParseIcon(const std::string& arg, Icon& out) {
    int size = 0, used = 0;
    if (std::sscanf(arg.c_str(), "%d,%n", &size, &used) != 1 || used == 0 ||
        static_cast<std::size_t>(used) >= arg.size())
        return false;
    out = {arg.substr(static_cast<std::size_t>(used)), size};
    return size >= 16 && size <= 1024;
}

struct Outputs {
    std::string bmp, facts, map;
    std::vector<Review> reviews;
    std::vector<Icon> icons;
};

bool ParseArgs(int argc, char** argv, Outputs& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--facts" && i + 1 < argc) {
            out.facts = argv[++i];
        } else if (arg == "--map" && i + 1 < argc) {
            out.map = argv[++i];
        } else if (arg == "--png" && i + 1 < argc) {
            out.reviews.push_back({argv[++i], {{0, 0, sheet::kWidth, sheet::kHeight}, 2, true}});
        } else if (arg == "--crop" && i + 1 < argc) {
            Review crop;
            if (!ParseCrop(argv[++i], crop)) return false;
            out.reviews.push_back(crop);
        } else if (arg == "--icon" && i + 1 < argc) {
            Icon icon;
            if (!ParseIcon(argv[++i], icon)) return false;
            out.icons.push_back(icon);
        } else if (out.bmp.empty() && !arg.empty() && arg[0] != '-') {
            out.bmp = arg;
        } else {
            return false;
        }
    }
    return !out.bmp.empty();
}

bool Written(bool ok, const std::string& path) {
    if (!ok) std::fprintf(stderr, "sheetgen: cannot write %s\n", path.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    Outputs out;
    if (!ParseArgs(argc, argv, out)) {
        std::fprintf(
            stderr,
            "usage: sheetgen OUT.bmp [--facts FACTS.json] [--map MAP.png] [--png REVIEW.png] "
            "[--crop L,T,R,B,SCALE,CROP.png] [--icon SIZE,ICON.png|ICON.rgba]\n");
        return 2;
    }
    const Canvas canvas = DrawSheet();
    const Palette& palette = SheetPalette();
    if (!Written(WriteBmp(out.bmp, canvas, palette), out.bmp)) return 1;
    if (!out.facts.empty() && !Written(WriteFacts(out.facts, canvas, palette), out.facts)) return 1;
    if (!out.map.empty() && !Written(WriteMap(out.map, canvas, palette), out.map)) return 1;
    for (const Review& review : out.reviews)
        if (!Written(WritePng(review.path, canvas, palette, review.view), review.path)) return 1;
    for (const Icon& icon : out.icons)
        if (!Written(WriteIcon(icon.path, canvas, palette, icon.size), icon.path)) return 1;
    return 0;
}
