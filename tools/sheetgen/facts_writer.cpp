// The facts writer: city2.json, read by the shell, JavaScript and C++ tests
// that check pictures against the sheet.
#include <fstream>

#include "writers.h"

namespace {

void PutRect(std::ostream& out, const Rect& r) {
    out << '[' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ']';
}

// Every opaque pixel of the ship whose colour differs from the background's
// where play starts it: where these show, the ship is there.
void PutShipAtStart(std::ostream& out, const Canvas& canvas, uint8_t key) {
    const Rect& ship = sheet::kPlayer;
    out << "  \"ship_at_start\": {\"sprite\": \"player\", \"x\": " << sheet::kPlayerStartX
        << ", \"y\": " << sheet::kPlayerStartY << ", \"share\": " << sheet::kShipFoundShare
        << ",\n    \"pixels\": [";
    int count = 0;
    for (int dy = 0; dy < ship.Height(); ++dy) {
        for (int dx = 0; dx < ship.Width(); ++dx) {
            const int colour = canvas.At(ship.left + dx, ship.top + dy);
            const int behind = canvas.At(sheet::kPlayerStartX + dx, sheet::kPlayerStartY + dy);
            if (colour == key || colour == behind) continue;
            out << (count == 0 ? "" : ",") << (count % 8 == 0 ? "\n      " : " ");
            out << '[' << dx << ", " << dy << ", " << colour << ", " << behind << ']';
            ++count;
        }
    }
    out << "\n    ]}\n";
}

} // namespace

bool WriteFacts(const std::string& path, const Canvas& canvas, const Palette& palette) {
    std::ofstream out(path);
    const uint8_t key = canvas.At(sheet::kKeyX, sheet::kKeyY);
    out << "{\n  \"width\": " << canvas.Width() << ", \"height\": " << canvas.Height() << ",\n";
    out << "  \"key\": {\"index\": " << int{key} << ", \"x\": " << sheet::kKeyX << ", \"y\": " << sheet::kKeyY
        << "},\n";
    out << "  \"background\": ";
    PutRect(out, sheet::kBackground);
    out << ",\n  \"sprites\": {";
    for (std::size_t i = 0; i < sheet::kSprites.size(); ++i) {
        out << (i == 0 ? "\n    \"" : ",\n    \"") << sheet::kSprites[i].name << "\": ";
        PutRect(out, sheet::kSprites[i].rect);
    }
    out << "\n  },\n  \"palette\": [";
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const Rgb& c = palette[i];
        out << (i == 0 ? "" : ",") << (i % 8 == 0 ? "\n    " : " ");
        out << '[' << int{c.r} << ", " << int{c.g} << ", " << int{c.b} << ']';
    }
    out << "\n  ],\n";
    PutShipAtStart(out, canvas, key);
    out << "}\n";
    return static_cast<bool>(out.flush());
}
