// The last-error code and the program's module handle.
#include <thread>

#include <gtest/gtest.h>

#include <windows.h>

#include "headless.h"

namespace {

TEST(KernelMisc, LastErrorBelongsToTheCallingThread) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    DWORD seenByOther = 1;
    std::thread other([&] {
        seenByOther = GetLastError();
        SetLastError(ERROR_ACCESS_DENIED);
    });
    other.join();
    EXPECT_EQ(seenByOther, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    SetLastError(0);
}

TEST(KernelMisc, ModuleHandleNamesOnlyTheProgram) {
    headless::Reset();
    HMODULE program = GetModuleHandleA(nullptr);
    EXPECT_NE(program, nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), program);
    for (const char* name : {"kernel32.dll", "ddraw.dll", ""}) {
        SCOPED_TRACE(name);
        SetLastError(0);
        EXPECT_EQ(GetModuleHandleA(name), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    }
}

} // namespace
