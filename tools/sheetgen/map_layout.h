// Where the parts of the sheet map (city2-map.png) go: the sheet at twice its
// size inside a dark margin, a frame around the background and every sprite
// rectangle, a ring around the key pixel, a label naming each, and a caption
// with the sheet's size below. Labels are placed in the sheet's empty,
// key-coloured area beside what they name, clear of every frame, the ring
// and each other, so none covers the art.
#pragma once

#include <string>
#include <vector>

#include "layout.h"
#include "palette.h"

namespace sheetmap {

constexpr int kScale = 2;
constexpr int kMargin = 12;      // around the sheet, where the frames at its edges fall
constexpr int kCaptionBand = 32; // below the sheet, for the caption
constexpr int kWidth = sheet::kWidth * kScale + 2 * kMargin;
constexpr int kHeight = sheet::kHeight * kScale + kMargin + kCaptionBand;

constexpr Rgb kMarginColour{40, 40, 48};
constexpr Rgb kFrameColour{0, 255, 0};
constexpr Rgb kRingColour{255, 255, 0};
constexpr Rgb kLabelColour{0, 0, 0}; // the label's box
constexpr Rgb kTextColour{255, 255, 255};

// Labels are written with each font pixel kTextScale x kTextScale, so that
// they stay legible where the map is shown smaller, and their boxes hold the
// text with this much room around it.
constexpr int kTextScale = 2;
constexpr int kPadX = 3, kPadY = 2;
// The key ring's outer radius and the width of its colour between two black
// edges, in map pixels.
constexpr int kRingRadius = 14, kRingWidth = 3;

// A rectangle of sheet pixels as the map shows it.
constexpr Rect ToMap(const Rect& r) {
    return {kMargin + r.left * kScale, kMargin + r.top * kScale, kMargin + r.right * kScale,
            kMargin + r.bottom * kScale};
}

// The key pixel on the map.
constexpr Rect kKeyPixel = ToMap({sheet::kKeyX, sheet::kKeyY, sheet::kKeyX + 1, sheet::kKeyY + 1});

struct Label {
    std::string text;
    Rect box;    // map pixels, the padding included
    Rect target; // what it names, on the map; empty for the caption
};

struct Plan {
    std::vector<Rect> frames;  // drawn one pixel outside each of these
    Rect ring;                 // the key ring's bounding box
    std::vector<Label> labels; // the frames' labels in their order, the key's, the caption
};

// Lays the map out. A frame's label goes above it, else below, else beside
// it; where none of those is clear it sits inside the frame's top-left
// corner.
Plan PlanMap();

} // namespace sheetmap
