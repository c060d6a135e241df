// DirectDraw as the game uses it: the flipping chain and its back buffer,
// the three-buffer Flip, colour fills, opaque and colour-keyed BltFast and
// the rectangles it refuses, Lock, and the palette's entries 0 and 255.
#include <random>
#include <sstream>

#include "api_fixture.h"

namespace {

using api::ApiTest;
using api::EmptyDesc;
using FlippingChain = ApiTest;
using Blit = ApiTest;
using PaletteEntries = ApiTest;

LPDIRECTDRAWSURFACE Attached(LPDIRECTDRAWSURFACE surface, DWORD caps) {
    DDSCAPS wanted{caps};
    LPDIRECTDRAWSURFACE out = nullptr;
    if (surface->GetAttachedSurface(&wanted, &out) != DD_OK) return nullptr;
    out->Release(); // the chain keeps it alive
    return out;
}

// Noise in which a third of the pixels are `key` and the others anything,
// the key's neighbours included.
std::vector<uint8_t> Noise(size_t count, uint32_t seed, int key) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> pixels(count);
    for (uint8_t& p : pixels)
        p = rng() % 3 == 0 ? static_cast<uint8_t>(key) : static_cast<uint8_t>(rng());
    return pixels;
}

// What BltFast must produce: `rect` of src (srcWidth wide) onto dst at (x, y).
void ModelCopy(const std::vector<uint8_t>& src, int srcWidth, RECT rect, std::vector<uint8_t>& dst, int dstWidth,
               int x, int y, const int* key) {
    for (int row = rect.top; row < rect.bottom; row++)
        for (int col = rect.left; col < rect.right; col++) {
            uint8_t p = src[row * srcWidth + col];
            if (key && p == *key) continue;
            dst[(y + row - rect.top) * dstWidth + x + col - rect.left] = p;
        }
}

TEST_F(FlippingChain, PrimaryWithTwoBackBuffersIsARingOfThreeDisplaySizedBuffers) {
    Chain(2);
    LPDIRECTDRAWSURFACE back2 = Attached(back, DDSCAPS_FLIP);
    ASSERT_NE(back2, nullptr);
    EXPECT_NE(back2, back);
    EXPECT_NE(back2, primary);
    EXPECT_EQ(Attached(back2, DDSCAPS_FLIP), primary);
    for (LPDIRECTDRAWSURFACE surface : {primary, back, back2}) {
        DDSURFACEDESC desc = EmptyDesc();
        ASSERT_EQ(surface->GetSurfaceDesc(&desc), DD_OK);
        EXPECT_EQ(desc.dwWidth, 640u);
        EXPECT_EQ(desc.dwHeight, 480u);
    }
    DDSURFACEDESC desc = EmptyDesc();
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(desc.dwBackBufferCount, 2u);
    ASSERT_EQ(back->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_TRUE(desc.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER);
}

TEST_F(FlippingChain, FlipRotatesThreeBuffersAndTheBackBufferIsDrawnNext) {
    Chain(2);
    LPDIRECTDRAWSURFACE back2 = Attached(back, DDSCAPS_FLIP);
    ASSERT_EQ(Fill(primary, 1), DD_OK);
    ASSERT_EQ(Fill(back, 2), DD_OK);
    ASSERT_EQ(Fill(back2, 3), DD_OK);
    // Each flip shows what was the back buffer; the interface pointers stay
    // in their places and the memory moves round the ring.
    const uint8_t expected[3][3] = {{2, 3, 1}, {3, 1, 2}, {1, 2, 3}};
    for (const auto& row : expected) {
        ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        EXPECT_EQ(First(primary), row[0]);
        EXPECT_EQ(First(back), row[1]);
        EXPECT_EQ(First(back2), row[2]);
    }
}

TEST_F(FlippingChain, OnlyThePrimaryFlips) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(8, 8);
    EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(sheet->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
}

TEST_F(Blit, ColorFillSetsEveryPixelOfTheRectangle) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(20, 10);
    ASSERT_EQ(Fill(surface, 0xAB), DD_OK);
    EXPECT_EQ(Pixels(surface), std::vector<uint8_t>(200, 0xAB));
    RECT rect{2, 3, 5, 7};
    ASSERT_EQ(Fill(surface, 9, &rect), DD_OK);
    std::vector<uint8_t> expected(200, 0xAB);
    for (int y = 3; y < 7; y++)
        for (int x = 2; x < 5; x++) expected[y * 20 + x] = 9;
    EXPECT_EQ(Pixels(surface), expected);
}

struct RectCase {
    const char* name;
    DWORD x, y;
    RECT rect;
};

