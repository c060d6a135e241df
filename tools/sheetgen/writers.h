// Saving the sheet: the 8-bit BMP the game loads, its facts for the tests,
// and PNG pictures of it for reviewing the art.
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

// Writes the sheet's facts as JSON for the tests of every language, so that
// none repeats them: the size, the colour key, the colour table, every
// sprite's rectangle, and the pixels that show the ship where play starts
// it, each as [dx, dy, ship's colour index, background's colour index].
bool WriteFacts(const std::string& path, const Canvas& canvas, const Palette& palette);
