// What the SDL host's files share among themselves: the lazily started
// video subsystem, the main window, the controllers, and the display's
// reactions to window events. The API layer never sees this header; it
// talks to host.h.
#pragma once

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <cstdint>
#include <string>

#include "present_choice.h"

namespace sdlhost {

// Starts SDL's video and event subsystems on first use. False when there is
// no display to open (the failure is reported once on stderr); every later
// call answers the same without retrying.
bool EnsureVideo();
// True once EnsureVideo succeeded.
bool VideoReady();

// The SDL window behind the application's main window; null before
// CreateMainWindow, after DestroyMainWindow, or without a display.
SDL_Window* MainWindow();
// The program has a main window (even when no SDL window could be made).
bool MainWindowExists();
// The main window is on screen as SDL last saw it: shown, neither hidden
// nor minimized; and whether it holds the keyboard focus.
bool MainWindowIsUp();
bool MainWindowHasFocus();

// The host's own clock in milliseconds, never recorded in a demo.
uint32_t ClockMs();

// ---- Controllers (sdl_pads.cpp) -------------------------------------------------------

// Starts SDL's controller subsystem (a failure is reported and play goes on
// with the keyboard); CloseControllers closes every open controller.
void StartControllers();
void CloseControllers();
// Hands a controller event to the input core; false for any other event.
bool TranslatePadEvent(const SDL_Event& e);

// ---- Display (sdl_display.cpp) ----------------------------------------------------

// Makes the window's renderer while the window is still hidden: making it
// may re-create the window (to add OpenGL), which must not happen once the
// window is shown and holds the focus. A failure is reported on stderr and
// left for SetDisplayMode to answer. Then picks the presentation path
// (PresentInSoftware); presenting in software frees the renderer again.
void PrepareDisplay(SDL_Window* window);

// Whether frames go straight into the window's pixels (true) or through
// the renderer: `asked` as QV_PRESENT says; on Auto, true when the renderer
// runs on the CPU or none could be made. `why` says what decided
// (sdl_present_choice.cpp).
bool PresentInSoftware(hostcommon::PresentPath asked, SDL_Renderer* renderer, std::string& why);

// Alt+Enter: switches between the desktop-size borderless window and a
// window of a whole multiple of 640 x 480. No effect before the display
// mode is set.
void ToggleWindowed();

// Draws the last frame again, after the window was exposed or resized.
void Redraw();

// Frees the renderer and texture; the main window is about to go away.
void DestroyDisplay();

// After a minimize request that the window manager did not carry out: SDL
// took the window out of full screen for it, which some window managers
// honour. Makes the window cover the desktop again when it no longer does
// (full-screen mode only; Alt+Enter's window is left as it is).
void CoverDesktopAgain();

// PrintScreen: saves the last frame presented, with its palette, as a PNG
// in the user's pictures folder (see sdl_screenshot.h). Says on stderr when
// nothing has been presented yet.
void SaveScreenshotOfDisplay();

// ---- Ending and message boxes (sdl_signals.cpp) ------------------------------------

// Installs the host's SIGINT and SIGTERM handlers (each writes a line on
// stderr, then the process ends by the signal, in any state), ignores
// SIGPIPE, and prepares the child process of a message box. Called by
// EnsureVideo before SDL starts, which is told to install none of its own.
void InstallEndings();

// Writes `text` to stderr with write(2) alone: safe in a signal handler.
void WriteToStderr(const char* text);

// True in the child process SDL shows a message box from: it ends quietly,
// since the host reports whatever ended it.
bool InMessageBoxChild();

// Around SDL_ShowMessageBox: a child forked in between ends with the host,
// and on X11 the box takes the keyboard focus from `owner` (see StartBoxFocus).
void BeginMessageBox(SDL_Window* owner);
void EndMessageBox();

// ---- X11 (sdl_x11.cpp; sdl_x11_absent.cpp without Xlib) ------------------------------

// When SDL runs on X11: a lost connection to the X server ends the process
// at once with a line on stderr and status 1, never running the exit-time
// handlers (which would talk to the dead connection and never return).
// Called by EnsureVideo once SDL has started.
void WatchDisplayConnection();

// While a message box of `owner` is up: if `owner` holds the keyboard focus
// when the box appears (no window manager hands it on, or none runs), the
// focus moves to the box; StopBoxFocus gives it back to `owner` once the box
// is gone. Without X11 or an owner, nothing happens.
void StartBoxFocus(SDL_Window* owner);
void StopBoxFocus();

} // namespace sdlhost
