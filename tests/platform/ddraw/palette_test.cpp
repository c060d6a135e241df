// IDirectDrawPalette: entries as given, range checks, references held by
// surfaces, and the screen's colours following the primary's palette.
// Entries 0 and 255 of a palette made without DDPCAPS_ALLOW256 are the API
// suite's (tests/platform/api).
#include "ddraw_fixture.h"

namespace {

class DDPalette : public DirectDrawTest {
  public:
    // A palette whose 256 entries are all the caller's (DDPCAPS_ALLOW256).
    LPDIRECTDRAWPALETTE Palette256(const PALETTEENTRY* entries) {
        LPDIRECTDRAWPALETTE palette = nullptr;
        EXPECT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256,
                                    const_cast<PALETTEENTRY*>(entries), &palette, nullptr),
                  DD_OK);
        if (palette) owned.push_back(palette);
        return palette;
    }
};

std::vector<PALETTEENTRY> Ramp(int offset) {
    std::vector<PALETTEENTRY> entries(256);
    for (int i = 0; i < 256; i++)
        entries[i] = {BYTE(i + offset), BYTE(i * 3 + offset), BYTE(255 - i),
                      BYTE(i % 3 == 0 ? 0 : 4)};
    return entries;
}

bool SameEntries(const PALETTEENTRY* a, const PALETTEENTRY* b, size_t count) {
    return std::memcmp(a, b, count * sizeof(PALETTEENTRY)) == 0;
}

TEST_F(DDPalette, KeepsAllEntriesAsGiven) {
    Exclusive();
    std::vector<PALETTEENTRY> entries = Ramp(1);
    LPDIRECTDRAWPALETTE palette = Palette256(entries.data());
    entries[0].peRed = 99; // the palette holds a copy
    std::vector<PALETTEENTRY> read(256);
    ASSERT_EQ(palette->GetEntries(0, 0, 256, read.data()), DD_OK);
    EXPECT_TRUE(SameEntries(read.data(), Ramp(1).data(), 256));
}

struct RangeCase {
    const char* name;
    DWORD flags, start, count;
    bool entries;
    HRESULT expected;
};

TEST_F(DDPalette, EntryRangesMustLieInsideThePalette) {
    Exclusive();
    LPDIRECTDRAWPALETTE palette = Palette(Ramp(0).data());
    const RangeCase cases[] = {
        {"whole", 0, 0, 256, true, DD_OK},
        {"last entry", 0, 255, 1, true, DD_OK},
        {"nothing", 0, 10, 0, true, DD_OK},
        {"flags", 1, 0, 1, true, DDERR_INVALIDPARAMS},
        {"start past the end", 0, 256, 1, true, DDERR_INVALIDPARAMS},
        {"runs past the end", 0, 250, 7, true, DDERR_INVALIDPARAMS},
        {"count wraps", 0, 1, 0xFFFFFFFF, true, DDERR_INVALIDPARAMS},
        {"no entries", 0, 0, 1, false, DDERR_INVALIDPARAMS},
    };
    std::vector<PALETTEENTRY> buffer(256);
    for (const RangeCase& c : cases) {
        PALETTEENTRY* entries = c.entries ? buffer.data() : nullptr;
        EXPECT_EQ(palette->GetEntries(c.flags, c.start, c.count, entries), c.expected) << c.name;
        EXPECT_EQ(palette->SetEntries(c.flags, c.start, c.count, entries), c.expected) << c.name;
    }
}

TEST_F(DDPalette, SetEntriesChangesOnlyTheRangeGiven) {
    Exclusive();
    LPDIRECTDRAWPALETTE palette = Palette256(Ramp(0).data());
    std::vector<PALETTEENTRY> fresh = Ramp(7);
    ASSERT_EQ(palette->SetEntries(0, 10, 5, &fresh[10]), DD_OK);
    std::vector<PALETTEENTRY> read(256), expected = Ramp(0);
    std::copy(fresh.begin() + 10, fresh.begin() + 15, expected.begin() + 10);
    ASSERT_EQ(palette->GetEntries(0, 0, 256, read.data()), DD_OK);
    EXPECT_TRUE(SameEntries(read.data(), expected.data(), 256));
}

TEST_F(DDPalette, ScreenFollowsThePrimarysPalette) {
    Chain(2);
    std::vector<PALETTEENTRY> entries = Ramp(0);
    LPDIRECTDRAWPALETTE onScreen = Palette(entries.data());
    LPDIRECTDRAWPALETTE elsewhere = Palette(entries.data());
    ASSERT_EQ(primary->SetPalette(onScreen), DD_OK);
    ASSERT_EQ(back->SetPalette(elsewhere), DD_OK);
    EXPECT_EQ(headless::Screen().palette[5].red, 5);

    PALETTEENTRY red{250, 0, 0, 0};
    ASSERT_EQ(onScreen->SetEntries(0, 5, 1, &red), DD_OK);
    EXPECT_EQ(headless::Screen().palette[5].red, 250);
    PALETTEENTRY green{0, 250, 0, 0};
    ASSERT_EQ(elsewhere->SetEntries(0, 6, 1, &green), DD_OK);
    EXPECT_EQ(headless::Screen().palette[6].green, entries[6].peGreen);
    EXPECT_EQ(headless::FlipCount(), 0);

    ASSERT_EQ(primary->SetPalette(nullptr), DD_OK); // back to the system's colours
    EXPECT_EQ(headless::Screen().palette[255].red, 255);
    EXPECT_EQ(headless::Screen().palette[20].red, 0);
}

TEST_F(DDPalette, SurfacesHoldAReferenceWhileAttached) {
    Exclusive();
    LPDIRECTDRAWSURFACE sheet = Offscreen(4, 4);
    LPDIRECTDRAWPALETTE palette = nullptr;
    std::vector<PALETTEENTRY> entries = Ramp(0);
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT, entries.data(), &palette, nullptr), DD_OK);
    ASSERT_EQ(sheet->SetPalette(palette), DD_OK);
    EXPECT_EQ(palette->Release(), 1u); // the surface's reference keeps it
    std::vector<PALETTEENTRY> read(256);
    EXPECT_EQ(palette->GetEntries(0, 0, 256, read.data()), DD_OK);
    EXPECT_EQ(palette->AddRef(), 2u);
    ASSERT_EQ(sheet->SetPalette(nullptr), DD_OK);
    EXPECT_EQ(palette->Release(), 0u);
}

TEST_F(DDPalette, QueryInterfaceKnowsOnlyIUnknownAndIDirectDrawPalette) {
    Exclusive();
    LPDIRECTDRAWPALETTE palette = Palette(Ramp(0).data());
    void* out = nullptr;
    ASSERT_EQ(palette->QueryInterface(IID_IDirectDrawPalette, &out), S_OK);
    EXPECT_EQ(out, palette);
    palette->Release();
    EXPECT_EQ(palette->QueryInterface(IID_IDirectDraw, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

} // namespace
