// screen_hash_check: the screen hash (screen_hash.h) of many screens against
// xxHash's one-shot XXH3-64 of the same bytes laid out in one block (the 640
// x 480 indices, then the palette's red, green, blue triples). In a build
// with WebAssembly SIMD the screen hash has a loop of its own
// (screen_hash_wasm_simd.inc), checked here against xxHash's; elsewhere both
// are xxHash's. Screens: blank (no pixels, with and without a palette),
// patterns, random ones, and rows a wider pitch apart, each also with one
// byte changed in every stripe position of the first block, of the last
// block and of the palette. Prints "N passed, M failed".
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "demo_format.h"
#include "screen_hash.h"

namespace {

constexpr int kWidth = hostcommon::kScreenWidth;
constexpr int kHeight = hostcommon::kScreenHeight;
constexpr size_t kPixels = static_cast<size_t>(kWidth) * kHeight;

int passed = 0;
int failed = 0;

uint32_t Next(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Hashes `pixels` (rows `pitch` apart, or none) and `palette` both ways.
void Check(const std::string& name, const uint8_t* pixels, int pitch, const host::PaletteEntry* palette) {
    std::vector<uint8_t> block(kPixels + 256 * 3, 0);
    for (int y = 0; pixels && y < kHeight; y++)
        for (int x = 0; x < kWidth; x++) block[static_cast<size_t>(y) * kWidth + x] = pixels[y * pitch + x];
    for (int i = 0; palette && i < 256; i++) {
        block[kPixels + 3 * i] = palette[i].red;
        block[kPixels + 3 * i + 1] = palette[i].green;
        block[kPixels + 3 * i + 2] = palette[i].blue;
    }
    std::string want = hostcommon::HashHex(hostcommon::ContentHash(block.data(), block.size()));
    std::string got = hostcommon::ScreenHash(pixels, pitch, palette);
    if (got == want) {
        passed++;
    } else {
        failed++;
        std::printf("FAILED %s: screen hash %s, XXH3-64 %s\n", name.c_str(), got.c_str(), want.c_str());
    }
}

// The screen and its variants: one byte changed at each offset in a stripe
// (64 bytes) of the first 1024-byte block, of the last one and of the palette.
void CheckWithChanges(const std::string& name, std::vector<uint8_t> pixels, int pitch,
                      std::vector<host::PaletteEntry> palette) {
    Check(name, pixels.data(), pitch, palette.data());
    for (int offset = 0; offset < 64; offset += 7) {
        for (size_t at : {static_cast<size_t>(offset), static_cast<size_t>(offset + 960),
                          kPixels - 1024 + offset, kPixels - 64 + offset}) {
            size_t row = at / kWidth, column = at % kWidth;
            uint8_t& byte = pixels[row * pitch + column];
            byte ^= 0x5a;
            Check(name + ", pixel " + std::to_string(at) + " changed", pixels.data(), pitch, palette.data());
            byte ^= 0x5a;
        }
        for (int entry : {offset / 3, 255 - offset / 3}) {
            host::PaletteEntry& colour = palette[entry];
            colour.green ^= 0xa5;
            Check(name + ", colour " + std::to_string(entry) + " changed", pixels.data(), pitch, palette.data());
            colour.green ^= 0xa5;
        }
    }
}

} // namespace

int main() {
    std::vector<host::PaletteEntry> palette(256);
    for (int i = 0; i < 256; i++) palette[i] = host::PaletteEntry{uint8_t(i), uint8_t(255 - i), 7, 99};

    Check("blank, no palette", nullptr, kWidth, nullptr);
    Check("blank", nullptr, kWidth, palette.data());
    for (int pitch : {kWidth, kWidth + 64, 1024})
        Check("blank, pitch " + std::to_string(pitch), nullptr, pitch, palette.data());

    std::vector<uint8_t> pixels(kPixels);
    for (size_t i = 0; i < kPixels; i++) pixels[i] = static_cast<uint8_t>(i % 256);
    CheckWithChanges("index % 256", pixels, kWidth, palette);
    Check("index % 256, no palette", pixels.data(), kWidth, nullptr);
    std::vector<uint8_t> ones(kPixels, 0xff);
    std::vector<host::PaletteEntry> white(256, host::PaletteEntry{255, 255, 255, 0});
    CheckWithChanges("all 0xff", ones, kWidth, white);

    uint32_t state = 0x9e3779b9u;
    for (int round = 0; round < 4; round++) {
        for (auto& p : pixels) p = static_cast<uint8_t>(Next(state) >> 24);
        for (auto& c : palette) c = host::PaletteEntry{uint8_t(Next(state)), uint8_t(Next(state)), uint8_t(Next(state)), 0};
        CheckWithChanges("random " + std::to_string(round), pixels, kWidth, palette);
        for (int pitch : {kWidth + 1, kWidth + 64, 1024}) {
            std::vector<uint8_t> wide(static_cast<size_t>(pitch) * kHeight);
            for (auto& p : wide) p = static_cast<uint8_t>(Next(state) >> 24);
            CheckWithChanges("random " + std::to_string(round) + ", pitch " + std::to_string(pitch), wide, pitch,
                             palette);
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
