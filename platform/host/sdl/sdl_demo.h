// The SDL host's demos: the game is recorded from start-up by the demo layer
// (demo_layer.h); F9 saves it into the pictures folder and, when the
// environment names a file in QV_DEMO, it is saved at the end of the program.
#pragma once

#include <string>

namespace sdlhost {

// F9: saves the passes so far, with the hash of the frame on screen, and
// says where (or why not) on stderr.
void SaveDemoOnKey();

// At exit: saves the whole record to $QV_DEMO when that is set.
void SaveDemoAtExit();

// The screen hash (screen_hash.h) of the frame on screen; the blank
// screen's before the first frame. Kept by sdl_display.cpp.
std::string ShownScreenHash();

} // namespace sdlhost
