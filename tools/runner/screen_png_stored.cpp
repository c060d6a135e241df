// A picture of the screen as an 8-bit paletted PNG, for builds without
// libpng (the runner in WebAssembly). The image data is zlib's "stored"
// form: no compression, so nothing beyond CRC-32 and Adler-32 is needed,
// and any PNG reader takes it.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "trace.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; i++) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// One chunk: length, type, data, and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + typeAt, 4 + data.size()));
}

// The zlib stream of `raw` in stored blocks of at most 65535 bytes.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z{0x78, 0x01};
    size_t at = 0;
    do {
        size_t n = std::min<size_t>(raw.size() - at, 65535);
        bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(at), raw.begin() + static_cast<ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(z, (b << 16) | a);
    return z;
}

} // namespace

bool WriteScreenPng(const headless::Frame& screen, const std::string& path) {
    const int width = 640, height = 480;
    bool full = screen.width == width && screen.height == height;
    // Every row starts with filter type 0 (none).
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(width + 1) * height);
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        for (int x = 0; x < width; x++)
            raw.push_back(full ? screen.pixels[static_cast<size_t>(y) * width + x] : 0);
    }
    std::vector<uint8_t> ihdr;
    PutBig32(ihdr, width);
    PutBig32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0}); // 8-bit, paletted, deflate, no filter, no interlace
    std::vector<uint8_t> plte;
    for (const host::PaletteEntry& e : screen.palette) plte.insert(plte.end(), {e.red, e.green, e.blue});

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "PLTE", plte);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}
