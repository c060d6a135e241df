// What the web host's files share among themselves. The API layer never
// sees this header; it talks to host.h.
#pragma once

namespace webhost {

// Starts listening to the page (keys, focus, visibility, clicks) on first
// use; every later call does nothing.
void EnsureListening();

// Gives the page back the control until an event arrives or `ms`
// milliseconds have passed (ms < 0: only an event ends the wait). Frames
// drawn so far reach the screen meanwhile.
void Sleep(int ms);

// Ends a Sleep at once: an event arrived, or a box was dismissed.
void Wake();

// Tells the page whether the game is active or minimized, when that changed
// since it last heard (never during a playback).
void ShowState();

// Samples the game controllers into the input core (web_input.cpp).
void SamplePads();

// The program waited for something other than a flip (input, a box): the
// time until the next flip is not a frame's work. Kept by web_display.cpp.
void ForgetFrameStart();

// While a message box is open, keys belong to it, not to the program.
void SetMessageBoxOpen(bool open);

} // namespace webhost
