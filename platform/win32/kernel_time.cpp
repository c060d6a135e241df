// KERNEL32 time: GetTickCount reads the host's millisecond clock.
#include <windows.h>

#include "host.h"

extern "C" DWORD WINAPI GetTickCount(void) { return host::TickCount(); }
