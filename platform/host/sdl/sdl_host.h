// What the SDL host's files share among themselves: the lazily started
// video subsystem, the main window, and the display's reactions to window
// events. The API layer never sees this header; it talks to host.h.
#pragma once

#define SDL_MAIN_HANDLED
#include <SDL.h>

namespace sdlhost {

// Starts SDL's video and event subsystems on first use. False when there is
// no display to open (the failure is reported once on stderr); every later
// call answers the same without retrying.
bool EnsureVideo();

// The SDL window behind the application's main window; null before
// CreateMainWindow, after DestroyMainWindow, or without a display.
SDL_Window* MainWindow();

// A page flip was shown: play is running, so the message loop is not idle.
// Called by Present for every paced frame.
void NoteFlip();

// ---- Display (sdl_display.cpp) ----------------------------------------------------

// Makes the window's renderer while the window is still hidden: making it
// may re-create the window (to add OpenGL), which must not happen once the
// window is shown and holds the focus. A failure is reported on stderr and
// left for SetDisplayMode to answer.
void PrepareDisplay(SDL_Window* window);

// Alt+Enter: switches between the desktop-size borderless window and a
// window of a whole multiple of 640 x 480. No effect before the display
// mode is set.
void ToggleWindowed();

// Draws the last frame again, after the window was exposed or resized.
void Redraw();

// Frees the renderer and texture; the main window is about to go away.
void DestroyDisplay();

// PrintScreen: saves the last frame presented, with its palette, as a PNG
// in the user's pictures folder (see sdl_screenshot.h). Says on stderr when
// nothing has been presented yet.
void SaveScreenshotOfDisplay();

} // namespace sdlhost
