// Test controls of the headless host. Only tests and tools that link
// platform_headless use these; the game never does.
//
// The headless host behaves like a desktop with a window manager but no
// screen: showing the main window activates the application, minimizing it
// deactivates it, restoring or focusing it activates it again. Its clock
// follows real time unless a test stops it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host.h"

namespace headless {

// Puts the whole host back to its start: clock following real time, no keys,
// no events, no window, no display mode, no records, no faults, no hooks.
void Reset();

// ---- Clock ------------------------------------------------------------------------

// Stops the clock at `ms`: every GetTickCount returns it until changed.
void SetTickCount(uint32_t ms);
// Moves the clock forward by `ms` (wrapping at 2^32), stopping it first.
void AdvanceTickCount(uint32_t ms);

// ---- Keys -------------------------------------------------------------------------

// Holds a key down or lets it up in the asynchronous key table only; no
// window message is generated.
void SetKeyDown(int vk, bool down);
// Lets every key up and forgets pending presses.
void ReleaseAllKeys();
// Queues a key press as the keyboard delivers it: key down (WM_KEYDOWN, or
// WM_SYSKEYDOWN with Alt), then key up. The key table follows when the
// events are taken.
void PressKey(int vk, bool alt = false);
// Queues one key-down event; `repeat` marks an auto-repeat.
void QueueKeyDown(int vk, bool repeat = false, bool alt = false);
void QueueKeyUp(int vk, bool alt = false);

// ---- Window manager -------------------------------------------------------------------

// Queues the application's activation or deactivation, as a window manager
// does when the user switches applications. Activation restores a
// minimized main window.
void Activate();
void Deactivate();
// Queues the user's request to close the main window.
void Close();

bool MainWindowExists();
std::string MainWindowTitle();
host::WindowState MainWindowState();
bool CursorVisible();

// ---- Message boxes -------------------------------------------------------------------

struct MessageBoxRecord {
    const void* owner;
    std::string caption;
    std::string text;
    unsigned type;
};
// Every box shown since the last Reset, in order. Each is also written to
// stderr as "Caption: text".
const std::vector<MessageBoxRecord>& MessageBoxes();
// The button that boxes answer with (IDOK unless set).
void SetMessageBoxAnswer(int button);

// ---- Display -----------------------------------------------------------------------------

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height indices, top row first
    std::array<host::PaletteEntry, 256> palette{};
};

bool DisplayModeSet();
int DisplayBitsPerPixel();
// What the screen shows now: the last frame presented, flipped or not.
const Frame& Screen();
// Page flips presented since the last Reset.
int FlipCount();

// ---- Fault injection ------------------------------------------------------------------
// These fill the fault registry that the API layer asks (fault_registry.h);
// Reset empties it, but the surface-loss count goes on counting.

// Makes `api` ("OpenFile", "IDirectDraw::SetDisplayMode", ...) fail with
// `code`: the first `skip` calls go through, then `count` calls fail
// (count < 0: every call from then on).
void InjectFailure(const std::string& api, int32_t code, int count = 1, int skip = 0);
// Makes the next `n` Blt/BltFast/Flip/Lock calls find the blitter busy: they
// answer DDERR_WASSTILLDRAWING, or wait it out when asked to wait.
void SetStillDrawing(int n);
// Takes every surface's memory away, as the display driver does.
void LoseAllSurfaces();

// ---- Hooks ------------------------------------------------------------------------------

// Runs whenever PeekMessageA found nothing to return (the loop goes idle).
// Events the hook queues are taken at once: PeekMessageA then returns the
// messages they made instead of reporting an idle queue.
void SetIdleHook(std::function<void()> hook);
// Runs when GetMessageA must wait on an empty queue. It should queue an
// event; when none is pending afterwards the host reports the deadlock on
// stderr and aborts, since nothing else could ever wake the program.
void SetWaitHook(std::function<void()> hook);
// Runs whenever PeekMessageA or GetMessageA is about to take the host's
// events: the first moment after the program's own work, such as a frame.
void SetPumpHook(std::function<void()> hook);

} // namespace headless
