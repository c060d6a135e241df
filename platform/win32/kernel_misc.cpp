// KERNEL32 odds and ends: the calling thread's last-error code and the
// program's module handle.
#include <windows.h>

#include "faults.h"

// The image's first byte, placed there by the linker: the address Windows
// would hand out as the module handle of the program. Linkers without it
// (WebAssembly's) leave it null; a byte of the program's data stands in.
extern "C" __attribute__((weak)) char __executable_start;

namespace {

// Windows keeps the last error per thread.
thread_local DWORD lastError = ERROR_SUCCESS;

} // namespace

extern "C" DWORD WINAPI GetLastError(void) { return lastError; }

extern "C" void WINAPI SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }

// GetModuleHandleA(NULL) is the program's own image, whose base address is
// its module handle. No other module is ever loaded on these hosts, so any
// name fails with ERROR_MOD_NOT_FOUND (the program's own file name included:
// it carries no ".exe" here for Windows' name matching to find).
extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    int32_t code = 0;
    if (platform::InjectedFailure("GetModuleHandleA", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return nullptr;
    }
    if (lpModuleName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    static const char imageByte = 0;
    const char* image = &__executable_start ? &__executable_start : &imageByte;
    return reinterpret_cast<HMODULE>(const_cast<char*>(image));
}
