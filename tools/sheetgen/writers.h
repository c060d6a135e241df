// Saving the sheet: the 8-bit BMP the game loads, its facts for the tests,
// PNG pictures of it for reviewing the art, and its map for artists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// An RGB picture: rows top first, three bytes a pixel, all rows one length.
using RgbRows = std::vector<std::vector<uint8_t>>;

// A region of the sheet in its colours, each sheet pixel scale x scale.
RgbRows SheetPicture(const Canvas& canvas, const Palette& palette, const Rect& region, int scale);

// Sets one pixel; one outside the picture is ignored.
void Plot(RgbRows& image, int x, int y, Rgb c);

// Saves the picture as an 8-bit RGB PNG; false when it is empty or the file
// cannot be written.
bool SaveRgbPng(const std::string& path, const RgbRows& image);

// Writes the sheet map, city2-map.png: the sheet with the background and
// every sprite rectangle framed and named, the key pixel ringed, and the
// sheet's size (map_layout.h).
bool WriteMap(const std::string& path, const Canvas& canvas, const Palette& palette);

// Writes the ship as a size x size icon with a transparent background: a PNG,
// or raw R, G, B, A bytes (top row first) when the path ends in ".rgba".
bool WriteIcon(const std::string& path, const Canvas& canvas, const Palette& palette, int size);

// Writes the sheet's facts as JSON for the tests of every language, so that
// none repeats them: the size, the colour key, the colour table, every
// sprite's rectangle, and the pixels that show the ship where play starts
// it, each as [dx, dy, ship's colour index, background's colour index].
bool WriteFacts(const std::string& path, const Canvas& canvas, const Palette& palette);
