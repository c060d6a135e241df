// Start-up through the real WinMain: each failure's boxes in order, what the
// display is left in, and a successful start.
#include "program_fixture.h"
#include "../../tools/sheetgen/layout.h"

namespace {

using Startup = ProgramTest;

std::vector<std::pair<std::string, std::string>> Boxes() {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& box : headless::MessageBoxes()) out.emplace_back(box.caption, box.text);
    return out;
}

TEST_F(Startup, MissingSheetFailsBeforeTheDisplayModeChanges) {
    headless::InjectFailure("OpenFile", ERROR_FILE_NOT_FOUND, -1);
    EXPECT_EQ(Run(nullptr), 0);
    using Box = std::pair<std::string, std::string>;
    EXPECT_EQ(Boxes(), (std::vector<Box>{{"Error", "CDib* Read BMP Failed"}}));
    EXPECT_FALSE(headless::DisplayModeSet());
    EXPECT_EQ(lpDD, nullptr);
    EXPECT_EQ(passes, 0); // the message loop never ran
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(GameState, GS_STARTING);
}

TEST_F(Startup, DirectDrawFailuresShowTheirOwnBoxThenTheStartupBox) {
    struct Case {
        const char* api;
        int skip;
        const char* first;
        const char* second;
    } cases[] = {
        {"DirectDrawCreate", 0, "DirectDrawCreate Failed", "DirectDraw Init Failed"},
        {"IDirectDraw::SetCooperativeLevel", 0, "SetCooperativeLevel Failed", "DirectDraw Init Failed"},
        {"IDirectDraw::SetDisplayMode", 0, "SetDisplayMode Failed", "DirectDraw Init Failed"},
        {"IDirectDraw::CreateSurface", 0, "Create lpDDSPrimary Failed", "DirectDraw Flip Surface Init Failed"},
        {"IDirectDrawSurface::GetAttachedSurface", 0, "Attach lpDDSBack Failed",
         "DirectDraw Flip Surface Init Failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.api);
        ResetProgram();
        passes = waits = 0;
        headless::InjectFailure(c.api, DDERR_GENERIC, 1, c.skip);
        EXPECT_EQ(Run(nullptr), 0);
        using Box = std::pair<std::string, std::string>;
        EXPECT_EQ(Boxes(), (std::vector<Box>{{"DirectDraw Error", c.first}, {"Error", c.second}}));
        EXPECT_EQ(passes + waits, 0);
    }
}

TEST_F(Startup, LaterFailuresShowOneBoxAndLeaveTheModeChanged) {
    struct Case {
        const char* api;
        int skip;
        const char* text;
    } cases[] = {
        {"IDirectDraw::CreatePalette", 0, "IDirectDrawPalette* NULL"},
        {"IDirectDraw::CreateSurface", 1, "lpDDSOffscreen NULL"},
        {"IDirectDrawSurface::GetDC", 0, "CopyDibToSurface Failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.api);
        ResetProgram();
        headless::InjectFailure(c.api, DDERR_GENERIC, 1, c.skip);
        EXPECT_EQ(Run(nullptr), 0);
        using Box = std::pair<std::string, std::string>;
        EXPECT_EQ(Boxes(), (std::vector<Box>{{"Error", c.text}}));
        EXPECT_TRUE(headless::DisplayModeSet()); // nothing is undone
        EXPECT_EQ(headless::MessageBoxes()[0].owner, static_cast<const void*>(GetActiveWindow()));
    }
}

TEST_F(Startup, SuccessfulStartPlaysWithTheSheetKeyedOnPixel1_500) {
    int stateAtFirstPass = -1;
    EXPECT_EQ(Run([&](int n) {
                  if (n == 0) {
                      stateAtFirstPass = GameState;
                      EXPECT_EQ(Player.x, 320); // no frame has run yet
                      EXPECT_EQ(Boss.active, 0);
                  }
                  if (n == 2) headless::PressKey(VK_ESCAPE);
              }),
              0);
    EXPECT_EQ(stateAtFirstPass, GS_PLAYING);
    EXPECT_TRUE(headless::MessageBoxes().empty());
    EXPECT_TRUE(headless::DisplayModeSet());
    EXPECT_FALSE(headless::CursorVisible());
    EXPECT_EQ(headless::MainWindowTitle(), "Quorvanteledix");
    // The key colour is transparent: a keyed copy of the sheet's key pixel
    // leaves the back buffer as it was.
    RECT keyPixel{sheet::kKeyX, sheet::kKeyY, sheet::kKeyX + 1, sheet::kKeyY + 1};
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof(fx));
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 3;
    ASSERT_EQ(lpDDSBack->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    ASSERT_EQ(lpDDSBack->BltFast(0, 0, lpDDSOffscreen, &keyPixel, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    ASSERT_EQ(lpDDSPrimary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(ScreenAt(0, 0), 3);
}

} // namespace
