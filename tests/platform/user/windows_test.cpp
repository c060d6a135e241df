// Classes and windows: RegisterClassA, CreateWindowExA, DestroyWindow,
// ShowWindow, SetFocus, BeginPaint/EndPaint.
#include "device_context.h"
#include "user_fixture.h"

TEST_F(UserTest, RegisterClassRefusesMalformedClasses) {
    auto make = [](const char* name, WNDPROC proc, int extra) {
        WNDCLASSA wc{};
        wc.lpszClassName = name;
        wc.lpfnWndProc = proc;
        wc.cbWndExtra = extra;
        return wc;
    };
    struct Case {
        const char* what;
        WNDCLASSA wc;
        DWORD error;
    } const cases[] = {
        {"no procedure", make("A", nullptr, 0), ERROR_INVALID_PARAMETER},
        {"no name", make(nullptr, RecordingProc, 0), ERROR_INVALID_PARAMETER},
        {"empty name", make("", RecordingProc, 0), ERROR_INVALID_PARAMETER},
        {"negative extra bytes", make("B", RecordingProc, -4), ERROR_INVALID_PARAMETER},
        {"taken name, other case", make("TESTCLASS", RecordingProc, 0), ERROR_CLASS_ALREADY_EXISTS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(RegisterClassA(&c.wc), 0);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(RegisterClassA(nullptr), 0);
}

TEST_F(UserTest, ClassesCanBeNamedByTheirAtom) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "Second";
    ATOM atom = RegisterClassA(&wc);
    EXPECT_GE(atom, 0xC000);
    HWND hwnd = CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(UserTest, CreateWindowExRefusesWhatWindowsRefuses) {
    HWND owner = Create(WS_POPUP);
    DestroyWindow(owner);
    struct Case {
        const char* what;
        const char* cls;
        DWORD style;
        HWND parent;
        HMENU menu;
        DWORD error;
    } const cases[] = {
        {"unknown class", "NoSuchClass", WS_POPUP, nullptr, nullptr, ERROR_CANNOT_FIND_WND_CLASS},
        {"child without parent", "TestClass", WS_CHILD, nullptr, nullptr, ERROR_TLW_WITH_WSCHILD},
        {"dead parent", "TestClass", WS_CHILD, owner, nullptr, ERROR_INVALID_WINDOW_HANDLE},
        {"dead owner", "TestClass", WS_POPUP, owner, nullptr, ERROR_INVALID_WINDOW_HANDLE},
        {"menu that is not one", "TestClass", WS_POPUP, nullptr, reinterpret_cast<HMENU>(0x1234),
         ERROR_INVALID_MENU_HANDLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(CreateWindowExA(0, c.cls, "", c.style, 0, 0, 10, 10, c.parent, c.menu, nullptr,
                                  nullptr),
                  nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    headless::InjectFailure("CreateWindowExA", 1234);
    EXPECT_EQ(Create(), nullptr);
    EXPECT_EQ(GetLastError(), 1234u);
}

TEST_F(UserTest, CreateMessagesCarryTheCreationArguments) {
    int cookie = 0;
    LONG cx = -1, cy = -1, x = -1, y = -1;
    LPVOID params = nullptr;
    reaction = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_CREATE) return std::nullopt;
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        cx = cs->cx, cy = cs->cy, x = cs->x, y = cs->y, params = cs->lpCreateParams;
        return 0;
    };
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, "TestClass", "Title", WS_POPUP, CW_USEDEFAULT,
                                CW_USEDEFAULT, 640, 480, nullptr, nullptr, nullptr, &cookie);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(params, &cookie);
    EXPECT_EQ(cx, 640);
    EXPECT_EQ(cy, 480);
    EXPECT_EQ(x, 0); // CW_USEDEFAULT means 0 for a pop-up window
    EXPECT_EQ(y, 0);
    EXPECT_EQ(headless::MainWindowTitle(), "Title");
}

TEST_F(UserTest, ProcedureCanRefuseTheWindow) {
    for (UINT refused : {static_cast<UINT>(WM_NCCREATE), static_cast<UINT>(WM_CREATE)}) {
        SCOPED_TRACE(refused);
        received.clear();
        reaction = [refused](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == refused) return refused == WM_NCCREATE ? FALSE : -1;
            return std::nullopt;
        };
        EXPECT_EQ(Create(), nullptr);
        ASSERT_FALSE(received.empty());
        EXPECT_FALSE(IsWindow(received.front().hwnd));
        EXPECT_FALSE(headless::MainWindowExists());
        std::vector<UINT> expected =
            refused == WM_NCCREATE
                ? std::vector<UINT>{WM_NCCREATE, WM_NCDESTROY}
                : std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY};
        EXPECT_EQ(Sequence({WM_NCCREATE, WM_CREATE, WM_ACTIVATEAPP, WM_DESTROY, WM_NCDESTROY}),
                  expected);
    }
}

