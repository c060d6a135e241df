// Keyboard input: keystroke messages from host key events, their lParam
// bits, TranslateMessage's characters, Alt+F4 and GetAsyncKeyState.
#include "user_fixture.h"

namespace {

struct KeystrokeCase {
    const char* name;
    int vk;
    bool repeat;
    bool alt;
    UINT message;
    LPARAM lParam;
};

} // namespace

TEST_F(UserTest, KeyEventsBecomeKeystrokeMessagesWithWindowsLParam) {
    const KeystrokeCase cases[] = {
        {"P", 'P', false, false, WM_KEYDOWN, 0x00190001},
        {"Enter", VK_RETURN, false, false, WM_KEYDOWN, 0x001C0001},
        {"Enter auto-repeat", VK_RETURN, true, false, WM_KEYDOWN, 0x401C0001},
        {"Left arrow (extended)", VK_LEFT, false, false, WM_KEYDOWN, 0x014B0001},
        {"F12", VK_F12, false, false, WM_KEYDOWN, 0x00580001},
        {"Alt+X", 'X', false, true, WM_SYSKEYDOWN, 0x202D0001},
        {"F10 is a system key", VK_F10, false, false, WM_SYSKEYDOWN, 0x00440001},
    };
    HWND hwnd = Create();
    for (const KeystrokeCase& c : cases) {
        SCOPED_TRACE(c.name);
        headless::QueueKeyDown(c.vk, c.repeat, c.alt);
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
        EXPECT_EQ(msg.hwnd, hwnd);
        EXPECT_EQ(msg.message, c.message);
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(c.vk));
        EXPECT_EQ(msg.lParam, c.lParam);
    }
}

TEST_F(UserTest, PressKeyGivesKeyDownThenKeyUpWithTransitionBits) {
    Create();
    headless::PressKey(VK_ESCAPE);
    MSG down, up;
    ASSERT_TRUE(PeekMessageA(&down, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&up, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(down.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(up.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(up.wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(up.lParam, static_cast<LPARAM>(0xC0010001u));
}

TEST_F(UserTest, WithoutFocusKeystrokesGoToTheActiveWindowAsSystemKeys) {
    HWND hwnd = Create();
    EXPECT_EQ(SetFocus(nullptr), hwnd);
    headless::PressKey('A');
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hwnd);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(msg.lParam & (1 << 29), 0); // Alt is not held
}

TEST_F(UserTest, TranslateMessagePostsTheCharacterTheKeyTypes) {
    struct Case {
        int vk;
        int held;      // a modifier held in the key table, or 0
        int character; // 0: none
    } const cases[] = {
        {'A', 0, 'a'},         {'A', VK_SHIFT, 'A'}, {'C', VK_CONTROL, 0x03}, {'1', 0, '1'},
        {'1', VK_LSHIFT, '!'}, {VK_SPACE, 0, ' '},   {VK_RETURN, 0, '\r'},    {VK_ESCAPE, 0, 0x1B},
        {VK_BACK, 0, 0x08},    {VK_TAB, 0, '\t'},    {VK_LEFT, 0, 0},         {VK_F1, 0, 0},
    };
    HWND hwnd = Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        if (c.held) headless::SetKeyDown(c.held, true);
        MSG key{hwnd, WM_KEYDOWN, static_cast<WPARAM>(c.vk), 0x00000001, 0, {}};
        EXPECT_TRUE(TranslateMessage(&key));
        MSG msg;
        bool posted = PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE);
        EXPECT_EQ(posted, c.character != 0);
        if (posted) {
            EXPECT_EQ(msg.wParam, static_cast<WPARAM>(c.character));
        }
        if (c.held) headless::SetKeyDown(c.held, false);
    }
}

TEST_F(UserTest, TranslateMessageAnswersOnlyForKeystrokes) {
    HWND hwnd = Create();
    MSG keyUp{hwnd, WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u), 0, {}};
    MSG sysKey{hwnd, WM_SYSKEYDOWN, 'X', 0x202D0001, 0, {}};
    MSG other{hwnd, WM_USER, 'A', 0, 0, {}};
    EXPECT_TRUE(TranslateMessage(&keyUp));
    EXPECT_TRUE(TranslateMessage(&sysKey));
    EXPECT_FALSE(TranslateMessage(&other));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_SYSCHAR, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_SYSCHAR));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('x'));
    EXPECT_EQ(msg.lParam, 0x202D0001);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_SYSCHAR, PM_REMOVE));
}

TEST_F(UserTest, TheCharacterComesBeforeTheKeyUp) {
    Create();
    headless::PressKey('Q');
    std::vector<MSG> dispatched = Drain();
    std::vector<UINT> order;
    for (const MSG& msg : dispatched)
        order.push_back(msg.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_PAINT}));
}

TEST_F(UserTest, AltF4ClosesTheWindow) {
    HWND hwnd = Create();
    headless::QueueKeyDown(VK_F4, false, true);
    Drain();
    EXPECT_EQ(Sequence({WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(UserTest, GetAsyncKeyStateReportsPressesSinceTheLastQuery) {
    Create();
    headless::PressKey('Z'); // down and up before anybody asks
    Drain();
    EXPECT_EQ(GetAsyncKeyState('Z'), 1);
    EXPECT_EQ(GetAsyncKeyState('Z'), 0);

    headless::SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)), 0x8001u);
    EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)), 0x8000u);
    EXPECT_EQ(GetAsyncKeyState(0x1234), 0);
}
