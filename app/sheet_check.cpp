// The sheet checker: the file read as the start-up reads it, then every
// problem with it, the ones that stop the game first.
#include "sheet_check.h"

#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

#include "dib.h"
#include "sheet_rules.h"
#include "world.h"

namespace {

struct NamedRect {
    const char* name;
    const RECT* rect;
};

// Every rectangle the game blits with the colour key.
const NamedRect SPRITES[] = {
    {"player shot", &SpriteRects[SR_PLAYER_SHOT]},
    {"Boss shot", &SpriteRects[SR_BOSS_SHOT]},
    {"player", &SpriteRects[SR_PLAYER]},
    {"Boss", &SpriteRects[SR_BOSS]},
    {"right enemy", &SpriteRects[SR_RIGHT_ENEMY]},
    {"left enemy", &SpriteRects[SR_LEFT_ENEMY]},
    {"shield bonus", &BonusRects[0]},
    {"bomb bonus", &BonusRects[1]},
    {"extra life bonus", &BonusRects[2]},
    {"explosion frame 1", &ExplosionRects[0]},
    {"explosion frame 2", &ExplosionRects[1]},
    {"explosion frame 3", &ExplosionRects[2]},
    {"explosion frame 4", &ExplosionRects[3]},
    {"explosion frame 5", &ExplosionRects[4]},
};

// The colours of a bottom-up 8-bit image, addressed from its top-left. The
// sheet reaches the sprite surface by colour, not by palette entry: two
// entries of one colour become the same pixel value there.
class Pixels {
  public:
    explicit Pixels(CDib* sheet)
        : bits_(sheet->lpBits), table_(sheet->GetColorTable()), height_(sheet->GetHeight()),
          stride_((sheet->GetWidth() + 3) & ~3) {}
    DWORD At(LONG x, LONG y) const {
        const RGBQUAD& c = table_[bits_[(height_ - 1 - y) * stride_ + x]];
        return static_cast<DWORD>(c.rgbRed) << 16 | c.rgbGreen << 8 | c.rgbBlue;
    }

