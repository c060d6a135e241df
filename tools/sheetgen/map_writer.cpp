// The sheet map: the picture README and the artist's guide show, drawn from
// the plan of map_layout.h over the sheet in its own colours.
#include <cstddef>

#include "label_font.h"
#include "map_layout.h"
#include "writers.h"

namespace {

using sheetmap::Plan;

void FillBox(RgbRows& image, const Rect& r, Rgb c) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            Plot(image, x, y, c);
}

// A one-pixel line just outside the rectangle, so the frame covers none of
// what it surrounds.
void Frame(RgbRows& image, const Rect& r, Rgb c) {
    for (int x = r.left - 1; x <= r.right; ++x) {
        Plot(image, x, r.top - 1, c);
        Plot(image, x, r.bottom, c);
    }
    for (int y = r.top; y < r.bottom; ++y) {
        Plot(image, r.left - 1, y, c);
        Plot(image, r.right, y, c);
    }
}

// A yellow ring edged in black, so it shows on the key colour and on the
// backdrop alike, and a black square around the key pixel itself.
void Ring(RgbRows& image, const Rect& box) {
    const int twiceCx = box.left + box.right, twiceCy = box.top + box.bottom;
    const int outer = sheetmap::kRingRadius, inner = outer - sheetmap::kRingWidth - 2;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            // Distances in half pixels, from pixel centres, kept in integers.
            const int dx = 2 * x + 1 - twiceCx, dy = 2 * y + 1 - twiceCy;
            const int d2 = dx * dx + dy * dy;
            if (d2 >= 4 * outer * outer || d2 < 4 * inner * inner) continue;
            const bool edge =
                d2 >= 4 * (outer - 1) * (outer - 1) || d2 < 4 * (inner + 1) * (inner + 1);
            Plot(image, x, y, edge ? Rgb{0, 0, 0} : sheetmap::kRingColour);
        }
    }
    Frame(image, sheetmap::kKeyPixel, Rgb{0, 0, 0});
}

void Text(RgbRows& image, const sheetmap::Label& label) {
    using sheetmap::kTextScale;
    // A badge: the box edged in the frames' colour, so that two labels side
    // by side read as two.
    FillBox(image, label.box, sheetmap::kFrameColour);
    FillBox(image,
            {label.box.left + 1, label.box.top + 1, label.box.right - 1, label.box.bottom - 1},
            sheetmap::kLabelColour);
    const int left = label.box.left + sheetmap::kPadX, top = label.box.top + sheetmap::kPadY;
    for (std::size_t i = 0; i < label.text.size(); ++i) {
        const int cell = left + static_cast<int>(i) * font::kAdvance * kTextScale;
        for (int y = 0; y < font::kGlyphHeight; ++y)
            for (int x = 0; x < font::kGlyphWidth; ++x)
                if (font::Ink(label.text[i], x, y))
                    FillBox(image,
                            {cell + x * kTextScale, top + y * kTextScale,
                             cell + (x + 1) * kTextScale, top + (y + 1) * kTextScale},
                            sheetmap::kTextColour);
    }
}

} // namespace

bool WriteMap(const std::string& path, const Canvas& canvas, const Palette& palette) {
    using namespace sheetmap;
    RgbRows image(static_cast<std::size_t>(kHeight),
                  std::vector<uint8_t>(static_cast<std::size_t>(kWidth) * 3));
    FillBox(image, {0, 0, kWidth, kHeight}, kMarginColour);
    const RgbRows sheet =
        SheetPicture(canvas, palette, {0, 0, canvas.Width(), canvas.Height()}, kScale);
    for (std::size_t y = 0; y < sheet.size() && kMargin + y < image.size(); ++y)
        for (std::size_t x = 0; x < sheet[y].size() && (kMargin * 3 + x) < image[y].size(); ++x)
            image[kMargin + y][kMargin * 3 + x] = sheet[y][x];

    const Plan plan = PlanMap();
    for (const Rect& frame : plan.frames)
        Frame(image, frame, kFrameColour);
    Ring(image, plan.ring);
    for (const Label& label : plan.labels)
        Text(image, label);
    return SaveRgbPng(path, image);
}
