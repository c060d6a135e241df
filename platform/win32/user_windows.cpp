// USER32 windows: the window table, CreateWindowExA, DestroyWindow and
// IsWindow, and the reset that tests start from.
//
// A window handle is a number that is never handed out twice, looked up in
// the table on every call, so a stale handle is simply invalid. The first
// top-level window is the host's main window.
#include <map>

#include "app_state.h"
#include "faults.h"
#include "host.h"
#include "user_state.h"
#include "user_windowing.h"

namespace {

using platform::user::Window;

// Windows gives a process at most 10,000 USER objects.
constexpr size_t kMaxWindows = 10000;
constexpr DWORD kErrorNoMoreUserHandles = 1158;
// The default size of an overlapped window: the emulated screen.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

struct WindowTable {
    std::map<HWND, Window> windows; // handles grow, so this is creation order
    uintptr_t nextHandle = 0x10010;
    HWND main = nullptr;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

HWND FailNull(DWORD error) {
    SetLastError(error);
    return nullptr;
}

struct Geometry {
    int x, y, width, height;
};

// CW_USEDEFAULT picks the position (and size) of an overlapped window; for
// a pop-up or child window it stands for zero. The default position is the
// desktop's corner. Negative sizes count as zero.
Geometry ResolveGeometry(DWORD style, int x, int y, int width, int height) {
    bool overlapped = (style & (WS_POPUP | WS_CHILD)) == 0;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = overlapped ? kDefaultWidth : 0;
        height = overlapped ? kDefaultHeight : 0;
    }
    return {x, y, width < 0 ? 0 : width, height < 0 ? 0 : height};
}

// A child window needs a live parent; a top-level window may name a live
// owner and, having no menus here, no menu.
DWORD ValidateRelations(DWORD style, HWND parent, HMENU menu) {
    if (style & WS_CHILD) {
        if (!parent) return ERROR_TLW_WITH_WSCHILD;
        if (!platform::user::LookupWindow(parent)) return ERROR_INVALID_WINDOW_HANDLE;
        return ERROR_SUCCESS;
    }
    if (parent && !platform::user::LookupWindow(parent)) return ERROR_INVALID_WINDOW_HANDLE;
    if (menu) return ERROR_INVALID_MENU_HANDLE;
    return ERROR_SUCCESS;
}

HWND AddWindow(const platform::user::WindowClass& cls, DWORD exStyle, DWORD style, HWND parent,
               const Geometry& geometry, LPCSTR title) {
    WindowTable& table = Table();
    HWND hwnd = reinterpret_cast<HWND>(table.nextHandle);
    table.nextHandle += 4;
    Window& window = table.windows[hwnd];
    window.handle = hwnd;
    window.proc = cls.proc;
    window.background = cls.background;
    window.style = style & ~static_cast<DWORD>(WS_VISIBLE); // visibility is `visible`
    window.exStyle = exStyle;
    // A top-level window's owner is always a top-level window.
    window.parent = (style & WS_CHILD) ? parent : platform::user::TopLevelOf(parent);
    window.width = geometry.width;
    window.height = geometry.height;
    if (!window.IsChild() && !table.main) {
        table.main = hwnd;
        host::CreateMainWindow(title ? title : "", geometry.width, geometry.height);
    }
    return hwnd;
}

std::vector<HWND> ChildrenOf(HWND hwnd) {
    std::vector<HWND> children;
    for (const auto& [handle, window] : Table().windows)
        if (window.IsChild() && window.parent == hwnd) children.push_back(handle);
    return children;
}

void MarkDestroying(HWND hwnd) {
    if (Window* window = platform::user::LookupWindow(hwnd)) window->destroying = true;
    for (HWND child : ChildrenOf(hwnd))
        MarkDestroying(child);
}

// Owned windows go before their owner.
void DestroyOwnedWindows(HWND owner) {
    for (HWND hwnd : platform::user::TopLevelWindows()) {
        Window* window = platform::user::LookupWindow(hwnd);
        if (window && window->parent == owner && !window->destroying) DestroyWindow(hwnd);
    }
}

// WM_DESTROY reaches a window before its children.
void SendDestroyTree(HWND hwnd) {
    if (!platform::user::LookupWindow(hwnd)) return;
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    for (HWND child : ChildrenOf(hwnd))
        SendDestroyTree(child);
}

void Remove(HWND hwnd) {
    platform::user::ForgetMessagesFor(hwnd);
    platform::user::ReleasePaintContextsOf(hwnd);
    platform::user::ForgetFocus(hwnd);
    WindowTable& table = Table();
    table.windows.erase(hwnd);
    if (table.main == hwnd) {
        table.main = nullptr;
        host::DestroyMainWindow();
    }
    // The program's last window is gone: nothing of it is in front any more.
    if (platform::user::TopLevelWindows().empty()) platform::SetAppActive(false);
}

// WM_NCDESTROY reaches a window after its children are gone; then the
// handle dies.
void FreeTree(HWND hwnd) {
    for (HWND child : ChildrenOf(hwnd))
        FreeTree(child);
    if (!platform::user::LookupWindow(hwnd)) return;
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    Remove(hwnd);
}

// WM_NCCREATE refused the window: it dies with WM_NCDESTROY alone.
HWND AbortBeforeCreate(HWND hwnd) {
    MarkDestroying(hwnd);
    FreeTree(hwnd);
    return nullptr;
}

} // namespace