  private:
    const BYTE* bits_;
    const RGBQUAD* table_;
    LONG height_;
    LONG stride_;
};

std::string Position(LONG x, LONG y) {
    char text[32];
    std::snprintf(text, sizeof(text), "(%ld, %ld)", static_cast<long>(x), static_cast<long>(y));
    return text;
}

// Colours of a 16-, 24- or 32-bit picture, counted up to 257.
size_t CountColours(CDib* sheet) {
    const BITMAPINFOHEADER& h = sheet->lpInfo->bmiHeader;
    int bytesPerPixel = h.biBitCount / 8;
    if (bytesPerPixel < 2) return 0;
    size_t rows = h.biHeight < 0 ? -static_cast<size_t>(h.biHeight) : static_cast<size_t>(h.biHeight);
    size_t rowBytes = static_cast<size_t>(CDib::PixelBytesDescribed(&h) / rows);
    std::unordered_set<uint32_t> seen;
    for (size_t row = 0; row < rows; row++) {
        const BYTE* p = sheet->lpBits + row * rowBytes;
        for (LONG x = 0; x < h.biWidth; x++, p += bytesPerPixel) {
            uint32_t colour = p[0] | p[1] << 8;
            if (bytesPerPixel == 2) colour &= 0x7FFF; // 5-5-5, the top bit unused
            else colour |= p[2] << 16;
            seen.insert(colour);
            if (seen.size() > 256) return seen.size();
        }
    }
    return seen.size();
}

void CheckPalette(CDib* sheet, std::vector<std::string>& problems) {
    const BITMAPINFOHEADER& h = sheet->lpInfo->bmiHeader;
    if (h.biClrUsed > 256)
        problems.push_back("The header claims " + std::to_string(h.biClrUsed) +
                           " colours; a palette holds 256, and the game uses only the first 256.");
    const RGBQUAD* table = sheet->GetColorTable();
    const RGBQUAD& first = table[0];
    const RGBQUAD& last = table[255];
    if (first.rgbRed || first.rgbGreen || first.rgbBlue)
        problems.push_back("Palette entry 0 is not black: Windows keeps it black for the game, so the "
                           "picture differs on Windows. Make entry 0 black (0, 0, 0).");
    if (last.rgbRed != 255 || last.rgbGreen != 255 || last.rgbBlue != 255)
        problems.push_back("Palette entry 255 is not white: Windows keeps it white for the game, so the "
                           "picture differs on Windows. Make entry 255 white (255, 255, 255).");
}

// A sprite shows every pixel but those of the key colour. Key-coloured
// pixels that the sprite's outer key-coloured area does not reach are holes.
void CheckSprite(const Pixels& pixels, DWORD key, const NamedRect& sprite, std::vector<std::string>& problems) {
    const RECT& r = *sprite.rect;
    LONG width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    std::vector<char> outside(static_cast<size_t>(width) * height, 0);
    std::vector<std::pair<LONG, LONG>> todo;
    size_t keyed = 0;
    for (LONG y = 0; y < height; y++)
        for (LONG x = 0; x < width; x++) {
            if (pixels.At(r.left + x, r.top + y) != key) continue;
            keyed++;
            if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
                outside[y * width + x] = 1;
                todo.emplace_back(x, y);
            }
        }
    std::string where = " (" + Position(r.left, r.top) + " to " + Position(r.right - 1, r.bottom - 1) + ")";
    if (keyed == static_cast<size_t>(width) * height) {
        problems.push_back("The " + std::string(sprite.name) + " rectangle" + where +
                           " is all key colour: the sprite would be invisible.");
        return;
    }
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        const LONG next[8][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1},
                                 {x - 1, y - 1}, {x + 1, y - 1}, {x - 1, y + 1}, {x + 1, y + 1}};
        for (const auto& n : next) {
            LONG nx = n[0], ny = n[1];
            if (nx < 0 || ny < 0 || nx >= width || ny >= height || outside[ny * width + nx]) continue;
            if (pixels.At(r.left + nx, r.top + ny) != key) continue;
            outside[ny * width + nx] = 1;
            todo.emplace_back(nx, ny);
        }
    }
    size_t holes = 0;
    LONG firstX = 0, firstY = 0;
    for (LONG y = 0; y < height; y++)
        for (LONG x = 0; x < width; x++)
            if (!outside[y * width + x] && pixels.At(r.left + x, r.top + y) == key && holes++ == 0) {
                firstX = r.left + x;
                firstY = r.top + y;
            }
    if (holes)
        problems.push_back("The " + std::string(sprite.name) + " sprite" + where + " has " + std::to_string(holes) +
                           (holes == 1 ? " pixel of the key colour inside it, at " + Position(firstX, firstY) +
                                             ": it would show as a hole."
                                       : " pixels of the key colour inside it, the first at " +
                                             Position(firstX, firstY) + ": they would show as holes.") +
                           " Use another colour there.");
}

} // namespace

SheetReport CheckSheet(LPCSTR name) {
    SheetReport report;
    CDib sheet;
    BOOL read = sheet.ReadBMP(name);
    report.problems = SheetUnusableProblems(&sheet, read, name);
    if (read && sheet.lpInfo->bmiHeader.biBitCount > 8) {
        size_t colours = CountColours(&sheet);
        if (colours > 256)
            report.problems.push_back("The picture has more than 256 colours; reduce it to 256 when converting "
                                      "to indexed colour.");
    }
    if (!report.problems.empty()) {
        report.verdict = SHEET_UNUSABLE;
        return report;
    }
    CheckPalette(&sheet, report.problems);
    Pixels pixels(&sheet);
    DWORD key = pixels.At(1, 500);
    for (const NamedRect& sprite : SPRITES) CheckSprite(pixels, key, sprite, report.problems);
    report.verdict = report.problems.empty() ? SHEET_GOOD : SHEET_DOUBTFUL;
    return report;
}
