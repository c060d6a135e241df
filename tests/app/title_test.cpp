// The title state, which the program carries but never enters by itself.
#include "program_fixture.h"

namespace {

using Title = ProgramTest;

TEST_F(Title, ShowsTheTitleImageWithItsPaletteAndEnterGoesBackToPlay) {
    ASSERT_EQ(InitApp(nullptr, SW_SHOWDEFAULT), 1);
    GameState = GS_TITLE;
    // No "title.bmp" anywhere: the image is the blank black 640 x 480 one
    // with its grey ramp.
    UpdateFrame();
    LPDIRECTDRAWPALETTE titlePalette = lpDDPalTitle;
    ASSERT_NE(titlePalette, nullptr);
    const headless::Frame& screen = headless::Screen();
    EXPECT_EQ(screen.palette[200].red, 200);
    EXPECT_EQ(screen.palette[200].blue, 200);
    for (size_t i = 0; i < screen.pixels.size(); i += 997) ASSERT_EQ(screen.pixels[i], 0) << i;
    UpdateFrame();
    EXPECT_EQ(lpDDPalTitle, titlePalette); // one palette, not one per pass

    OnKeyDown(VK_RETURN);
    EXPECT_EQ(GameState, GS_PLAYING);
    PALETTEENTRY sheetColours[256];
    ASSERT_EQ(lpDDPal->GetEntries(0, 0, 256, sheetColours), DD_OK);
    EXPECT_EQ(headless::Screen().palette[254].red, sheetColours[254].peRed);
    EXPECT_EQ(headless::Screen().palette[254].blue, sheetColours[254].peBlue);
    EXPECT_NE(headless::Screen().palette[254].green, 254);
}

TEST_F(Title, KeysOutsidePlayAndPause) {
    GameState = GS_STARTING;
    OnKeyDown('P');
    EXPECT_EQ(GameState, GS_STARTING);
    OnKeyDown(VK_RETURN);
    EXPECT_EQ(GameState, GS_STARTING);
    OnKeyDown(VK_ESCAPE);
    EXPECT_EQ(GameState, GS_QUIT);
}

} // namespace
