// Activation: WM_ACTIVATEAPP is sent when the program comes to the front or
// leaves it, from CreateWindowExA, ShowWindow, SetFocus, DestroyWindow and
// the host's Activate/Deactivate events.
#include "app_state.h"
#include "user_fixture.h"

using Activation = std::vector<WPARAM>;

TEST_F(UserTest, VisibleWindowGetsActivateAppBeforeCreateWindowExReturns) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    // Nothing was pumped: the message was sent from inside CreateWindowExA.
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{TRUE});
    EXPECT_EQ(Sequence({WM_NCCREATE, WM_CREATE, WM_ACTIVATEAPP}),
              (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_ACTIVATEAPP}));
    EXPECT_EQ(headless::MainWindowState(), host::WindowState::Shown);
    EXPECT_EQ(GetActiveWindow(), hwnd);
    EXPECT_EQ(GetFocus(), hwnd);
}

TEST_F(UserTest, HiddenWindowActivatesWhenShown) {
    HWND hwnd = Create(WS_POPUP);
    EXPECT_TRUE(Params(WM_ACTIVATEAPP).empty());
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWDEFAULT));
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{TRUE});
    EXPECT_TRUE(ShowWindow(hwnd, SW_SHOW)); // already visible and active: nothing more
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{TRUE});
}

TEST_F(UserTest, MinimizeDeactivatesAndRestoreWithFocusActivatesAgain) {
    HWND hwnd = Create();
    received.clear();
    EXPECT_TRUE(ShowWindow(hwnd, SW_MINIMIZE));
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{FALSE});
    EXPECT_EQ(headless::MainWindowState(), host::WindowState::Minimized);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);

    EXPECT_TRUE(ShowWindow(hwnd, SW_RESTORE));
    EXPECT_EQ(SetFocus(hwnd), hwnd);
    EXPECT_EQ(Params(WM_ACTIVATEAPP), (Activation{FALSE, TRUE}));
    EXPECT_EQ(headless::MainWindowState(), host::WindowState::Shown);
    EXPECT_EQ(GetActiveWindow(), hwnd);
}

TEST_F(UserTest, HostDeactivationAndActivationArriveThroughPeekMessage) {
    Create();
    received.clear();
    headless::Deactivate();
    EXPECT_TRUE(Params(WM_ACTIVATEAPP).empty()); // queued in the host, not yet pumped
    Drain();
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{FALSE});
    EXPECT_FALSE(platform::IsAppActive());
    headless::Activate();
    Drain();
    EXPECT_EQ(Params(WM_ACTIVATEAPP), (Activation{FALSE, TRUE}));
}

TEST_F(UserTest, NoActivateAppWhenActivationDoesNotChange) {
    Create();
    received.clear();
    headless::Activate();
    Drain();
    headless::Deactivate();
    headless::Deactivate();
    Drain();
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{FALSE});
}

TEST_F(UserTest, HeldKeysAreLetGoWhenTheProgramLosesTheForeground) {
    for (bool byMinimizing : {false, true}) {
        SCOPED_TRACE(byMinimizing ? "minimized" : "host deactivation");
        HWND hwnd = Create();
        headless::SetKeyDown(VK_LEFT, true);
        EXPECT_NE(GetAsyncKeyState(VK_LEFT) & 0x8000, 0);
        if (byMinimizing) {
            ShowWindow(hwnd, SW_MINIMIZE);
        } else {
            headless::Deactivate();
            Drain();
        }
        EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
        DestroyWindow(hwnd);
    }
}

TEST_F(UserTest, SwitchingBackToAMinimizedProgramRestoresItsWindow) {
    PaintLikeTheGame();
    HWND hwnd = Create();
    Drain();
    ShowWindow(hwnd, SW_MINIMIZE);
    headless::Activate();
    std::vector<MSG> dispatched = Drain();
    EXPECT_EQ(headless::MainWindowState(), host::WindowState::Shown);
    EXPECT_EQ(GetActiveWindow(), hwnd);
    ASSERT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(dispatched[0].message, static_cast<UINT>(WM_PAINT)); // restored: repainted
}

TEST_F(UserTest, DestroyingTheLastWindowDeactivatesBeforeWmDestroy) {
    HWND hwnd = Create();
    received.clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(Sequence({WM_ACTIVATEAPP, WM_DESTROY, WM_NCDESTROY}),
              (std::vector<UINT>{WM_ACTIVATEAPP, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{FALSE});
    EXPECT_FALSE(platform::IsAppActive());
    EXPECT_FALSE(headless::MainWindowExists());
}

TEST_F(UserTest, EveryTopLevelWindowHearsOfActivationButChildrenDoNot) {
    HWND hidden = Create(WS_POPUP);
    HWND child = Create(WS_CHILD | WS_VISIBLE, hidden);
    ASSERT_NE(child, nullptr);
    HWND shown = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    received.clear();
    headless::Activate(); // the main window is hidden: the other one is active
    Drain();
    std::vector<HWND> told;
    for (const Received& r : received)
        if (r.message == WM_ACTIVATEAPP) told.push_back(r.hwnd);
    EXPECT_EQ(told, (std::vector<HWND>{hidden, shown}));
    EXPECT_EQ(GetActiveWindow(), shown);
}

TEST_F(UserTest, SetFocusBringsTheMainWindowToTheFront) {
    HWND hwnd = Create();
    headless::Deactivate();
    Drain();
    received.clear();
    EXPECT_EQ(SetFocus(hwnd), nullptr); // no focus while in the background
    EXPECT_EQ(Params(WM_ACTIVATEAPP), Activation{TRUE});
    EXPECT_EQ(GetFocus(), hwnd);
}