TEST_F(Blit, BltFastRefusesRectanglesThatDoNotFitAndNeverClips) {
    Exclusive();
    LPDIRECTDRAWSURFACE src = Offscreen(16, 16);
    LPDIRECTDRAWSURFACE dst = Offscreen(20, 20);
    Write(src, std::vector<uint8_t>(256, 5));
    ASSERT_EQ(Fill(dst, 0), DD_OK);
    const RectCase cases[] = {
        {"beyond the right edge", 5, 0, {0, 0, 16, 16}},
        {"beyond the bottom edge", 0, 10, {0, 0, 16, 16}},
        {"empty", 0, 0, {4, 4, 4, 8}},
        {"inverted", 0, 0, {8, 8, 4, 12}},
        {"leaves the source", 0, 0, {0, 0, 17, 4}},
        {"negative source corner", 0, 0, {-1, 0, 4, 4}},
        // The game's negative positions arrive as large unsigned values.
        {"negative x", static_cast<DWORD>(-1), 0, {0, 0, 4, 4}},
        {"negative y", 0, static_cast<DWORD>(-8), {0, 0, 4, 4}},
        {"x wraps in 32 bits", 0xFFFFFFF4u, 0, {0, 0, 16, 4}},
    };
    for (const RectCase& c : cases) {
        RECT rect = c.rect;
        EXPECT_EQ(dst->BltFast(c.x, c.y, src, &rect, DDBLTFAST_WAIT), DDERR_INVALIDRECT) << c.name;
    }
    EXPECT_EQ(Pixels(dst), std::vector<uint8_t>(400, 0));
    RECT edge{0, 0, 16, 16};
    EXPECT_EQ(dst->BltFast(4, 4, src, &edge, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Pixels(dst)[19 * 20 + 19], 5);
}

TEST_F(Blit, ColorKeyedCopySkipsExactlyTheKey) {
    Exclusive();
    constexpr int kW = 80, kH = 5;
    LPDIRECTDRAWSURFACE src = Offscreen(kW, kH);
    LPDIRECTDRAWSURFACE dst = Offscreen(kW, kH);
    for (int key : {0, 0x80, 0xFF}) {
        std::vector<uint8_t> source = Noise(kW * kH, 7u + key, key);
        Write(src, source);
        SetKey(src, static_cast<BYTE>(key));
        for (int width : {1, 7, 16, 33, 64, 70}) {
            std::vector<uint8_t> model = Noise(kW * kH, 99u + width, (key + 1) & 0xFF);
            Write(dst, model);
            RECT rect{3, 1, 3 + width, kH};
            DWORD x = static_cast<DWORD>(kW - width);
            ASSERT_EQ(dst->BltFast(x, 0, src, &rect, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
            ModelCopy(source, kW, rect, model, kW, static_cast<int>(x), 0, &key);
            ASSERT_EQ(Pixels(dst), model) << "key " << key << " width " << width;
        }
    }
}

TEST_F(Blit, OpaqueCopyCopiesEveryPixelKeyIncluded) {
    Exclusive();
    LPDIRECTDRAWSURFACE src = Offscreen(37, 9);
    LPDIRECTDRAWSURFACE dst = Offscreen(50, 12);
    std::vector<uint8_t> source = Noise(37 * 9, 3, 0);
    Write(src, source);
    SetKey(src, 0);
    std::vector<uint8_t> model(50 * 12, 0xEE);
    Write(dst, model);
    ASSERT_EQ(dst->BltFast(13, 3, src, nullptr, DDBLTFAST_WAIT), DD_OK);
    ModelCopy(source, 37, RECT{0, 0, 37, 9}, model, 50, 13, 3, nullptr);
    EXPECT_EQ(Pixels(dst), model);
}

TEST_F(Blit, SpritesGoFromAnOffscreenSurfaceToTheBackBuffer) {
    Chain(2);
    LPDIRECTDRAWSURFACE sheet = Offscreen(64, 32);
    std::vector<uint8_t> pixels = Noise(64 * 32, 5, 0x2A);
    Write(sheet, pixels);
    SetKey(sheet, 0x2A);
    ASSERT_EQ(Fill(back, 0x11), DD_OK);
    RECT sprite{8, 4, 40, 28};
    ASSERT_EQ(back->BltFast(600, 450, sheet, &sprite, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    std::vector<uint8_t> model(640 * 480, 0x11);
    int key = 0x2A;
    ModelCopy(pixels, 64, sprite, model, 640, 600, 450, &key);
    EXPECT_EQ(Pixels(back), model);
}

TEST_F(Blit, LockHandsOutThePixelsTheirPitchAndAnEightBitFormat) {
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(30, 7);
    DDSURFACEDESC desc = EmptyDesc();
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_TRUE(desc.dwFlags & DDSD_PITCH);
    EXPECT_NE(desc.lpSurface, nullptr);
    EXPECT_EQ(desc.dwWidth, 30u);
    EXPECT_EQ(desc.dwHeight, 7u);
    EXPECT_GE(desc.lPitch, 30);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 8u);
    EXPECT_TRUE(desc.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8);
    static_cast<uint8_t*>(desc.lpSurface)[6 * desc.lPitch + 29] = 77;
    ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(Pixels(surface)[6 * 30 + 29], 77);
    DDSURFACEDESC wrongSize = EmptyDesc();
    wrongSize.dwSize = sizeof(DDSURFACEDESC) + 4;
    EXPECT_EQ(surface->Lock(nullptr, &wrongSize, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Blit, BltChecksTheSizeOfItsEffectsDescription) {
    // The game fills dwSize with sizeof; DirectDraw checks it.
    Exclusive();
    LPDIRECTDRAWSURFACE surface = Offscreen(4, 4);
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx + 1;
    // Wine departs: Blt takes a DDBLTFX of any dwSize.
    EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
              api::RunningOnWine() ? DD_OK : DDERR_INVALIDPARAMS);
}

// 256 entries, each unlike black, white and its neighbours; entries 0 and
// 255 carry a peFlags byte, the others none.
std::vector<PALETTEENTRY> Table(int seed) {
    std::vector<PALETTEENTRY> entries(256);
    for (int i = 0; i < 256; i++)
        entries[i] = {BYTE(i ^ seed), BYTE((i * 7 + seed) & 0x7F), BYTE(40 + (i * 13 + seed) % 160), 0};
    entries[0].peFlags = entries[255].peFlags = 0x04; // PC_NOCOLLAPSE
    return entries;
}

std::vector<PALETTEENTRY> Entries(LPDIRECTDRAWPALETTE palette) {
    std::vector<PALETTEENTRY> read(256, PALETTEENTRY{1, 2, 3, 4});
    EXPECT_EQ(palette->GetEntries(0, 0, 256, read.data()), DD_OK);
    return read;
}

// Compares every field of the 256 entries and names the first that differs.
::testing::AssertionResult SameEntries(const std::vector<PALETTEENTRY>& read,
                                       const std::vector<PALETTEENTRY>& expected) {
    auto text = [](const PALETTEENTRY& e) {
        std::ostringstream out;
        out << "(" << int(e.peRed) << ", " << int(e.peGreen) << ", " << int(e.peBlue) << ", flags " << int(e.peFlags)
            << ")";
        return out.str();
    };
    for (int i = 0; i < 256; i++)
        if (std::memcmp(&read[i], &expected[i], sizeof(PALETTEENTRY)) != 0)
            return ::testing::AssertionFailure()
                   << "entry " << i << " is " << text(read[i]) << ", expected " << text(expected[i]);
    return ::testing::AssertionSuccess();
}

struct PaletteCase {
    const char* name;
    DWORD flags;
    bool allow256;
};

TEST_F(PaletteEntries, EntriesZeroAnd255AreBlackAndWhiteUnlessAllow256) {
    Exclusive();
    const PaletteCase cases[] = {
        {"8-bit", DDPCAPS_8BIT, false},
        {"8-bit, initialize", DDPCAPS_8BIT | DDPCAPS_INITIALIZE, false},
        {"8-bit, allow 256", DDPCAPS_8BIT | DDPCAPS_ALLOW256, true},
        {"8-bit, allow 256, initialize", DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_INITIALIZE, true},
    };
    // What the palette should hold once `written` is all the caller gave.
    // Wine departs: it forces the colours of entries 0 and 255 but keeps the
    // caller's peFlags there.
    auto held = [](std::vector<PALETTEENTRY> written, bool allow256) {
        if (allow256) return written;
        const BYTE flags0 = api::RunningOnWine() ? written[0].peFlags : 0;
        const BYTE flags255 = api::RunningOnWine() ? written[255].peFlags : 0;
        written[0] = {0, 0, 0, flags0};
        written[255] = {255, 255, 255, flags255};
        return written;
    };
    for (const PaletteCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<PALETTEENTRY> table = Table(0x11);
        LPDIRECTDRAWPALETTE palette = nullptr;
        ASSERT_EQ(dd->CreatePalette(c.flags, table.data(), &palette, nullptr), DD_OK);
        owned.push_back(palette);
        EXPECT_TRUE(SameEntries(Entries(palette), held(table, c.allow256))) << "as created";

        // A write across all 256 entries: the middle ones take.
        table = Table(0x6C);
        ASSERT_EQ(palette->SetEntries(0, 0, 256, table.data()), DD_OK);
        EXPECT_TRUE(SameEntries(Entries(palette), held(table, c.allow256))) << "after setting 0..255";

        // Writes that start at 255, and at 0 running into 1.
        PALETTEENTRY pair[2] = {{200, 0, 0, 0}, {0, 200, 0, 0}};
        ASSERT_EQ(palette->SetEntries(0, 255, 1, pair), DD_OK);
        table[255] = pair[0];
        EXPECT_TRUE(SameEntries(Entries(palette), held(table, c.allow256))) << "after setting 255";
        ASSERT_EQ(palette->SetEntries(0, 0, 2, pair), DD_OK);
        table[0] = pair[0];
        table[1] = pair[1];
        EXPECT_TRUE(SameEntries(Entries(palette), held(table, c.allow256))) << "after setting 0 and 1";
    }
}

} // namespace
