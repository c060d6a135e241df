// Private to the USER32 files: the window table, the class table, the
// posted-message queue and the paint contexts, shared between
// user_classes.cpp, user_windows.cpp, user_show.cpp, user_messages.cpp,
// user_keyboard.cpp, user_defproc.cpp and user_dialogs.cpp.
//
// The program has one thread, so there is one queue, one focus and one
// active window, and nothing here has a lock.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace platform::user {

// ---- Classes (user_classes.cpp) -------------------------------------------------

struct WindowClass {
    ATOM atom = 0;
    std::string name;
    WNDPROC proc = nullptr;
    UINT style = 0;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
};

// The class named by `nameOrAtom` (a string, or an atom in the low word of
// the pointer; names compare without regard to case), or null.
const WindowClass* FindClass(LPCSTR nameOrAtom);
// Registers the activation broadcaster once; every entry point that can
// bring a window into being calls it first.
void EnsureActivationBroadcaster();
void ResetClasses();

// ---- Windows (user_windows.cpp) ------------------------------------------------

struct Window {
    HWND handle = nullptr;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr; // the class brush: BeginPaint's fErase
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr; // WS_CHILD: the parent; otherwise the owner, if any
    int width = 0;
    int height = 0;
    bool visible = false;
    bool minimized = false;
    bool needsPaint = false; // has an update region: WM_PAINT is due
    bool destroying = false; // inside DestroyWindow: no longer a candidate for activation

    bool IsChild() const { return (style & WS_CHILD) != 0; }
};

// The live window behind `hwnd`, or null. Every lookup goes through the
// table, so a stale or made-up handle is never dereferenced. The pointer is
// good only until the next window procedure runs.
Window* LookupWindow(HWND hwnd);
// The host's main window: the first top-level window, while it exists.
HWND MainWindow();
// Top-level windows (not WS_CHILD), in creation order.
std::vector<HWND> TopLevelWindows();
// The top-level window that `hwnd` is, or is inside; null for a stale handle.
HWND TopLevelOf(HWND hwnd);
// True when `hwnd` is `ancestor` or a child window inside it.
bool IsSelfOrDescendant(HWND hwnd, HWND ancestor);
// Visible, not minimized, and so is every parent: it can be painted.
bool IsDrawable(HWND hwnd);
// Every window in creation order (parents come before their children).
std::vector<HWND> AllWindows();
void ResetWindows();

// ---- Showing, focus and activation (user_show.cpp) ----------------------------------

HWND FocusWindow();
HWND ActiveWindow();
// A top-level window stopped being a candidate for activation (hidden,
// minimized or being destroyed): activation moves to another visible window
// of the program, or the program becomes inactive when none is left.
void TopLevelWindowLeft(HWND hwnd);
// The window being destroyed loses focus and activation for good.
void ForgetFocus(HWND hwnd);
// The window manager brought the program to the front: a minimized main
// window is restored first, as Windows does when the user switches to it.
void RestoreMainWindowForActivation();
// Sends WM_ACTIVATEAPP to every top-level window (the broadcaster).
void BroadcastActivation(bool active);
void ResetFocus();

// ---- The queue (user_messages.cpp) ---------------------------------------------------

// Posts a message from the program (PostMessageA, TranslateMessage):
// retrieved before keyboard input. False when the queue is full.
bool PostToQueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues keyboard input, retrieved after every posted message.
void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// DestroyWindow flushes the queue of the destroyed window's messages.
void ForgetMessagesFor(HWND hwnd);
void ResetQueue();

// ---- Keyboard messages (user_keyboard.cpp) -------------------------------------------

// The lParam of a keystroke message in Windows' layout: repeat count 1,
// scan code, extended-key bit, context code (Alt), previous key state and
// transition state.
LPARAM KeystrokeLParam(int vk, bool down, bool repeat, bool alt);

// ---- Painting (user_defproc.cpp) -------------------------------------------------------

// Releases the device contexts BeginPaint handed out for `hwnd` and that
// were never given back with EndPaint.
void ReleasePaintContextsOf(HWND hwnd);
void ResetPaintContexts();

// ---- The cursor (user_dialogs.cpp) -----------------------------------------------------

void ResetCursorCount();

} // namespace platform::user
