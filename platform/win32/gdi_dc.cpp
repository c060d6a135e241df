// GDI device contexts: the registry of live HDCs, the system's default
// palette and nearest-colour matching.
#include <array>
#include <unordered_set>

#include "device_context.h"

namespace {

std::unordered_set<const HDC__*>& LiveDCs() {
    static std::unordered_set<const HDC__*> live;
    return live;
}

} // namespace

HDC__::HDC__() { LiveDCs().insert(this); }

HDC__::~HDC__() { LiveDCs().erase(this); }

namespace platform {

bool IsLiveDC(HDC hdc) { return hdc && LiveDCs().count(hdc) != 0; }

const PALETTEENTRY* DefaultPalette() {
    // The 20 static colours of an 8-bit display: 0..9 and 246..255.
    static const std::array<PALETTEENTRY, 256> palette = [] {
        std::array<PALETTEENTRY, 256> p{};
        const PALETTEENTRY low[10] = {{0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},
                                      {128, 128, 0, 0},   {0, 0, 128, 0},     {128, 0, 128, 0},
                                      {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0},
                                      {166, 202, 240, 0}};
        const PALETTEENTRY high[10] = {{255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0},
                                       {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
                                       {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},
                                       {255, 255, 255, 0}};
        for (int i = 0; i < 10; i++) {
            p[i] = low[i];
            p[246 + i] = high[i];
        }
        return p;
    }();
    return palette.data();
}

uint8_t NearestPaletteIndex(const PALETTEENTRY* palette, COLORREF color) {
    int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; i++) {
        int dr = palette[i].peRed - r, dg = palette[i].peGreen - g, db = palette[i].peBlue - b;
        long distance = static_cast<long>(dr) * dr + static_cast<long>(dg) * dg + static_cast<long>(db) * db;
        // Strictly smaller: the first index wins a tie.
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return static_cast<uint8_t>(best);
}

} // namespace platform
