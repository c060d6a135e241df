// Speed of GDI painting onto an 8-bit surface: StretchDIBits as the program
// uses it (a 640 x 700 8-bit sheet in the surface's own palette, unscaled),
// and the slower paths (another palette, direct colour, stretching).
#include <array>
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include <windows.h>

#include "device_context.h"

namespace {

constexpr int kWidth = 640, kHeight = 700;

const PALETTEENTRY* SheetPalette() {
    static const std::array<PALETTEENTRY, 256> palette = [] {
        std::array<PALETTEENTRY, 256> p{};
        for (int i = 0; i < 256; i++)
            p[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i * 5), static_cast<BYTE>(i * 11), 0};
        return p;
    }();
    return palette.data();
}

class MemoryDC final : public HDC__ {
  public:
    MemoryDC(int width, int height, const PALETTEENTRY* palette)
        : width_(width), height_(height), palette_(palette), pixels_(static_cast<size_t>(width) * height) {}
    uint8_t* Bits() override { return pixels_.data(); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    int Pitch() const override { return width_; }
    const PALETTEENTRY* Palette() const override { return palette_; }

  private:
    int width_, height_;
    const PALETTEENTRY* palette_;
    std::vector<uint8_t> pixels_;
};

// A bottom-up DIB of the given depth; colour table from `palette`.
struct Dib {
    std::vector<uint8_t> info, bits;
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

Dib MakeDib(int width, int height, int bitCount, const PALETTEENTRY* palette) {
    Dib dib;
    dib.info.assign(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.info.data());
    *header = {sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bitCount), BI_RGB, 0, 0, 0, 0, 0};
    auto* table = reinterpret_cast<RGBQUAD*>(dib.info.data() + sizeof(BITMAPINFOHEADER));
    for (int i = 0; i < 256; i++) table[i] = {palette[i].peBlue, palette[i].peGreen, palette[i].peRed, 0};
    size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    dib.bits.resize(stride * height);
    for (size_t i = 0; i < dib.bits.size(); i++) dib.bits[i] = static_cast<uint8_t>(i * 7 + i / 640);
    return dib;
}

void Paint(benchmark::State& state, int bitCount, const PALETTEENTRY* dibPalette, int destWidth, int destHeight,
           int srcWidth, int srcHeight) {
    MemoryDC dc(kWidth, kHeight, SheetPalette());
    Dib dib = MakeDib(srcWidth, srcHeight, bitCount, dibPalette);
    for (auto _ : state) {
        int lines = StretchDIBits(&dc, 0, 0, destWidth, destHeight, 0, 0, srcWidth, srcHeight, dib.bits.data(),
                                  dib.Info(), DIB_RGB_COLORS, SRCCOPY);
        benchmark::DoNotOptimize(lines);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t{destWidth} * destHeight);
}

// The program's case: the sheet in the palette of the surface it lands on.
void BM_Paint8BitSamePalette(benchmark::State& state) {
    Paint(state, 8, SheetPalette(), kWidth, kHeight, kWidth, kHeight);
}

void BM_Paint8BitOtherPalette(benchmark::State& state) {
    Paint(state, 8, platform::DefaultPalette(), kWidth, kHeight, kWidth, kHeight);
}

void BM_Paint24Bit(benchmark::State& state) {
    Paint(state, 24, SheetPalette(), kWidth, kHeight, kWidth, kHeight);
}

void BM_Paint8BitStretchedTwice(benchmark::State& state) {
    Paint(state, 8, SheetPalette(), kWidth, kHeight, kWidth / 2, kHeight / 2);
}

} // namespace

BENCHMARK(BM_Paint8BitSamePalette)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint8BitOtherPalette)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint24Bit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Paint8BitStretchedTwice)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
