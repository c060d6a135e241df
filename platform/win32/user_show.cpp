// USER32 showing, painting on demand, focus and activation: ShowWindow,
// UpdateWindow, SetFocus, GetFocus, GetActiveWindow, and the broadcaster
// that sends WM_ACTIVATEAPP when the program comes to the front or leaves it.
//
// The host's window manager decides activation for the main window: showing
// or restoring it returns whether the program is now in front, minimizing
// or hiding it sends the program to the back. Focus and the active window
// exist only while the program is in front.
#include "app_state.h"
#include "faults.h"
#include "host.h"
#include "user_windowing.h"

namespace {

using platform::user::LookupWindow;
using platform::user::Window;

struct FocusState {
    HWND focus = nullptr;
    HWND active = nullptr;
};

FocusState& Focus() {
    static FocusState state;
    return state;
}

bool CanBeActive(HWND hwnd) {
    Window* window = LookupWindow(hwnd);
    return window && window->visible && !window->minimized && !window->destroying;
}

// Where activation lands: the main window when it can be in front, else
// the first other visible, non-minimized top-level window.
HWND PickActiveWindow() {
    HWND main = platform::user::MainWindow();
    if (CanBeActive(main)) return main;
    for (HWND hwnd : platform::user::TopLevelWindows())
        if (CanBeActive(hwnd)) return hwnd;
    return nullptr;
}

// An activated top-level window takes the focus unless it already holds it
// in one of its children.
void MakeActive(HWND top) {
    FocusState& state = Focus();
    state.active = top;
    if (!state.focus || platform::user::TopLevelOf(state.focus) != top) state.focus = top;
}

void ApplyActivationGrant(HWND top, bool granted) {
    if (!granted) return;
    platform::SetAppActive(true);
    if (LookupWindow(top)) MakeActive(top);
}

// Showing a window that was hidden or minimized invalidates it: WM_PAINT
// becomes due.
void Show(HWND hwnd, bool activate) {
    Window* window = LookupWindow(hwnd);
    if (!window->visible || window->minimized) window->needsPaint = true;
    window->visible = true;
    window->minimized = false;
    if (window->IsChild()) return;
    if (hwnd == platform::user::MainWindow()) {
        ApplyActivationGrant(hwnd, host::SetMainWindowState(host::WindowState::Shown));
    } else if (activate && platform::IsAppActive()) {
        MakeActive(hwnd);
    }
}

// A minimized window stays visible; Windows activates the next window in
// the Z order, which here belongs to another program unless this one has
// a second window to offer.
void Minimize(HWND hwnd) {
    Window* window = LookupWindow(hwnd);
    window->visible = true;
    window->minimized = true;
    if (window->IsChild()) return;
    if (hwnd == platform::user::MainWindow())
        host::SetMainWindowState(host::WindowState::Minimized);
    platform::user::TopLevelWindowLeft(hwnd);
}

void Hide(HWND hwnd) {
    Window* window = LookupWindow(hwnd);
    window->visible = false;
    if (window->IsChild()) return;
    if (hwnd == platform::user::MainWindow()) host::SetMainWindowState(host::WindowState::Hidden);
    platform::user::TopLevelWindowLeft(hwnd);
}

// Sends the due WM_PAINT at once, parents before children.
void PaintNow(HWND hwnd) {
    for (HWND candidate : platform::user::AllWindows()) {
        if (!platform::user::IsSelfOrDescendant(candidate, hwnd)) continue;
        Window* window = LookupWindow(candidate);
        if (window && window->needsPaint && platform::user::IsDrawable(candidate))
            SendMessageA(candidate, WM_PAINT, 0, 0);
    }
}

template <typename T> T Fail(DWORD error, T result) {
    SetLastError(error);
    return result;
}

} // namespace

