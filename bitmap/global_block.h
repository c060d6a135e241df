// Movable global memory blocks that stay locked while they are held: the
// memory behind every CDib.
#pragma once

#include <windows.h>

// Allocates a movable block of `bytes` (contents undefined) and locks it.
// Null when the allocation failed or `bytes` is 0 (a zero-size movable block
// cannot be locked).
LPVOID AllocLockedBlock(DWORD bytes);

// Unlocks and frees a block given its locked pointer. Null is ignored.
void FreeLockedBlock(LPVOID pointer);

// The size of a held block, 0 for null.
DWORD LockedBlockSize(LPCVOID pointer);
