// Saving the sheet: the 8-bit BMP the game loads, and PNG pictures of it
// for reviewing the art.
#pragma once

#include <string>

#include "canvas.h"
#include "palette.h"

// Writes an uncompressed, bottom-up, 8-bit BMP with a full colour table.
bool WriteBmp(const std::string& path, const Canvas& canvas, const Palette& palette);

struct PngView {
    Rect region;      // the part of the sheet to show
    int scale;        // each sheet pixel becomes scale x scale
    bool markSprites; // outline the sprite rectangles
};

bool WritePng(const std::string& path, const Canvas& canvas, const Palette& palette,
              const PngView& view);

// Writes the ship as a size x size icon with a transparent background: a PNG,
// or raw R, G, B, A bytes (top row first) when the path ends in ".rgba".
bool WriteIcon(const std::string& path, const Canvas& canvas, const Palette& palette, int size);
