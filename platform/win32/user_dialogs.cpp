// USER32 message boxes, the cursor and stock resources: MessageBoxA,
// ShowCursor, LoadIconA and LoadCursorA.
#include <cstdint>
#include <cstdio>

#include "faults.h"
#include "host.h"
#include "user_windowing.h"

namespace {

int& CursorCount() {
    static int count = 0;
    return count;
}

// The system's own icons and cursors, by resource id. Their handles are
// fixed values, like the shared handles Windows returns for them.
constexpr int kStockIcons[] = {32512, 32513, 32514, 32515, 32516, 32517, 32518};
constexpr int kStockCursors[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642, 32643,
                                 32644, 32645, 32646, 32648, 32649, 32650, 32651, 32671, 32672};
constexpr uintptr_t kFirstIconHandle = 0x10011;
constexpr uintptr_t kFirstCursorHandle = 0x10101;

template <size_t N> int IndexOf(const int (&ids)[N], int id) {
    for (size_t i = 0; i < N; i++)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

// Loads a stock resource: only the system's (NULL instance) exist, named
// by integer id. The program's module carries no resources, so an instance
// fails with ERROR_RESOURCE_TYPE_NOT_FOUND; an unknown system resource with
// ERROR_RESOURCE_NAME_NOT_FOUND.
template <size_t N>
uintptr_t LoadStock(const char* api, HINSTANCE instance, LPCSTR name, const int (&ids)[N],
                    uintptr_t first) {
    int32_t code = 0;
    DWORD error = ERROR_SUCCESS;
    int index = -1;
    auto value = reinterpret_cast<uintptr_t>(name);
    if (platform::InjectedFailure(api, &code))
        error = static_cast<DWORD>(code);
    else if (instance)
        error = ERROR_RESOURCE_TYPE_NOT_FOUND;
    else if (value > 0xFFFF || (index = IndexOf(ids, static_cast<int>(value))) < 0)
        error = ERROR_RESOURCE_NAME_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return 0;
    }
    return first + 2 * static_cast<uintptr_t>(index);
}

} // namespace

namespace platform::user {

void ResetCursorCount() {
    CursorCount() = 0;
    host::SetCursorVisible(true);
}

} // namespace platform::user

// MessageBoxA writes "Caption: text" to stderr, so a box is never missed,
// then lets the host show it modally and returns the button pressed. A
// NULL caption is "Error", as in Windows; NULL text is empty. Fails (0)
// with ERROR_INVALID_WINDOW_HANDLE for an owner that is not a window and
// ERROR_INVALID_MSGBOX_STYLE for an unknown set of buttons.
extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    int32_t code = 0;
    if (platform::InjectedFailure("MessageBoxA", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return 0;
    }
    if (hWnd && !platform::user::LookupWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if ((uType & MB_TYPEMASK) > MB_CANCELTRYCONTINUE) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    const char* caption = lpCaption ? lpCaption : "Error";
    const char* text = lpText ? lpText : "";
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    return host::ShowMessageBox(hWnd, caption, text, uType);
}

// ShowCursor moves the display counter up (TRUE) or down (FALSE) and
// returns its new value; the cursor shows while the counter is 0 or more.
extern "C" int WINAPI ShowCursor(BOOL bShow) {
    int& count = CursorCount();
    count += bShow ? 1 : -1;
    host::SetCursorVisible(count >= 0);
    return count;
}

// LoadIconA(NULL, IDI_APPLICATION) and the other IDI_ ids give the
// system's shared icons.
extern "C" HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    return reinterpret_cast<HICON>(
        LoadStock("LoadIconA", hInstance, lpIconName, kStockIcons, kFirstIconHandle));
}

// LoadCursorA(NULL, IDC_ARROW) and the other IDC_ ids give the system's
// shared cursors.
extern "C" HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    return reinterpret_cast<HCURSOR>(
        LoadStock("LoadCursorA", hInstance, lpCursorName, kStockCursors, kFirstCursorHandle));
}
