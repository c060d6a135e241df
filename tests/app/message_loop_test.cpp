// The message loop and the key commands, through the real WinMain: frames
// only while active, pause, quit, minimize.
#include "program_fixture.h"

namespace {

using MessageLoop = ProgramTest;

TEST_F(MessageLoop, InactiveProgramWaitsWithoutFramesAndResumesOnReactivation) {
    int bossXWhenWaiting = -1, bossXAfterWaiting = -1, bossXLater = -1;
    EXPECT_EQ(Run(
                  [&](int n) {
                      if (n == 5) headless::Deactivate();
                      if (bossXWhenWaiting >= 0 && bossXAfterWaiting < 0) bossXAfterWaiting = Boss.x;
                      if (n == 12) {
                          bossXLater = Boss.x;
                          headless::PressKey(VK_ESCAPE);
                      }
                  },
                  [&](int) {
                      EXPECT_EQ(AppActive, 0);
                      EXPECT_EQ(GameState, GS_PLAYING);
                      bossXWhenWaiting = Boss.x;
                      headless::Activate(); // no key needed
                  }),
              0);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(bossXAfterWaiting, bossXWhenWaiting); // no frame while inactive
    EXPECT_LT(bossXLater, bossXAfterWaiting);      // play resumed
}

TEST_F(MessageLoop, PHeldDownTogglesPauseOnEveryAutoRepeat) {
    std::vector<int> states;
    Run([&](int n) {
        if (n == 1) {
            headless::QueueKeyDown('P');
            headless::QueueKeyDown('P', true);
            headless::QueueKeyDown('P', true);
        }
        if (n >= 1 && n <= 4) states.push_back(GameState);
        if (n == 4) headless::PressKey(VK_ESCAPE);
    });
    // Each key message is handled before the next idle pass.
    ASSERT_EQ(states.size(), 4u);
    EXPECT_EQ(states[0], GS_PLAYING);
    EXPECT_EQ(states[1], GS_PAUSED); // after three toggles
}

TEST_F(MessageLoop, PauseFreezesTheWorldAndEscapeFromPauseQuitsWithZero) {
    int bossX = 0;
    int exitCode = Run([&](int n) {
        if (n == 3) headless::PressKey('P');
        if (n == 4) bossX = Boss.x;
        if (n == 9) {
            EXPECT_EQ(GameState, GS_PAUSED);
            EXPECT_EQ(Boss.x, bossX);
            headless::PressKey(VK_ESCAPE);
        }
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(GameState, GS_QUIT);
}

TEST_F(MessageLoop, EnterDuringPlayOrPauseChangesNothing) {
    Run([&](int n) {
        if (n == 2) headless::PressKey(VK_RETURN);
        if (n == 3) {
            EXPECT_EQ(GameState, GS_PLAYING);
            headless::PressKey('P');
        }
        if (n == 4) headless::PressKey(VK_RETURN);
        if (n == 5) {
            EXPECT_EQ(GameState, GS_PAUSED);
            headless::PressKey(VK_ESCAPE);
        }
    });
    EXPECT_EQ(passes, 7); // the pass after Esc posts the quit message
}

TEST_F(MessageLoop, F12MinimizesAndLeavesTheStateAlone) {
    Run(
        [&](int n) {
            if (n == 2) headless::PressKey(VK_F12);
            if (n == 3) headless::PressKey(VK_ESCAPE);
        },
        [&](int) {
            EXPECT_EQ(headless::MainWindowState(), host::WindowState::Minimized);
            EXPECT_EQ(AppActive, 0);
            EXPECT_EQ(GameState, GS_PLAYING);
            headless::Activate();
        });
    EXPECT_EQ(waits, 1);
}

TEST_F(MessageLoop, ClosingTheWindowEndsTheProgram) {
    EXPECT_EQ(Run([&](int n) {
                  if (n == 1) headless::Close();
              }),
              0);
    EXPECT_EQ(passes, 2);
    EXPECT_FALSE(headless::MainWindowExists());
}

} // namespace
