// KERNEL32 global memory: GlobalAlloc and its family over a handle table.
//
// A fixed block's handle is its address. A movable block gets a handle of
// its own, a value with bit 1 set that no allocation ever has and that is
// never handed out twice, so a freed handle stays invalid for good. Every
// call looks its handle up in the table first: unknown, stale or freed
// handles fail with ERROR_INVALID_HANDLE instead of touching memory.
//
// The program has one thread and the table has no lock.
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

#include <windows.h>

#include "faults.h"

namespace {

// The emulated machine has 256 MB of memory: no single block can be larger,
// and a request for more fails at once, without trying to allocate it.
constexpr SIZE_T kMaxBlockBytes = SIZE_T{256} * 1024 * 1024;

// Flags GlobalAlloc accepts. Besides GMEM_MOVEABLE and GMEM_ZEROINIT these
// are the 16-bit leftovers that Windows documents as ignored; anything else
// (GMEM_MODIFY belongs to GlobalReAlloc) is refused.
constexpr UINT kAcceptedFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_NOCOMPACT | GMEM_NODISCARD |
                                GMEM_DISCARDABLE | GMEM_NOT_BANKED | GMEM_SHARE | GMEM_NOTIFY;

// A movable block's lock count saturates, as Windows' does, at 255.
constexpr unsigned kMaxLockCount = 255;

// Without GMEM_ZEROINIT a block's contents are undefined; they are filled
// with this pattern so that nobody comes to rely on zeros.
constexpr unsigned char kUninitialisedByte = 0xCD;

struct Block {
    std::unique_ptr<unsigned char[]> memory; // null for a discarded block
    SIZE_T size = 0;
    bool moveable = false;
    unsigned lockCount = 0;
};

struct GlobalHeap {
    std::unordered_map<HGLOBAL, Block> blocks;           // by handle
    std::unordered_map<const void*, HGLOBAL> byAddress;  // block start -> handle
    uintptr_t nextMoveableSerial = 1;
};

GlobalHeap& Heap() {
    static GlobalHeap heap;
    return heap;
}

// Fails the current call with `error`; returns `result` for brevity.
template <typename T>
T Fail(DWORD error, T result) {
    SetLastError(error);
    return result;
}

Block* FindBlock(HGLOBAL handle) {
    auto found = Heap().blocks.find(handle);
    return found == Heap().blocks.end() ? nullptr : &found->second;
}

HGLOBAL NewMoveableHandle() {
    uintptr_t serial = Heap().nextMoveableSerial++;
    // Bit 1 set: never the address of an allocation, which is aligned.
    return reinterpret_cast<HGLOBAL>((serial << 4) | 0x2);
}

bool InjectedFailure(const char* api) {
    int32_t code = 0;
    if (!platform::InjectedFailure(api, &code)) return false;
    SetLastError(static_cast<DWORD>(code));
    return true;
}

} // namespace

// GMEM_FIXED returns the block's address; GMEM_MOVEABLE a separate handle
// that GlobalLock turns into the address. A movable request for 0 bytes
// yields a valid handle to a discarded block, which GlobalLock cannot lock.
extern "C" HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    if (InjectedFailure("GlobalAlloc")) return nullptr;
    if (uFlags & ~kAcceptedFlags) return Fail(ERROR_INVALID_PARAMETER, HGLOBAL{nullptr});
    if (dwBytes > kMaxBlockBytes) return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL{nullptr});

    Block block;
    block.size = dwBytes;
    block.moveable = (uFlags & GMEM_MOVEABLE) != 0;
    if (!block.moveable || dwBytes != 0) {
        // A fixed 0-byte block still gets an address of its own.
        block.memory.reset(new (std::nothrow) unsigned char[dwBytes ? dwBytes : 1]);
        if (!block.memory) return Fail(ERROR_NOT_ENOUGH_MEMORY, HGLOBAL{nullptr});
        std::memset(block.memory.get(), (uFlags & GMEM_ZEROINIT) ? 0 : kUninitialisedByte, dwBytes);
    }

    void* address = block.memory.get();
    HGLOBAL handle = block.moveable ? NewMoveableHandle() : address;
    if (address) Heap().byAddress[address] = handle;
    Heap().blocks.emplace(handle, std::move(block));
    return handle;
}

// A fixed block locks to its own address without counting; a movable one
// counts the lock. A discarded block answers NULL with ERROR_DISCARDED.
extern "C" LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
    if (InjectedFailure("GlobalLock")) return nullptr;
    Block* block = FindBlock(hMem);
    if (!block) return Fail(ERROR_INVALID_HANDLE, LPVOID{nullptr});
    if (!block->moveable) return block->memory.get();
    if (!block->memory) return Fail(ERROR_DISCARDED, LPVOID{nullptr});
    if (block->lockCount < kMaxLockCount) block->lockCount++;
    return block->memory.get();
}

// TRUE while the block stays locked. On reaching 0: FALSE with NO_ERROR; on
// a block that was not locked: FALSE with ERROR_NOT_LOCKED. Fixed blocks
// have no lock count and always answer TRUE.
extern "C" BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
    if (InjectedFailure("GlobalUnlock")) return FALSE;
    Block* block = FindBlock(hMem);
    if (!block) return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!block->moveable) return TRUE;
    if (block->lockCount == 0) return Fail(ERROR_NOT_LOCKED, FALSE);
    if (--block->lockCount == 0) return Fail(NO_ERROR, FALSE);
    return TRUE;
}

// The handle of the block that starts at pMem (the address GlobalLock gave,
// or a fixed block's handle); NULL for any other address.
extern "C" HGLOBAL WINAPI GlobalHandle(LPCVOID pMem) {
    if (InjectedFailure("GlobalHandle")) return nullptr;
    if (!pMem) return Fail(ERROR_INVALID_PARAMETER, HGLOBAL{nullptr});
    auto found = Heap().byAddress.find(pMem);
    if (found == Heap().byAddress.end()) return Fail(ERROR_INVALID_HANDLE, HGLOBAL{nullptr});
    return found->second;
}

// NULL once freed, locked or not (Windows frees a locked block too). An
// unknown or already freed handle is returned unchanged with
// ERROR_INVALID_HANDLE; NULL is ignored.
extern "C" HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
    if (InjectedFailure("GlobalFree")) return hMem;
    if (!hMem) return nullptr;
    auto found = Heap().blocks.find(hMem);
    if (found == Heap().blocks.end()) return Fail(ERROR_INVALID_HANDLE, hMem);
    if (found->second.memory) Heap().byAddress.erase(found->second.memory.get());
    Heap().blocks.erase(found);
    return nullptr;
}

// The size asked of GlobalAlloc; 0 for a discarded block, and 0 with
// ERROR_INVALID_HANDLE for an unknown handle.
extern "C" SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
    if (InjectedFailure("GlobalSize")) return 0;
    Block* block = FindBlock(hMem);
    if (!block) return Fail(ERROR_INVALID_HANDLE, SIZE_T{0});
    return block->size;
}
