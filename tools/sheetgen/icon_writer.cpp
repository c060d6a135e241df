// The program's icon: the player's ship from the sheet, centred on a square
// with the key colour made transparent. Written as a PNG for the desktop and
// as raw 8-bit R, G, B, A rows (top first) for the window, which the SDL host
// loads without an image library.
#include <cstdio>
#include <vector>

#include <png.h>

#include "layout.h"
#include "writers.h"

namespace {

// Nearest-pixel scaling of the ship into size x size, keeping its shape: the
// ship's longer side fills all but a one-twelfth margin of the square.
std::vector<uint8_t> IconPixels(const Canvas& canvas, const Palette& palette, int size) {
    const Rect ship = sheet::kPlayer;
    int inner = size - 2 * (size / 12);
    int longer = ship.Width() > ship.Height() ? ship.Width() : ship.Height();
    int width = ship.Width() * inner / longer, height = ship.Height() * inner / longer;
    int left = (size - width) / 2, top = (size - height) / 2;
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4, 0);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            uint8_t index = canvas.At(ship.left + x * ship.Width() / width, ship.top + y * ship.Height() / height);
            if (index == pal::kKey) continue;
            uint8_t* out = &rgba[(static_cast<size_t>(top + y) * size + left + x) * 4];
            out[0] = palette[index].r;
            out[1] = palette[index].g;
            out[2] = palette[index].b;
            out[3] = 255;
        }
    }
    return rgba;
}

bool WriteRaw(const std::string& path, const std::vector<uint8_t>& rgba) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(rgba.data(), 1, rgba.size(), file) == rgba.size();
    return std::fclose(file) == 0 && ok;
}

bool WriteRgbaPng(const std::string& path, const std::vector<uint8_t>& rgba, int size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    // volatile: libpng reports errors by longjmp back to the setjmp below.
    volatile bool ok = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < size; y++) png_write_row(png, &rgba[static_cast<size_t>(y) * size * 4]);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

} // namespace

bool WriteIcon(const std::string& path, const Canvas& canvas, const Palette& palette, int size) {
    if (size < 16 || size > 1024) return false;
    std::vector<uint8_t> rgba = IconPixels(canvas, palette, size);
    bool raw = path.size() > 5 && path.compare(path.size() - 5, 5, ".rgba") == 0;
    return raw ? WriteRaw(path, rgba) : WriteRgbaPng(path, rgba, size);
}