namespace platform::user {

Window* LookupWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto found = Table().windows.find(hwnd);
    return found == Table().windows.end() ? nullptr : &found->second;
}

HWND MainWindow() {
    return Table().main;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> result;
    for (const auto& [handle, window] : Table().windows)
        if (!window.IsChild()) result.push_back(handle);
    return result;
}

std::vector<HWND> AllWindows() {
    std::vector<HWND> result;
    for (const auto& entry : Table().windows)
        result.push_back(entry.first);
    return result;
}

HWND TopLevelOf(HWND hwnd) {
    Window* window = LookupWindow(hwnd);
    while (window && window->IsChild()) {
        hwnd = window->parent;
        window = LookupWindow(hwnd);
    }
    return window ? hwnd : nullptr;
}

bool IsSelfOrDescendant(HWND hwnd, HWND ancestor) {
    for (Window* window = LookupWindow(hwnd); window; window = LookupWindow(window->parent)) {
        if (hwnd == ancestor) return true;
        if (!window->IsChild()) return false;
        hwnd = window->parent;
    }
    return false;
}

bool IsDrawable(HWND hwnd) {
    for (Window* window = LookupWindow(hwnd); window; window = LookupWindow(window->parent)) {
        if (!window->visible || window->minimized) return false;
        if (!window->IsChild()) return true;
    }
    return false;
}

void ResetWindows() {
    WindowTable& table = Table();
    bool hadMain = table.main != nullptr;
    table.windows.clear();
    table.main = nullptr;
    if (hadMain) host::DestroyMainWindow();
}

} // namespace platform::user

namespace platform {

void ResetWindowingForTests() {
    user::ResetPaintContexts();
    user::ResetWindows();
    user::ResetClasses();
    user::ResetQueue();
    user::ResetFocus();
    user::ResetCursorCount();
    SetAppActive(false);
}

} // namespace platform

// CreateWindowExA: the class must exist (ERROR_CANNOT_FIND_WND_CLASS). The
// window procedure gets WM_NCCREATE (FALSE refuses the window) and
// WM_CREATE (-1 destroys it again), both with a CREATESTRUCTA; a WS_VISIBLE
// window is then shown, which activates the program when the window
// manager lets it, so WM_ACTIVATEAPP arrives before CreateWindowExA returns.
extern "C" HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName,
                                       DWORD dwStyle, int X, int Y, int nWidth, int nHeight,
                                       HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                       LPVOID lpParam) {
    int32_t code = 0;
    if (platform::InjectedFailure("CreateWindowExA", &code))
        return FailNull(static_cast<DWORD>(code));
    platform::user::EnsureActivationBroadcaster();
    const platform::user::WindowClass* cls = platform::user::FindClass(lpClassName);
    if (!cls) return FailNull(ERROR_CANNOT_FIND_WND_CLASS);
    if (DWORD error = ValidateRelations(dwStyle, hWndParent, hMenu)) return FailNull(error);
    if (Table().windows.size() >= kMaxWindows) return FailNull(kErrorNoMoreUserHandles);

    Geometry geometry = ResolveGeometry(dwStyle, X, Y, nWidth, nHeight);
    HWND hwnd = AddWindow(*cls, dwExStyle, dwStyle, hWndParent, geometry, lpWindowName);
    CREATESTRUCTA create{lpParam,      hInstance,       hMenu,
                         hWndParent,   geometry.height, geometry.width,
                         geometry.y,   geometry.x,      static_cast<LONG>(dwStyle),
                         lpWindowName, lpClassName,     dwExStyle};
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageA(hwnd, WM_NCCREATE, 0, createParam)) return AbortBeforeCreate(hwnd);
    if (!IsWindow(hwnd)) return nullptr;
    if (SendMessageA(hwnd, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hwnd, (dwStyle & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

// DestroyWindow: owned windows go first; the window is hidden (activation
// moves on, or the program becomes inactive when this was its last window),
// then WM_DESTROY (the window, then its children) and WM_NCDESTROY (the
// children, then the window), and the handle is invalid from then on. Its
// posted messages are flushed from the queue. A window already being
// destroyed is left to finish.
extern "C" BOOL WINAPI DestroyWindow(HWND hWnd) {
    int32_t code = 0;
    if (platform::InjectedFailure("DestroyWindow", &code)) {
        SetLastError(static_cast<DWORD>(code));
        return FALSE;
    }
    Window* window = platform::user::LookupWindow(hWnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->destroying) return TRUE;
    bool topLevel = !window->IsChild();
    MarkDestroying(hWnd);
    if (topLevel) {
        DestroyOwnedWindows(hWnd);
        if (Window* still = platform::user::LookupWindow(hWnd)) still->visible = false;
        platform::user::TopLevelWindowLeft(hWnd);
    }
    SendDestroyTree(hWnd);
    FreeTree(hWnd);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND hWnd) {
    return platform::user::LookupWindow(hWnd) != nullptr;
}
