// PrintScreen on the SDL host (SDL's dummy video driver): the frame last
// presented is saved as a PNG, and the key never reaches the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <png.h>
#include <unistd.h>

#include "host.h"
#include "sdl_host.h"

namespace {

namespace fs = std::filesystem;

std::vector<host::Event> DrainEvents() {
    std::vector<host::Event> events;
    host::Event e;
    while (host::PollEvent(e)) events.push_back(e);
    return events;
}

void PushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym) {
    SDL_Event key{};
    key.type = type;
    key.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    key.key.keysym.scancode = scancode;
    key.key.keysym.sym = sym;
    SDL_PushEvent(&key);
}

// The palette index stored at (x, y) of a PNG, or -1 when it is no 8-bit
// paletted PNG. Only trivially destructible objects live in this frame.
int IndexAt(const char* path, png_uint_32 x, png_uint_32 y, png_color* colour) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return -1;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    static png_byte row[640];
    int index = -1;
    if (!setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_read_info(png, info);
        png_colorp palette = nullptr;
        int count = 0;
        if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE &&
            png_get_bit_depth(png, info) == 8 && png_get_image_width(png, info) == 640 &&
            png_get_image_height(png, info) == 480 && png_get_PLTE(png, info, &palette, &count)) {
            for (png_uint_32 r = 0; r <= y; r++) png_read_row(png, row, nullptr);
            index = row[x];
            *colour = palette[index];
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return index;
}

TEST(SdlHostScreenshot, PrintScreenSavesTheLastFrameAndIsNoKey) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    fs::path folder = fs::path(testing::TempDir()) /
                      ("sdl_host_screenshot_" + std::to_string(static_cast<long>(getpid())));
    fs::remove_all(folder);
    fs::create_directories(folder);
    setenv("XDG_PICTURES_DIR", folder.c_str(), 1);

    host::CreateMainWindow("screenshot test", 640, 480);
    host::SetMainWindowState(host::WindowState::Shown);
    ASSERT_TRUE(host::SetDisplayMode(640, 480, 8)) << SDL_GetError();
    std::vector<uint8_t> pixels(704 * 480, 0); // a pitch wider than the frame
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) pixels[size_t(y) * 704 + x] = static_cast<uint8_t>(x ^ y);
    std::array<host::PaletteEntry, 256> palette{};
    for (int i = 0; i < 256; i++) palette[i] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i), 0};
    host::Present(pixels.data(), 640, 480, 704, palette.data(), false);
    DrainEvents();
    host::Keys().ReleaseAll();

    testing::internal::CaptureStderr();
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN);
    PushKey(SDL_KEYUP, SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN);
    std::vector<host::Event> events = DrainEvents();
    std::string said = testing::internal::GetCapturedStderr();
    host::DestroyMainWindow();

    EXPECT_TRUE(events.empty()) << "PrintScreen reached the program";
    EXPECT_EQ(host::Keys().Query(VK_SNAPSHOT), 0);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u) << said;
    EXPECT_EQ(said, "Screenshot saved to " + files[0].string() + "\n");
    png_color colour{};
    for (auto [x, y] : {std::pair{0u, 0u}, std::pair{639u, 0u}, std::pair{17u, 300u},
                        std::pair{639u, 479u}}) {
        int expected = static_cast<uint8_t>(x ^ y);
        EXPECT_EQ(IndexAt(files[0].c_str(), x, y, &colour), expected) << x << "," << y;
        EXPECT_EQ(colour.red, palette[expected].red);
        EXPECT_EQ(colour.green, palette[expected].green);
        EXPECT_EQ(colour.blue, palette[expected].blue);
    }
    fs::remove_all(folder);
}

} // namespace