TEST_F(UserTest, DestroyWindowTakesChildrenAndMessagesWithIt) {
    HWND parent = Create();
    HWND child = Create(WS_CHILD | WS_VISIBLE, parent);
    PostMessageA(child, WM_USER, 0, 0);
    received.clear();
    EXPECT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order;
    for (const Received& r : received)
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY)
            order.push_back({r.hwnd, r.message});
    EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{parent, WM_DESTROY},
                                                         {child, WM_DESTROY},
                                                         {child, WM_NCDESTROY},
                                                         {parent, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(child));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(parent));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserTest, OnlyTheFirstTopLevelWindowIsTheHostsMainWindow) {
    HWND main = Create(WS_POPUP, nullptr, "Main");
    HWND other = Create(WS_POPUP, nullptr, "Other");
    EXPECT_EQ(headless::MainWindowTitle(), "Main");
    DestroyWindow(other);
    EXPECT_TRUE(headless::MainWindowExists());
    DestroyWindow(main);
    EXPECT_FALSE(headless::MainWindowExists());
}

TEST_F(UserTest, ShowWindowReturnsWhetherTheWindowWasVisible) {
    HWND hwnd = Create(WS_POPUP);
    struct Step {
        int command;
        BOOL wasVisible;
        host::WindowState state;
    } const steps[] = {
        {SW_SHOWNORMAL, FALSE, host::WindowState::Shown},
        {SW_MINIMIZE, TRUE, host::WindowState::Minimized},
        {SW_RESTORE, TRUE, host::WindowState::Shown},
        {SW_HIDE, TRUE, host::WindowState::Hidden},
        {SW_HIDE, FALSE, host::WindowState::Hidden},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        EXPECT_EQ(ShowWindow(hwnd, step.command), step.wasVisible);
        EXPECT_EQ(headless::MainWindowState(), step.state);
    }
    SetLastError(0);
    EXPECT_FALSE(ShowWindow(hwnd, 42));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(ShowWindow(nullptr, SW_SHOW));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserTest, SetFocusReturnsTheWindowThatHadIt) {
    HWND main = Create();
    HWND child = Create(WS_CHILD | WS_VISIBLE, main);
    EXPECT_EQ(SetFocus(child), main);
    EXPECT_EQ(GetFocus(), child);
    EXPECT_EQ(GetActiveWindow(), main);
    SetLastError(0);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x4242)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    DestroyWindow(child);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(UserTest, BeginPaintHandsOutAContextWithoutPixelsUntilEndPaint) {
    HWND hwnd = Create();
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(ps.hdc, hdc);
    EXPECT_TRUE(platform::IsLiveDC(hdc));
    EXPECT_EQ(hdc->Bits(), nullptr);
    EXPECT_EQ(ps.rcPaint.right, 640);
    EXPECT_EQ(ps.rcPaint.bottom, 480);
    EXPECT_FALSE(ps.fErase); // the class brush erases
    EXPECT_TRUE(EndPaint(hwnd, &ps));
    EXPECT_FALSE(platform::IsLiveDC(hdc));

    EXPECT_EQ(BeginPaint(hwnd, nullptr), nullptr);
    EXPECT_EQ(BeginPaint(reinterpret_cast<HWND>(0x4242), &ps), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}
