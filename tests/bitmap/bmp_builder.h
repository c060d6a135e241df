// Builds BMP files byte by byte for the reader's tests, and a scratch folder
// to write them into.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

struct BmpLayout {
    int32_t width = 4;
    int32_t height = 2;
    uint16_t bitCount = 8;
    uint32_t clrUsed = 0;
    uint32_t colorEntries = 256; // entries actually written
    uint32_t gap = 0;            // bytes between the colour table and the pixels
    uint32_t pixelBytes = 16;    // bytes of pixel data written
    int64_t bfSizeAdjust = 0;    // added to the true bfSize
    int64_t offBitsOverride = -1;
    uint32_t headerSize = 40;     // 40, or an editor's longer header: 52, 56, 108, 124
    uint32_t compression = BI_RGB;
};

// Colour entry i is (blue i, green 255 - i, red i / 2); pixel byte k is k * 7.
// A longer header's bytes past the first 40 (colour masks, colour space)
// are 0xA5, so that a reader taking them for colours shows it.
inline std::vector<uint8_t> BuildBmp(const BmpLayout& s) {
    std::vector<uint8_t> out(14 + s.headerSize, 0xA5);
    uint32_t offBits = 14 + s.headerSize + s.colorEntries * 4 + s.gap;
    if (s.offBitsOverride >= 0) offBits = static_cast<uint32_t>(s.offBitsOverride);
    uint32_t size = static_cast<uint32_t>(offBits + s.pixelBytes + s.bfSizeAdjust);
    BITMAPFILEHEADER fh{0x4D42, size, 0, 0, offBits};
    BITMAPINFOHEADER ih{static_cast<DWORD>(s.headerSize), s.width, s.height, 1, s.bitCount, s.compression, 0, 0,
                        0, s.clrUsed, 0};
    std::memcpy(out.data(), &fh, 14);
    std::memcpy(out.data() + 14, &ih, 40);
    for (uint32_t i = 0; i < s.colorEntries; i++) {
        uint8_t entry[4] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0};
        out.insert(out.end(), entry, entry + 4);
    }
    out.insert(out.end(), s.gap, 0xEE);
    for (uint32_t k = 0; k < s.pixelBytes; k++) out.push_back(static_cast<uint8_t>(k * 7));
    return out;
}

// The same picture with an OS/2 header: 12 bytes (size, 16-bit width and
// height, planes, bit count) and 3-byte colour entries.
inline std::vector<uint8_t> BuildOs2Bmp(uint16_t width, uint16_t height, uint32_t pixelBytes) {
    uint32_t offBits = 14 + 12 + 256 * 3;
    BITMAPFILEHEADER fh{0x4D42, offBits + pixelBytes, 0, 0, offBits};
    std::vector<uint8_t> out(14);
    std::memcpy(out.data(), &fh, 14);
    uint8_t core[12] = {12, 0, 0, 0, static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
                        static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), 1, 0, 8, 0};
    out.insert(out.end(), core, core + 12);
    for (int i = 0; i < 256; i++) out.insert(out.end(), {static_cast<uint8_t>(i), 0x40, 0x80});
    out.insert(out.end(), pixelBytes, 0x11);
    return out;
}

// A folder of its own under the system's temp folder, removed afterwards.
class ScratchDir {
  public:
    ScratchDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("qv-bmp-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" +
                 std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file.string();
    }

  private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};
