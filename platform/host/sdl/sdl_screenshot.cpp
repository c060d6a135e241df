// Screenshots as 8-bit paletted PNG files in the user's pictures folder.
#include "sdl_screenshot.h"

#include "demo_live.h"

#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <png.h>

namespace sdlhost {

namespace {

namespace fs = std::filesystem;

// More attempts than this at one second's name means something else is wrong.
constexpr int kMaxAttempts = 1000;

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

// libpng reports errors by longjmp: only trivially destructible objects
// may live in this frame.
bool WritePng(png_structp png, png_infop info, std::FILE* file, const uint8_t* indices, int width,
              int height, int pitch, const host::PaletteEntry* palette) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color colors[256];
    for (int i = 0; i < 256; i++)
        colors[i] = png_color{palette[i].red, palette[i].green, palette[i].blue};
    png_set_PLTE(png, info, colors, 256);
    png_write_info(png, info);
    for (int y = 0; y < height; y++)
        png_write_row(png, indices + static_cast<ptrdiff_t>(y) * pitch);
    png_write_end(png, info);
    return true;
}

// Writes the frame to a file that must not exist yet; `taken` tells when
// it does. Errors leave no file.
SavedScreenshot WriteNewFile(const fs::path& path, const uint8_t* indices, int width, int height,
                             const host::PaletteEntry* palette, bool& taken) {
    SavedScreenshot result{false, path, {}};
    std::FILE* file = std::fopen(path.c_str(), "wbx"); // x: never overwrite
    taken = !file && errno == EEXIST;
    if (!file) {
        result.error = std::strerror(errno);
        return result;
    }
    bool written = WritePalettedPng(file, indices, width, height, width, palette);
    int flushError = std::ferror(file) ? EIO : 0;
    if (std::fclose(file) != 0 && flushError == 0) flushError = errno;
    if (written && flushError == 0) {
        result.ok = true;
        return result;
    }
    result.error = flushError ? std::strerror(flushError) : "the PNG encoder failed";
    std::error_code ec;
    fs::remove(path, ec);
    return result;
}

} // namespace

bool WritePalettedPng(std::FILE* file, const uint8_t* indices, int width, int height, int pitch,
                      const host::PaletteEntry* palette) {
    if (!file || !indices || !palette || width <= 0 || height <= 0 || pitch < width) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info && WritePng(png, info, file, indices, width, height, pitch, palette);
    png_destroy_write_struct(&png, &info);
    return ok && std::fflush(file) == 0;
}

fs::path PicturesFolder(const char* xdgPictures, const char* home, const fs::path& currentFolder) {
    if (xdgPictures && IsFolder(xdgPictures)) return xdgPictures;
    if (home && *home && IsFolder(fs::path(home) / "Pictures")) return fs::path(home) / "Pictures";
    return currentFolder;
}

std::string ScreenshotName(const std::tm& when, int attempt) {
    return hostcommon::DatedFileName(when, attempt, ".png");
}

SavedScreenshot SaveScreenshotIn(const fs::path& folder, const std::tm& when,
                                 const uint8_t* indices, int width, int height,
                                 const host::PaletteEntry* palette) {
    SavedScreenshot result;
    for (int attempt = 1; attempt <= kMaxAttempts; attempt++) {
        bool taken = false;
        result = WriteNewFile(folder / ScreenshotName(when, attempt), indices, width, height,
                              palette, taken);
        if (!taken) return result;
    }
    return result;
}

void SaveScreenshot(const uint8_t* indices, int width, int height,
                    const host::PaletteEntry* palette) {
    std::error_code ec;
    fs::path current = fs::current_path(ec);
    if (ec) current = ".";
    fs::path folder = PicturesFolder(std::getenv("XDG_PICTURES_DIR"), std::getenv("HOME"), current);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    SavedScreenshot saved = SaveScreenshotIn(folder, local, indices, width, height, palette);
    if (saved.ok)
        std::fprintf(stderr, "Screenshot saved to %s\n", saved.path.c_str());
    else
        std::fprintf(stderr, "sdl: cannot save a screenshot to %s: %s\n", saved.path.c_str(),
                     saved.error.c_str());
}

} // namespace sdlhost
