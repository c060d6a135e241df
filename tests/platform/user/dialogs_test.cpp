// Message boxes, the cursor counter and stock icons and cursors.
#include <string>

#include "user_fixture.h"

TEST_F(UserTest, MessageBoxIsShownByTheHostAndWrittenToStderr) {
    HWND hwnd = Create();
    headless::SetMessageBoxAnswer(IDCANCEL);
    testing::internal::CaptureStderr();
    int answer = MessageBoxA(hwnd, "SetDisplayMode Failed", "DirectDraw Error", MB_OK);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(written, "DirectDraw Error: SetDisplayMode Failed\n");
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.owner, hwnd);
    EXPECT_EQ(box.caption, "DirectDraw Error");
    EXPECT_EQ(box.text, "SetDisplayMode Failed");
    EXPECT_EQ(box.type, static_cast<unsigned>(MB_OK));
}

TEST_F(UserTest, MessageBoxWithoutCaptionSaysError) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: \n");
    EXPECT_EQ(headless::MessageBoxes().at(0).caption, "Error");
}

TEST_F(UserTest, MessageBoxRefusesABadOwnerOrStyleWithoutShowing) {
    SetLastError(0);
    EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x4242), "t", "c", MB_OK), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", 0x0000000F), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(UserTest, ShowCursorCountsAndTheCursorShowsAtZeroOrMore) {
    struct Step {
        BOOL show;
        int count;
        bool visible;
    } const steps[] = {
        {FALSE, -1, false}, {TRUE, 0, true}, {TRUE, 1, true}, {FALSE, 0, true}, {FALSE, -1, false}};
    for (const Step& step : steps) {
        EXPECT_EQ(ShowCursor(step.show), step.count);
        EXPECT_EQ(headless::CursorVisible(), step.visible);
    }
}

TEST_F(UserTest, OnlyTheSystemsOwnIconsAndCursorsLoad) {
    HICON application = LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_NE(application, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), application); // shared, not a copy
    EXPECT_NE(LoadIconA(nullptr, IDI_ERROR), nullptr);
    EXPECT_NE(LoadIconA(nullptr, IDI_ERROR), application);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_WAIT), LoadCursorA(nullptr, IDC_ARROW));

    struct Case {
        const char* what;
        HINSTANCE instance;
        LPCSTR name;
        DWORD error;
    } const cases[] = {
        {"unknown id", nullptr, MAKEINTRESOURCE(1), ERROR_RESOURCE_NAME_NOT_FOUND},
        {"named resource", nullptr, "APPICON", ERROR_RESOURCE_NAME_NOT_FOUND},
        {"the program's module", GetModuleHandleA(nullptr), IDI_APPLICATION,
         ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(LoadIconA(c.instance, c.name), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(LoadCursorA(c.instance, c.name), nullptr);
    }
}