namespace platform::user {

HWND FocusWindow() {
    return Focus().focus;
}

HWND ActiveWindow() {
    return Focus().active;
}

void TopLevelWindowLeft(HWND hwnd) {
    FocusState& state = Focus();
    if (!platform::IsAppActive() || state.active != hwnd) return;
    if (HWND next = PickActiveWindow()) {
        state.active = next;
        state.focus = next;
        return;
    }
    platform::SetAppActive(false);
}

void ForgetFocus(HWND hwnd) {
    FocusState& state = Focus();
    if (state.focus && IsSelfOrDescendant(state.focus, hwnd)) state.focus = nullptr;
    if (state.active == hwnd) state.active = nullptr;
}

void RestoreMainWindowForActivation() {
    HWND main = MainWindow();
    Window* window = LookupWindow(main);
    if (!window) return;
    if (window->minimized) {
        ShowWindow(main, SW_RESTORE);
        return;
    }
    // Coming back to the foreground uncovers the window, which is repainted:
    // WM_PAINT becomes due, so a program waiting in GetMessageA wakes up.
    if (window->visible) window->needsPaint = true;
}

// WM_ACTIVATEAPP goes to every top-level window, hidden ones included,
// with lParam 0 (no other thread of this system to name).
void BroadcastActivation(bool active) {
    FocusState& state = Focus();
    if (!active) {
        state.active = state.focus = nullptr;
    } else if (HWND next = PickActiveWindow()) {
        MakeActive(next);
    }
    for (HWND hwnd : TopLevelWindows())
        if (LookupWindow(hwnd)) SendMessageA(hwnd, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

void ResetFocus() {
    Focus() = FocusState{};
}

} // namespace platform::user

// ShowWindow returns whether the window was visible before (a minimized
// window is visible). SW_HIDE hides; the SW_SHOW* commands and SW_RESTORE
// show and restore (the main window activates the program when the window
// manager grants it); the minimizing commands minimize and send the program
// to the back. Other commands fail with ERROR_INVALID_PARAMETER.
extern "C" BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* window = LookupWindow(hWnd);
    if (!window) return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    switch (nCmdShow) {
    case SW_HIDE:
        Hide(hWnd);
        break;
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
    case SW_SHOW:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        Show(hWnd, true);
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        Show(hWnd, false);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        Minimize(hWnd);
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    }
    return wasVisible;
}

// UpdateWindow sends WM_PAINT straight to the window procedure, bypassing
// the queue, when the window (or a child) has an update region and can be
// seen; TRUE either way.
extern "C" BOOL WINAPI UpdateWindow(HWND hWnd) {
    int32_t code = 0;
    if (platform::InjectedFailure("UpdateWindow", &code))
        return Fail(static_cast<DWORD>(code), FALSE);
    if (!LookupWindow(hWnd)) return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    PaintNow(hWnd);
    return TRUE;
}

// SetFocus returns the window that had the focus. Asking for the visible,
// non-minimized main window asks the window manager for the foreground
// too; a program that stays in the background gets no focus (NULL).
// SetFocus(NULL) drops the focus, so keystrokes go to the active window
// as WM_SYSKEYDOWN/WM_SYSKEYUP.
extern "C" HWND WINAPI SetFocus(HWND hWnd) {
    int32_t code = 0;
    if (platform::InjectedFailure("SetFocus", &code))
        return Fail<HWND>(static_cast<DWORD>(code), nullptr);
    FocusState& state = Focus();
    HWND previous = state.focus;
    if (!hWnd) {
        state.focus = nullptr;
        return previous;
    }
    if (!LookupWindow(hWnd)) return Fail<HWND>(ERROR_INVALID_WINDOW_HANDLE, nullptr);
    HWND top = platform::user::TopLevelOf(hWnd);
    if (top == platform::user::MainWindow() && platform::user::IsDrawable(top))
        ApplyActivationGrant(top, host::FocusMainWindow());
    if (!platform::IsAppActive() || !LookupWindow(hWnd)) return nullptr;
    state.active = top;
    state.focus = hWnd;
    return previous;
}

extern "C" HWND WINAPI GetFocus(void) {
    return Focus().focus;
}

// The program's active top-level window; NULL while it is in the background.
extern "C" HWND WINAPI GetActiveWindow(void) {
    return Focus().active;
}
