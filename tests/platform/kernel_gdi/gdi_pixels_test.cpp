// GetPixel and SetPixel on a device context's 8-bit surface: nearest-colour
// storage, the colour answered, and refusals off the surface.
#include <gtest/gtest.h>

#include <windows.h>

#include "headless.h"
#include "test_dc.h"

namespace {

using test::TestDC;

class GdiPixels : public ::testing::Test {
  protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

TEST_F(GdiPixels, SetPixelStoresTheNearestEntryAndAnswersItsColour) {
    TestDC dc(4, 3);
    const PALETTEENTRY* palette = test::DistinctPalette();
    // Entry 100 is (100, 44, 188); its neighbours 99 and 101 are farther.
    COLORREF asked = RGB(101, 46, 186);
    const int nearest = 100;
    EXPECT_EQ(SetPixel(&dc, 2, 1, asked), test::ColorOf(palette, nearest));
    EXPECT_EQ(dc.At(2, 1), nearest);
    EXPECT_EQ(GetPixel(&dc, 2, 1), test::ColorOf(palette, nearest));
    EXPECT_EQ(dc.touches, 1);
    EXPECT_TRUE(dc.OutsideUntouched());
}

TEST_F(GdiPixels, SetPixelGivesATieToTheFirstIndex) {
    // The default palette's black sits at 0 and again at 10..245.
    TestDC defaultDC(2, 2, platform::DefaultPalette());
    defaultDC.Fill(200);
    EXPECT_EQ(SetPixel(&defaultDC, 0, 0, RGB(0, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(defaultDC.At(0, 0), 0);

    // Equally far from entries 1 (128, 0, 0) and 3 (128, 128, 0) and
    // nearer to them than to any other: entry 1 wins.
    EXPECT_EQ(SetPixel(&defaultDC, 1, 1, RGB(128, 64, 0)), RGB(128, 0, 0));
    EXPECT_EQ(defaultDC.At(1, 1), 1);
}

TEST_F(GdiPixels, PaletteIndexColoursNameTheEntryItself) {
    TestDC dc(2, 1);
    EXPECT_EQ(SetPixel(&dc, 0, 0, PALETTEINDEX(77)), test::ColorOf(test::DistinctPalette(), 77));
    EXPECT_EQ(dc.At(0, 0), 77);
    EXPECT_EQ(SetPixel(&dc, 1, 0, PALETTERGB(5, 15, 35)), test::ColorOf(test::DistinctPalette(), 5));
    EXPECT_EQ(dc.At(1, 0), 5);
}

TEST_F(GdiPixels, PixelsOffTheSurfaceAreRefused) {
    TestDC dc(4, 3);
    struct Point {
        int x, y;
    } outside[] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}, {-1, -1}, {1000000, 0}};
    for (Point p : outside) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(SetPixel(&dc, p.x, p.y, RGB(9, 27, 63)), static_cast<COLORREF>(-1));
        EXPECT_EQ(GetPixel(&dc, p.x, p.y), CLR_INVALID);
    }
    EXPECT_EQ(dc.touches, 0);
    EXPECT_TRUE(dc.OutsideUntouched());
}

TEST_F(GdiPixels, ContextsWithoutPixelsOrNotAliveAreRefused) {
    TestDC noPixels(4, 3, test::DistinctPalette(), false);
    EXPECT_EQ(SetPixel(&noPixels, 0, 0, RGB(1, 3, 7)), static_cast<COLORREF>(-1));
    EXPECT_EQ(GetPixel(&noPixels, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(nullptr, 0, 0, RGB(1, 3, 7)), static_cast<COLORREF>(-1));
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);

    HDC gone;
    {
        TestDC released(4, 3);
        gone = &released;
    }
    EXPECT_EQ(GetPixel(gone, 0, 0), CLR_INVALID);
}

} // namespace
