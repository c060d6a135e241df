// GlobalAlloc and its family: fixed and movable blocks, the lock count, and
// refusals of bad handles, flags and sizes. Finding a movable block again
// from its address is in the API suite (tests/platform/api).
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include <windows.h>

#include "headless.h"

namespace {

class GlobalMemory : public ::testing::Test {
  protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

TEST_F(GlobalMemory, FixedBlockIsItsOwnHandle) {
    HGLOBAL handle = GlobalAlloc(GPTR, 16);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GlobalLock(handle), handle);
    EXPECT_EQ(GlobalHandle(handle), handle);
    EXPECT_TRUE(GlobalUnlock(handle)); // no lock count to reach zero
    EXPECT_EQ(GlobalSize(handle), 16u);
    const auto* bytes = static_cast<const unsigned char*>(handle);
    for (int i = 0; i < 16; i++) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST_F(GlobalMemory, ZeroInitZeroesAndOtherwiseNoZerosArePromised) {
    HGLOBAL zeroed = GlobalAlloc(GHND, 64);
    HGLOBAL plain = GlobalAlloc(GMEM_MOVEABLE, 64);
    const auto* z = static_cast<const unsigned char*>(GlobalLock(zeroed));
    const auto* p = static_cast<const unsigned char*>(GlobalLock(plain));
    ASSERT_TRUE(z && p);
    int zeros = 0;
    for (int i = 0; i < 64; i++) {
        EXPECT_EQ(z[i], 0) << i;
        zeros += p[i] == 0;
    }
    EXPECT_EQ(zeros, 0);
    GlobalFree(zeroed);
    GlobalFree(plain);
}

TEST_F(GlobalMemory, LockCountDecidesWhatUnlockAnswers) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 8);
    void* first = GlobalLock(handle);
    EXPECT_EQ(GlobalLock(handle), first);
    EXPECT_TRUE(GlobalUnlock(handle));
    SetLastError(ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalLock(handle), first); // the block did not move
    EXPECT_EQ(GlobalFree(handle), nullptr); // freeing a locked block frees it
    EXPECT_EQ(GlobalSize(handle), 0u);
}

TEST_F(GlobalMemory, ZeroByteMoveableBlockIsADiscardedBlock) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GlobalLock(handle), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISCARDED));
    SetLastError(0);
    EXPECT_EQ(GlobalSize(handle), 0u);
    EXPECT_EQ(GetLastError(), 0u); // a known handle, of size 0
    EXPECT_EQ(GlobalFree(handle), nullptr);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 0);
    EXPECT_NE(fixed, nullptr);
    EXPECT_EQ(GlobalSize(fixed), 0u);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST_F(GlobalMemory, AllocRefusesAbsurdSizesAndUnknownFlags) {
    struct Case {
        UINT flags;
        SIZE_T bytes;
        DWORD error;
    } cases[] = {
        {GMEM_MOVEABLE, SIZE_T{256} * 1024 * 1024 + 1, ERROR_NOT_ENOUGH_MEMORY},
        {GMEM_FIXED, ~SIZE_T{0}, ERROR_NOT_ENOUGH_MEMORY},
        {GMEM_MOVEABLE | GMEM_MODIFY, 16, ERROR_INVALID_PARAMETER},
        {GMEM_MOVEABLE | 0x10000, 16, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.flags << " " << c.bytes);
        EXPECT_EQ(GlobalAlloc(c.flags, c.bytes), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
    // The 16-bit leftovers are accepted and, as in Windows, change nothing.
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE | GMEM_SHARE | GMEM_NOCOMPACT, 16);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(GlobalLock(handle), nullptr);
    EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST_F(GlobalMemory, UnknownAndFreedHandlesAreRefusedWithoutHarm) {
    HGLOBAL freed = GlobalAlloc(GMEM_MOVEABLE, 32);
    void* freedBytes = GlobalLock(freed);
    ASSERT_EQ(GlobalFree(freed), nullptr);
    HGLOBAL freedFixed = GlobalAlloc(GMEM_FIXED, 32);
    ASSERT_EQ(GlobalFree(freedFixed), nullptr);
    int local = 0;

    for (HGLOBAL bad : {freed, freedFixed, static_cast<HGLOBAL>(&local), reinterpret_cast<HGLOBAL>(uintptr_t{0x1232})}) {
        SCOPED_TRACE(bad);
        SetLastError(0);
        EXPECT_EQ(GlobalFree(bad), bad);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(GlobalLock(bad), nullptr);
        EXPECT_FALSE(GlobalUnlock(bad));
        EXPECT_EQ(GlobalSize(bad), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    // A new block never takes a freed block's handle.
    HGLOBAL next = GlobalAlloc(GMEM_MOVEABLE, 32);
    EXPECT_NE(next, freed);
    EXPECT_EQ(GlobalFree(next), nullptr);
    EXPECT_EQ(GlobalHandle(freedBytes), nullptr);
    EXPECT_EQ(GlobalHandle(&local), nullptr);
    EXPECT_EQ(GlobalHandle(nullptr), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST_F(GlobalMemory, AllocFailsAsInjected) {
    headless::InjectFailure("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 8), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_NE(handle, nullptr);
    GlobalFree(handle);
}

} // namespace
