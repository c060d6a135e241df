// The small interface between the Win32/DirectDraw API layer and the host that
// really runs it: SDL2 for play, the web host for the browser, or the
// headless host for tests and tools.
// Exactly one host library is linked into an executable. The host core
// (common/seam.cpp) implements what decides something here (time, events,
// waits, the key table, the answers a demo keeps) over the host's native
// functions (common/native_host.h); the host implements the rest. The host knows
// nothing of windows handles, messages or surfaces: it sees one main window,
// a 640 x 480 x 8 frame with its palette, raw input events and a clock.
#pragma once

#include <cstdint>

#include "key_table.h"

namespace host {

// ---- Time --------------------------------------------------------------------

// Milliseconds on the host's clock; wraps at 2^32 like GetTickCount.
uint32_t TickCount();

// ---- Input and window-manager events ----------------------------------------------

enum class EventKind {
    KeyDown,    // a key went down or auto-repeated (vk, repeat, alt)
    KeyUp,      // a key went up (vk, alt)
    Activate,   // the application gained the foreground
    Deactivate, // the application lost the foreground (focus lost, minimized)
    Close,      // the user asked to close the main window
};

struct Event {
    EventKind kind;
    int vk = 0;          // Win32 virtual-key code
    bool repeat = false; // an auto-repeat of a key already down
    bool alt = false;    // Alt was held (WM_SYSKEYDOWN / WM_SYSKEYUP)
};

// Takes the next pending event, if any. Never blocks. The host updates the
// asynchronous key table itself before handing out a key event.
bool PollEvent(Event& event);

// Blocks until an event is pending. Called by GetMessageA on an empty queue.
void WaitEvent();

// Called whenever PeekMessageA finds nothing to return: the message loop is
// about to go idle. Returns true when the host queued events meanwhile;
// PeekMessageA then takes them and looks once more.
bool OnIdlePeek();

// Called when the message functions are about to take the host's events:
// the first thing the platform sees after the program's own work.
void BeforeEvents();

// The asynchronous key table: physical key state as the host last saw it.
KeyTable& Keys();

// ---- The main window ------------------------------------------------------------

enum class WindowState { Hidden, Shown, Minimized };

// The application's first top-level window was created or destroyed.
void CreateMainWindow(const char* title, int width, int height);
void DestroyMainWindow();

// Shows, hides or minimizes the main window. Returns the activation that the
// window manager grants at once: true when showing (or restoring) makes the
// application active. Later changes arrive as Activate/Deactivate events.
bool SetMainWindowState(WindowState state);

// Keyboard focus was asked for the main window. Returns true when that makes
// the application active.
bool FocusMainWindow();

void SetCursorVisible(bool visible);

// ---- Display ------------------------------------------------------------------------

struct PaletteEntry {
    uint8_t red, green, blue, flags;
};

// Takes the display into width x height x bpp. False when the host cannot.
bool SetDisplayMode(int width, int height, int bpp);
// Gives the display back to the desktop.
void RestoreDisplayMode();

// Shows a frame of 8-bit palette indices, `pitch` bytes per row, with its
// 256-entry palette. `paced` is true for a page flip: the host then waits for
// its next 60 Hz display deadline.
void Present(const uint8_t* pixels, int width, int height, int pitch, const PaletteEntry* palette, bool paced);

// ---- Message boxes ---------------------------------------------------------------

// Shows a modal message box and returns the button pressed (IDOK = 1).
int ShowMessageBox(const void* owner, const char* caption, const char* text, unsigned type);

} // namespace host
