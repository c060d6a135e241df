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

// A page flip was shown: play is running, so the message loop is not idle.
void NoteFlip();

// The program waited for something other than a flip (input, a box): the
// time until the next flip is not a frame's work. Kept by web_display.cpp.
void ForgetFrameStart();

// While a message box is open, keys belong to it, not to the program.
void SetMessageBoxOpen(bool open);

} // namespace webhost
