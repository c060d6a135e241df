// The message queue: retrieval order and filters, WM_QUIT, WM_PAINT, the
// blocking GetMessageA, posting, sending, dispatching and closing.
#include "user_fixture.h"

TEST_F(UserTest, PeekWithoutRemovingLeavesWmQuitForGetMessage) {
    PostQuitMessage(7);
    MSG msg;
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
        EXPECT_EQ(msg.wParam, 7u);
    }
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, QuitComesAfterPostedMessagesAndBeforePaint) {
    HWND hwnd = Create(); // WM_PAINT is due
    PostQuitMessage(0);
    ASSERT_TRUE(PostMessageA(hwnd, WM_USER, 1, 2));
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
}

TEST_F(UserTest, PostedMessagesComeBeforeKeyboardInput) {
    HWND hwnd = Create();
    headless::QueueKeyDown('A');
    PostMessageA(hwnd, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
}

TEST_F(UserTest, FiltersSelectByWindowAndMessageRange) {
    HWND first = Create();
    HWND second = Create(WS_POPUP);
    DefWindowProcA(first, WM_PAINT, 0, 0); // nothing due but what is posted
    PostMessageA(first, WM_USER, 0, 0);
    PostMessageA(second, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    const HWND threadOnly = reinterpret_cast<HWND>(-1);
    struct Case {
        HWND hwnd;
        UINT min, max;
        UINT expected; // 0: nothing
    } const cases[] = {
        {nullptr, 0, 0, WM_USER},
        {second, 0, 0, WM_USER + 1},
        {threadOnly, 0, 0, WM_USER + 2},
        {nullptr, WM_USER + 1, WM_USER + 2, WM_USER + 1},
        {nullptr, WM_USER + 5, WM_USER + 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        MSG msg;
        BOOL found = PeekMessageA(&msg, c.hwnd, c.min, c.max, PM_NOREMOVE);
        EXPECT_EQ(found != FALSE, c.expected != 0);
        if (found) {
            EXPECT_EQ(msg.message, c.expected);
        }
    }
}

TEST_F(UserTest, NonWindowFiltersAndTargetsFail) {
    HWND stale = Create();
    DestroyWindow(stale);
    MSG msg;
    SetLastError(0);
    EXPECT_EQ(GetMessageA(&msg, stale, 0, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_FALSE(PeekMessageA(&msg, stale, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(stale, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(SendMessageA(stale, WM_USER, 0, 0), 0);
    MSG toNowhere{stale, WM_USER, 0, 0, 0, {}};
    EXPECT_EQ(DispatchMessageA(&toNowhere), 0);
}

TEST_F(UserTest, PostMessageRefusesBeyondTenThousandWaiting) {
    for (int i = 0; i < 10000; i++)
        ASSERT_TRUE(PostMessageA(nullptr, WM_USER, i, 0));
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(nullptr, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_QUOTA));
}

TEST_F(UserTest, SendAndDispatchCallTheProcedureAndReturnItsAnswer) {
    HWND hwnd = Create();
    reaction = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) return static_cast<LRESULT>(wParam * 2);
        return std::nullopt;
    };
    received.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 21, 0), 42);
    EXPECT_EQ(received.size(), 1u); // at once, not through the queue
    MSG msg{hwnd, WM_USER, 5, 0, 0, {}};
    EXPECT_EQ(DispatchMessageA(&msg), 10);
    MSG thread{nullptr, WM_USER, 5, 0, 0, {}};
    EXPECT_EQ(DispatchMessageA(&thread), 0);
}

TEST_F(UserTest, MessagesCarryTheTickCountOfTheirPosting) {
    headless::SetTickCount(12345);
    PostMessageA(nullptr, WM_USER, 0, 0);
    headless::SetTickCount(20000);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.time, 12345u);
}

TEST_F(UserTest, WmPaintComesOnceShownAndStopsWhenValidated) {
    HWND hwnd = Create();
    MSG msg;
    for (int i = 0; i < 2; i++) { // retrieval does not remove it
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
        EXPECT_EQ(msg.hwnd, hwnd);
    }
    PAINTSTRUCT ps;
    ASSERT_NE(BeginPaint(hwnd, &ps), nullptr);
    EXPECT_TRUE(EndPaint(hwnd, &ps));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ShowWindow(hwnd, SW_SHOW); // already visible: nothing to repaint
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, UpdateWindowSendsADuePaintAtOnce) {
    PaintLikeTheGame();
    HWND hwnd = Create();
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_TRUE(UpdateWindow(hwnd)); // validated: nothing more
    EXPECT_EQ(Params(WM_PAINT).size(), 1u);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(UserTest, PeekMessageTellsTheHostWhenTheLoopGoesIdle) {
    int idle = 0;
    headless::SetIdleHook([&idle] { idle++; });
    PostMessageA(nullptr, WM_USER, 0, 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(idle, 0);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(idle, 1);
}

TEST_F(UserTest, GetMessageWaitsOnTheHostUntilTheUserComesBack) {
    PaintLikeTheGame();
    HWND hwnd = Create();
    Drain();
    ShowWindow(hwnd, SW_MINIMIZE);
    int waits = 0;
    headless::SetWaitHook([&waits] {
        waits++;
        headless::Activate();
    });
    received.clear();
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(Params(WM_ACTIVATEAPP), std::vector<WPARAM>{TRUE});
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
}

TEST_F(UserTest, ClosingGoesThroughDefWindowProcToWmDestroy) {
    reaction = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return std::nullopt;
    };
    HWND hwnd = Create();
    headless::Close();
    MSG msg;
    BOOL result;
    while ((result = GetMessageA(&msg, nullptr, 0, 0)) > 0)
        DispatchMessageA(&msg);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(
        Sequence({WM_CLOSE, WM_ACTIVATEAPP, WM_DESTROY, WM_NCDESTROY}),
        (std::vector<UINT>{WM_ACTIVATEAPP, WM_CLOSE, WM_ACTIVATEAPP, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(headless::MainWindowExists());
}
