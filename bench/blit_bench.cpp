// Colour-keyed sprite copies: the game's DrawSprite of every sprite
// rectangle of the real sheet (city2.bmp, painted by the game's own
// start-up) against SDL2's blitter on the same pixels, the same key and
// the same destination position. SDL's side is what a porter would write:
// the sheet in an 8-bit surface sharing the palette with an 8-bit target,
// keyed with SDL_RLEACCEL. As a harder baseline, each sprite is also cut
// into an RLE surface of its own, which spares SDL walking the encoded
// rows above the sprite.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include "game_session.h"
#include "surface_ops.h"
#include "world.h"

namespace {

// Where every copy lands: on the screen, well inside it for every sprite.
constexpr LONG kX = 300, kY = 200;

struct Sprite {
    const char* name;
    const RECT* rect;
};

const Sprite kSprites[] = {
    {"player_shot", &SpriteRects[SR_PLAYER_SHOT]}, {"boss_shot", &SpriteRects[SR_BOSS_SHOT]},
    {"player", &SpriteRects[SR_PLAYER]},           {"boss", &SpriteRects[SR_BOSS]},
    {"right_enemy", &SpriteRects[SR_RIGHT_ENEMY]}, {"left_enemy", &SpriteRects[SR_LEFT_ENEMY]},
    {"bonus_shield", &BonusRects[BONUS_SHIELD]},   {"bonus_bomb", &BonusRects[BONUS_BOMB]},
    {"bonus_life", &BonusRects[BONUS_EXTRA_LIFE]}, {"explosion_1", &ExplosionRects[0]},
    {"explosion_2", &ExplosionRects[1]},           {"explosion_3", &ExplosionRects[2]},
    {"explosion_4", &ExplosionRects[3]},           {"explosion_5", &ExplosionRects[4]},
};

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
struct PaletteFree {
    void operator()(SDL_Palette* p) const { SDL_FreePalette(p); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// The game's sheet, palette and key in SDL surfaces; made while the game runs.
class SdlSide {
  public:
    // Empty (ok() false) when the game is not running or SDL cannot allocate.
    SdlSide() {
        int width = 0;
        std::vector<uint8_t> pixels = SurfacePixels(lpDDSOffscreen, &width);
        std::vector<PALETTEENTRY> colours = GamePalette();
        if (pixels.empty() || colours.empty() || !SheetColorKey(&key_)) return;
        height_ = static_cast<int>(pixels.size()) / width;
        width_ = width;
        pixels_ = std::move(pixels);
        palette_.reset(SDL_AllocPalette(256));
        if (!palette_) return;
        std::vector<SDL_Color> sdlColours(256);
        for (int i = 0; i < 256; i++)
            sdlColours[i] = {colours[i].peRed, colours[i].peGreen, colours[i].peBlue, 255};
        SDL_SetPaletteColors(palette_.get(), sdlColours.data(), 0, 256);
        sheet_ = Cut(RECT{0, 0, width_, height_});
        target_ = Make(640, 480);
    }

    bool ok() const { return sheet_ && target_; }
    SDL_Surface* sheet() const { return sheet_.get(); }
    SDL_Surface* target() const { return target_.get(); }

    // `rect` of the sheet in a keyed RLE surface of its own size.
    SurfacePtr Cut(const RECT& rect) const {
        SurfacePtr s = Make(rect.right - rect.left, rect.bottom - rect.top);
        if (!s) return s;
        for (int y = 0; y < s->h; y++)
            std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch,
                        &pixels_[static_cast<size_t>(rect.top + y) * width_ + rect.left], s->w);
        SDL_SetColorKey(s.get(), SDL_TRUE | SDL_RLEACCEL, key_);
        return s;
    }

  private:
    SurfacePtr Make(int width, int height) const {
        SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 8, SDL_PIXELFORMAT_INDEX8));
        if (s) SDL_SetSurfacePalette(s.get(), palette_.get());
        return s;
    }

    std::vector<uint8_t> pixels_;
    int width_ = 0, height_ = 0;
    uint8_t key_ = 0;
    std::unique_ptr<SDL_Palette, PaletteFree> palette_;
    SurfacePtr sheet_, target_;
};

void BM_DrawSprite(benchmark::State& state, const Sprite& sprite) {
    if (!StartGame() || !DrawSprite(kX, kY, *sprite.rect, 0)) {
        state.SkipWithError("the game did not start, or DrawSprite refused the sprite");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawSprite(kX, kY, *sprite.rect, 0));
}

// `alone`: the sprite in its own RLE surface instead of the whole sheet.
void SdlBlit(benchmark::State& state, const Sprite& sprite, bool alone) {
    if (!StartGame()) {
        state.SkipWithError("the game did not start");
        return;
    }
    SdlSide sdl;
    const RECT& r = *sprite.rect;
    SurfacePtr own = alone ? sdl.Cut(r) : nullptr;
    SDL_Surface* source = alone ? own.get() : sdl.sheet();
    SDL_Rect from{alone ? 0 : r.left, alone ? 0 : r.top, r.right - r.left, r.bottom - r.top};
    SDL_Rect to{kX, kY, 0, 0};
    // The first blit encodes the RLE surface: done here, outside the timing.
    if (!sdl.ok() || !source || SDL_BlitSurface(source, &from, sdl.target(), &to) != 0) {
        state.SkipWithError("SDL set-up failed");
        return;
    }
    for (auto _ : state) {
        to = {kX, kY, 0, 0};
        benchmark::DoNotOptimize(SDL_BlitSurface(source, &from, sdl.target(), &to));
    }
}

void BM_SdlBlitSheet(benchmark::State& state, const Sprite& sprite) {
    SdlBlit(state, sprite, false);
}

void BM_SdlBlitAlone(benchmark::State& state, const Sprite& sprite) {
    SdlBlit(state, sprite, true);
}

} // namespace

int main(int argc, char** argv) {
    for (const Sprite& sprite : kSprites) {
        std::string name = sprite.name;
        benchmark::RegisterBenchmark(("DrawSprite/" + name).c_str(), BM_DrawSprite, sprite);
        benchmark::RegisterBenchmark(("SdlBlitSheet/" + name).c_str(), BM_SdlBlitSheet, sprite);
        benchmark::RegisterBenchmark(("SdlBlitAlone/" + name).c_str(), BM_SdlBlitAlone, sprite);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
