// The BMP writer: BITMAPFILEHEADER, BITMAPINFOHEADER, a 256-entry RGBQUAD
// table and the pixel rows from the bottom up, each padded to four bytes.
// Written byte by byte, little-endian, so it does not depend on the host.
#include <cstdint>
#include <fstream>
#include <vector>

#include "writers.h"

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kColourTableSize = 256 * 4;
constexpr uint32_t kBiRgb = 0;

class Bytes {
  public:
    void U8(uint8_t v) { data_.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    const std::vector<uint8_t>& Data() const { return data_; }

  private:
    std::vector<uint8_t> data_;
};

uint32_t RowStride(int width) {
    return (static_cast<uint32_t>(width) + 3u) & ~3u;
}

void PutHeaders(Bytes& out, const Canvas& canvas) {
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;
    const uint32_t imageSize = RowStride(canvas.Width()) * static_cast<uint32_t>(canvas.Height());
    out.U8('B');
    out.U8('M');
    out.U32(offset + imageSize); // bfSize
    out.U16(0);                  // bfReserved1
    out.U16(0);                  // bfReserved2
    out.U32(offset);             // bfOffBits
    out.U32(kInfoHeaderSize);
    out.U32(static_cast<uint32_t>(canvas.Width()));
    out.U32(static_cast<uint32_t>(canvas.Height())); // positive: bottom-up
    out.U16(1);                                      // biPlanes
    out.U16(8);                                      // biBitCount
    out.U32(kBiRgb);
    out.U32(imageSize);
    out.U32(2835); // 72 dpi, as pixels per metre
    out.U32(2835);
    out.U32(256); // biClrUsed
    out.U32(0);   // biClrImportant: all
}

void PutColourTable(Bytes& out, const Palette& palette) {
    for (const Rgb& c : palette) {
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
}

void PutRows(Bytes& out, const Canvas& canvas) {
    const uint32_t stride = RowStride(canvas.Width());
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        uint32_t x = 0;
        for (; x < static_cast<uint32_t>(canvas.Width()); ++x)
            out.U8(canvas.At(static_cast<int>(x), y));
        for (; x < stride; ++x)
            out.U8(0);
    }
}

} // namespace

bool WriteBmp(const std::string& path, const Canvas& canvas, const Palette& palette) {
    Bytes out;
    PutHeaders(out, canvas);
    PutColourTable(out, palette);
    PutRows(out, canvas);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(out.Data().data()),
               static_cast<std::streamsize>(out.Data().size()));
    return static_cast<bool>(file);
}
