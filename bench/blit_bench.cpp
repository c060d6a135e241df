// Speed of the emulated blitter against SDL2's software blitter on the same
// 8-bit pixels: colour-keyed BltFast of sprite rectangles from a 640 x 700
// sheet (through the real IDirectDrawSurface on the headless host) versus
// SDL_BlitSurface from an RLE-accelerated, colour-keyed 8-bit surface; and
// the opaque 639 x 479 background copy both ways.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ddraw.h>

#include "headless.h"

namespace {

constexpr int kSheetWidth = 640, kSheetHeight = 700;
constexpr uint8_t kKey = 0xFE;
constexpr int kSpriteTop = 480; // sprites live below the 640 x 480 background

// The rectangles measured: four sprite sizes and the opaque background.
const std::array<RECT, 5> kRects = {{
    {0, kSpriteTop, 42, kSpriteTop + 31},
    {50, kSpriteTop, 140, kSpriteTop + 65},
    {150, kSpriteTop, 176, kSpriteTop + 7},
    {190, kSpriteTop, 227, kSpriteTop + 37},
    {0, 0, 639, 479},
}};
constexpr int kBackground = 4;

// Background noise on top; below it, each sprite rectangle holds a filled
// ellipse of noise on the key colour, as sprite art does.
std::vector<uint8_t> MakeSheet() {
    std::vector<uint8_t> sheet(static_cast<size_t>(kSheetWidth) * kSheetHeight, kKey);
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<uint8_t>((seed >> 24) % 250);
    };
    for (int y = 0; y < kSpriteTop; y++)
        for (int x = 0; x < kSheetWidth; x++)
            sheet[y * kSheetWidth + x] = next();
    for (int i = 0; i < kBackground; i++) {
        const RECT& r = kRects[i];
        double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
        double rx = (r.right - r.left) / 2.0, ry = (r.bottom - r.top) / 2.0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++) {
                double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) sheet[y * kSheetWidth + x] = next();
            }
    }
    return sheet;
}

// The DirectDraw side: a sheet surface with the key and a 640 x 480 target.
struct DirectDrawSide {
    LPDIRECTDRAW dd = nullptr;
    LPDIRECTDRAWSURFACE sheet = nullptr;
    LPDIRECTDRAWSURFACE target = nullptr;

    DirectDrawSide() {
        headless::Reset();
        if (DirectDrawCreate(nullptr, &dd, nullptr) != DD_OK ||
            dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL) != DD_OK)
            return;
        sheet = Create(kSheetWidth, kSheetHeight);
        target = Create(640, 480);
        if (!sheet || !target) return;
        Load(sheet, MakeSheet());
        DDCOLORKEY key{kKey, kKey};
        sheet->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    ~DirectDrawSide() {
        if (target) target->Release();
        if (sheet) sheet->Release();
        if (dd) dd->Release();
    }
    LPDIRECTDRAWSURFACE Create(int width, int height) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        LPDIRECTDRAWSURFACE surface = nullptr;
        return dd->CreateSurface(&desc, &surface, nullptr) == DD_OK ? surface : nullptr;
    }
    static void Load(LPDIRECTDRAWSURFACE surface, const std::vector<uint8_t>& pixels) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof desc);
        desc.dwSize = sizeof desc;
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return;
        for (DWORD y = 0; y < desc.dwHeight; y++)
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch,
                        &pixels[y * desc.dwWidth], desc.dwWidth);
        surface->Unlock(nullptr);
    }
};

// The SDL side: the same pixels in INDEX8 surfaces sharing one palette, the
// sheet keyed with RLE acceleration; an unkeyed copy for the opaque blit.
// For comparison, two more sources: the sheet keyed without RLE, and the
// sprite rows alone in an RLE surface of their own (an RLE blit must walk
// the encoded rows above the rectangle, so the 480 background rows above
// the sprites cost every sprite blit on the full sheet).
struct SdlSide {
    SDL_Palette* palette = SDL_AllocPalette(256);
    SDL_Surface* sheet = Create(kSheetWidth, kSheetHeight);
    SDL_Surface* opaque = Create(kSheetWidth, kSheetHeight);
    SDL_Surface* plain = Create(kSheetWidth, kSheetHeight);
    SDL_Surface* strip = Create(kSheetWidth, kSheetHeight - kSpriteTop);
    SDL_Surface* target = Create(640, 480);

