// The review PNG: a region of the sheet scaled up with nearest-neighbour
// pixels, optionally with every sprite rectangle framed so stray pixels and
// misplaced art stand out. Also the RGB picture and PNG saving that the sheet
// map is drawn with.
#include <png.h>

#include <cstddef>
#include <cstdio>
#include <vector>

#include "writers.h"

namespace {

constexpr Rgb kFrame{0, 255, 0};

using Image = RgbRows;

// Frames each sprite one image pixel outside its rectangle.
void MarkSprites(Image& image, const PngView& view) {
    for (const sheet::NamedRect& sprite : sheet::kSprites) {
        const int s = view.scale;
        const int l = (sprite.rect.left - view.region.left) * s - 1;
        const int t = (sprite.rect.top - view.region.top) * s - 1;
        const int r = (sprite.rect.right - view.region.left) * s;
        const int b = (sprite.rect.bottom - view.region.top) * s;
        for (int x = l; x <= r; ++x) {
            Plot(image, x, t, kFrame);
            Plot(image, x, b, kFrame);
        }
        for (int y = t; y <= b; ++y) {
            Plot(image, l, y, kFrame);
            Plot(image, r, y, kFrame);
        }
    }
}

} // namespace

RgbRows SheetPicture(const Canvas& canvas, const Palette& palette, const Rect& region, int scale) {
    const int w = region.Width() * scale, h = region.Height() * scale;
    Image rows(static_cast<std::size_t>(h), std::vector<uint8_t>(static_cast<std::size_t>(w) * 3));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            Plot(rows, x, y, palette[canvas.At(region.left + x / scale, region.top + y / scale)]);
    return rows;
}

void Plot(RgbRows& image, int x, int y, Rgb c) {
    if (y < 0 || y >= static_cast<int>(image.size()) || x < 0 ||
        x * 3 >= static_cast<int>(image[0].size()))
        return;
    uint8_t* p = &image[static_cast<std::size_t>(y)][static_cast<std::size_t>(x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

bool SaveRgbPng(const std::string& path, const RgbRows& image) {
    if (image.empty() || image[0].empty()) return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        const auto w = static_cast<png_uint_32>(image[0].size() / 3);
        const auto h = static_cast<png_uint_32>(image.size());
        png_init_io(png, file);
        png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (auto& row : image)
            png_write_row(png, row.data());
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

bool WritePng(const std::string& path, const Canvas& canvas, const Palette& palette,
              const PngView& view) {
    if (view.scale < 1 || view.region.Width() <= 0 || view.region.Height() <= 0) return false;
    Image image = SheetPicture(canvas, palette, view.region, view.scale);
    if (view.markSprites) MarkSprites(image, view);
    return SaveRgbPng(path, image);
}
