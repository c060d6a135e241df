// CreatePalette, DeleteObject and GetStockObject.
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include <windows.h>

#include "headless.h"

namespace {

// A LOGPALETTE with room for `entries` colours.
std::vector<unsigned char> LogPalette(WORD version, WORD entries) {
    std::vector<unsigned char> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    palette->palVersion = version;
    palette->palNumEntries = entries;
    return buffer;
}

class GdiObjects : public ::testing::Test {
  protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

TEST_F(GdiObjects, CreatePaletteChecksVersionAndCount) {
    struct Case {
        WORD version, entries;
        bool made;
    } cases[] = {
        {0x300, 256, true}, {0x300, 1, true}, {0x300, 0, false}, {0x300, 257, false}, {0x200, 256, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version << " " << std::dec << c.entries);
        auto buffer = LogPalette(c.version, c.entries);
        HPALETTE palette = CreatePalette(reinterpret_cast<const LOGPALETTE*>(buffer.data()));
        EXPECT_EQ(palette != nullptr, c.made);
        if (palette) {
            EXPECT_TRUE(DeleteObject(palette));
        }
    }
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
}

TEST_F(GdiObjects, DeleteObjectDeletesAPaletteOnce) {
    auto buffer = LogPalette(0x300, 256);
    HPALETTE first = CreatePalette(reinterpret_cast<const LOGPALETTE*>(buffer.data()));
    HPALETTE second = CreatePalette(reinterpret_cast<const LOGPALETTE*>(buffer.data()));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_FALSE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
    int local = 0;
    EXPECT_FALSE(DeleteObject(&local));
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST_F(GdiObjects, StockObjectsExistForBrushesPensAndTheDefaultPalette) {
    std::set<HGDIOBJ> seen;
    for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
                  NULL_PEN, DEFAULT_PALETTE}) {
        SCOPED_TRACE(i);
        HGDIOBJ object = GetStockObject(i);
        EXPECT_NE(object, nullptr);
        EXPECT_EQ(GetStockObject(i), object);
        seen.insert(object);
        // Stock objects answer TRUE and stay.
        EXPECT_TRUE(DeleteObject(object));
        EXPECT_EQ(GetStockObject(i), object);
    }
    EXPECT_EQ(seen.size(), 10u);
    for (int i : {-1, 9, 10, 13, 16, 19, 1000}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GetStockObject(i), nullptr);
    }
}

} // namespace