    SdlSide() {
        std::vector<uint8_t> pixels = MakeSheet();
        for (SDL_Surface* surface : {sheet, opaque, plain, strip}) {
            int skip = surface == strip ? kSpriteTop : 0;
            for (int y = 0; y < surface->h; y++)
                std::memcpy(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch,
                            &pixels[(y + skip) * kSheetWidth], kSheetWidth);
        }
        for (SDL_Surface* surface : {sheet, opaque, plain, strip, target})
            SDL_SetSurfacePalette(surface, palette);
        SDL_SetColorKey(sheet, SDL_RLEACCEL | SDL_TRUE, kKey);
        SDL_SetColorKey(strip, SDL_RLEACCEL | SDL_TRUE, kKey);
        SDL_SetColorKey(plain, SDL_TRUE, kKey);
    }
    ~SdlSide() {
        for (SDL_Surface* surface : {target, strip, plain, opaque, sheet})
            SDL_FreeSurface(surface);
        SDL_FreePalette(palette);
    }
    static SDL_Surface* Create(int width, int height) {
        return SDL_CreateRGBSurfaceWithFormat(0, width, height, 8, SDL_PIXELFORMAT_INDEX8);
    }
};

void SetLabel(benchmark::State& state, const RECT& r) {
    state.SetLabel(std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
}

void BM_BltFast(benchmark::State& state) {
    DirectDrawSide side;
    if (!side.target) {
        state.SkipWithError("DirectDraw set-up failed");
        return;
    }
    int index = static_cast<int>(state.range(0));
    RECT rect = kRects[index];
    DWORD flags =
        DDBLTFAST_WAIT | (index == kBackground ? DDBLTFAST_NOCOLORKEY : DDBLTFAST_SRCCOLORKEY);
    DWORD x = index == kBackground ? 0 : 300, y = index == kBackground ? 0 : 200;
    for (auto _ : state) {
        HRESULT hr = side.target->BltFast(x, y, side.sheet, &rect, flags);
        benchmark::DoNotOptimize(hr);
    }
    SetLabel(state, rect);
}

enum class SdlSource { Sheet, PlainKey, SpriteStrip };

void SdlBlit(benchmark::State& state, SdlSource kind) {
    SdlSide side;
    int index = static_cast<int>(state.range(0));
    const RECT& r = kRects[index];
    SDL_Rect from{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_Surface* source = kind == SdlSource::PlainKey ? side.plain : side.sheet;
    if (kind == SdlSource::SpriteStrip) {
        source = side.strip;
        from.y -= kSpriteTop;
    }
    if (index == kBackground) source = side.opaque;
    int x = index == kBackground ? 0 : 300, y = index == kBackground ? 0 : 200;
    for (auto _ : state) {
        SDL_Rect to{x, y, 0, 0};
        int result = SDL_BlitSurface(source, &from, side.target, &to);
        benchmark::DoNotOptimize(result);
    }
    SetLabel(state, r);
}

void BM_SdlBlitSurface(benchmark::State& state) {
    SdlBlit(state, SdlSource::Sheet);
}
void BM_SdlBlitSurfaceNoRle(benchmark::State& state) {
    SdlBlit(state, SdlSource::PlainKey);
}
void BM_SdlBlitSurfaceSpriteStrip(benchmark::State& state) {
    SdlBlit(state, SdlSource::SpriteStrip);
}

BENCHMARK(BM_BltFast)->DenseRange(0, kBackground);
BENCHMARK(BM_SdlBlitSurface)->DenseRange(0, kBackground);
BENCHMARK(BM_SdlBlitSurfaceNoRle)->DenseRange(0, kBackground - 1);
BENCHMARK(BM_SdlBlitSurfaceSpriteStrip)->DenseRange(0, kBackground - 1);

} // namespace

BENCHMARK_MAIN();
