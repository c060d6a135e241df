// A picture of the screen as an 8-bit paletted PNG.
#include <cstdio>
#include <vector>

#include <png.h>

#include "trace.h"

bool WriteScreenPng(const headless::Frame& screen, const std::string& path) {
    const int width = 640, height = 480;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 0);
    if (screen.width == width && screen.height == height) pixels = screen.pixels;

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    // volatile: libpng reports errors by longjmp back to the setjmp below.
    volatile bool ok = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_color palette[256];
        for (int i = 0; i < 256; i++)
            palette[i] = png_color{screen.palette[i].red, screen.palette[i].green, screen.palette[i].blue};
        png_set_PLTE(png, info, palette, 256);
        png_write_info(png, info);
        for (int y = 0; y < height; y++) png_write_row(png, &pixels[static_cast<size_t>(y) * width]);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}
