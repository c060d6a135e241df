// KERNEL32 and USER32 as the game uses them: OpenFile and _lread for the
// bitmaps, movable global blocks found again by address, wsprintfA for its
// messages, and the order of the messages around activation, quitting and
// closing.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

#include "api_fixture.h"

namespace fs = std::filesystem;

namespace {

using api::ApiTest;
using Messages = ApiTest;

std::string UniqueName(const char* stem) {
    static std::atomic<int> counter{0};
    return std::string(stem) + "_" + std::to_string(GetTickCount()) + "_" + std::to_string(counter++) + ".bin";
}

void WriteBytes(const fs::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

// Each test runs in a fresh empty folder as the current folder.
class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = fs::current_path();
        folder_ = fs::temp_directory_path() / UniqueName("api_files");
        fs::create_directories(folder_);
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    fs::path previous_, folder_;
};

TEST_F(Files, OpenFileFindsABareNameInTheCurrentFolderAndLreadReadsIt) {
    WriteBytes("sheet.bmp", "BM0123456789");
    OFSTRUCT ofs;
    std::memset(&ofs, 0x5A, sizeof ofs);
    HFILE file = OpenFile("sheet.bmp", &ofs, OF_READ);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(ofs.cBytes, sizeof(OFSTRUCT));
    EXPECT_EQ(ofs.nErrCode, 0);
    EXPECT_EQ(fs::path(ofs.szPathName).filename(), "sheet.bmp");
    char buffer[32] = {};
    EXPECT_EQ(_lread(file, buffer, 2), 2u);
    EXPECT_EQ(std::string(buffer, 2), "BM");
    // Past the end, _lread answers the bytes there were.
    EXPECT_EQ(_lread(file, buffer, sizeof buffer), 10u);
    EXPECT_EQ(std::string(buffer, 10), "0123456789");
    EXPECT_EQ(_lread(file, buffer, sizeof buffer), 0u);
    EXPECT_EQ(_llseek(file, 4, FILE_BEGIN), 4);
    EXPECT_EQ(_lread(file, buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "234");
    EXPECT_EQ(_lclose(file), 0);
}

TEST_F(Files, OpenFileOfAMissingFileFailsWithFileNotFound) {
    OFSTRUCT ofs{};
    EXPECT_EQ(OpenFile(UniqueName("missing").c_str(), &ofs, OF_READ), HFILE_ERROR);
    EXPECT_EQ(ofs.nErrCode, ERROR_FILE_NOT_FOUND);
}

TEST(GlobalMemory, MoveableBlockIsFoundAgainFromItsLockedAddress) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 1064);
    ASSERT_NE(handle, nullptr);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_NE(static_cast<void*>(bytes), handle);
    std::memset(bytes, 0x11, 1064);
    EXPECT_EQ(GlobalSize(handle), 1064u);
    EXPECT_EQ(GlobalHandle(bytes), handle);
    EXPECT_EQ(GlobalHandle(bytes + 1), nullptr); // only the start names the block
    EXPECT_FALSE(GlobalUnlock(handle)); // the lock count reached zero
    EXPECT_EQ(GlobalHandle(bytes), handle);
    EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemory, ZeroInitBlocksStartZeroed) {
    HGLOBAL handle = GlobalAlloc(GHND, 300);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(handle));
    ASSERT_NE(bytes, nullptr);
    int nonZero = 0;
    for (int i = 0; i < 300; i++) nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, 0);
    GlobalUnlock(handle);
    GlobalFree(handle);
}

template <typename... Args> std::string Formatted(const char* format, Args... args) {
    char buffer[1100];
    int length = wsprintfA(buffer, format, args...);
    EXPECT_EQ(length, static_cast<int>(std::string(buffer).size()));
    return buffer;
}

TEST(WsprintfA, FormatsAsWindowsDoes) {
    EXPECT_EQ(Formatted("%s", "Attach lpDDSBack Failed"), "Attach lpDDSBack Failed");
    EXPECT_EQ(Formatted("%d %i %u", -42, 17, 4000000000u), "-42 17 4000000000");
    EXPECT_EQ(Formatted("%x %X %#x", 255, 255, 255), "ff FF 0xff");
    EXPECT_EQ(Formatted("%ld %lu %lx", -5L, 5UL, 0xABCUL), "-5 5 abc");
    EXPECT_EQ(Formatted("[%5d] [%-5d] [%05d]", 42, 42, 42), "[   42] [42   ] [00042]");
    EXPECT_EQ(Formatted("%c%c 100%%", 'o', 'k'), "ok 100%");
    EXPECT_EQ(Formatted("[%6s] [%-6s] [%.2s]", "abc", "abc", "abc"), "[   abc] [abc   ] [ab]");
    // No floating point: the conversion is not one, and prints its letter.
    EXPECT_EQ(Formatted("%f", 3), "f");
}

TEST(WsprintfA, StopsAtTenTwentyFourCharactersWithTheTerminator) {
    std::string longText(2000, 'x');
    char buffer[1100];
    buffer[1023] = '#';
    // Wine departs: a cut output answers 1024, one more than the characters stored.
    EXPECT_EQ(wsprintfA(buffer, "%s", longText.c_str()), api::RunningOnWine() ? 1024 : 1023);
    EXPECT_EQ(buffer[1023], '\0');
    EXPECT_EQ(std::string(buffer), std::string(1023, 'x'));
    EXPECT_EQ(wsprintfA(buffer, longText.c_str()), api::RunningOnWine() ? 1024 : 1023);
}

TEST(Activation, VisibleWindowGetsActivateAppBeforeCreateWindowExReturns) {
    api::activations.clear();
    api::messages.clear();
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST, api::TestClass(), "ApiSuite", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hwnd, nullptr);
    // Nothing was pumped: the message was sent from inside CreateWindowExA.
    EXPECT_EQ(api::activations, std::vector<WPARAM>{TRUE});
    EXPECT_EQ(GetActiveWindow(), hwnd);
    DestroyWindow(hwnd);
}

TEST_F(Messages, PeekWithoutRemovingLeavesWmQuitForGetMessage) {
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostQuitMessage(7);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    }
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(Messages, ClosingGoesThroughDefWindowProcToWmDestroy) {
    api::messages.clear();
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    std::vector<UINT> order;
    for (UINT m : api::messages)
        if (m == WM_CLOSE || m == WM_DESTROY || m == WM_NCDESTROY) order.push_back(m);
    EXPECT_EQ(order, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    hwnd = nullptr;
}

TEST_F(Messages, MinimizingDeactivatesAndRestoringActivatesAgain) {
    Deactivate();
    Activate();
    EXPECT_EQ(api::activations, (std::vector<WPARAM>{TRUE, FALSE, TRUE}));
    EXPECT_EQ(GetActiveWindow(), hwnd);
}

} // namespace
