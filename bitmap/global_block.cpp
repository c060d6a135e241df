// Movable global memory blocks kept locked while held.
#include "global_block.h"

LPVOID AllocLockedBlock(DWORD bytes) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!handle) return nullptr;
    LPVOID pointer = GlobalLock(handle);
    // A block that cannot be locked (0 bytes) would otherwise be lost.
    if (!pointer) GlobalFree(handle);
    return pointer;
}

void FreeLockedBlock(LPVOID pointer) {
    if (!pointer) return;
    GlobalUnlock(GlobalHandle(pointer));
    GlobalFree(GlobalHandle(pointer));
}

DWORD LockedBlockSize(LPCVOID pointer) {
    if (!pointer) return 0;
    return static_cast<DWORD>(GlobalSize(GlobalHandle(pointer)));
}
