// Frames on real pixels: what is drawn, in which order, and that play still
// shows its sprites after the surfaces were lost and restored.
#include "program_fixture.h"

#include "render.h"
#include "surface_ops.h"

namespace {

class Rendering : public ProgramTest {
  protected:
    std::vector<uint8_t> sheet;
    int sheetWidth = 0;

    void StartGame() {
        ASSERT_EQ(InitApp(nullptr, SW_SHOWDEFAULT), 1);
        sheet = SheetPixels(&sheetWidth);
        ASSERT_FALSE(sheet.empty());
    }
    uint8_t Key() const { return sheet[500 * sheetWidth + 1]; }
    uint8_t SheetAt(int x, int y) const { return sheet[y * sheetWidth + x]; }

    static void ClearWorld() {
        InitObjects();
        ResetGame();
        Player.active = 0;
    }
    // Composes one frame on the back buffer and shows it.
    static void DrawFrame() {
        ClearSurface(lpDDSBack);
        DrawBackground();
        DrawSprites();
        FlipPages();
    }
    // Counts the pixels of `rect` drawn at (x, y) on screen exactly as on the sheet.
    int MatchingSpritePixels(const RECT& rect, int x, int y, int* opaque) const {
        int matching = 0;
        *opaque = 0;
        for (int sy = rect.top; sy < rect.bottom; sy++) {
            for (int sx = rect.left; sx < rect.right; sx++) {
                if (SheetAt(sx, sy) == Key()) continue;
                ++*opaque;
                if (ScreenAt(x + sx - rect.left, y + sy - rect.top) == SheetAt(sx, sy)) matching++;
            }
        }
        return matching;
    }
};

TEST_F(Rendering, TheBackgroundLeavesTheLastColumnAndRowAtColourZero) {
    Run([&](int n) {
        if (n == 0) return;
        // No sprite can reach the bottom-right pixel.
        ASSERT_EQ(ScreenAt(639, 479), 0) << "frame " << n;
        if (n == 1) { // nothing but the ship on screen yet
            for (int x = 0; x < 640; x++) ASSERT_EQ(ScreenAt(x, 479), 0) << x;
            for (int y = 0; y < 480; y++) ASSERT_EQ(ScreenAt(639, y), 0) << y;
            ASSERT_NE(ScreenAt(638, 478), 0); // the background reaches up to them
        }
        if (n == 300) headless::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(passes, 302); // the pass after Esc posts the quit message
}

TEST_F(Rendering, ARightEnemyAppearsOnlyOnceItsWholeSpriteFits) {
    StartGame();
    const RECT& rect = SpriteRects[SR_RIGHT_ENEMY];
    int opaque = 0;
    ClearWorld();
    RightEnemies[0].active = 1;
    RightEnemies[0].y = 200;
    RightEnemies[0].x = 599;
    DrawFrame();
    EXPECT_LT(MatchingSpritePixels(rect, 599, 200, &opaque), opaque); // refused whole
    std::vector<uint8_t> background = headless::Screen().pixels;
    ClearWorld();
    DrawFrame();
    EXPECT_EQ(headless::Screen().pixels, background);

    RightEnemies[0].active = 1;
    RightEnemies[0].y = 200;
    RightEnemies[0].x = 598;
    DrawFrame();
    EXPECT_EQ(MatchingSpritePixels(rect, 598, 200, &opaque), opaque);
    EXPECT_GT(opaque, 100);
}

TEST_F(Rendering, ExplosionsCoverEnemiesAndShotsCoverExplosions) {
    StartGame();
    ClearWorld();
    LeftEnemies[0] = GameObject{300, 200, 42, 31, 0, 0, 0, 0, 0, 1, 1};
    Explosions[0] = GameObject{300, 200, 38, 38, 0, 0, 0, 2, 0, 1, 0};
    PlayerShots[0] = GameObject{306, 215, 26, 7, 5, 0, 0, 0, 0, 1, 0};
    DrawFrame();
    int opaque = 0;
    EXPECT_EQ(MatchingSpritePixels(SpriteRects[SR_PLAYER_SHOT], 306, 215, &opaque), opaque);
    // Every explosion pixel not under the shot is the explosion's.
    const RECT& boom = ExplosionRects[0];
    const RECT& shot = SpriteRects[SR_PLAYER_SHOT];
    int explosionPixels = 0;
    for (int y = 0; y < 37; y++) {
        for (int x = 0; x < 37; x++) {
            uint8_t value = SheetAt(boom.left + x, boom.top + y);
            if (value == Key()) continue;
            int sx = 300 + x - 306, sy = 200 + y - 215;
            bool underShot = sx >= 0 && sy >= 0 && sx < 26 && sy < 7 && SheetAt(shot.left + sx, shot.top + sy) != Key();
            if (underShot) continue;
            EXPECT_EQ(ScreenAt(300 + x, 200 + y), value) << x << "," << y;
            explosionPixels++;
        }
    }
    EXPECT_GT(explosionPixels, 20);
}

// Switching away loses every surface; coming back, the loop meets the loss
// and RestoreAll brings them back, going past the back buffer's
// DDERR_IMPLICITLYCREATED to the sprite surface and its sheet. F12 and a
// focus change take the program away by different paths.
TEST_F(Rendering, PlayShowsItsSpritesAgainAfterSwitchingAwayAndBack) {
    struct Way {
        const char* name;
        void (*away)();
    };
    const Way ways[] = {
        {"F12 minimizes", [] { headless::PressKey(VK_F12); }},
        {"another application takes the focus", [] { headless::Deactivate(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ResetProgram();
        passes = waits = 0;
        int opaque = 0, matching = -1, background = -1;
        HRESULT backRestore = DD_OK;
        Run(
            [&](int n) {
                if (n == 5) way.away();
                if (n == 20) {
                    backRestore = lpDDSBack->Restore();
                    headless::PressKey(VK_ESCAPE);
                    sheet = SheetPixels(&sheetWidth);
                    ASSERT_FALSE(sheet.empty()) << "the sprite surface is still lost";
                    matching = MatchingSpritePixels(SpriteRects[SR_PLAYER], Player.x, Player.y, &opaque);
                    background = ScreenAt(5, 5) == SheetAt(5, 5) && ScreenAt(600, 400) == SheetAt(600, 400);
                }
            },
            [&](int) { headless::Activate(); });
        EXPECT_EQ(waits, 1);
        EXPECT_EQ(backRestore, DDERR_IMPLICITLYCREATED); // the answer RestoreAll went past
        EXPECT_GT(opaque, 100);
        EXPECT_EQ(matching, opaque);
        EXPECT_EQ(background, 1);
        // The sheet on its surface is whole again, colour key and all.
        if (!sheet.empty()) {
            EXPECT_NE(Key(), 0);
        }
    }
}

} // namespace
